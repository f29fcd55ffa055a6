#include "app/core/startupsequence.h"

#include "app/core/legendtables.h"
#include "platform/csettingsstore.h"
#include "platform/cstringtable.h"
#include "platform/settingssandbox.h"
#include "support/testfiles.h"

#include <gtest/gtest.h>

#include <utime.h>

TEST(StartupSequence, TheTableIsConvertedOnlyWhenAskedForAndWhatWasLeftOutIsNamedOnce)
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
    EXPECT_EQ(outcome({"t", "-TABPath", tab, "-tab2leg"}), static_cast<int>(CTabConversion::Outcome::Converted));
    EXPECT_EQ(prompt.Texts(), std::vector<std::string>{"These legends of " + tab +
                                                       " were not converted, because their names cannot be file "
                                                       "names:\n\"../up\"\n\"tab\\x09here\""});
    // The stamp is checked: a table not changed since is not converted again.
    const utimbuf times{1700000000, 1700000000};
    ASSERT_EQ(::utime(tab.c_str(), &times), 0);
    ASSERT_TRUE(CSettingsStore::SetString(CSettingsStore::Hive::CurrentUser, TabStampKey, TabStampValue,
                                          FormatStampTime(1700000000)));
    EXPECT_EQ(outcome({"t", "-TABPath", tab, "-tab2leg"}), static_cast<int>(CTabConversion::Outcome::Unchanged));
}

TEST(StartupSequence, PenFileCheck)
{
    CSettingsSandbox sandbox;
    const std::string pens = sandbox.Work("pens"), missing = pens + "/gone.pen", pen = pens + "/CARTORAW.PEN";
    WriteTextFile(pen, "PEN2");
    // The host switch, the configured pen file ("" for none); the pen file used, whether it reads, the message.
    const std::tuple<const char*, std::string, std::string, bool, std::string> cases[] = {
        {"-Vyrn", missing, "", false, ""}, // Vyrn alone uses no pen file
        {"-Quarvex", pen, pen, true, ""},
        {"-Strativ", missing, missing, false, "Could not load " + missing}, // the start goes on
        {"-ST3D", "", pen, true, ""},                                       // the pen file beside the program
        {"-Q3D", pens, pens, false, "Could not load " + pens},              // a folder is no pen file
    };
    for (const auto& [host, configured, used, readable, message] : cases) {
        if (!configured.empty()) {
            ASSERT_TRUE(SetCommonSetting("PEN_FILE", configured));
        } else {
            CSettingsStore::RemoveValue(CSettingsStore::Hive::CurrentUser, CommonSettingsKey, "PEN_FILE");
        }
        CRecordingPrompt prompt;
        const CStartupResources r = PrepareStartup(ParseStartupArguments({"t", host}), pens + "/tessarin", prompt);
        EXPECT_EQ(r.penFile + " " + std::to_string(r.penFileReadable), used + " " + std::to_string(readable)) << host;
        EXPECT_EQ(prompt.Texts(), message.empty() ? std::vector<std::string>{} : std::vector<std::string>{message});
        EXPECT_TRUE(prompt.m_Messages.empty() || prompt.m_Messages[0].stringId == Str::CouldNotLoad);
    }
}

TEST(StartupSequence, HelpOpensTheHostsFileOrSaysWhyNot)
{
    using Action = CHelpDecision::Action;
    const auto installation = [](const std::string&) -> std::optional<std::string> { return "/opt/q/quarvex"; };
    const auto readable = [](const std::string& path) { return path == "/opt/q/Quarvex.chm"; };
    const std::pair<int, CHelpDecision> cases[] = {
        {HostNone, {}},
        {HostQuarvex, {Action::Open, "/opt/q/Quarvex.chm"}},
        {HostVyrn, {Action::CannotOpen, "/opt/q/Vyrn.chm"}},
    };
    for (const auto& [host, expected] : cases) {
        const CHelpDecision decided = DecideHelp(host, installation, "/opt/tessarin/bin", readable);
        EXPECT_EQ(static_cast<int>(decided.action), static_cast<int>(expected.action)) << host;
        EXPECT_EQ(decided.path, expected.path) << host;
    }
}
