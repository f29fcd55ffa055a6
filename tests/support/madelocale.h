#pragma once
// Locales compiled with localedef into a private folder, for tests that need a
// locale the machine has not generated; programs find them through LOCPATH.

#include "support/testfiles.h"

#include <cstdlib>
#include <filesystem>
#include <string>

inline bool HaveLocaledef()
{
    return std::system("command -v localedef >/dev/null 2>&1") == 0;
}

// Compiles the locale source `source` (as "fr_FR") with UTF-8 into
// <folder>/<source>.UTF-8; true when its LC_NUMERIC is there. -c writes the
// locale despite warnings about characters the source does not define.
inline bool MakeLocale(const std::string& folder, const std::string& source)
{
    const std::string target = folder + "/" + source + ".UTF-8";
    const std::string command =
        "localedef -c -i '" + source + "' -f UTF-8 '" + target + "' >/dev/null 2>&1";
    (void)std::system(command.c_str());
    return std::filesystem::exists(target + "/LC_NUMERIC");
}

// Sets an environment variable for the life of the object, then restores it.
class CScopedEnv {
public:
    CScopedEnv(const char* name, const std::string& value) : m_Name(name)
    {
        const char* old = std::getenv(name);
        m_Had = old != nullptr;
        if (old)
            m_Old = old;
        setenv(name, value.c_str(), 1);
    }
    ~CScopedEnv()
    {
        if (m_Had)
            setenv(m_Name, m_Old.c_str(), 1);
        else
            unsetenv(m_Name);
    }
    CScopedEnv(const CScopedEnv&) = delete;
    CScopedEnv& operator=(const CScopedEnv&) = delete;

private:
    const char* m_Name;
    std::string m_Old;
    bool m_Had = false;
};
