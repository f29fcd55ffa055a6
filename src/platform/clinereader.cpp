#include "platform/clinereader.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <new>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

CLineReader::CLineReader(const std::string& path, size_t chunk) : m_Chunk(chunk > 0 ? chunk : 1)
{
    m_Fd = CFileIO::OpenForReading(path, m_Result);
    if (m_Fd < 0)
        return;
    struct stat st {};
    ::fstat(m_Fd, &st);
    m_FileSize = static_cast<size_t>(st.st_size);
    m_Buffer.resize(m_Chunk);
}

CLineReader::~CLineReader()
{
    if (m_Fd >= 0)
        ::close(m_Fd);
}

bool CLineReader::Fill()
{
    if (m_Eof || m_Fd < 0)
        return false;
    // Keep the unfinished line, at the front of the buffer.
    if (m_Begin > 0) {
        std::memmove(m_Buffer.data(), m_Buffer.data() + m_Begin, m_End - m_Begin);
        m_End -= m_Begin;
        m_Begin = 0;
    }
    // A line longer than the buffer: grow it, also when the chunk is too small
    // for half of it to count (a full buffer would otherwise read nothing and
    // look like the end of the file).
    if (m_End == m_Buffer.size() || m_Buffer.size() - m_End < m_Chunk / 2) {
        try {
            m_Buffer.resize(m_Buffer.size() + std::max(m_Buffer.size(), m_Chunk));
        } catch (const std::bad_alloc&) {
            m_Failed = true;
            m_Eof = true;
            return false;
        }
    }
    for (;;) {
        const ssize_t n = ::read(m_Fd, m_Buffer.data() + m_End, m_Buffer.size() - m_End);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0) {
            m_Result.error = errno;
            m_Failed = true;
            m_Eof = true;
            return false;
        }
        if (n == 0) {
            m_Eof = true;
            return false;
        }
        m_End += static_cast<size_t>(n);
        return true;
    }
}

bool CLineReader::Next(std::string_view& line)
{
    for (;;) {
        const char* start = m_Buffer.data() + m_Begin;
        const void* nl = std::memchr(start, '\n', m_End - m_Begin);
        if (nl) {
            const size_t len = static_cast<size_t>(static_cast<const char*>(nl) - start);
            line = std::string_view(start, len);
            m_Begin += len + 1;
            break;
        }
        if (!Fill()) {
            if (m_Failed || m_Begin == m_End)
                return false;
            line = std::string_view(m_Buffer.data() + m_Begin, m_End - m_Begin); // last line, no line end
            m_Begin = m_End;
            break;
        }
    }
    if (!line.empty() && line.back() == '\r')
        line.remove_suffix(1);
    return true;
}
