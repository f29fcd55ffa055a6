#include "app/core/cimporttabrules.h"
#include "app/core/csettingsrules.h"
#include "app/core/tabconversion.h"
#include "app/core/tabexport.h"

#include "app/core/legendtables.h"
#include "app/core/loadpath.h"
#include "app/core/tablegendnames.h"
#include "platform/cstringtable.h"
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

// Tables of legends A (a row of "a" in its first run), B and A again, of map codes, and without the fields.
struct CTablesFixture {
    CSettingsSandbox sandbox;
    std::string lut = sandbox.Work("lut") + "/", dir = sandbox.Work("host");
    std::string tab = dir + "/xs_colr.tab";
    CRecordingPrompt prompt;
    CTablesFixture()
    {
        CLLLegend l = LegendWithLabels({"A", "a", "B", "A"});
        l.m_DataType = DataText;
        l.m_StringValues = {"x", "", "", "y"};
        EXPECT_TRUE(l.ExportTAB(tab));
        EXPECT_TRUE(MakeTextTable(dir + "/geol units.tab", {"mapcode", "Desc1"}, {{"Qa", "x"}})); // any case
        EXPECT_TRUE(MakeTextTable(dir + "/other.tab", {"Name"}, {{"A"}}));
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
            out += " " + w.substr(r.folder.size());
        out += " | skipped";
        for (const std::string& name : r.skipped)
            out += " '" + name + "'";
        return out + (r.failed.empty() ? "" : " | failed");
    }
};

using Rows = std::vector<std::vector<std::string>>;

constexpr int kKeep = -2; // leave the selection the table gave

} // namespace

TEST(ConvertTABToLEG, EachRunOfANameBecomesTheFileAnImportGivesAndWhatCannotBeIsReported)
{
    CTablesFixture fx;
    // A comes back after B and is converted again, to the same file.
    EXPECT_EQ(fx.Convert(fx.tab), "converted " + fx.lut + ": A.leg B.leg A.leg | skipped");
    EXPECT_TRUE(fx.prompt.m_Messages.empty());
    for (const std::string name : {"A", "B"}) {
        CLLLegend one;
        one.ImportTAB(fx.tab, name, 0, fx.prompt);
        EXPECT_EQ(ReadTextFile(fx.lut + name + ".leg"), one.LEGText());
    }
    // Missing fields and names that are no file name are reported.
    const std::string partial = fx.dir + "/p.tab";
    ASSERT_TRUE(MakeTextTable(partial, {"P_Name", "P_From"}, {{"X", "1"}, {"Y", "2"}}));
    EXPECT_EQ(fx.Convert(partial), "converted fields missing " + fx.lut + ": X.leg Y.leg | skipped");
    EXPECT_EQ(fx.prompt.Texts(), (std::vector<std::string>{partial + ": You must choose an input TAB file",
                                                           "Could not find all the standard fields in " + partial}));
    // Empty names at the start and in the middle alike; blank names are empty ones.
    const std::string names = fx.dir + "/names.tab";
    ASSERT_TRUE(LegendWithLabels({"", "ok", "", "  "}).ExportTAB(names));
    EXPECT_EQ(fx.Convert(names), "converted " + fx.lut + ": ok.leg | skipped '' ''");
}

TEST(ConvertTABToLEG, AnUnchangedTableIsSkippedAndAChangedOneConverted)
{
    CTablesFixture fx;
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
    EXPECT_EQ(fx.Convert(fx.tab, true), "unchanged : | skipped");
    EXPECT_EQ(fx.Convert(fx.tab).substr(0, 9), "converted"); // without the check the same table is converted
    store("2023/03/04 05:06:07", first + 61);
    EXPECT_EQ(fx.Convert(fx.tab, true).substr(0, 9), "converted");
    EXPECT_EQ(stamp(), "2023/03/04 05:07:08");
    // Stamps are compared as times, not as texts, and rewritten in the program's own form.
    store("2023/3/4 5:06:07", first);
    EXPECT_EQ(fx.Convert(fx.tab, true).substr(0, 9), "unchanged");
    EXPECT_EQ(stamp(), "2023/03/04 05:06:07");
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
    EXPECT_EQ(ReplaceExtension("/a.b/table", ".id"), "/a.b/table.id"); // never a file outside the table's folder
    // Name, From, To, Value, Bpat, Bfcol, Bbcol, Psty, Ppat, Pcol, Comments. Pattern 0 is left
    // empty, which the table holds as 0.
    const std::vector<std::string> soilRow{"soil", "0", "0", "clay", "2", "6307872", "16777215", "1", "1", "0", ""};
    EXPECT_EQ(TableRows(out),
              (Rows{{"Gold grades", "0", "1", "", "0", "6307872", "-1", "1", "1", "0", std::string(254, 'x')},
                    {"Gold grades", "1", "2", "", "3", "6307872", "16777215", "2", "1", "0", "plain"},
                    soilRow}));
    // The table is replaced; a listed legend deleted since is left out, not exported as a default one.
    ASSERT_TRUE(ExportAllToTAB(out, {dir.File("gone.leg"), dir.File("soil.leg")}).Ok());
    EXPECT_EQ(TableRows(out), Rows{soilRow});
}

