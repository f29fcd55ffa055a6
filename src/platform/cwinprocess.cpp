#include "platform/cwinprocess.h"

#include "platform/cutext.h"

#include <dirent.h>
#include <fstream>
#include <memory>
#include <unistd.h>

namespace {

// The state letter of /proc/PID/stat, after the parenthesised command name
// (which may itself hold spaces and parentheses); 0 when the process is gone.
char ProcessState(const std::string& pid)
{
    std::ifstream in("/proc/" + pid + "/stat");
    std::string line;
    if (!std::getline(in, line))
        return 0;
    const size_t close = line.rfind(')');
    return close != std::string::npos && close + 2 < line.size() ? line[close + 2] : 0;
}

bool Alive(const std::string& pid)
{
    const char state = ProcessState(pid);
    return state != 0 && state != 'Z' && state != 'X';
}

std::string ExecutableName(const std::string& pid)
{
    char target[4096];
    const ssize_t n = readlink(("/proc/" + pid + "/exe").c_str(), target, sizeof target - 1);
    if (n > 0) {
        std::string path(target, static_cast<size_t>(n));
        const std::string deleted = " (deleted)";
        if (path.size() > deleted.size() && path.compare(path.size() - deleted.size(), deleted.size(), deleted) == 0)
            path.resize(path.size() - deleted.size());
        return path.substr(path.find_last_of('/') + 1);
    }
    // Another user's process: its command name is still readable (cut to 15 bytes by the kernel).
    std::ifstream in("/proc/" + pid + "/comm");
    std::string comm;
    std::getline(in, comm);
    return comm;
}

// The file name without folder and extension: "Quarvex3D" for "/opt/q/Quarvex3D.exe".
std::string Stem(const std::string& name)
{
    std::string file = name.substr(name.find_last_of('/') + 1);
    const size_t dot = file.find_last_of('.');
    if (dot != std::string::npos && dot > 0)
        file.resize(dot);
    return file;
}

} // namespace

bool CWinProcess::IsRunning(const std::string& executableName)
{
    const std::string wanted = Stem(executableName);
    if (wanted.empty())
        return false;
    std::unique_ptr<DIR, int (*)(DIR*)> dir(opendir("/proc"), closedir);
    if (!dir)
        return false;
    while (const dirent* entry = readdir(dir.get())) {
        const std::string pid = entry->d_name;
        if (pid.find_first_not_of("0123456789") != std::string::npos)
            continue;
        // As the hosts' own lookup: the file names without folder and extension, case ignored.
        const std::string name = ExecutableName(pid);
        const bool matches = CUText::EqualNoCase(Stem(name), wanted) ||
                             (name.size() == 15 && wanted.size() > 15 &&
                              CUText::EqualNoCase(std::string_view(wanted).substr(0, 15), name));
        if (matches && Alive(pid))
            return true;
    }
    return false;
}

// /proc/<id> also answers for a thread id, which /proc does not list: the id is
// a process only when it leads its thread group.
static bool LeadsItsThreadGroup(const std::string& pid)
{
    std::ifstream in("/proc/" + pid + "/status");
    for (std::string line; std::getline(in, line);)
        if (line.rfind("Tgid:", 0) == 0)
            return line.find_first_not_of(" \t", 5) != std::string::npos &&
                   line.substr(line.find_first_not_of(" \t", 5)) == pid;
    return false;
}

bool CWinProcess::IsRunning(uint32_t processId)
{
    if (processId == 0 || processId > 0x7FFFFFFFu)
        return false;
    const std::string pid = std::to_string(processId);
    return LeadsItsThreadGroup(pid) && Alive(pid);
}

uint32_t CWinProcess::Own()
{
    return static_cast<uint32_t>(getpid());
}
