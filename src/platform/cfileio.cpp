#include "platform/cfileio.h"

#include "platform/cfilefacts.h"
#include "platform/clinereader.h"

#include <cerrno>
#include <climits>
#include <cstdint>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <new>
#include <random>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr size_t kBufferSize = 1 << 18;

std::string FolderOf(const std::string& path)
{
    const size_t slash = path.rfind('/');
    return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

// A short name, whatever the length of the file's own: a legal 250-character
// file name must still leave room for its temporary sibling.
std::string TempNameIn(const std::string& folder)
{
    static std::mt19937_64 rng{std::random_device{}()};
    char name[32];
    std::snprintf(name, sizeof name, ".tessarin-%012llx",
                  static_cast<unsigned long long>(rng() & 0xFFFFFFFFFFFFull));
    return folder + name;
}

// A dangling link is saved through as well.
bool FollowLinks(std::string path, std::string& target, int& error)
{
    for (int hops = 0; hops < 40; ++hops) {
        if (CFileFacts::OfLink(path).kind != CFileFacts::Kind::Link) {
            target = path;
            return true;
        }
        char link[PATH_MAX];
        const ssize_t n = ::readlink(path.c_str(), link, sizeof link);
        if (n < 0 || static_cast<size_t>(n) >= sizeof link) {
            error = n < 0 ? errno : ENAMETOOLONG;
            return false;
        }
        std::string next(link, static_cast<size_t>(n));
        path = next.front() == '/' ? next : FolderOf(path) + next;
    }
    error = ELOOP;
    return false;
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

bool WriteFullyAt(int fd, std::string_view data, off_t offset)
{
    while (!data.empty()) {
        const ssize_t n = ::pwrite(fd, data.data(), data.size(), offset);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        data.remove_prefix(static_cast<size_t>(n));
        offset += n;
    }
    return true;
}

// Reads to the end of the file; the errno of a failure, EFBIG when the file
// grows past maxSize while it is read, ENOMEM when memory runs out.
int ReadFully(int fd, std::string& data, size_t sizeHint, size_t maxSize)
{
    data.clear();
    try {
        if (sizeHint > 0)
            data.reserve(sizeHint);
        char buffer[65536];
        for (;;) {
            const ssize_t n = ::read(fd, buffer, sizeof buffer);
            if (n == 0)
                return 0;
            if (n < 0) {
                if (errno == EINTR)
                    continue;
                return errno;
            }
            if (data.size() + static_cast<size_t>(n) > maxSize)
                return CFileResult::TooLarge;
            data.append(buffer, static_cast<size_t>(n));
        }
    } catch (const std::bad_alloc&) {
        data.clear();
        data.shrink_to_fit();
        return ENOMEM;
    }
}

} // namespace

bool CFileResult::Missing() const
{
    return error == ENOENT;
}

std::string CFileResult::Reason() const
{
    if (error == NotRegularFile)
        return "not a regular file";
    if (error == TooLarge)
        return "file larger than the limit of " + std::to_string(CFileIO::MaxTextFileSize >> 20) +
               " MiB";
    if (error == LineTooLong)
        return "line longer than the limit of " + std::to_string(CLineReader::MaxLineLength >> 20) +
               " MiB";
    return std::strerror(error);
}

int CFileIO::OpenForReading(const std::string& path, CFileResult& result)
{
    // Without O_NONBLOCK the open of a FIFO waits for a writer.
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) {
        result.error = errno;
        return -1;
    }
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        result.error = S_ISDIR(st.st_mode) ? EISDIR : CFileResult::NotRegularFile;
        ::close(fd);
        return -1;
    }
    ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    result.error = 0;
    return fd;
}

CFileResult CFileIO::ReadAllChecked(const std::string& path, std::string& data, size_t maxSize)
{
    data.clear();
    CFileResult result;
    const int fd = OpenForReading(path, result);
    if (fd < 0)
        return result;
    struct stat st {};
    ::fstat(fd, &st);
    const size_t size = st.st_size > 0 ? static_cast<size_t>(st.st_size) : 0;
    result.error = size > maxSize ? CFileResult::TooLarge : ReadFully(fd, data, size, maxSize);
    if (!result.Ok())
        data.clear();
    ::close(fd);
    return result;
}

