#include "app/core/startupsequence.h"

#include "app/core/legendtables.h"
#include "platform/csettingsstore.h"
#include "platform/cstringtable.h"
#include "platform/settingssandbox.h"
#include "support/testfiles.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <utime.h>

using Outcome = CTabConversion::Outcome;

TEST(StartupSequence, TABConversionRunsWhenTheTableChangedSinceTheStoredStamp)
{
    CSettingsSandbox sandbox;
    const std::string lut = sandbox.Work("lut") + "/";
    const std::string tab = sandbox.Work("host") + "/xs_colr.tab";
    ASSERT_TRUE(LegendWithLabels({"Granite", "Shale"}).ExportTAB(tab));
    ASSERT_TRUE(SetCommonSetting("LUT_PATH", lut));
    const std::time_t modified = 1700000000;
    utimbuf times{modified, modified};
    ASSERT_EQ(::utime(tab.c_str(), &times), 0);

    struct Case {
        const char* name;
        std::vector<std::string> args;
        std::optional<std::string> stamp; // stored before the start; none = removed
        std::optional<Outcome> expected;  // none = no conversion tried
        std::optional<std::string> stampAfter;
    };
    const std::string now = FormatStampTime(modified);
    const Case cases[] = {
        {"unchanged table", {"t", "-TABPath", tab, "-tab2leg"}, now, Outcome::Unchanged, now},
        {"changed table", {"t", "-TABPath", tab, "-tab2leg"}, "2001/01/01 00:00:00", Outcome::Converted, now},
        // Without a stored stamp the table is converted every time, and no stamp is made.
        {"no stamp", {"t", "-TABPath", tab, "-tab2leg"}, std::nullopt, Outcome::Converted, std::nullopt},
        {"no -tab2leg", {"t", "-TABPath", tab}, "2001/01/01 00:00:00", std::nullopt, "2001/01/01 00:00:00"},
        {"no TAB path", {"t", "-tab2leg"}, "2001/01/01 00:00:00", std::nullopt, "2001/01/01 00:00:00"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        if (c.stamp) {
            ASSERT_TRUE(CSettingsStore::SetString(CSettingsStore::Hive::CurrentUser, TabStampKey, TabStampValue, *c.stamp));
        } else {
            CSettingsStore::RemoveValue(CSettingsStore::Hive::CurrentUser, TabStampKey, TabStampValue);
        }
        std::remove((lut + "Granite.leg").c_str());
        CRecordingPrompt prompt;
        const CStartupResources r = PrepareStartup(ParseStartupArguments(c.args), "/opt/t/bin/tessarin", prompt);
        ASSERT_EQ(r.conversion.has_value(), c.expected.has_value());
        if (c.expected) {
            EXPECT_EQ(r.conversion->outcome, *c.expected);
            struct stat st {};
            EXPECT_EQ(::stat((lut + "Granite.leg").c_str(), &st) == 0, *c.expected == Outcome::Converted);
        }
        EXPECT_EQ(CSettingsStore::GetString(CSettingsStore::Hive::CurrentUser, TabStampKey, TabStampValue), c.stampAfter);
        EXPECT_TRUE(prompt.m_Messages.empty());
    }
}

TEST(StartupSequence, LegendsTheConversionLeftOutAreNamedOnce)
{
    CSettingsSandbox sandbox;
    ASSERT_TRUE(SetCommonSetting("LUT_PATH", sandbox.Work("lut") + "/"));
    const std::string tab = sandbox.Work("host") + "/names.tab";
    ASSERT_TRUE(LegendWithLabels({"ok", "../up", "tab\there"}).ExportTAB(tab));
    CRecordingPrompt prompt;
    PrepareStartup(ParseStartupArguments({"t", "-TABPath", tab, "-tab2leg"}), "/opt/t/bin/tessarin", prompt);
    EXPECT_EQ(prompt.Texts(), std::vector<std::string>{"These legends of " + tab +
                                                      " were not converted, because their names cannot be file "
                                                      "names:\n\"../up\"\n\"tab\\x09here\""});
}

TEST(StartupSequence, PenFileCheck)
{
    CSettingsSandbox sandbox;
    const std::string pens = sandbox.Work("pens");
    WriteTextFile(pens + "/CARTORAW.PEN", "PEN2");
    struct Case {
        const char* name;
        std::vector<std::string> args;
        std::optional<std::string> penFile;
        std::string expectedPen;
        bool readable;
        std::vector<std::string> messages;
    };
    const std::string missing = pens + "/gone.pen";
    const Case cases[] = {
        {"no host: no pen file looked for", {"t"}, missing, "", false, {}},
        {"Vyrn alone uses no pen file", {"t", "-Vyrn"}, missing, "", false, {}},
        {"configured pen file", {"t", "-Quarvex"}, pens + "/CARTORAW.PEN", pens + "/CARTORAW.PEN", true, {}},
        {"missing pen file: message 109, start goes on", {"t", "-Strativ"}, missing, missing, false,
         {"Could not load " + missing}},
        {"the pen file beside the program", {"t", "-ST3D"}, std::nullopt, pens + "/CARTORAW.PEN", true, {}},
        {"a folder is no pen file", {"t", "-Q3D"}, pens, pens, false, {"Could not load " + pens}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        if (c.penFile) {
            ASSERT_TRUE(SetCommonSetting("PEN_FILE", *c.penFile));
        } else {
            CSettingsStore::RemoveValue(CSettingsStore::Hive::CurrentUser, CommonSettingsKey, "PEN_FILE");
        }
        CRecordingPrompt prompt;
        const CStartupResources r = PrepareStartup(ParseStartupArguments(c.args), pens + "/tessarin", prompt);
        EXPECT_EQ(r.penFile, c.expectedPen);
        EXPECT_EQ(r.penFileReadable, c.readable);
        EXPECT_EQ(prompt.Texts(), c.messages);
        for (const CUserPrompt::Message& m : prompt.m_Messages) {
            EXPECT_EQ(m.stringId, Str::CouldNotLoad);
        }
    }
}

TEST(StartupSequence, HelpOpensTheHostsFileOrSaysWhyNot)
{
    using Action = CHelpDecision::Action;
    // Quarvex is installed with its help beside it; Strativ is recorded without
    // a folder; the Formvue help sits beside the program.
    const auto installation = [](const std::string& key) -> std::optional<std::string> {
        if (key == "Quarvex")
            return "/opt/quarvex/bin/quarvex";
        if (key == "Strativ")
            return "strativ";
        return std::nullopt;
    };
    const auto readable = [](const std::string& path) {
        return path == "/opt/quarvex/bin/Quarvex.chm" || path == "/opt/tessarin/bin/Fvue.hlp";
    };
    const std::pair<int, CHelpDecision> cases[] = {
        {HostNone, {}},
        {HostZorbinfo, {}},
        {HostMagsprint, {}},
        {HostQuarvex, {Action::Open, "/opt/quarvex/bin/Quarvex.chm"}},
        {HostFormvue, {Action::Open, "/opt/tessarin/bin/Fvue.hlp"}},
        {HostStrativ, {Action::CannotOpen, "Strativ.chm"}},
        {HostVyrn, {Action::CannotOpen, "Vyrn.chm"}},
        {HostDelictor, {Action::CannotOpen, "Delictor.chm"}},
    };
    for (const auto& [host, expected] : cases) {
        const CHelpDecision decided = DecideHelp(host, installation, "/opt/tessarin/bin", readable);
        EXPECT_EQ(static_cast<int>(decided.action), static_cast<int>(expected.action)) << host;
        EXPECT_EQ(decided.path, expected.path) << host;
    }
}
