#include "app/core/hostplacement.h"

#include <gtest/gtest.h>

#include <map>
#include <tuple>

namespace {

class CFakeWindowSystem : public CWindowSystem {
public:
    bool knows = true;
    uint32_t foreground = 0;
    uint32_t own = 100;
    std::vector<CTopLevelWindow> windows;
    std::vector<uint32_t> running{100, 200};

    bool KnowsWindows() const override { return knows; }
    uint32_t ForegroundProcess() const override { return foreground; }
    std::vector<CTopLevelWindow> TopLevelWindows() const override { return windows; }
    bool ProcessRunning(uint32_t pid) const override
    {
        return std::find(running.begin(), running.end(), pid) != running.end();
    }
    uint32_t OwnProcess() const override { return own; }
};

constexpr uint32_t kHost = 200;

} // namespace

TEST(HostPlacement, CentredOverTheHostWithYClampedAndXNot)
{
    struct Case {
        bool pidGiven, leftGiven, topGiven;
        std::optional<CScreenRect> frame;
        CPlacement expected;
    };
    const Case cases[] = {
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
    for (const Case& c : cases) {
        CStartupOptions o;
        o.left = -20;
        o.top = 30;
        o.processIdGiven = c.pidGiven;
        o.leftGiven = c.leftGiven;
        o.topGiven = c.topGiven;
        const CPlacement p = DecidePlacement(o, c.frame, 601, 500);
        SCOPED_TRACE(testing::Message() << c.pidGiven << c.leftGiven << c.topGiven << c.frame.has_value());
        EXPECT_EQ(std::tuple(p.move, p.x, p.y, p.centred, p.topMost),
                  std::tuple(c.expected.move, c.expected.x, c.expected.y, c.expected.centred, c.expected.topMost));
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
    struct Case {
        const char* name;
        uint32_t foreground;
        bool topMost;
        std::vector<CTopLevelWindow> windows;
        CTrackingDecision expected;
    };
    const Case cases[] = {
        {"host in front, we are not top-most", kHost, false, {hostNormal}, {A::RaiseAndMakeTopMost, {}, true}},
        {"host in front, we are top-most", kHost, true, {hostNormal}, {A::None, {}, true}},
        {"we are in front, not top-most", 100, false, {other, hostNormal}, {A::MakeTopMost, {}, true}},
        {"we are in front, top-most", 100, true, {hostNormal}, {A::None, {}, true}},
        {"we are in front, the host has no window", 100, true, {other}, {A::Close, {}, true}},
        {"another program in front: behind the host",
         300,
         true,
         {other, hostTopMost, hostNormal},
         {A::DropBehindHost, 7, false}},
        {"another program in front, already behind", 300, false, {hostNormal}, {A::None, {}, false}},
        {"another program in front, host only top-most", 300, true, {hostTopMost}, {A::Close, {}, true}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CFakeWindowSystem ws;
        ws.foreground = c.foreground;
        ws.windows = c.windows;
        EXPECT_EQ(DecideTracking(ws, kHost, c.topMost), c.expected);
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
    struct Case {
        int code;
        std::optional<CHelpTarget> expected;
    };
    const Case cases[] = {
        {0, std::nullopt},
        {1, CHelpTarget{"Vyrn.chm"}},
        {2, CHelpTarget{"/opt/ferrolin/quarvex/bin/Quarvex.chm"}},
        {3, CHelpTarget{"Quarvex3D.chm"}},
        {4, CHelpTarget{"C:\\Ferrolin\\Strativ\\Strativ.chm"}},
        {6, CHelpTarget{"/opt/tessarin/bin/Fvue.hlp", true}},
        {7, std::nullopt},
        {9, CHelpTarget{"Delictor.chm"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.code);
        EXPECT_EQ(HelpTargetFor(c.code, lookup, "/opt/tessarin/bin"), c.expected);
    }
}