CFileResult CFileIO::ReadStart(const std::string& path, std::string& data, size_t count)
{
    data.clear();
    CFileResult result;
    const int fd = OpenForReading(path, result);
    if (fd < 0)
        return result;
    try {
        data.resize(count);
        size_t got = 0;
        while (got < count) {
            const ssize_t n = ::read(fd, data.data() + got, count - got);
            if (n == 0)
                break;
            if (n < 0) {
                if (errno == EINTR)
                    continue;
                result.error = errno;
                break;
            }
            got += static_cast<size_t>(n);
        }
        data.resize(result.Ok() ? got : 0);
    } catch (const std::bad_alloc&) {
        data.clear();
        result.error = ENOMEM;
    }
    ::close(fd);
    return result;
}

bool CFileIO::ReadAll(const std::string& path, std::string& data)
{
    return ReadAllChecked(path, data).Ok();
}

bool CFileIO::WriteAtomically(const std::string& path, std::string_view data)
{
    CAtomicFileWriter writer(path);
    return writer.Write(data) && writer.Commit();
}

void CFileIO::IgnoreFileSizeSignal()
{
    std::signal(SIGXFSZ, SIG_IGN);
}

struct CAtomicFileWriter::CSignalMask {
    sigset_t old;
};

CAtomicFileWriter::CAtomicFileWriter(const std::string& path)
{
    int error = 0;
    if (!FollowLinks(path, m_Path, error)) {
        Fail(error);
        return;
    }
    const CFileFacts::Facts st = CFileFacts::Of(m_Path);
    const bool exists = st.Exists();
    if (!exists && st.error != ENOENT) {
        Fail(st.error);
        return;
    }
    if (exists && st.kind != CFileFacts::Kind::File) {
        Fail(st.kind == CFileFacts::Kind::Folder ? EISDIR : CFileResult::NotRegularFile);
        return;
    }
    if (exists && !CFileFacts::IsWritable(m_Path)) {
        Fail(errno);
        return;
    }

    // A termination request waits until the temporary file is renamed or gone.
    sigset_t block;
    sigemptyset(&block);
    for (int s : {SIGTERM, SIGINT, SIGHUP, SIGQUIT})
        sigaddset(&block, s);
    m_SignalMask = std::make_unique<CSignalMask>();
    pthread_sigmask(SIG_BLOCK, &block, &m_SignalMask->old);

    // A rename would split a file from its other hard links.
    m_InPlace = exists && st.links > 1;
    if (!m_InPlace) {
        for (int attempt = 0; attempt < 8 && m_Fd < 0; ++attempt) {
            m_Temp = TempNameIn(FolderOf(m_Path));
            // Mode 0666 narrowed by the umask, as for any new file.
            m_Fd = ::open(m_Temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
            if (m_Fd < 0 && errno != EEXIST)
                break;
        }
        if (m_Fd < 0) {
            const int why = errno;
            m_Temp.clear();
            // A folder that refuses new files may still hold a writable file.
            if (!exists) {
                Fail(why);
                Finish();
                return;
            }
            m_InPlace = true;
        } else if (exists) {
            // Keep the old file's permissions even where the umask is stricter.
            [[maybe_unused]] const int owner = ::fchown(m_Fd, st.owner, st.group);
            [[maybe_unused]] const int mode = ::fchmod(m_Fd, st.mode);
        }
    }
    if (m_InPlace) {
        // The old bytes are kept to put back should the write fail part-way.
        m_Fd = ::open(m_Path.c_str(), O_RDWR | O_CLOEXEC | O_NONBLOCK);
        struct stat now {};
        int error = 0;
        if (m_Fd < 0 || ::fstat(m_Fd, &now) != 0)
            error = errno;
        else if (!S_ISREG(now.st_mode))
            error = CFileResult::NotRegularFile;
        else
            error = ReadFully(m_Fd, m_OldBytes, static_cast<size_t>(now.st_size), SIZE_MAX);
        if (error != 0) {
            Fail(error);
            if (m_Fd >= 0)
                ::close(m_Fd);
            m_Fd = -1;
            Finish();
            return;
        }
    }
    m_Buffer.reserve(kBufferSize);
}

CAtomicFileWriter::~CAtomicFileWriter()
{
    if (m_Fd >= 0) {
        ::close(m_Fd);
        if (!m_Temp.empty())
            ::unlink(m_Temp.c_str());
    }
    Finish();
}

void CAtomicFileWriter::Fail(int error)
{
    if (m_Result.Ok())
        m_Result.error = error != 0 ? error : EIO;
    m_Failed = true;
}

void CAtomicFileWriter::Finish()
{
    if (m_SignalMask) {
        pthread_sigmask(SIG_SETMASK, &m_SignalMask->old, nullptr);
        m_SignalMask.reset();
    }
}

bool CAtomicFileWriter::Write(std::string_view data)
{
    if (m_Fd < 0 || m_Failed)
        return false;
    // In place, nothing is written before the whole content is known.
    if (m_InPlace) {
        m_Buffer.append(data);
        return true;
    }
    if (m_Buffer.size() + data.size() > kBufferSize && !Flush())
        return false;
    if (data.size() >= kBufferSize) {
        if (!WriteFully(m_Fd, data))
            Fail(errno);
        return !m_Failed;
    }
    m_Buffer.append(data);
    return true;
}

bool CAtomicFileWriter::Flush()
{
    if (!m_Buffer.empty() && !WriteFully(m_Fd, m_Buffer))
        Fail(errno);
    m_Buffer.clear();
    return !m_Failed;
}

bool CAtomicFileWriter::CommitInPlace()
{
    if (!m_Failed &&
        (!WriteFullyAt(m_Fd, m_Buffer, 0) ||
         ::ftruncate(m_Fd, static_cast<off_t>(m_Buffer.size())) != 0 || ::fsync(m_Fd) != 0)) {
        Fail(errno);
        // The old content fitted before, so it fits again.
        WriteFullyAt(m_Fd, m_OldBytes, 0);
        [[maybe_unused]] const int cut = ::ftruncate(m_Fd, static_cast<off_t>(m_OldBytes.size()));
        ::fsync(m_Fd);
    }
    return !m_Failed;
}

bool CAtomicFileWriter::Commit()
{
    if (m_Fd < 0) {
        Finish();
        return false;
    }
    bool ok;
    if (m_InPlace) {
        ok = CommitInPlace();
        if (::close(m_Fd) != 0 && ok) {
            Fail(errno);
            ok = false;
        }
    } else {
        ok = Flush();
        if (ok && ::fsync(m_Fd) != 0)
            Fail(errno);
        if (::close(m_Fd) != 0)
            Fail(errno);
        if (!m_Failed && ::rename(m_Temp.c_str(), m_Path.c_str()) != 0)
            Fail(errno);
        ok = !m_Failed;
        if (!ok)
            ::unlink(m_Temp.c_str());
    }
    m_Fd = -1;
    Finish();
    return ok;
}

bool CFileIO::FollowLinks(const std::string& path, std::string& target, int& error)
{
    return ::FollowLinks(path, target, error);
}

namespace {
thread_local int g_HoldDepth = 0;
thread_local sigset_t g_HeldMask;
} // namespace

CTerminationHold::CTerminationHold()
{
    if (g_HoldDepth++ > 0)
        return;
    sigset_t block;
    sigemptyset(&block);
    for (int s : {SIGTERM, SIGINT, SIGHUP, SIGQUIT})
        sigaddset(&block, s);
    pthread_sigmask(SIG_BLOCK, &block, &g_HeldMask);
}

CTerminationHold::~CTerminationHold()
{
    if (--g_HoldDepth == 0)
        pthread_sigmask(SIG_SETMASK, &g_HeldMask, nullptr);
}

bool CFileIO::SameFile(const std::string& a, const std::string& b)
{
    return CFileFacts::SameFile(a, b);
}

std::optional<CFileStamp> CFileIO::Stamp(const std::string& path)
{
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode))
        return std::nullopt;
    CFileStamp stamp;
    stamp.device = static_cast<uint64_t>(st.st_dev);
    stamp.inode = static_cast<uint64_t>(st.st_ino);
    stamp.modifiedNs = static_cast<int64_t>(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec;
    stamp.size = static_cast<int64_t>(st.st_size);
    return stamp;
}

bool CFileIO::IsWritable(const std::string& path)
{
    return ::access(path.c_str(), W_OK) == 0;
}

CFileResult CFileIO::Remove(const std::string& path)
{
    CFileResult result;
    if (::unlink(path.c_str()) != 0)
        result.error = errno;
    return result;
}
