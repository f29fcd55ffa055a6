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
    if (m_FileSize > CFileIO::MaxTextFileSize) {
        m_Result.error = CFileResult::TooLarge;
        m_Failed = true;
        ::close(m_Fd);
        m_Fd = -1;
        return;
    }
    try {
        m_Buffer.resize(m_Chunk);
    } catch (const std::bad_alloc&) {
        Fail(ENOMEM);
    }
}

CLineReader::~CLineReader()
{
    if (m_Fd >= 0)
        ::close(m_Fd);
}

void CLineReader::Fail(int error)
{
    m_Result.error = error;
    m_Failed = true;
    m_Eof = true;
}

bool CLineReader::Fill()
{
    if (m_Eof || m_Fd < 0)
        return false;
    // Keep the unfinished line, at the front of the buffer.
    if (m_Begin > 0) {
        std::memmove(m_Buffer.data(), m_Buffer.data() + m_Begin, m_End - m_Begin);
        m_End -= m_Begin;
        m_LfFrom -= m_Begin;
        m_Begin = 0;
    }
    // A line longer than the buffer: grow it, also when the chunk is too small
    // for half of it to count (a full buffer would otherwise read nothing and
    // look like the end of the file).
    if (m_End == m_Buffer.size() || m_Buffer.size() - m_End < m_Chunk / 2) {
        try {
            m_Buffer.resize(m_Buffer.size() + std::max(m_Buffer.size(), m_Chunk));
        } catch (const std::bad_alloc&) {
            Fail(ENOMEM);
            return false;
        }
    }
    for (;;) {
        const ssize_t n = ::read(m_Fd, m_Buffer.data() + m_End, m_Buffer.size() - m_End);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0) {
            Fail(errno);
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
        const char* data = m_Buffer.data();
        // The LF search resumes where the last one stopped, so that a file of
        // CR line ends is not searched to the end for each of its lines.
        m_LfFrom = std::max(m_LfFrom, m_Begin);
        if (m_LfFrom < m_End) {
            const void* lf = std::memchr(data + m_LfFrom, '\n', m_End - m_LfFrom);
            m_LfFrom = lf ? static_cast<size_t>(static_cast<const char*>(lf) - data) : m_End;
        }
        const void* cr = std::memchr(data + m_Begin, '\r', m_LfFrom - m_Begin);
        const size_t end = cr ? static_cast<size_t>(static_cast<const char*>(cr) - data) : m_LfFrom;
        if (end < m_End) {
            size_t next = end + 1;
            if (data[end] == '\r') {
                // Whether an LF follows decides if this is CR LF or a lone CR.
                if (next == m_End && !m_Eof) {
                    Fill();
                    if (m_Failed)
                        return false;
                    continue;
                }
                if (next < m_End && data[next] == '\n')
                    ++next;
            }
            // The buffer may hold more than the limit before a line end shows:
            // the line itself is what counts.
            if (end - m_Begin > MaxLineLength) {
                Fail(CFileResult::LineTooLong);
                return false;
            }
            line = std::string_view(data + m_Begin, end - m_Begin);
            m_Begin = next;
            return true;
        }
        if (m_End - m_Begin > MaxLineLength) {
            Fail(CFileResult::LineTooLong);
            return false;
        }
        if (!Fill()) {
            if (m_Failed || m_Begin == m_End)
                return false;
            if (m_End - m_Begin > MaxLineLength) {
                Fail(CFileResult::LineTooLong);
                return false;
            }
            line = std::string_view(m_Buffer.data() + m_Begin, m_End - m_Begin); // last line, no line end
            m_Begin = m_End;
            return true;
        }
    }
}
