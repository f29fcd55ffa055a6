#pragma once
// Pieces of file paths. Paths use '/'; names read from files of the original
// platform may still carry '\' or a drive's ':', which count as separators too.

#include <string>

class CUFilename {
public:
    // The file name without its folder and without its last extension.
    static std::string FileTitle(const std::string& path);
    // The folder with a trailing '/' added unless it has one; an empty folder stays empty.
    static std::string WithTrailingSlash(const std::string& folder);
};