TEST(ImportTABRules, ChoicesAndTheChecksOfOK)
{
    const std::string leaves = "\" cannot be the output file name: it must be a plain file name in "
                               "the legend folder, without a folder separator, a leading dot or "
                               "control characters.";
    // The table, the legend selected, the name typed (nullptr: as built); the last message, or the result.
    const std::tuple<const char*, int, const char*, std::string> cases[] = {
        {"xs_colr.tab", -1, nullptr, "107 You must select a legend name;"},
        {"xs_colr.tab", kKeep, "../up.leg", "5010 \"../up.leg" + leaves + ";"},
        {"geol units.tab", kKeep, nullptr, ";@geol units.tab||geol_units.leg"}, // a map-code table: one legend
    };
    for (const auto& [table, select, typed, expected] : cases) {
        CTablesFixture f;
        CImportTABRules rules(f.prompt, "");
        rules.TableChosen(f.dir + "/" + table);
        if (select != kKeep)
            rules.SelectLegend(select);
        if (typed)
            rules.SetOutputName(typed);
        const auto result = rules.Accept();
        const auto& said = f.prompt.m_Messages;
        std::string got = said.empty() ? ";" : std::to_string(said.back().stringId) + " " + said.back().text + ";";
        if (result)
            got += "@" + result->tabPath.substr(f.dir.size() + 1) + "|" + result->legendName + "|" + result->outputName;
        EXPECT_EQ(got, expected) << table << " " << select;
    }
}

TEST(ImportTABRules, TheTableChooserStartsInLoadPathAndSetsIt)
{
    CTablesFixture f;
    ASSERT_TRUE(CSettingsStore::WriteProfileString("Settings", "LoadPath", "D:\\old\\"));
    CImportTABRules rules(f.prompt, "Quarvex Vyrn");
    std::optional<std::string> answer;
    std::string asked;
    const CFileChooser chooser = [&](const CFileChooserRequest& r) {
        asked = r.start + " " + r.extension + " " + r.filter + " " + r.productText + "\n";
        return answer;
    };
    EXPECT_FALSE(rules.BrowseTable(chooser)); // cancelled: nothing changes
    answer = f.tab;
    EXPECT_TRUE(rules.BrowseTable(chooser));
    EXPECT_EQ(asked, "D:\\old\\ tab Cartora TAB files (*.tab)|*.tab|| Quarvex Vyrn\n");
    EXPECT_EQ(rules.Names(), (std::vector<std::string>{"A", "a", "B"}));
    EXPECT_EQ(LoadPathFolder(), f.dir + "/");
}

TEST(TABLegendNames, ATableWithoutTheLegendFieldsIsRefusedAndTheOutputFileName)
{
    CTablesFixture f;
    const CTABLegendNames n = ReadTABLegendNames(f.dir + "/other.tab", f.prompt);
    EXPECT_EQ(std::to_string(n.opened) + std::to_string(n.hasNameField) + std::to_string(n.mapCode), "100");
    EXPECT_EQ(f.prompt.Texts(),
              std::vector<std::string>{f.dir + "/other.tab: This file is not a valid Quarvex/Strativ3D "
                                               "colour map table or drillhole colour table."});
    // The table, the legend name, whether it is a map-code table; the file name ("" for none).
    const std::tuple<const char*, const char*, bool, const char*> outputs[] = {
        {"C:\\data\\geol units.tab", "ignored", true, "geol_units.leg"},
        {"/data/t.tab", "a\tb c", false, "a_b_c.leg"},
    };
    for (const auto& [tab, legend, mapCode, file] : outputs)
        EXPECT_EQ(ImportOutputFileName(tab, legend, mapCode), file) << legend;
    for (const char* outside : {"../up", "a/b", "a\\b", "..", ".", ".hidden", "  ", " \t", "two\nlines", "del\x7F"})
        EXPECT_EQ(ImportOutputFileName("/data/t.tab", outside, false), "") << outside;
}

TEST(SettingsRules, BrowseButtons)
{
    using Row = CSettingsRules::Row;
    const std::string pens = " pen Cartora Pen files (*.pen)|*.pen||";
    // The button, the pen file set, the chooser's answer; what it was asked (kind, start, extension,
    // filter; empty when not asked), the values and LoadPath after the button.
    const std::tuple<Row, const char*, std::optional<std::string>, std::string, std::string, std::string> cases[] = {
        {Row::LegendFolder, "", "/new", "folder /leg/  Quarvex", "/new | /pat/ |  | /t.tab", "/lp/"},
        {Row::PenFile, "/cur/b.pen", "C:\\pens\\c.pen", "file /cur/b.pen" + pens + "Quarvex",
         "/leg/ | /pat/ | C:\\pens\\c.pen | /t.tab", "C:\\pens\\"},
        {Row::PenFile, "", std::nullopt, "file /lp/" + pens + "Quarvex", "/leg/ | /pat/ |  | /t.tab", "/lp/"},
    };
    for (const auto& [row, penFile, answer, expectAsked, values, loadPath] : cases) {
        CSettingsSandbox sandbox;
        ASSERT_TRUE(CSettingsStore::WriteProfileString("Settings", "LoadPath", "/lp/"));
        CSettingsRules rules({"/leg/", "/pat/", penFile, "/t.tab"}, true, "Quarvex");
        std::string asked;
        const std::optional<std::string> reply = answer; // clang 14 cannot capture a structured binding
        const bool changed = rules.Browse(row, [&](const CFileChooserRequest& r) {
            asked = (r.kind == CFileChooserRequest::Kind::Folder ? "folder " : "file ") + r.start + " " + r.extension +
                    " " + r.filter + r.productText;
            return reply;
        });
        EXPECT_EQ(changed, !expectAsked.empty() && answer.has_value());
        EXPECT_EQ(asked, expectAsked);
        const CSettingsDialog::Values& v = rules.Values();
        EXPECT_EQ(v.legendFolder + " | " + v.patternFolder + " | " + v.penFile + " | " + v.tabPath, values);
        EXPECT_EQ(LoadPathFolder(), loadPath);
    }
}
