#include "app/core/tabconversion.h"

#include "app/core/legendtables.h"
#include "platform/csettingsstore.h"
#include "platform/cstringtable.h"
#include "platform/cstamptime.h"
#include "platform/settingssandbox.h"
#include "support/testfiles.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <utime.h>

namespace fs = std::filesystem;
using Hive = CSettingsStore::Hive;

namespace {

// A text legend table holding A (a row of "a" in its first run), B and A again; its
// legend folder set as LUT_PATH.
struct CConversionFixture {
    CSettingsSandbox sandbox;
    std::string lut = sandbox.Work("lut") + "/";
    std::string tab = sandbox.Work("host") + "/xs_colr.tab";
    CRecordingPrompt prompt;

    CConversionFixture()
    {
        CLLLegend l = LegendWithLabels({"A", "a", "B", "A"});
        l.m_DataType = DataText;
        l.m_StringValues = {"x", "", "", "y"};
        EXPECT_TRUE(l.ExportTAB(tab));
        EXPECT_TRUE(SetCommonSetting("LUT_PATH", lut));
    }
    // "outcome [fields missing] folder: written... | skipped..." with the folder left out of the
    // written files' paths.
    std::string Convert(const std::string& table, bool check = false)
    {
        const CTabConversion r = ConvertTABToLEG(table, check, prompt);
        static const char* const outcomes[] = {"converted", "unchanged", "open failed"};
        std::string out = std::string(outcomes[static_cast<int>(r.outcome)]) +
                          (r.fieldsMissing ? " fields missing " : " ") + r.folder + ":";
        for (const std::string& w : r.written)
            out += " " + (!r.folder.empty() && w.rfind(r.folder, 0) == 0 ? w.substr(r.folder.size()) : w);
        out += " | skipped";
        for (const std::string& name : r.skipped)
            out += " '" + name + "'";
        return out + (r.failed.empty() ? "" : " | failed");
    }
};

} // namespace

TEST(ConvertTABToLEG, EachRunOfANameBecomesTheFileAnImportOfThatNameGives)
{
    CConversionFixture fx;
    // A comes back after B and is converted again, to the same file.
    EXPECT_EQ(fx.Convert(fx.tab), "converted " + fx.lut + ": A.leg B.leg A.leg | skipped");
    EXPECT_TRUE(fx.prompt.m_Messages.empty());
    for (const std::string name : {"A", "B"}) {
        CLLLegend one;
        one.ImportTAB(fx.tab, name, 0, fx.prompt);
        ASSERT_EQ(one.WriteLEG(fx.sandbox.Work("expected") + "/" + name + ".leg"), 1);
        EXPECT_EQ(ReadTextFile(fx.lut + name + ".leg"),
                  ReadTextFile(fx.sandbox.Work("expected") + "/" + name + ".leg"));
    }

    // Without a legend folder the files go to the current folder.
    CSettingsSandbox sandbox;
    const fs::path previous = fs::current_path();
    fs::current_path(sandbox.Work("cwd"));
    EXPECT_EQ(fx.Convert(fx.tab), "converted : A.leg B.leg A.leg | skipped");
    fs::current_path(previous);
    EXPECT_TRUE(fs::exists(sandbox.Work("cwd") + "/B.leg"));
}

TEST(ConvertTABToLEG, UnopenableTableMissingFieldsAndNamesThatAreNoFileNameAreReported)
{
    CConversionFixture fx;
    const std::string missing = fx.sandbox.Work("host") + "/none.tab", partial = fx.sandbox.Work("host") + "/p.tab";
    EXPECT_EQ(fx.Convert(missing), "open failed : | skipped");
    ASSERT_TRUE(MakeTextTable(partial, {"P_Name", "P_From"}, {{"X", "1"}, {"Y", "2"}}));
    EXPECT_EQ(fx.Convert(partial), "converted fields missing " + fx.lut + ": X.leg Y.leg | skipped");
    EXPECT_EQ(fx.prompt.m_Messages[0].stringId, Str::CouldNotOpen);
    EXPECT_EQ(fx.prompt.m_Messages[1].stringId, Str::ChooseInputTab);
    EXPECT_EQ(fx.prompt.Texts(), (std::vector<std::string>{"Could not open " + missing + ": " + std::strerror(ENOENT),
                                                           partial + ": You must choose an input TAB file",
                                                           "Could not find all the standard fields in " + partial}));
    // Empty names at the start and in the middle alike; blank names are empty ones.
    const std::string names = fx.sandbox.Work("host") + "/names.tab";
    ASSERT_TRUE(LegendWithLabels({"", "ok", "../escaped", "", "  "}).ExportTAB(names));
    EXPECT_EQ(fx.Convert(names), "converted " + fx.lut + ": ok.leg | skipped '' '../escaped' ''");
    EXPECT_FALSE(fs::exists(fx.lut + "../escaped.leg"));
}

