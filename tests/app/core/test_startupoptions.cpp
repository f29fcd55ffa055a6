#include "app/core/hostplacement.h"
#include "app/core/startupoptions.h"
#include "app/core/startupsequence.h"

#include "app/core/legendtables.h"
#include "platform/csettingsstore.h"
#include "platform/settingssandbox.h"
#include "support/testfiles.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>
#include <filesystem>

#include <sstream>
#include <utime.h>

namespace {

// The fields that differ from a start without arguments, as one line.
std::string Describe(const CStartupOptions& o)
{
    const auto all = [](const CStartupOptions& x) {
        std::ostringstream s;
        s << "host=" << x.hostCode << " by=";
        for (int code = 1; code <= 9; ++code)
            s << (x.startedBy[code] ? '1' : '0');
        s << " cartora=" << x.gisHostMode << " pid=" << (x.processIdGiven ? std::to_string(x.hostProcessId) : "-")
          << " left=" << (x.leftGiven ? std::to_string(x.left) : "-")
          << " top=" << (x.topGiven ? std::to_string(x.top) : "-") << " gis=" << x.gisHost
          << " capid=" << x.gisHostProcessId << " name=" << x.legendToSelect << " tab=" << x.tabPath
          << " edit=" << x.editMode << " tab2leg=" << x.tab2leg << " shot=" << x.screenshotPath
          << " open=" << x.openLegendPath << " unknown=" << x.unknownSwitch;
        return std::istringstream(s.str());
    };
    std::istringstream got = all(o), defaults = all(CStartupOptions{});
    std::string out;
    for (std::string field, unset; got >> field && defaults >> unset;)
        out += field == unset ? "" : (out.empty() ? "" : " ") + field;
    return out;
}

struct CFakeWindowSystem : CWindowSystem {
    bool knows = true;
    uint32_t foreground = 0;
    std::vector<CTopLevelWindow> windows;
    bool hostRuns = true;
    bool KnowsWindows() const override { return knows; }
    uint32_t ForegroundProcess() const override { return foreground; }
    std::vector<CTopLevelWindow> TopLevelWindows() const override { return windows; }
    bool ProcessRunning(uint32_t pid) const override { return pid == 100 || (hostRuns && pid == 200); }
    uint32_t OwnProcess() const override { return 100; }
};

constexpr uint32_t kHost = 200;

} // namespace

