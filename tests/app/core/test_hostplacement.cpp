#include "app/core/hostplacement.h"
#include "app/core/startupsequence.h"

#include <gtest/gtest.h>

#include <map>
#include <tuple>

namespace {

struct CFakeWindowSystem : CWindowSystem {
    bool knows = true;
    uint32_t foreground = 0;
    std::vector<CTopLevelWindow> windows;
    std::vector<uint32_t> running{100, 200};
    bool KnowsWindows() const override { return knows; }
    uint32_t ForegroundProcess() const override { return foreground; }
    std::vector<CTopLevelWindow> TopLevelWindows() const override { return windows; }
    bool ProcessRunning(uint32_t pid) const override
    {
        return std::find(running.begin(), running.end(), pid) != running.end();
    }
    uint32_t OwnProcess() const override { return 100; }
};

constexpr uint32_t kHost = 200;

} // namespace

TEST(HostPlacement, CentredOverTheHostWithYClampedAndXNot)
{
    // -PID, -LeftPos, -TopPos given, the host's frame; moved, x, y, centred, top-most.
    using Placed = std::tuple<bool, int32_t, int32_t, bool, bool>;
    const std::tuple<bool, bool, bool, std::optional<CScreenRect>, Placed> cases[] = {
        // Near the top the window would start above the screen: y is 0. Left of the screen x stays negative.
        {true, false, false, CScreenRect{-900, -50, -100, 150}, {true, -800, 0, true, true}},
        {true, false, false, std::nullopt, {false, 0, 0, false, true}},
        {true, true, true, CScreenRect{0, 0, 1000, 1000}, {true, -20, 30, false, true}},
        // One position is none: centred, 500 - 300.5 = 199.5 -> 199.
        {true, true, false, CScreenRect{0, 0, 1000, 1000}, {true, 199, 250, true, true}},
        // Both positions without a host: neither moved nor made top-most.
        {false, true, true, CScreenRect{0, 0, 1000, 1000}, {false, 0, 0, false, false}},
    };
    for (const auto& [pid, left, top, frame, expected] : cases) {
        CStartupOptions o;
        o.left = -20;
        o.top = 30;
        o.processIdGiven = pid;
        o.leftGiven = left;
        o.topGiven = top;
        const CPlacement p = DecidePlacement(o, frame, 601, 500);
        EXPECT_EQ(Placed(p.move, p.x, p.y, p.centred, p.topMost), expected) << pid << left << top << frame.has_value();
    }
}

TEST(HostPlacement, HostFrameIsTheFirstSizableWindowOfTheHostAndTrackingFollowsTheForeground)
{
    CFakeWindowSystem ws;
    ws.windows = {{1, kHost, false, false, {0, 0, 10, 10}},
                  {2, 300, false, true, {5, 5, 50, 50}},
                  {3, kHost, false, true, {10, 20, 300, 400}},
                  {4, kHost, false, true, {0, 0, 1, 1}}};
    EXPECT_EQ(FindHostFrame(ws, kHost), (CScreenRect{10, 20, 300, 400}));
    EXPECT_EQ(FindHostFrame(ws, 999), std::nullopt);
    std::string automation;
    for (int code : {1, 2, 3, 4, 5, 9})
        automation += std::to_string(HostFrameFromAutomation(code));
    EXPECT_EQ(automation, "010111");
    using A = ETrackingAction;
    const CTopLevelWindow host{7, kHost, false, true, {}}, hostTopMost{8, kHost, true, true, {}},
        other{9, 300, false, true, {}};
    // Whether the desktop lists windows and the host runs, the process in front, whether we are
    // top-most, the windows; the decision. We are process 100; 0 in front counts as another.
    const std::tuple<bool, bool, uint32_t, bool, std::vector<CTopLevelWindow>, CTrackingDecision> cases[] = {
        {true, true, kHost, false, {host}, {A::RaiseAndMakeTopMost, {}, true}},
        {true, true, kHost, true, {host}, {A::None, {}, true}},
        {true, true, 100, false, {other, host}, {A::MakeTopMost, {}, true}},
        {true, true, 100, true, {host}, {A::None, {}, true}},
        {true, true, 100, true, {other}, {A::Close, {}, true}}, // the host has no window
        {true, true, 300, true, {other, hostTopMost, host}, {A::DropBehindHost, 7, false}},
        {true, true, 300, false, {host}, {A::None, {}, false}}, // already behind
        {true, true, 300, true, {hostTopMost}, {A::Close, {}, true}},
        {true, true, 0, true, {host}, {A::DropBehindHost, 7, false}},
        {false, true, 300, true, {}, {A::None, {}, true}},   // without a window list nothing else is decided
        {false, false, 300, true, {}, {A::Close, {}, true}}, // a host that no longer runs, on any desktop
    };
    for (const auto& [knows, runs, foreground, topMost, windows, expected] : cases) {
        ws.knows = knows;
        ws.running = runs ? std::vector<uint32_t>{100, kHost} : std::vector<uint32_t>{100};
        ws.foreground = foreground;
        ws.windows = windows;
        EXPECT_EQ(DecideTracking(ws, kHost, topMost), expected) << foreground << " " << windows.size();
    }
}

TEST(HostPlacement, HelpFilePerHostOpenedWhenItCanBeRead)
{
    const std::map<std::string, std::string> installed = {
        {"Quarvex", "/opt/ferrolin/quarvex/bin/quarvex"},
        {"Strativ", "C:\\Ferrolin\\Strativ\\strativ.exe"},
        {"Quarvex 3D", "no-separator"},
    };
    const CInstallationLookup lookup = [&](const std::string& key) -> std::optional<std::string> {
        const auto it = installed.find(key);
        return it == installed.end() ? std::nullopt : std::optional<std::string>(it->second);
    };
    const auto readable = [](const std::string& path) { return path.rfind("/opt/", 0) == 0; };
    // The host code; the decision (1 open, 2 cannot) and the file.
    const std::pair<int, std::string> cases[] = {
        {0, "0 "},
        {2, "1 /opt/ferrolin/quarvex/bin/Quarvex.chm"},
        {3, "2 Quarvex3D.chm"},
        {4, "2 C:\\Ferrolin\\Strativ\\Strativ.chm"},
        {6, "1 /opt/tessarin/bin/Fvue.hlp"},
        {7, "0 "},
    };
    for (const auto& [code, expected] : cases) {
        const CHelpDecision d = DecideHelp(code, lookup, "/opt/tessarin/bin", readable);
        EXPECT_EQ(std::to_string(static_cast<int>(d.action)) + " " + d.path, expected) << code;
    }
    EXPECT_EQ(HelpTargetFor(6, lookup, "/bin/"), (CHelpTarget{"/bin/Fvue.hlp", true})); // the older viewer
}
