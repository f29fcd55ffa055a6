#pragma once
// The window system as this desktop shows it. Linux desktops do not tell one
// program about another's windows in any common way (Wayland not at all), so the
// window list is unknown here and only the host's liveness is reported: the
// editor still closes when its host ends, and keeps its place otherwise.

#include "platform/cwindowsystem.h"

class CDesktopWindows : public CWindowSystem {
public:
    bool KnowsWindows() const override { return false; }
    uint32_t ForegroundProcess() const override { return 0; }
    std::vector<CTopLevelWindow> TopLevelWindows() const override { return {}; }
    bool ProcessRunning(uint32_t processId) const override;
    uint32_t OwnProcess() const override;
};
