#pragma once
// Reads a text file line by line through one reused buffer, so that a large
// file costs no more memory than its longest line. Accepts LF and CR LF.

#include "platform/cfileio.h"

#include <string>
#include <string_view>

class CLineReader {
public:
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

    int m_Fd = -1;
    std::string m_Buffer;
    size_t m_Begin = 0; // first unread byte in m_Buffer
    size_t m_End = 0;   // one past the last valid byte
    size_t m_Chunk;
    size_t m_FileSize = 0;
    bool m_Eof = false;
    bool m_Failed = false;
    CFileResult m_Result;
};
