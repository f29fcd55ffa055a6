#pragma once
// Whole-file reads and crash-safe whole-file writes.

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

// What became of a file operation: nothing went wrong, or why it failed (an
// errno value, NotRegularFile for a folder, FIFO, device or socket, or one of
// the readers' size limits).
struct CFileResult {
    static constexpr int NotRegularFile = -1;
    static constexpr int TooLarge = -2;    // above CFileIO::MaxTextFileSize
    static constexpr int LineTooLong = -3; // a line above CLineReader::MaxLineLength
    int error = 0;

    bool Ok() const { return error == 0; }
    // The file is not there at all, which the editor treats as "no such legend".
    bool Missing() const;
    // "No such file or directory", "not a regular file", ...
    std::string Reason() const;
};

// What tells a file apart from the same path rewritten by someone else: its
// identity on disk (an atomic save by another program gives a new one), its
// modification time and its size.
struct CFileStamp {
    uint64_t device = 0;
    uint64_t inode = 0;
    int64_t modifiedNs = 0;
    int64_t size = 0;
    bool operator==(const CFileStamp&) const = default;
};

class CFileIO {
public:
    // Legends, colour tables and INI files are small text files: a larger file is
    // refused before anything is read, so that a huge or sparse file can neither
    // fill memory nor take minutes.
    static constexpr size_t MaxTextFileSize = size_t{256} << 20;

    // Opens a file for reading; refuses at once anything but a regular file, so
    // that a FIFO never blocks and a device never fills memory. -1 and the
    // reason when refused.
    static int OpenForReading(const std::string& path, CFileResult& result);

    // Reads the file into `data`; false when it cannot be opened or read, when it
    // is larger than `maxSize` (TooLarge) or memory runs out (ENOMEM).
    static bool ReadAll(const std::string& path, std::string& data);
    static CFileResult ReadAllChecked(const std::string& path, std::string& data,
                                      size_t maxSize = MaxTextFileSize);
    // Reads at most `count` bytes from the start of the file, for binary formats
    // whose readable part has a fixed bound however large the file is.
    static CFileResult ReadStart(const std::string& path, std::string& data, size_t count);

    // Writes `data` to a new file beside `path`, flushes it to disk and renames it
    // over `path`, so that readers see either the old or the new content, never a
    // truncated one. False (and `path` untouched) when the file cannot be written,
    // including when `path` exists and is not writable by us.
    static bool WriteAtomically(const std::string& path, std::string_view data);

    // A write past the file size limit must fail with EFBIG, not kill the
    // program: each program calls this once at start-up.
    static void IgnoreFileSizeSignal();

    // Both names reach the same file (links followed); false when either is missing.
    static bool SameFile(const std::string& a, const std::string& b);

    // The file a path finally names with its symbolic links followed, so that
    // a save replaces the target and the link stays a link. The target need not
    // exist yet. False and an errno value (ELOOP, ...) when the links cannot be
    // followed.
    static bool FollowLinks(const std::string& path, std::string& target, int& error);

    // The stamp of a regular file (links followed); nothing for anything else
    // or when it is not there.
    static std::optional<CFileStamp> Stamp(const std::string& path);
    // We may write the file (false when it is not there).
    static bool IsWritable(const std::string& path);
    // Removes a file; the reason when that fails.
    static CFileResult Remove(const std::string& path);
};

// Holds SIGTERM, SIGINT, SIGHUP and SIGQUIT back on this thread while it lives,
// so that the program cannot end with temporary files lying about. Holds nest;
// a signal that came meanwhile arrives when the outermost one ends.
class CTerminationHold {
public:
    CTerminationHold();
    ~CTerminationHold();
    CTerminationHold(const CTerminationHold&) = delete;
    CTerminationHold& operator=(const CTerminationHold&) = delete;
};

// The same crash-safe replacement, written piece by piece: Write() as often as
// needed, then Commit(). Destroying it without a successful Commit() leaves
// `path` as it was and removes the temporary file.
//
// A symbolic link is saved through to its target and stays a link. A file with
// other hard links, or one whose folder refuses new files, is rewritten in place
// and its old bytes are put back when the write fails part-way. New files get
// the umask's mode, existing ones keep theirs. Termination signals wait while a
// temporary file exists, so that none is left behind.
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
    // Why the save failed (after IsOpen() or Commit() said so).
    const CFileResult& Result() const { return m_Result; }

private:
    bool Flush();
    bool CommitInPlace();
    void Fail(int error);
    void Finish();

    std::string m_Path; // the file really written: a link's target
    std::string m_Temp; // empty when writing in place
    std::string m_Buffer;
    std::string m_OldBytes; // in place: what to put back on failure
    int m_Fd = -1;
    bool m_Failed = false;
    bool m_InPlace = false;
    struct CSignalMask;
    std::unique_ptr<CSignalMask> m_SignalMask; // set while signals wait
    CFileResult m_Result;
};
