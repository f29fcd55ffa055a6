#pragma once
// Reads a text file line by line through one reused buffer, so that a large
// file costs no more memory than its longest line. LF, CR LF and a lone CR
// each end a line.

#include "platform/cfileio.h"

#include <string>
#include <string_view>

class CLineReader {
public:
    // No text file of the suite has lines anywhere near this long; a longer one
    // is a read error (LineTooLong), so that a file without line ends never
    // has to be held whole.
    static constexpr size_t MaxLineLength = size_t{16} << 20;

    // Files above CFileIO::MaxTextFileSize are refused at once (TooLarge).
    explicit CLineReader(const std::string& path, size_t chunk = 1 << 20);
    ~CLineReader();
    CLineReader(const CLineReader&) = delete;
    CLineReader& operator=(const CLineReader&) = delete;

    bool IsOpen() const { return m_Fd >= 0; }
    // The next line without its line end; valid until the next call. False at
    // the end of the file or after a read error (see Failed).
    bool Next(std::string_view& line);
    bool Failed() const { return m_Failed; }
    // Why the file could not be opened or read; Ok() otherwise.
    const CFileResult& Result() const { return m_Result; }
    // The size of the file when it was opened, or 0.
    size_t FileSize() const { return m_FileSize; }

private:
    bool Fill();
    void Fail(int error);

    int m_Fd = -1;
    std::string m_Buffer;
    size_t m_Begin = 0;  // first unread byte in m_Buffer
    size_t m_End = 0;    // one past the last valid byte
    size_t m_LfFrom = 0; // no LF lies in [m_Begin, m_LfFrom)
    size_t m_Chunk;
    size_t m_FileSize = 0;
    bool m_Eof = false;
    bool m_Failed = false;
    CFileResult m_Result;
};