TEST(StartupOptions, BothPassesOverTheHostsCommandLinesAndTheScreenshotName)
{
    const std::string qt =
        " tab=/q/cfg/xs_colr.tab"; // the Quarvex hosts' default TAB table, looked up after the passes
    const std::pair<std::vector<std::string>, std::string> cases[] = {
        // Window pass: exact case-free words; values are looked at again and match nothing.
        {{"-pid", "4711", "-LEFTPOS", "-20", "-TopPos", "30"}, "pid=4711 left=-20 top=30"},
        // The last host switch decides the code; every host switch seen keeps its flag (6-9).
        {{"-FV", "-DL", "-MSPro", "-zorbinfo"}, "host=7 by=000001111"},
        // "-Quarvex3D": code 3 in the window pass; the editor pass sets only the Quarvex flag ("-Quar").
        {{"-Quarvex3D"}, "host=3 by=010000000 gis=1" + qt},
        {{"-Q3D"}, "host=3 by=101000000" + qt},
        // A longer "-Strativ3D…" matches the prefix rule only: Strativ3D and the 3D refresh, no host code.
        {{"-Strativ3Dx"}, "by=100010000"},
        {{"-ST3D"}, "host=5 by=100010000"},
        {{"-Quar"}, "host=2 by=010000000 gis=1" + qt}, // a host switch of the window pass as well
        {{"-Strativ"}, "host=4 by=000100000 gis=1"},
        {{"-vyrn", "-CARTORA"}, "host=1 by=100000000 cartora=1 gis=1"},
        // "-CAPID" keeps its value in place; "-name" and "-TABPath" skip theirs.
        {{"-Quar", "-CAPID", "99", "-name", "/p/a.leg", "-TABPath", "/t/x.tab", "-edit"},
         "host=2 by=010000000 gis=1 capid=99 name=/p/a.leg tab=/t/x.tab edit=1"},
        // A switch needing a value as the last argument is ignored.
        {{"-name"}, ""},
        {{"-PID"}, ""},
        {{"-CAPID"}, ""},
        // A skipped value is still compared with "-tab2leg".
        {{"-name", "-tab2leg"}, "name=-tab2leg tab2leg=1"},
        // Numbers read as atol did, in 32 bits: junk is 0, trailing junk ignored, out of range clamps.
        {{"-PID", "abc", "-LeftPos", " 12px", "-TopPos", "99999999999", "-CAPID", "-99999999999"},
         "pid=0 left=12 top=2147483647 gis=1 capid=-2147483648"},
        // Our own: a screenshot path, and the first bare legend path that is no switch's value.
        {{"--screenshot", "/o/win.png", "-name", "/p/b.leg", "/p/c.LEG", "/p/d.leg"},
         "name=/p/b.leg shot=/o/win.png open=/p/c.LEG"},
        {{"-x.leg", ".leg", "--screenshot", "a.leg"}, "shot=a.leg"},
        // The screenshot's value is never a switch; the last one counts, one without a value keeps the one before.
        {{"--screenshot", "-PID", "5", "-LeftPos", "--screenshot"}, "shot=-PID"},
        // The switch is found before any host switch takes its value: "-name" is left without one.
        {{"-name", "--screenshot", "out.png", "x.leg"}, "name=x.leg shot=out.png"},
        // "--screenshot=FILE" is the same switch; any other "--" one is an error unless a switch's value.
        {{"--screenshot=/o/w.png", "--Screenshot", "-name", "--x", "--help"},
         "name=--x shot=/o/w.png unknown=--Screenshot"},
        {{"--screenshot="}, ""},
    };
    CSettingsSandbox sandbox;
    const auto configure = [](const char* folder) {
        return CSettingsStore::SetString(CSettingsStore::Hive::CurrentUser, "Software\\Ferrolin\\Quarvex\\Setup",
                                         "ConfigDir", folder);
    };
    ASSERT_TRUE(configure("/q/cfg"));
    for (const auto& [args, expected] : cases) {
        std::vector<std::string> line{"/opt/tessarin/bin/tessarin"};
        line.insert(line.end(), args.begin(), args.end());
        EXPECT_EQ(Describe(ParseStartupArguments(line)), expected) << args[0];
    }
    ASSERT_TRUE(configure("")); // an empty folder names none, not the root
    EXPECT_EQ(Describe(ParseStartupArguments({"t", "-Q3D"})), "host=3 by=101000000");
    // A screenshot is written as PNG only; with no name at all the writer says so.
    EXPECT_EQ(RefuseScreenshotPath("").value_or("") + RefuseScreenshotPath("WIN.PnG").value_or("") +
                  RefuseScreenshotPath("png").value_or(""),
              "tessarin: the screenshot is a PNG picture, so its file name must end in .png: png");
}

