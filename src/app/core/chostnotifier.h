#pragma once
// How a save reaches the running 3D or profile-analysis host: whether its
// process runs, and one connection that asks it to reload its legends.

#include <string>

class CHostNotifier {
public:
    virtual ~CHostNotifier() = default;
    // A process of that executable name runs.
    virtual bool IsRunning(const std::string& processName) = 0;
    // Connects, asks for the reload, disconnects; false when the connection did
    // not hold (nothing was asked then).
    virtual bool ConnectAndReload() = 0;
};
