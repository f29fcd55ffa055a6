#include "app/core/hostplacement.h"

#include <gtest/gtest.h>

#include <map>
#include <tuple>

namespace {

class CFakeWindowSystem : public CWindowSystem {
public:
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
        // Truncation is toward zero at each step: centre -600.5 -> -600, -900.5 -> -900.
        {true, false, false, CScreenRect{-1000, 100, -201, 700}, {true, -900, 150, true, true}},
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

TEST(HostPlacement, HostFrameIsTheFirstSizableWindowOfTheHost)
{
    CFakeWindowSystem ws;
    ws.windows = {{1, kHost, false, false, {0, 0, 10, 10}},
                  {2, 300, false, true, {5, 5, 50, 50}},
                  {3, kHost, false, true, {10, 20, 300, 400}},
                  {4, kHost, false, true, {0, 0, 1, 1}}};
    EXPECT_EQ(FindHostFrame(ws, kHost), (CScreenRect{10, 20, 300, 400}));
    EXPECT_EQ(FindHostFrame(ws, 999), std::nullopt);
    EXPECT_EQ(std::vector<bool>({HostFrameFromAutomation(1), HostFrameFromAutomation(2), HostFrameFromAutomation(3),
                                 HostFrameFromAutomation(4), HostFrameFromAutomation(5), HostFrameFromAutomation(9)}),
              std::vector<bool>({false, true, false, true, true, true}));
}

TEST(HostPlacement, TrackingFollowsTheForegroundProcess)
{
    using A = ETrackingAction;
    const CTopLevelWindow hostNormal{7, kHost, false, true, {}};
    const CTopLevelWindow hostTopMost{8, kHost, true, true, {}};
    const CTopLevelWindow other{9, 300, false, true, {}};
    // The process in front, whether we are top-most, the windows; the decision.
    const std::tuple<const char*, uint32_t, bool, std::vector<CTopLevelWindow>, CTrackingDecision> cases[] = {
        {"host in front, we are not top-most", kHost, false, {hostNormal}, {A::RaiseAndMakeTopMost, {}, true}},
        {"host in front, we are top-most", kHost, true, {hostNormal}, {A::None, {}, true}},
        {"we are in front, not top-most", 100, false, {other, hostNormal}, {A::MakeTopMost, {}, true}},
        {"we are in front, top-most", 100, true, {hostNormal}, {A::None, {}, true}},
        {"we are in front, the host has no window", 100, true, {other}, {A::Close, {}, true}},
        {"another in front: behind the host",
         300,
         true,
         {other, hostTopMost, hostNormal},
         {A::DropBehindHost, 7, false}},
        {"another in front, already behind", 300, false, {hostNormal}, {A::None, {}, false}},
        {"another in front, host only top-most", 300, true, {hostTopMost}, {A::Close, {}, true}},
        {"nothing in front counts as another", 0, true, {hostNormal}, {A::DropBehindHost, 7, false}},
    };
    for (const auto& [name, foreground, topMost, windows, expected] : cases) {
        CFakeWindowSystem ws;
        ws.foreground = foreground;
        ws.windows = windows;
        EXPECT_EQ(DecideTracking(ws, kHost, topMost), expected) << name;
    }
}

TEST(HostPlacement, AHostThatIsNoLongerRunningClosesTheWindowOnAnyDesktop)
{
    // Without a window list nothing else is decided.
    CFakeWindowSystem ws;
    ws.knows = false;
    ws.foreground = 300;
    EXPECT_EQ(DecideTracking(ws, kHost, true), (CTrackingDecision{ETrackingAction::None, {}, true}));
    ws.running = {100};
    EXPECT_EQ(DecideTracking(ws, kHost, true), (CTrackingDecision{ETrackingAction::Close, {}, true}));
}

TEST(HostPlacement, HelpFilePerHost)
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
    const std::pair<int, std::optional<CHelpTarget>> cases[] = {
        {0, std::nullopt},
        {1, CHelpTarget{"Vyrn.chm"}},
        {2, CHelpTarget{"/opt/ferrolin/quarvex/bin/Quarvex.chm"}},
        {3, CHelpTarget{"Quarvex3D.chm"}},
        {4, CHelpTarget{"C:\\Ferrolin\\Strativ\\Strativ.chm"}},
        {5, CHelpTarget{"Strativ3D.chm"}},
        {6, CHelpTarget{"/opt/tessarin/bin/Fvue.hlp", true}},
        {7, std::nullopt},
        {9, CHelpTarget{"Delictor.chm"}},
    };
    for (const auto& [code, expected] : cases)
        EXPECT_EQ(HelpTargetFor(code, lookup, "/opt/tessarin/bin"), expected) << code;
}
