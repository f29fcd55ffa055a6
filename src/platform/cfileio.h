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
