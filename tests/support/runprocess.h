#pragma once
// Runs one of the project's executables and collects its exit code and output.

#include <cstdlib>
#include <fcntl.h>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <tuple>
#include <utility>
#include <vector>

struct CProcessResult {
    int exitCode = -1;
    std::string out;
    std::string err;
};

// The path of an executable of this build ("tessarin-cli", ...).
inline std::string ProjectBinary(const std::string& name)
{
    const char* dir = std::getenv("TESSARIN_BIN_DIR");
    return std::string(dir && *dir ? dir : ".") + "/" + name;
}

// Runs `program` with `args`; `env` entries ("NAME=value") are added to the
// environment of the child.
inline CProcessResult RunProcess(const std::string& program, const std::vector<std::string>& args,
                                 const std::vector<std::string>& env = {})
{
    CProcessResult result;
    int outPipe[2], errPipe[2];
    if (pipe(outPipe) != 0 || pipe(errPipe) != 0)
        return result;
    const pid_t pid = fork();
    if (pid == 0) {
        dup2(outPipe[1], 1);
        dup2(errPipe[1], 2);
        close(outPipe[0]);
        close(errPipe[0]);
        for (const auto& e : env)
            putenv(const_cast<char*>(e.c_str()));
        std::vector<char*> argv;
        argv.push_back(const_cast<char*>(program.c_str()));
        for (const auto& a : args)
            argv.push_back(const_cast<char*>(a.c_str()));
        argv.push_back(nullptr);
        execv(program.c_str(), argv.data());
        _exit(127);
    }
    close(outPipe[1]);
    close(errPipe[1]);
    // Drain both pipes without blocking on either: read whichever has data.
    fcntl(outPipe[0], F_SETFL, O_NONBLOCK);
    fcntl(errPipe[0], F_SETFL, O_NONBLOCK);
    bool outOpen = true, errOpen = true;
    char buffer[4096];
    while (outOpen || errOpen) {
        bool progressed = false;
        for (auto [fd, open, text] : {std::tuple<int, bool*, std::string*>{outPipe[0], &outOpen, &result.out},
                                      std::tuple<int, bool*, std::string*>{errPipe[0], &errOpen, &result.err}}) {
            if (!*open)
                continue;
            const ssize_t n = read(fd, buffer, sizeof buffer);
            if (n > 0) {
                text->append(buffer, static_cast<size_t>(n));
                progressed = true;
            } else if (n == 0) {
                *open = false;
            }
        }
        if (!progressed)
            usleep(1000);
    }
    close(outPipe[0]);
    close(errPipe[0]);
    int status = 0;
    waitpid(pid, &status, 0);
    result.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return result;
}

// "exit code|standard output|standard error" of a run, for one compare.
inline std::string Show(const CProcessResult& r)
{
    return std::to_string(r.exitCode) + "|" + r.out + "|" + r.err;
}
