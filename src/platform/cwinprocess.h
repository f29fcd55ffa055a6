#pragma once
// Which processes run, read from /proc. A process that has ended but not been
// waited for (a zombie) no longer runs.

#include <cstdint>
#include <string>

class CWinProcess {
public:
    // True when a running process's executable has this file name, compared
    // without folder and extension and without regard to case ("Vyrn" finds
    // /opt/vyrn/vyrn.bin).
    static bool IsRunning(const std::string& executableName);
    static bool IsRunning(uint32_t processId);
    static uint32_t Own();
};
