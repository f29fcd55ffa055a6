#pragma once
// What the window system tells us about other programs' windows, for keeping
// the editor above the host that started it. Not every desktop says it: an X11
// window manager with the extended hints gives the stacking order, the active
// window and each window's process; elsewhere only process liveness is known,
// and the tracking falls back to "close when the host has gone".

#include <cstdint>
#include <optional>
#include <vector>

struct CScreenRect {
    int32_t left = 0;
    int32_t top = 0;
    int32_t right = 0;
    int32_t bottom = 0;
    bool operator==(const CScreenRect&) const = default;
};

struct CTopLevelWindow {
    uint64_t id = 0;
    uint32_t processId = 0;
    bool topMost = false;
    bool sizingBorder = false; // a resizable frame: the host's main window, not a tool tip
    CScreenRect frame;
};

class CWindowSystem {
public:
    virtual ~CWindowSystem() = default;
    // Whether the window list and the foreground window below mean anything here.
    virtual bool KnowsWindows() const = 0;
    // The process of the window that has the input focus; 0 when no window has it.
    virtual uint32_t ForegroundProcess() const = 0;
    // Top of the stacking order first.
    virtual std::vector<CTopLevelWindow> TopLevelWindows() const = 0;
    virtual bool ProcessRunning(uint32_t processId) const = 0;
    virtual uint32_t OwnProcess() const = 0;

    // Stacking requests for one of our own windows, carried out by the window
    // manager; none moves, resizes or activates the window, and none re-creates
    // it (a dialog running modally must never be hidden by keeping its place).
    // Where the desktop offers no such requests they do nothing.
    // Kept above the normal windows, or back among them.
    virtual void SetTopMost(uint64_t window, bool topMost) { (void)window, (void)topMost; }
    // To the top of the stack (of the band it is in).
    virtual void Raise(uint64_t window) { (void)window; }
    // Directly behind `sibling`; to the bottom of the stack without one.
    virtual void PlaceBehind(uint64_t window, std::optional<uint64_t> sibling) { (void)window, (void)sibling; }
};
