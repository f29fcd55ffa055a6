#include "app/core/tabconversion.h"
#include "app/core/tabexport.h"

#include "app/core/legendtables.h"
#include "platform/csettingsstore.h"
#include "platform/cstamptime.h"
#include "platform/settingssandbox.h"
#include "support/tabrows.h"
#include "support/testfiles.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <utime.h>

namespace fs = std::filesystem;
using Hive = CSettingsStore::Hive;

namespace {

// A text legend table holding A (a row of "a" in its first run), B and A again; LUT_PATH set.
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
    // "outcome [fields missing] folder: written... | skipped..." without the folder in the written paths.
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

std::string Rows(const std::string& tab)
{
    std::string out;
    for (const auto& row : TableRows(tab)) {
        for (const std::string& field : row)
            out += field + "|";
        out += "\n";
    }
    return out;
}

} // namespace

TEST(ConvertTABToLEG, EachRunOfANameBecomesTheFileAnImportGivesAndWhatCannotBeIsReported)
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
    // Missing fields and names that are no file name are reported.
    const std::string partial = fx.sandbox.Work("host") + "/p.tab";
    ASSERT_TRUE(MakeTextTable(partial, {"P_Name", "P_From"}, {{"X", "1"}, {"Y", "2"}}));
    EXPECT_EQ(fx.Convert(partial), "converted fields missing " + fx.lut + ": X.leg Y.leg | skipped");
    EXPECT_EQ(fx.prompt.Texts(), (std::vector<std::string>{partial + ": You must choose an input TAB file",
                                                           "Could not find all the standard fields in " + partial}));
    // Empty names at the start and in the middle alike; blank names are empty ones.
    const std::string names = fx.sandbox.Work("host") + "/names.tab";
    ASSERT_TRUE(LegendWithLabels({"", "ok", "", "  "}).ExportTAB(names));
    EXPECT_EQ(fx.Convert(names), "converted " + fx.lut + ": ok.leg | skipped '' ''");
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
    // The configured folder; the path for Quarvex, for another host, and for Quarvex given one.
    const std::pair<const char*, std::string> cases[] = {
        {"", "||/given.tab"}, // an empty folder is none, not the root
        {"/opt/quarvex/cfg", "/opt/quarvex/cfg/xs_colr.tab||/given.tab"},
        {"C:\\cfg\\", "C:\\cfg\\xs_colr.tab||/given.tab"},
    };
    for (const auto& [folder, expected] : cases) {
        ASSERT_TRUE(
            CSettingsStore::SetString(Hive::CurrentUser, "Software\\Ferrolin\\Quarvex\\Setup", "ConfigDir", folder));
        EXPECT_EQ(DefaultTABPath(true, false, "") + "|" + DefaultTABPath(false, false, "") + "|" +
                      DefaultTABPath(true, false, "/given.tab"),
                  expected);
    }
}

TEST(ExportAllToTAB, EveryLegendGoesInNamedAfterItsFileAndSideFilesAreRemoved)
{
    CTempDir dir;
    CLLLegend grades = LegendWithLabels({"low", "high"});
    grades.m_Patterns = {0, 3};
    grades.m_BackTransparent = {1, 0};
    grades.m_LineThickness = {1.0f, 2.5f};
    grades.m_RowComments = {std::string(300, 'x'), "plain"};
    ASSERT_EQ(grades.WriteLEG(dir.File("Gold grades.leg")), 1);
    CLLLegend soil = LegendWithLabels({"clay"});
    soil.m_DataType = DataText;
    soil.m_StringValues = {"clay"};
    ASSERT_EQ(soil.WriteLEG(dir.File("soil.leg")), 1);
    const std::string out = dir.File("xs_colr.tab");
    ASSERT_TRUE(ExportAllToTAB(out, {dir.File("Gold grades.leg"), "", dir.File("soil.leg")}).Ok());
    std::string files;
    for (const char* extension : {"tab", "dat", "id", "map"})
        files += std::to_string(fs::exists(dir.File(std::string("xs_colr.") + extension)));
    EXPECT_EQ(files, "1100");
    // Name, From, To, Value, Bpat, Bfcol, Bbcol, Psty, Ppat, Pcol, Comments. Pattern 0 is left
    // empty, which the table holds as 0.
    EXPECT_EQ(Rows(out), "Gold grades|0|1||0|6307872|-1|1|1|0|" + std::string(254, 'x') +
                             "|\nGold grades|1|2||3|6307872|16777215|2|1|0|plain|\n"
                             "soil|0|0|clay|2|6307872|16777215|1|1|0||\n");
    // The table is replaced; a listed legend deleted since is left out, not exported as a default one.
    ASSERT_TRUE(ExportAllToTAB(out, {dir.File("gone.leg"), dir.File("soil.leg")}).Ok());
    EXPECT_EQ(Rows(out), "soil|0|0|clay|2|6307872|16777215|1|1|0||\n");
}
