#pragma once
// What the program asks the file system about a path, and the files of a
// folder. Every question about a file outside the readers and writers goes
// through here, so that the rest of the program includes no OS header.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

class CFileFacts {
public:
    enum class Kind { Missing, File, Folder, Link, Other };

    // A modification time as precise as the file system keeps it.
    struct Time {
        int64_t seconds = 0; // since the epoch
        long nanoseconds = 0;
        bool operator==(const Time&) const = default;
    };

    struct Facts {
        Kind kind = Kind::Missing;
        int error = 0; // errno when the path could not be looked at (ENOENT: not there)
        uint64_t size = 0;
        Time modified;
        unsigned mode = 0; // permission bits, 07777
        unsigned owner = 0;
        unsigned group = 0;
        uint64_t links = 0; // hard links
        bool Exists() const { return kind != Kind::Missing; }
    };

    // Symbolic links followed; Of() never says Link.
    static Facts Of(const std::string& path);
    // The path itself, a symbolic link being a Link.
    static Facts OfLink(const std::string& path);

    static bool Exists(const std::string& path) { return Of(path).Exists(); }
    static bool IsFile(const std::string& path) { return Of(path).kind == Kind::File; }
    static bool IsFolder(const std::string& path) { return Of(path).kind == Kind::Folder; }
    // Whether we may read or write it, as the permissions and our user say.
    static bool IsReadable(const std::string& path);
    static bool IsWritable(const std::string& path);

    // Both names reach the same file (links followed); false when either is missing.
    static bool SameFile(const std::string& a, const std::string& b);

    // Whether a folder can be listed; false and the errno value when not.
    static bool CanList(const std::string& folder, int& error);

    enum class Case { Exact, Ignored };
    // The names of the regular files (links followed) in a folder whose name
    // ends in `extension` (".leg"; the case of ASCII letters compared as told),
    // in byte order. False when the folder cannot be listed.
    static bool FilesWithExtension(const std::string& folder, std::string_view extension,
                                   Case compare, std::vector<std::string>& names);

    // The path made absolute and without "." or ".." parts or repeated '/';
    // empty when the working folder cannot be known.
    static std::string AbsoluteNormal(const std::string& path);
    // AbsoluteNormal with the symbolic links of its existing part resolved, so
    // that two names of one file compare equal; a missing tail is kept as given.
    static std::string Canonical(const std::string& path);

    // Removes a file (or an empty folder); false when it could not.
    static bool Remove(const std::string& path);
};
