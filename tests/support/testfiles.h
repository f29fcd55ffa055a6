#pragma once
// Temporary folders and small file helpers shared by the tests.

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <sys/resource.h>

class CTempDir {
public:
    CTempDir()
    {
        std::string pattern = (std::filesystem::temp_directory_path() / "tessarin-test-XXXXXX").string();
        if (char* made = ::mkdtemp(pattern.data()))
            m_Path = made;
    }
    ~CTempDir()
    {
        std::error_code ec;
        std::filesystem::remove_all(m_Path, ec);
    }
    CTempDir(const CTempDir&) = delete;
    CTempDir& operator=(const CTempDir&) = delete;

    const std::string& Path() const { return m_Path; }
    std::string File(const std::string& name) const { return m_Path + "/" + name; }

private:
    std::string m_Path;
};

inline void WriteTextFile(const std::string& path, const std::string& bytes)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << bytes;
}

inline std::string ReadTextFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::stringstream ss;
    ss << in.rdbuf();
    return ss.str();
}

// Where a test leaves pictures and files for a person to look at.
inline std::string TestOutputDir()
{
    const char* dir = std::getenv("TESSARIN_TEST_OUTPUT");
    return dir && *dir ? dir : std::filesystem::temp_directory_path().string();
}

// Lowers the file size limit while it lives, so that writes past it fail as
// they would on a full disk.
class CFileSizeLimit {
public:
    explicit CFileSizeLimit(rlim_t bytes)
    {
        getrlimit(RLIMIT_FSIZE, &m_Old);
        rlimit lowered = m_Old;
        lowered.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &lowered);
    }
    ~CFileSizeLimit() { setrlimit(RLIMIT_FSIZE, &m_Old); }
    CFileSizeLimit(const CFileSizeLimit&) = delete;
    CFileSizeLimit& operator=(const CFileSizeLimit&) = delete;

private:
    rlimit m_Old{};
};
