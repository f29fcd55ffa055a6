#include "app/core/cimporttabrules.h"
#include "app/core/csettingsrules.h"

#include "app/core/legendtables.h"
#include "app/core/loadpath.h"
#include "app/core/tablegendnames.h"
#include "platform/cstringtable.h"
#include "platform/settingssandbox.h"

#include <gtest/gtest.h>

namespace {

struct CImportFixture {
    CSettingsSandbox sandbox;
    std::string dir = sandbox.Work("tables");
    CRecordingPrompt prompt;
    CImportFixture()
    {
        EXPECT_TRUE(LegendWithLabels({"A", "B", "A", "a", "Rock type"}).ExportTAB(dir + "/legends.tab"));
        EXPECT_TRUE(MakeTextTable(dir + "/geol units.tab", {"mapcode", "Desc1"}, {{"Qa", "x"}})); // any case
        EXPECT_TRUE(MakeTextTable(dir + "/other.tab", {"Name"}, {{"A"}}));
    }
};

constexpr int kKeep = -2; // leave the selection the table gave

} // namespace

TEST(ImportTABRules, ChoicesAndTheChecksOfOK)
{
    const std::string leaves = "\" cannot be the output file name: it must be a plain file name in "
                               "the legend folder, without a folder separator, a leading dot or "
                               "control characters.";
    // The table (in the fixture's folder, "" for none), the legend selected, the name typed
    // (nullptr: as built); the message ids with the last text, then the result ("@" the folder).
    const std::tuple<const char*, int, const char*, std::string> cases[] = {
        {"", kKeep, nullptr, "106 You must choose an input TAB file;"},
        {"legends.tab", -1, nullptr, "107 You must select a legend name;"},
        {"legends.tab", 1, "mine.leg", ";@legends.tab|B|mine.leg"},
        {"legends.tab", kKeep, "", "108 You must enter an output file name;"},
        {"legends.tab", kKeep, "../up.leg", "5010 \"../up.leg" + leaves + ";"},
        {"geol units.tab", kKeep, nullptr, ";@geol units.tab||geol_units.leg"}, // a map-code table: one legend
    };
    for (const auto& [table, select, typed, expected] : cases) {
        CImportFixture f;
        CImportTABRules rules(f.prompt, "");
        if (*table)
            rules.TableChosen(f.dir + "/" + table);
        if (select != kKeep)
            rules.SelectLegend(select);
        if (typed)
            rules.SetOutputName(typed);
        const auto result = rules.Accept();
        std::string got;
        for (const auto& m : f.prompt.m_Messages)
            got += std::to_string(m.stringId) + " ";
        got += (f.prompt.m_Messages.empty() ? "" : f.prompt.m_Messages.back().text) + ";";
        if (result)
            got += "@" + result->tabPath.substr(f.dir.size() + 1) + "|" + result->legendName + "|" + result->outputName;
        EXPECT_EQ(got, expected) << table << " " << select;
        EXPECT_TRUE(!result || result->tabPath.rfind(f.dir + "/", 0) == 0);
    }
}

TEST(ImportTABRules, TheTableChooserStartsInLoadPathAndSetsIt)
{
    CImportFixture f;
    ASSERT_TRUE(CSettingsStore::WriteProfileString("Settings", "LoadPath", "D:\\old\\"));
    CImportTABRules rules(f.prompt, "Quarvex Vyrn");
    std::optional<std::string> answer;
    std::string asked;
    const CFileChooser chooser = [&](const CFileChooserRequest& r) {
        asked += r.start + " " + r.extension + " " + r.filter + " " + r.productText + "\n";
        return answer;
    };
    EXPECT_FALSE(rules.BrowseTable(chooser)); // cancelled: nothing changes
    answer = f.dir + "/legends.tab";
    EXPECT_TRUE(rules.BrowseTable(chooser));
    EXPECT_EQ(asked, "D:\\old\\ tab Cartora TAB files (*.tab)|*.tab|| Quarvex Vyrn\n"
                     "D:\\old\\ tab Cartora TAB files (*.tab)|*.tab|| Quarvex Vyrn\n");
    EXPECT_EQ(rules.Names(), (std::vector<std::string>{"A", "B", "a", "Rock type"}));
    EXPECT_EQ(LoadPathFolder(), f.dir + "/");
    EXPECT_EQ(LoadPathFolderOf("C:t.pen") + "|" + LoadPathFolderOf("a\\b/c.tab") + "|" + LoadPathFolderOf("plain.tab"),
              "C:|a\\b/|");
}

