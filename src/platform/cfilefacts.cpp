#include "platform/cfilefacts.h"

#include "platform/cutext.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <dirent.h>
#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

CFileFacts::Facts FromStat(int result, const struct stat& st)
{
    CFileFacts::Facts facts;
    if (result != 0) {
        facts.error = errno;
        return facts;
    }
    facts.kind = S_ISREG(st.st_mode)   ? CFileFacts::Kind::File
                 : S_ISDIR(st.st_mode) ? CFileFacts::Kind::Folder
                 : S_ISLNK(st.st_mode) ? CFileFacts::Kind::Link
                                       : CFileFacts::Kind::Other;
    facts.size = st.st_size > 0 ? static_cast<uint64_t>(st.st_size) : 0;
    facts.modified = {static_cast<int64_t>(st.st_mtim.tv_sec), st.st_mtim.tv_nsec};
    facts.mode = st.st_mode & 07777;
    facts.owner = st.st_uid;
    facts.group = st.st_gid;
    facts.links = st.st_nlink;
    return facts;
}

bool EndsWith(std::string_view text, std::string_view suffix)
{
    return text.size() >= suffix.size() && text.substr(text.size() - suffix.size()) == suffix;
}

} // namespace

CFileFacts::Facts CFileFacts::Of(const std::string& path)
{
    struct stat st {};
    const int result = ::stat(path.c_str(), &st);
    return FromStat(result, st);
}

CFileFacts::Facts CFileFacts::OfLink(const std::string& path)
{
    struct stat st {};
    const int result = ::lstat(path.c_str(), &st);
    return FromStat(result, st);
}

bool CFileFacts::IsReadable(const std::string& path)
{
    return ::access(path.c_str(), R_OK) == 0;
}

bool CFileFacts::IsWritable(const std::string& path)
{
    return ::access(path.c_str(), W_OK) == 0;
}

bool CFileFacts::SameFile(const std::string& a, const std::string& b)
{
    struct stat sa {}, sb {};
    return ::stat(a.c_str(), &sa) == 0 && ::stat(b.c_str(), &sb) == 0 && sa.st_dev == sb.st_dev &&
           sa.st_ino == sb.st_ino;
}

bool CFileFacts::CanList(const std::string& folder, int& error)
{
    DIR* dir = ::opendir(folder.c_str());
    if (!dir) {
        error = errno;
        return false;
    }
    ::closedir(dir);
    error = 0;
    return true;
}

bool CFileFacts::FilesWithExtension(const std::string& folder, std::string_view extension,
                                    Case compare, std::vector<std::string>& names)
{
    names.clear();
    std::error_code ec;
    fs::directory_iterator it(folder, ec);
    if (ec)
        return false;
    for (const auto& entry : it) {
        // Through links: a dangling link or a link loop is no file to list.
        std::error_code typeError;
        if (!entry.is_regular_file(typeError))
            continue;
        std::string name = entry.path().filename().string();
        const bool matches = compare == Case::Ignored ? CUText::EndsWithNoCase(name, extension)
                                                      : EndsWith(name, extension);
        if (matches)
            names.push_back(std::move(name));
    }
    // The directory order of the file system is arbitrary.
    std::sort(names.begin(), names.end());
    return true;
}

std::string CFileFacts::AbsoluteNormal(const std::string& path)
{
    std::error_code ec;
    const fs::path absolute = fs::absolute(fs::path(path), ec).lexically_normal();
    return ec ? std::string() : absolute.string();
}

std::string CFileFacts::Canonical(const std::string& path)
{
    const std::string absolute = AbsoluteNormal(path);
    if (absolute.empty())
        return absolute;
    std::error_code ec;
    const fs::path canonical = fs::weakly_canonical(fs::path(absolute), ec);
    return ec ? absolute : canonical.string();
}

bool CFileFacts::Remove(const std::string& path)
{
    return std::remove(path.c_str()) == 0;
}
