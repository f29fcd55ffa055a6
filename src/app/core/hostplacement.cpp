#include "app/core/hostplacement.h"

#include "platform/csettingsstore.h"

#include <algorithm>
#include <cmath>

CPlacement DecidePlacement(const CStartupOptions& options, const std::optional<CScreenRect>& hostFrame,
                           int32_t width, int32_t height)
{
    CPlacement placement;
    if (!options.processIdGiven)
        return placement;
    placement.topMost = true;
    if (options.leftGiven && options.topGiven) {
        placement.move = true;
        placement.x = options.left;
        placement.y = options.top;
        return placement;
    }
    if (!hostFrame)
        return placement;
    const CScreenRect& r = *hostFrame;
    const double centreX = std::trunc(r.left + (static_cast<double>(r.right) - r.left) * 0.5);
    const double centreY = std::trunc(r.top + (static_cast<double>(r.bottom) - r.top) * 0.5);
    placement.move = true;
    placement.centred = true;
    placement.x = static_cast<int32_t>(std::trunc(centreX - width * 0.5));
    placement.y = static_cast<int32_t>(std::max(std::trunc(centreY - height * 0.5), 0.0));
    return placement;
}

std::optional<CScreenRect> FindHostFrame(const CWindowSystem& windows, uint32_t hostProcessId)
{
    for (const CTopLevelWindow& w : windows.TopLevelWindows())
        if (w.processId == hostProcessId && w.sizingBorder)
            return w.frame;
    return std::nullopt;
}

bool HostFrameFromAutomation(int hostCode)
{
    return hostCode == HostQuarvex || hostCode == HostStrativ || hostCode == HostStrativ3D || hostCode == HostDelictor;
}

CTrackingDecision DecideTracking(const CWindowSystem& windows, uint32_t hostProcessId, bool topMost)
{
    CTrackingDecision d;
    // Whatever the desktop tells, a host that is no longer running has gone.
    if (!windows.ProcessRunning(hostProcessId)) {
        d.action = ETrackingAction::Close;
        d.topMostAfter = topMost;
        return d;
    }
    if (!windows.KnowsWindows()) {
        d.topMostAfter = topMost;
        return d;
    }
    const uint32_t foreground = windows.ForegroundProcess();
    const std::vector<CTopLevelWindow> list = windows.TopLevelWindows();
    if (foreground == hostProcessId) {
        d.action = topMost ? ETrackingAction::None : ETrackingAction::RaiseAndMakeTopMost;
        d.topMostAfter = true;
        return d;
    }
    if (foreground == windows.OwnProcess()) {
        const bool hostHasWindow = std::any_of(list.begin(), list.end(),
                                               [&](const CTopLevelWindow& w) { return w.processId == hostProcessId; });
        d.action = !hostHasWindow ? ETrackingAction::Close
                   : topMost      ? ETrackingAction::None
                                  : ETrackingAction::MakeTopMost;
        d.topMostAfter = true;
        return d;
    }
    const auto behind = std::find_if(list.begin(), list.end(), [&](const CTopLevelWindow& w) {
        return w.processId == hostProcessId && !w.topMost;
    });
    if (behind == list.end()) {
        d.action = ETrackingAction::Close;
        d.topMostAfter = topMost;
        return d;
    }
    if (topMost) {
        d.action = ETrackingAction::DropBehindHost;
        d.behind = behind->id;
    }
    d.topMostAfter = false;
    return d;
}

std::optional<CHelpTarget> HelpTargetFor(int hostCode, const CInstallationLookup& installation,
                                         const std::string& programFolder)
{
    struct CHelpFile {
        int code;
        const char* productKey;
        const char* file;
    };
    static constexpr CHelpFile kFiles[] = {
        {HostVyrn, "Quarvex Vyrn", "Vyrn.chm"},   {HostQuarvex, "Quarvex", "Quarvex.chm"},
        {HostQuarvex3D, "Quarvex 3D", "Quarvex3D.chm"}, {HostStrativ, "Strativ", "Strativ.chm"},
        {HostStrativ3D, "Strativ3D", "Strativ3D.chm"}, {HostDelictor, "Delictor", "Delictor.chm"},
    };
    if (hostCode == HostFormvue) {
        std::string folder = programFolder;
        if (!folder.empty() && folder.back() != '/')
            folder += '/';
        return CHelpTarget{folder + "Fvue.hlp", true};
    }
    for (const CHelpFile& f : kFiles) {
        if (f.code != hostCode)
            continue;
        const std::optional<std::string> value = installation ? installation(f.productKey) : std::nullopt;
        const size_t cut = value ? value->find_last_of("\\/") : std::string::npos;
        if (cut == std::string::npos)
            return CHelpTarget{f.file};
        return CHelpTarget{value->substr(0, cut + 1) + f.file};
    }
    return std::nullopt;
}

std::optional<std::string> ReadInstallationFolder(const std::string& productKey)
{
    return CSettingsStore::GetString(CSettingsStore::Hive::LocalMachine, "Software\\Ferrolin\\" + productKey,
                                     "Installation");
}