TEST(StartupSequence, TheTableIsConvertedOnlyWhenAskedForWhatWasLeftOutIsNamedOnceAndThePenFileChecked)
{
    CSettingsSandbox sandbox;
    const std::string tab = sandbox.Work("host") + "/names.tab";
    ASSERT_TRUE(SetCommonSetting("LUT_PATH", sandbox.Work("lut") + "/"));
    ASSERT_TRUE(LegendWithLabels({"ok", "../up", "tab\there"}).ExportTAB(tab));
    CRecordingPrompt prompt;
    const auto outcome = [&](const std::vector<std::string>& args) {
        const auto conversion = PrepareStartup(ParseStartupArguments(args), "", prompt).conversion;
        return conversion ? static_cast<int>(conversion->outcome) : -1;
    };
    EXPECT_EQ(outcome({"t", "-TABPath", tab}), -1);
    EXPECT_EQ(outcome({"t", "-tab2leg"}), -1);
    std::filesystem::create_directory(sandbox.Work("lut") + "/ok.leg"); // a legend that cannot be written
    EXPECT_EQ(outcome({"t", "-TABPath", tab, "-tab2leg"}), static_cast<int>(CTabConversion::Outcome::Converted));
    EXPECT_EQ(prompt.Texts(),
              (std::vector<std::string>{"These legends of " + tab +
                                            " were not converted, because their names cannot be file "
                                            "names:\n\"../up\"\n\"tab\\x09here\"",
                                        "These legends of " + tab + " could not be written:\n" + sandbox.Work("lut") +
                                            "/ok.leg: " + std::strerror(EISDIR)}));
    std::filesystem::remove(sandbox.Work("lut") + "/ok.leg");
    prompt.m_Messages.clear();
    // The stamp is checked: a table not changed since is not converted again.
    const utimbuf times{1700000000, 1700000000};
    ASSERT_EQ(::utime(tab.c_str(), &times), 0);
    ASSERT_TRUE(CSettingsStore::SetString(CSettingsStore::Hive::CurrentUser, TabStampKey, TabStampValue,
                                          FormatStampTime(1700000000)));
    EXPECT_EQ(outcome({"t", "-TABPath", tab, "-tab2leg"}), static_cast<int>(CTabConversion::Outcome::Unchanged));
    const std::string pens = sandbox.Work("pens"), missing = pens + "/gone.pen", pen = pens + "/CARTORAW.PEN";
    WriteTextFile(pen, "PEN2");
    // The host switch, the configured pen file ("" for none); the pen file used, whether it reads, the message.
    const std::tuple<const char*, std::string, std::string, bool, std::string> cases[] = {
        {"-Vyrn", missing, "", false, ""}, // Vyrn alone uses no pen file
        {"-Quarvex", pen, pen, true, ""},
        {"-Strativ", missing, missing, false, "Could not load " + missing}, // the start goes on
        {"-ST3D", "", pen, true, ""},                                       // the pen file beside the program
    };
    for (const auto& [host, configured, used, readable, message] : cases) {
        CSettingsStore::RemoveValue(CSettingsStore::Hive::CurrentUser, CommonSettingsKey, "PEN_FILE");
        ASSERT_TRUE(configured.empty() || SetCommonSetting("PEN_FILE", configured));
        prompt.m_Messages.clear();
        const CStartupResources r = PrepareStartup(ParseStartupArguments({"t", host}), pens + "/tessarin", prompt);
        EXPECT_EQ(r.penFile + " " + std::to_string(r.penFileReadable), used + " " + std::to_string(readable)) << host;
        EXPECT_EQ(prompt.Texts(), message.empty() ? std::vector<std::string>{} : std::vector<std::string>{message});
    }
}

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
    // Windows listed, host running, the process in front (we are 100), we top-most, the windows; the decision.
    const std::tuple<bool, bool, uint32_t, bool, std::vector<CTopLevelWindow>, CTrackingDecision> cases[] = {
        {true, true, kHost, false, {host}, {A::RaiseAndMakeTopMost, {}, true}},
        {true, true, kHost, true, {host}, {A::None, {}, true}},
        {true, true, 100, false, {other, host}, {A::MakeTopMost, {}, true}},
        {true, true, 100, true, {host}, {A::None, {}, true}},
        {true, true, 100, true, {other}, {A::Close, {}, true}}, // the host has no window
        {true, true, 300, true, {other, hostTopMost, host}, {A::DropBehindHost, 7, false}},
        {true, true, 300, false, {host}, {A::None, {}, false}}, // already behind
        {true, true, 300, true, {hostTopMost}, {A::Close, {}, true}},
        {false, true, 300, true, {}, {A::None, {}, true}},   // without a window list nothing else is decided
        {false, false, 300, true, {}, {A::Close, {}, true}}, // a host that no longer runs, on any desktop
    };
    for (const auto& [knows, runs, foreground, topMost, windows, expected] : cases) {
        ws.knows = knows;
        ws.hostRuns = runs;
        ws.foreground = foreground;
        ws.windows = windows;
        EXPECT_EQ(DecideTracking(ws, kHost, topMost), expected) << foreground << " " << windows.size();
    }
}

TEST(HostPlacement, HelpFilePerHostOpenedWhenItCanBeRead)
{
    const CInstallationLookup lookup = [](const std::string& key) -> std::optional<std::string> {
        if (key == "Quarvex 3D")
            return "no-separator";
        return key == "Quarvex" ? std::optional<std::string>("/opt/ferrolin/quarvex/bin/quarvex") : std::nullopt;
    };
    const auto readable = [](const std::string& path) { return path.rfind("/opt/", 0) == 0; };
    // The host code; the decision (1 open, 2 cannot) and the file.
    const std::pair<int, std::string> cases[] = {
        {2, "1 /opt/ferrolin/quarvex/bin/Quarvex.chm"},
        {3, "2 Quarvex3D.chm"},
        {6, "1 /opt/tessarin/bin/Fvue.hlp"},
    };
    for (const auto& [code, expected] : cases) {
        const CHelpDecision d = DecideHelp(code, lookup, "/opt/tessarin/bin", readable);
        EXPECT_EQ(std::to_string(static_cast<int>(d.action)) + " " + d.path, expected) << code;
    }
}
