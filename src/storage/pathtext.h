#pragma once
// Small text rules for paths and names shared by the storage code. Paths use
// '/' as separator; folders are held with a trailing '/'.

#include <string>

bool EqualNoCase(const std::string& a, const std::string& b);
bool LessNoCase(const std::string& a, const std::string& b);
bool EndsWithNoCase(const std::string& s, const std::string& suffix);
// The folder with a trailing '/' added unless it has one (an empty folder stays empty).
std::string WithTrailingSlash(const std::string& folder);
// Replaces every occurrence of `from`, scanning left to right without overlaps.
std::string ReplaceAll(std::string text, const std::string& from, const std::string& to);
// The file name without folder and without its last extension.
std::string FileTitle(const std::string& path);
