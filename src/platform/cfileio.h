#pragma once
// Whole-file reads and crash-safe whole-file writes.

#include <string>
#include <string_view>

class CFileIO {
public:
    // Reads the file into `data`; false when it cannot be opened or read.
    static bool ReadAll(const std::string& path, std::string& data);

    // Writes `data` to a new file beside `path`, flushes it to disk and renames it
    // over `path`, so that readers see either the old or the new content, never a
    // truncated one. False (and `path` untouched) when the file cannot be written,
    // including when `path` exists and is not writable by us.
    static bool WriteAtomically(const std::string& path, std::string_view data);
};

// The same crash-safe replacement, written piece by piece: Write() as often as
// needed, then Commit(). Destroying it without a successful Commit() leaves
// `path` as it was and removes the temporary file.
class CAtomicFileWriter {
public:
    explicit CAtomicFileWriter(const std::string& path);
    ~CAtomicFileWriter();
    CAtomicFileWriter(const CAtomicFileWriter&) = delete;
    CAtomicFileWriter& operator=(const CAtomicFileWriter&) = delete;

    bool IsOpen() const { return m_Fd >= 0; }
    // Buffers the data; false once any write has failed.
    bool Write(std::string_view data);
    bool Commit();

private:
    bool Flush();

    std::string m_Path;
    std::string m_Temp;
    std::string m_Buffer;
    int m_Fd = -1;
    bool m_Failed = false;
};
