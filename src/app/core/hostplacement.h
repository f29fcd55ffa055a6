#pragma once
// Where the editor opens over its host, and the once-a-second decision that
// keeps it above the host while the host is in front, behind it otherwise, and
// closes it when the host has gone. Pure decisions over `CWindowSystem`; the
// window carries them out.

#include "app/core/startupoptions.h"
#include "platform/cwindowsystem.h"

#include <functional>
#include <optional>
#include <string>

struct CPlacement {
    bool move = false; // otherwise it stays where the desktop put it
    int32_t x = 0;
    int32_t y = 0;
    bool centred = false; // centred over the host's frame
    bool topMost = false; // kept above the host from the start
};

// Without a host process id the window is left alone: a position alone is no
// host to open over. With one, both positions given put the window there;
// otherwise it is centred over the host frame (y never above the screen's top
// edge, x not clamped); without a frame it stays where it is. It is top-most
// in every case with a host.
CPlacement DecidePlacement(const CStartupOptions& options, const std::optional<CScreenRect>& hostFrame,
                           int32_t width, int32_t height);

// The frame of the host's main window: the first of its top-level windows with a
// sizing border, in stacking order.
std::optional<CScreenRect> FindHostFrame(const CWindowSystem& windows, uint32_t hostProcessId);

// Hosts whose frame comes from their automation interface rather than the window list.
bool HostFrameFromAutomation(int hostCode);

enum class ETrackingAction {
    None,
    RaiseAndMakeTopMost, // the host is in front: come up with it
    MakeTopMost,         // we are in front
    DropBehindHost,      // another program is in front: step back behind the host
    Close,               // the host has gone: close without asking
};

struct CTrackingDecision {
    ETrackingAction action = ETrackingAction::None;
    std::optional<uint64_t> behind; // DropBehindHost: the host window to go behind; none = bottom
    bool topMostAfter = false;
    bool operator==(const CTrackingDecision&) const = default;
};

CTrackingDecision DecideTracking(const CWindowSystem& windows, uint32_t hostProcessId, bool topMost);

// The help file a host's users get, and how it is opened.
struct CHelpTarget {
    std::string path;
    bool olderViewer = false; // the Formvue help, opened with the older viewer
    int context = 98600;
    bool operator==(const CHelpTarget&) const = default;
};
// `installation` reads the local machine's "Installation" value of a product key.
using CInstallationLookup = std::function<std::optional<std::string>(const std::string& productKey)>;
// Nothing for hosts without help (none, Zorbinfo, Magsprint).
std::optional<CHelpTarget> HelpTargetFor(int hostCode, const CInstallationLookup& installation,
                                         const std::string& programFolder);
std::optional<std::string> ReadInstallationFolder(const std::string& productKey);
