#include "platform/cfileio.h"

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <fcntl.h>
#include <random>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr size_t kBufferSize = 1 << 18;

std::string TempNameBeside(const std::string& path)
{
    static std::mt19937_64 rng{std::random_device{}()};
    char suffix[32];
    std::snprintf(suffix, sizeof suffix, ".%016llx.tmp", static_cast<unsigned long long>(rng()));
    return path + suffix;
}

bool WriteFully(int fd, std::string_view data)
{
    while (!data.empty()) {
        const ssize_t n = ::write(fd, data.data(), data.size());
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        data.remove_prefix(static_cast<size_t>(n));
    }
    return true;
}

} // namespace

bool CFileIO::ReadAll(const std::string& path, std::string& data)
{
    data.clear();
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return false;
    struct stat st {};
    if (::fstat(fd, &st) == 0 && S_ISDIR(st.st_mode)) {
        ::close(fd);
        return false;
    }
    if (st.st_size > 0)
        data.reserve(static_cast<size_t>(st.st_size));
    char buffer[65536];
    bool ok = true;
    for (;;) {
        const ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n == 0)
            break;
        if (n < 0) {
            if (errno == EINTR)
                continue;
            ok = false;
            break;
        }
        data.append(buffer, static_cast<size_t>(n));
    }
    ::close(fd);
    return ok;
}

bool CFileIO::WriteAtomically(const std::string& path, std::string_view data)
{
    CAtomicFileWriter writer(path);
    return writer.Write(data) && writer.Commit();
}

CAtomicFileWriter::CAtomicFileWriter(const std::string& path) : m_Path(path)
{
    mode_t mode = 0666; // narrowed by the umask, as for any new file
    struct stat st {};
    if (::stat(path.c_str(), &st) == 0) {
        if (S_ISDIR(st.st_mode) || ::access(path.c_str(), W_OK) != 0)
            return;
        mode = st.st_mode & 07777;
    }
    // A file that would grow past a size limit must fail the write, not kill us.
    std::signal(SIGXFSZ, SIG_IGN);
    for (int attempt = 0; attempt < 8 && m_Fd < 0; ++attempt) {
        m_Temp = TempNameBeside(path);
        m_Fd = ::open(m_Temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, mode);
        if (m_Fd < 0 && errno != EEXIST)
            return;
    }
    if (m_Fd >= 0) {
        // Keep the old file's permissions even where the umask is stricter.
        [[maybe_unused]] const int ignored = ::fchmod(m_Fd, mode);
        m_Buffer.reserve(kBufferSize);
    }
}

CAtomicFileWriter::~CAtomicFileWriter()
{
    if (m_Fd >= 0) {
        ::close(m_Fd);
        ::unlink(m_Temp.c_str());
    }
}

bool CAtomicFileWriter::Write(std::string_view data)
{
    if (m_Fd < 0 || m_Failed)
        return false;
    if (m_Buffer.size() + data.size() > kBufferSize && !Flush())
        return false;
    if (data.size() >= kBufferSize) {
        if (!WriteFully(m_Fd, data))
            m_Failed = true;
        return !m_Failed;
    }
    m_Buffer.append(data);
    return true;
}

bool CAtomicFileWriter::Flush()
{
    if (!m_Buffer.empty() && !WriteFully(m_Fd, m_Buffer))
        m_Failed = true;
    m_Buffer.clear();
    return !m_Failed;
}

bool CAtomicFileWriter::Commit()
{
    if (m_Fd < 0)
        return false;
    const bool ok = Flush() && ::fsync(m_Fd) == 0;
    const bool closed = ::close(m_Fd) == 0;
    m_Fd = -1;
    if (!ok || !closed || ::rename(m_Temp.c_str(), m_Path.c_str()) != 0) {
        ::unlink(m_Temp.c_str());
        return false;
    }
    return true;
}
