#include "app/core/startupoptions.h"
#include "platform/csettingsstore.h"
#include "platform/settingssandbox.h"

#include <gtest/gtest.h>

#include <sstream>

namespace {

std::vector<std::string> Args(std::initializer_list<const char*> list)
{
    std::vector<std::string> args{"/opt/tessarin/bin/tessarin"};
    args.insert(args.end(), list.begin(), list.end());
    return args;
}

// The options as one line, so a table row states every field at once.
std::string Describe(const CStartupOptions& o)
{
    std::ostringstream s;
    s << "host=" << o.hostCode << " by=";
    for (int code = 1; code <= 9; ++code)
        s << (o.startedBy[code] ? '1' : '0');
    s << " cartora=" << o.gisHostMode << " pid=" << (o.processIdGiven ? std::to_string(o.hostProcessId) : "-")
      << " left=" << (o.leftGiven ? std::to_string(o.left) : "-")
      << " top=" << (o.topGiven ? std::to_string(o.top) : "-") << " gis=" << o.gisHost
      << " capid=" << o.gisHostProcessId << " name=" << o.legendToSelect << " tab=" << o.tabPath
      << " edit=" << o.editMode << " tab2leg=" << o.tab2leg << " shot=" << o.screenshotPath
      << " open=" << o.openLegendPath;
    if (!o.unknownSwitch.empty())
        s << " unknown=" << o.unknownSwitch;
    return s.str();
}

} // namespace

