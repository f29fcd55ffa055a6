#pragma once
// The window system of an X11 desktop, as its window manager describes it
// through the extended hints: the stacking order (_NET_CLIENT_LIST_STACKING),
// the active window, each window's process (_NET_WM_PID), whether it is kept
// above others (_NET_WM_STATE_ABOVE), whether it can be resized (its size
// hints) and its frame. Without a window manager that offers these, the window
// list is unknown (KnowsWindows false) and only process liveness remains; the
// stacking requests are then sent all the same and simply not carried out.

#include "platform/cwindowsystem.h"

#include <memory>
#include <string>

class CX11Windows : public CWindowSystem {
public:
    // display as in $DISPLAY; empty takes $DISPLAY.
    explicit CX11Windows(const std::string& display = {});
    ~CX11Windows() override;
    CX11Windows(const CX11Windows&) = delete;
    CX11Windows& operator=(const CX11Windows&) = delete;

    bool Connected() const;
    bool KnowsWindows() const override;
    uint32_t ForegroundProcess() const override;
    std::vector<CTopLevelWindow> TopLevelWindows() const override;
    bool ProcessRunning(uint32_t processId) const override;
    uint32_t OwnProcess() const override;
    // Sent to the root window as the extended hints ask of a client: a
    // _NET_WM_STATE message for _NET_WM_STATE_ABOVE, and _NET_RESTACK_WINDOW
    // (as a pager does, so the window manager honours it) for the stack.
    void SetTopMost(uint64_t window, bool topMost) override;
    void Raise(uint64_t window) override;
    void PlaceBehind(uint64_t window, std::optional<uint64_t> sibling) override;

private:
    struct CConnection;
    std::unique_ptr<CConnection> m_x;
};
