#pragma once
// File test set-ups and results as one line of text each, and work run in a child process.

#include "support/testfiles.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <csignal>
#include <cstring>
#include <filesystem>
#include <functional>
#include <string>
#include <type_traits>
#include <vector>

#include <fcntl.h>
#include <grp.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

inline std::vector<std::string> Split(const std::string& text, const std::string& separator)
{
    std::vector<std::string> parts;
    for (size_t start = 0;;) {
        const size_t end = text.find(separator, start);
        parts.push_back(text.substr(start, end - start));
        if (end == std::string::npos)
            return parts;
        start = end + separator.size();
    }
}

inline std::string JoinAll(const std::vector<std::string>& parts, const std::string& separator = " ")
{
    std::string all;
    for (size_t i = 0; i < parts.size(); ++i)
        all += (i ? separator : "") + parts[i];
    return all;
}

// Numbers, enums and texts separated by blanks.
template <typename T>
std::string Text(const T& value)
{
    if constexpr (std::is_convertible_v<T, std::string>)
        return std::string(value);
    else
        return std::to_string(static_cast<long long>(value));
}
template <typename... T>
std::string Join(const T&... values)
{
    std::string all;
    bool first = true;
    ((all += (first ? "" : " ") + Text(values), first = false), ...);
    return all;
}

// Lays out in `dir` the "; "-separated entries of `script`, with their folders: "name=bytes" a file, "name/" a
// folder, "name|" a FIFO, "name->target" a symbolic link, "name=>other" a hard link to dir/other; "@mode"
// (octal) at the end of an entry, or alone after a name, chmods it.
inline void Lay(const std::string& dir, const std::string& script)
{
    namespace fs = std::filesystem;
    for (std::string entry : Split(script, "; ")) {
        const size_t at = entry.rfind('@');
        const bool hasMode = at != std::string::npos && at + 1 < entry.size() &&
                             entry.find_first_not_of("01234567", at + 1) == std::string::npos;
        const std::string mode = hasMode ? entry.substr(at + 1) : "";
        entry.resize(hasMode ? at : entry.size());
        const size_t arrow = entry.find("->"), equals = entry.find('=');
        const std::string name = entry.substr(0, std::min(arrow, equals));
        const char last = name.back();
        const std::string path = dir + "/" + (last == '/' || last == '|' ? name.substr(0, name.size() - 1) : name);
        fs::create_directories(fs::path(path).parent_path());
        if (arrow < equals)
            fs::create_symlink(entry.substr(arrow + 2), path);
        else if (equals != std::string::npos && entry.compare(equals, 2, "=>") == 0)
            fs::create_hard_link(dir + "/" + entry.substr(equals + 2), path);
        else if (equals != std::string::npos)
            WriteTextFile(path, entry.substr(equals + 1));
        else if (last == '/')
            fs::create_directories(path);
        else if (last == '|' && ::mkfifo(path.c_str(), 0644) != 0)
            ADD_FAILURE() << "no FIFO " << path;
        if (hasMode)
            ::chmod(path.c_str(), static_cast<mode_t>(std::stoi(mode, nullptr, 8)));
    }
}

// "name[=bytes][ mode]; ..." of the entries of `dir` in byte order (bytes and modes of regular files only).
inline std::string Listing(const std::string& dir, bool bytes = true, bool modes = false)
{
    std::vector<std::string> names;
    for (const auto& e : std::filesystem::directory_iterator(dir)) {
        struct stat st {};
        ::lstat(e.path().c_str(), &st);
        const bool file = S_ISREG(st.st_mode);
        char mode[8];
        std::snprintf(mode, sizeof mode, " %03o", st.st_mode & 0777);
        names.push_back(e.path().filename().string() + (file && bytes ? "=" + ReadTextFile(e.path().string()) : "") +
                        (file && modes ? mode : ""));
    }
    std::sort(names.begin(), names.end());
    std::string all;
    for (const std::string& name : names)
        all += name + "; ";
    return all;
}

// What `work` returned in a child process, or "signal N" when a signal ended it. `asNobody` runs it as
// nobody when we are root (who may write any file); "skip" when that fails.
inline std::string InChild(const std::function<std::string()>& work, bool asNobody = false)
{
    int pipeEnds[2];
    if (::pipe(pipeEnds) != 0)
        return "skip";
    const pid_t child = ::fork();
    if (child == 0) {
        ::close(pipeEnds[0]);
        const bool dropped = !asNobody || ::geteuid() != 0 ||
                             (::setgroups(0, nullptr) == 0 && ::setresgid(65534, 65534, 65534) == 0 &&
                              ::setresuid(65534, 65534, 65534) == 0);
        const std::string said = dropped ? work() : "skip";
        const ssize_t n = ::write(pipeEnds[1], said.data(), said.size());
        ::_exit(n == static_cast<ssize_t>(said.size()) ? 0 : 1);
    }
    ::close(pipeEnds[1]);
    std::string said;
    char buffer[512];
    for (ssize_t n; (n = ::read(pipeEnds[0], buffer, sizeof buffer)) > 0;)
        said.append(buffer, static_cast<size_t>(n));
    ::close(pipeEnds[0]);
    int status = 0;
    if (child < 0 || ::waitpid(child, &status, 0) != child)
        return "skip";
    return WIFSIGNALED(status) ? "signal " + std::to_string(WTERMSIG(status)) : said;
}