TEST(StartupOptions, BothPassesOverTheHostsCommandLines)
{
    struct Case {
        std::vector<std::string> args;
        const char* expected;
        const char* configDir = nullptr; // Quarvex's "ConfigDir" recorded before
    };
    const Case cases[] = {
        {Args({}), "host=0 by=000000000 cartora=0 pid=- left=- top=- gis=0 capid=-1 name= tab= edit=0 tab2leg=0 shot= open="},
        // Window pass: exact case-free words; values are looked at again and match nothing.
        {Args({"-pid", "4711", "-LEFTPOS", "-20", "-TopPos", "30"}),
         "host=0 by=000000000 cartora=0 pid=4711 left=-20 top=30 gis=0 capid=-1 name= tab= edit=0 tab2leg=0 shot= open="},
        // The last host switch decides the code; every host switch seen keeps its flag (6-9).
        {Args({"-FV", "-DL", "-MSPro", "-zorbinfo"}),
         "host=7 by=000001111 cartora=0 pid=- left=- top=- gis=0 capid=-1 name= tab= edit=0 tab2leg=0 shot= open="},
        // "-Quarvex3D": code 3 in the window pass, the Quarvex flag (prefix "-Quar") in the editor pass.
        {Args({"-Quarvex3D"}),
         "host=3 by=010000000 cartora=0 pid=- left=- top=- gis=1 capid=-1 name= tab= edit=0 tab2leg=0 shot= open="},
        {Args({"-Q3D"}), "host=3 by=101000000 cartora=0 pid=- left=- top=- gis=0 capid=-1 name= tab= edit=0 tab2leg=0 shot= open="},
        // A longer "-Strativ3D…" matches the prefix rule only: Strativ3D and the 3D refresh, no host code.
        {Args({"-Strativ3Dx"}),
         "host=0 by=100010000 cartora=0 pid=- left=- top=- gis=0 capid=-1 name= tab= edit=0 tab2leg=0 shot= open="},
        {Args({"-ST3D"}), "host=5 by=100010000 cartora=0 pid=- left=- top=- gis=0 capid=-1 name= tab= edit=0 tab2leg=0 shot= open="},
        {Args({"-Strativ"}), "host=4 by=000100000 cartora=0 pid=- left=- top=- gis=1 capid=-1 name= tab= edit=0 tab2leg=0 shot= open="},
        // "-Vyrn" sets code 1 in both passes; "-cartora" is the window pass's mode and the editor's GIS host.
        {Args({"-vyrn", "-CARTORA"}),
         "host=1 by=100000000 cartora=1 pid=- left=- top=- gis=1 capid=-1 name= tab= edit=0 tab2leg=0 shot= open="},
        // The editor pass clears its five flags: "-Quar" alone is no window-pass host.
        {Args({"-Quar"}), "host=2 by=010000000 cartora=0 pid=- left=- top=- gis=1 capid=-1 name= tab= edit=0 tab2leg=0 shot= open="},
        {Args({"-Quarx"}), "host=0 by=010000000 cartora=0 pid=- left=- top=- gis=1 capid=-1 name= tab= edit=0 tab2leg=0 shot= open="},
        // "-CAPID" keeps its value in place; "-name" and "-TABPath" skip theirs.
        {Args({"-CAPID", "99", "-name", "/p/a.leg", "-TABPath", "/t/x.tab", "-edit"}),
         "host=0 by=000000000 cartora=0 pid=- left=- top=- gis=1 capid=99 name=/p/a.leg tab=/t/x.tab edit=1 tab2leg=0 shot= open="},
        // A switch needing a value as the last argument is ignored.
        {Args({"-name"}), "host=0 by=000000000 cartora=0 pid=- left=- top=- gis=0 capid=-1 name= tab= edit=0 tab2leg=0 shot= open="},
        {Args({"-PID"}), "host=0 by=000000000 cartora=0 pid=- left=- top=- gis=0 capid=-1 name= tab= edit=0 tab2leg=0 shot= open="},
        {Args({"-CAPID"}), "host=0 by=000000000 cartora=0 pid=- left=- top=- gis=0 capid=-1 name= tab= edit=0 tab2leg=0 shot= open="},
        // A skipped value is still compared with "-tab2leg".
        {Args({"-name", "-tab2leg"}),
         "host=0 by=000000000 cartora=0 pid=- left=- top=- gis=0 capid=-1 name=-tab2leg tab= edit=0 tab2leg=1 shot= open="},
        {Args({"-PID", "-TAB2LEG"}),
         "host=0 by=000000000 cartora=0 pid=0 left=- top=- gis=0 capid=-1 name= tab= edit=0 tab2leg=1 shot= open="},
        // Numbers read as atol did, in 32 bits: junk is 0, trailing junk ignored, out of range clamps.
        {Args({"-PID", "abc", "-LeftPos", " 12px", "-TopPos", "99999999999", "-CAPID", "-99999999999"}),
         "host=0 by=000000000 cartora=0 pid=0 left=12 top=2147483647 gis=1 capid=-2147483648 name= tab= edit=0 tab2leg=0 shot= open="},
        {Args({"-PID", "-1"}),
         "host=0 by=000000000 cartora=0 pid=4294967295 left=- top=- gis=0 capid=-1 name= tab= edit=0 tab2leg=0 shot= open="},
        // Our own: a screenshot path, and the first bare legend path that is no switch's value.
        {Args({"--screenshot", "/o/win.png", "-name", "/p/b.leg", "/p/c.LEG", "/p/d.leg"}),
         "host=0 by=000000000 cartora=0 pid=- left=- top=- gis=0 capid=-1 name=/p/b.leg tab= edit=0 tab2leg=0 shot=/o/win.png open=/p/c.LEG"},
        {Args({"-x.leg", ".leg", "--screenshot", "a.leg"}),
         "host=0 by=000000000 cartora=0 pid=- left=- top=- gis=0 capid=-1 name= tab= edit=0 tab2leg=0 shot=a.leg open="},
        // The screenshot's value is never a switch, for either pass; the last one counts.
        {Args({"--screenshot", "-edit", "--screenshot", "-tab2leg"}),
         "host=0 by=000000000 cartora=0 pid=- left=- top=- gis=0 capid=-1 name= tab= edit=0 tab2leg=0 shot=-tab2leg open="},
        {Args({"--screenshot", "-Quarvex", "-name", "/p/a.leg"}),
         "host=0 by=000000000 cartora=0 pid=- left=- top=- gis=0 capid=-1 name=/p/a.leg tab= edit=0 tab2leg=0 shot=-Quarvex open="},
        {Args({"--screenshot", "-PID", "5", "-LeftPos", "--screenshot"}),
         "host=0 by=000000000 cartora=0 pid=- left=- top=- gis=0 capid=-1 name= tab= edit=0 tab2leg=0 shot=-PID open="},
        // The switch is found before any host switch takes its value: "-name" is left without one.
        {Args({"-name", "--screenshot", "out.png", "x.leg"}),
         "host=0 by=000000000 cartora=0 pid=- left=- top=- gis=0 capid=-1 name=x.leg tab= edit=0 tab2leg=0 shot=out.png open="},
        {Args({"-TABPath", "--screenshot", "out.png"}),
         "host=0 by=000000000 cartora=0 pid=- left=- top=- gis=0 capid=-1 name= tab= edit=0 tab2leg=0 shot=out.png open="},
        // "--screenshot=FILE" is the same switch; any other "--" one is a typing
        // error, unless it is the value of a switch.
        {Args({"--screenshot=/o/w.png", "--Screenshot", "-name", "--x", "--help"}),
         "host=0 by=000000000 cartora=0 pid=- left=- top=- gis=0 capid=-1 name=--x tab= edit=0 tab2leg=0 shot=/o/w.png open= unknown=--Screenshot"},
        {Args({"--screenshot", "--x", "--", "--edit"}),
         "host=0 by=000000000 cartora=0 pid=- left=- top=- gis=0 capid=-1 name= tab= edit=0 tab2leg=0 shot=--x open= unknown=--"},
        {Args({"--screenshot="}),
         "host=0 by=000000000 cartora=0 pid=- left=- top=- gis=0 capid=-1 name= tab= edit=0 tab2leg=0 shot= open="},
        // The Quarvex default TAB path is looked up after the passes, and "-TABPath" wins over it.
        {Args({"-Q3D", "-TABPath", "/t/mine.tab"}),
         "host=3 by=101000000 cartora=0 pid=- left=- top=- gis=0 capid=-1 name= tab=/t/mine.tab edit=0 tab2leg=0 shot= open="},
        // Last, as they record a configuration folder: an empty one is none.
        {Args({"-Quarvex"}),
         "host=2 by=010000000 cartora=0 pid=- left=- top=- gis=1 capid=-1 name= tab= edit=0 tab2leg=0 shot= open=", ""},
        {Args({"-Q3D", "-tab2leg"}),
         "host=3 by=101000000 cartora=0 pid=- left=- top=- gis=0 capid=-1 name= tab=/q/cfg/xs_colr.tab edit=0 tab2leg=1 shot= open=",
         "/q/cfg"},
    };
    // The Quarvex hosts look up their configuration folder: none is recorded
    // until a case gives one.
    CSettingsSandbox sandbox;
    for (const Case& c : cases) {
        std::string joined;
        for (size_t i = 1; i < c.args.size(); ++i)
            joined += c.args[i] + ' ';
        SCOPED_TRACE(joined);
        if (c.configDir) {
            ASSERT_TRUE(CSettingsStore::SetString(CSettingsStore::Hive::CurrentUser, "Software\\Ferrolin\\Quarvex\\Setup",
                                                  "ConfigDir", c.configDir));
        }
        EXPECT_EQ(Describe(ParseStartupArguments(c.args)), c.expected);
    }
}

TEST(StartupOptions, AScreenshotIsWrittenAsPNGOnly)
{
    const std::pair<std::vector<std::string>, const char*> cases[] = {
        {Args({"--screenshot", "/o/win.png"}), ""},
        {Args({"-edit", "--screenshot", "WIN.PnG"}), ""},
        {Args({"-name", "x.jpg"}), ""},
        {Args({"--screenshot"}), ""}, // no name at all: the writer says so
        {Args({"--screenshot", "/o/win.jpg"}),
         "tessarin: the screenshot is a PNG picture, so its file name must end in .png: /o/win.jpg"},
        {Args({"--screenshot", "-edit"}), "tessarin: the screenshot is a PNG picture, so its file name must end in .png: -edit"},
        {Args({"--screenshot=w.jpg"}), "tessarin: the screenshot is a PNG picture, so its file name must end in .png: w.jpg"},
        {Args({"--screenshot", "png"}), "tessarin: the screenshot is a PNG picture, so its file name must end in .png: png"},
    };
    for (const auto& [args, refusal] : cases) {
        CStartupOptions own;
        ApplyOwnSwitches(args, own);
        EXPECT_EQ(RefuseScreenshotPath(own.screenshotPath).value_or(""), refusal) << args.back();
    }
}