TEST(ConvertTABToLEG, AnUnchangedTableIsSkippedAndAChangedOneConverted)
{
    CConversionFixture fx;
    const auto stamp = [&] { return CSettingsStore::GetString(Hive::CurrentUser, TabStampKey, TabStampValue); };
    const auto store = [&](const std::string& text, std::time_t modified) {
        const utimbuf times{modified, modified};
        ::utime(fx.tab.c_str(), &times);
        EXPECT_TRUE(CSettingsStore::SetString(Hive::CurrentUser, TabStampKey, TabStampValue, text));
    };
    // Without a stored stamp the table is converted every time and no stamp is made.
    EXPECT_EQ(fx.Convert(fx.tab, true).substr(0, 9) + fx.Convert(fx.tab, true).substr(0, 9), "convertedconverted");
    EXPECT_FALSE(stamp());
    const std::time_t first = *ParseStampTime("2023/03/04 05:06:07");
    EXPECT_FALSE(ParseStampTime("04.03.2023 05:06:07")); // a stamp in another form is none
    store("never", first);
    EXPECT_EQ(fx.Convert(fx.tab, true).substr(0, 9), "converted");
    EXPECT_EQ(stamp(), "2023/03/04 05:06:07");
    fs::remove(fx.lut + "A.leg");
    EXPECT_EQ(fx.Convert(fx.tab, true), "unchanged : | skipped");
    EXPECT_FALSE(fs::exists(fx.lut + "A.leg"));
    EXPECT_EQ(fx.Convert(fx.tab).substr(0, 9), "converted"); // without the check the same table is converted
    store("2023/03/04 05:06:07", first + 61);
    EXPECT_EQ(fx.Convert(fx.tab, true).substr(0, 9), "converted");
    EXPECT_EQ(stamp(), "2023/03/04 05:07:08");
    // Stamps are compared as times, not as texts, and rewritten in the program's own form.
    store("2023/3/4 5:06:07", first);
    EXPECT_EQ(fx.Convert(fx.tab, true).substr(0, 9), "unchanged");
    EXPECT_EQ(stamp(), "2023/03/04 05:06:07");
}

TEST(DefaultTABPath, OnlyQuarvexHostsGetTheConfiguredTable)
{
    CSettingsSandbox sandbox;
    const auto config = [](const char* folder) {
        return CSettingsStore::SetString(Hive::CurrentUser, "Software\\Ferrolin\\Quarvex\\Setup", "ConfigDir", folder);
    };
    EXPECT_EQ(DefaultTABPath(true, false, ""), "");
    ASSERT_TRUE(config(""));
    EXPECT_EQ(DefaultTABPath(true, false, ""), ""); // an empty folder is none, not the root
    ASSERT_TRUE(config("/opt/quarvex/cfg"));
    EXPECT_EQ(DefaultTABPath(true, false, "") + "|" + DefaultTABPath(false, true, "") + "|" +
                  DefaultTABPath(false, false, "") + "|" + DefaultTABPath(true, false, "/given.tab"),
              "/opt/quarvex/cfg/xs_colr.tab|/opt/quarvex/cfg/xs_colr.tab||/given.tab");
    ASSERT_TRUE(config("C:\\cfg\\"));
    EXPECT_EQ(DefaultTABPath(true, false, ""), "C:\\cfg\\xs_colr.tab");
}
