#pragma once
// Points every settings read and write of a test at fresh temporary folders:
// the current user's (XDG_CONFIG_HOME), the machine's (XDG_CONFIG_DIRS) and the
// temporary folder (TMPDIR), so that the real user's settings are never touched.

#include "platform/csettingsstore.h"
#include "support/testfiles.h"

#include <QSettings>
#include <QString>

#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>

class CSettingsSandbox {
public:
    CSettingsSandbox()
    {
        std::filesystem::create_directories(UserDir());
        std::filesystem::create_directories(SystemDir());
        std::filesystem::create_directories(TempDir());
        Set("XDG_CONFIG_HOME", UserDir(), m_OldHome);
        Set("XDG_CONFIG_DIRS", SystemDir(), m_OldDirs);
        Set("TMPDIR", TempDir(), m_OldTmp);
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope,
                           QString::fromStdString(UserDir()));
        QSettings::setPath(QSettings::NativeFormat, QSettings::SystemScope,
                           QString::fromStdString(SystemDir()));
        CSettingsStore::SetProfileProduct("");
    }
    ~CSettingsSandbox()
    {
        Restore("XDG_CONFIG_HOME", m_OldHome);
        Restore("XDG_CONFIG_DIRS", m_OldDirs);
        Restore("TMPDIR", m_OldTmp);
    }
    CSettingsSandbox(const CSettingsSandbox&) = delete;
    CSettingsSandbox& operator=(const CSettingsSandbox&) = delete;

    std::string UserDir() const { return m_Root.File("user"); }
    std::string SystemDir() const { return m_Root.File("system"); }
    std::string TempDir() const { return m_Root.File("tmp"); }
    // A scratch folder beside the settings, for the files a test makes.
    std::string Work(const std::string& name) const
    {
        const std::string dir = m_Root.File("work/" + name);
        std::filesystem::create_directories(dir);
        return dir;
    }

    // Writes a file, making its folders first.
    static void WriteFile(const std::string& path, const std::string& text)
    {
        std::filesystem::create_directories(std::filesystem::path(path).parent_path());
        WriteTextFile(path, text);
    }

private:
    static void Set(const char* name, const std::string& value, std::optional<std::string>& old)
    {
        if (const char* v = std::getenv(name))
            old = v;
        ::setenv(name, value.c_str(), 1);
    }
    static void Restore(const char* name, const std::optional<std::string>& old)
    {
        if (old)
            ::setenv(name, old->c_str(), 1);
        else
            ::unsetenv(name);
    }

    CTempDir m_Root;
    std::optional<std::string> m_OldHome, m_OldDirs, m_OldTmp;
};