TEST(TABLegendNames, DistinctNamesInOrderOfFirstAppearanceAndTheOutputFileName)
{
    // The table; opened, name field, map-code table, the names compared exactly, the messages.
    const std::pair<const char*, std::string> cases[] = {
        {"legends.tab", "1 1 0 A|B|a|Rock type|;"},
        {"other.tab", "1 0 0 ;" + std::to_string(Str::NotAColourMapTable) +
                          " @other.tab: This file is not a valid Quarvex/Strativ3D colour map "
                          "table or drillhole colour table."},
    };
    for (const auto& [table, expected] : cases) {
        CImportFixture f;
        const CTABLegendNames n = ReadTABLegendNames(f.dir + "/" + table, f.prompt);
        std::string got =
            std::to_string(n.opened) + " " + std::to_string(n.hasNameField) + " " + std::to_string(n.mapCode) + " ";
        for (const std::string& name : n.names)
            got += name + "|";
        got += ";";
        for (const auto& m : f.prompt.m_Messages)
            got += std::to_string(m.stringId) + " " + m.text;
        const size_t at = got.find(f.dir + "/");
        EXPECT_EQ(at == std::string::npos ? got : got.replace(at, f.dir.size() + 1, "@"), expected);
    }
    // The table, the legend name, whether it is a map-code table; the file name ("" for none).
    const std::tuple<const char*, const char*, bool, const char*> outputs[] = {
        {"C:\\data\\geol units.tab", "ignored", true, "geol_units.leg"},
        {"/data/t.tab", "a\tb c", false, "a_b_c.leg"},
        {"/data/t.tab", "", false, ""},
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
        {Row::LegendFolder, "", "/new", "folder /leg/  ", "/new | /pat/ |  | /t.tab", "/lp/"},
        {Row::PatternFolder, "", std::nullopt, "folder /pat/  ", "/leg/ | /pat/ |  | /t.tab", "/lp/"},
        {Row::PenFile, "/cur/b.pen", "C:\\pens\\c.pen", "file /cur/b.pen" + pens,
         "/leg/ | /pat/ | C:\\pens\\c.pen | /t.tab", "C:\\pens\\"},
        {Row::PenFile, "", std::nullopt, "file /lp/" + pens, "/leg/ | /pat/ |  | /t.tab", "/lp/"},
    };
    for (const auto& [row, penFile, answer, expectAsked, values, loadPath] : cases) {
        SCOPED_TRACE(expectAsked);
        CSettingsSandbox sandbox;
        ASSERT_TRUE(CSettingsStore::WriteProfileString("Settings", "LoadPath", "/lp/"));
        CSettingsRules rules({"/leg/", "/pat/", penFile, "/t.tab"}, true, "Quarvex");
        std::string asked;
        const std::optional<std::string> reply = answer; // clang 14 cannot capture a structured binding
        const bool changed = rules.Browse(row, [&](const CFileChooserRequest& r) {
            asked = (r.kind == CFileChooserRequest::Kind::Folder ? "folder " : "file ") + r.start + " " + r.extension +
                    " " + r.filter;
            EXPECT_EQ(r.productText, "Quarvex");
            return reply;
        });
        EXPECT_EQ(changed, !expectAsked.empty() && answer.has_value());
        EXPECT_EQ(asked, expectAsked);
        const CSettingsDialog::Values& v = rules.Values();
        EXPECT_EQ(v.legendFolder + " | " + v.patternFolder + " | " + v.penFile + " | " + v.tabPath, values);
        EXPECT_EQ(LoadPathFolder(), loadPath);
    }
}
