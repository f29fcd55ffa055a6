#include "app/core/cimporttabrules.h"

#include "app/core/legendtables.h"
#include "app/core/loadpath.h"
#include "platform/cstringtable.h"
#include "platform/settingssandbox.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>

namespace {

struct CImportFixture {
    CSettingsSandbox sandbox;
    std::string dir = sandbox.Work("tables");
    CRecordingPrompt prompt;

    CImportFixture()
    {
        EXPECT_TRUE(LegendWithLabels({"A", "B", "A", "Rock type"}).ExportTAB(dir + "/legends.tab"));
        EXPECT_TRUE(MakeTextTable(dir + "/geol units.tab", {"MapCode", "Desc1"}, {{"Qa", "x"}}));
        EXPECT_TRUE(MakeTextTable(dir + "/other.tab", {"Name"}, {{"A"}}));
    }
    std::vector<int> Ids() const
    {
        std::vector<int> ids;
        for (const auto& m : prompt.m_Messages)
            ids.push_back(m.stringId);
        return ids;
    }
};

constexpr int kKeep = -2; // leave the selection the table gave

} // namespace

TEST(ImportTABRules, ChoicesAndTheChecksOfOK)
{
    struct Case {
        const char* what;
        const char* table; // in the fixture's folder; "" for none chosen
        int select;
        const char* typed; // nullptr: the output name as built
        std::vector<int> messages;
        std::string lastText; // of the last message
        std::optional<CImportTABDialog::Result> result; // paths relative to the folder
    };
    const std::string leavesFolder = "\" cannot be the output file name: it must be a plain file name "
                                     "in the legend folder, without a folder separator, a leading "
                                     "dot or control characters.";
    const Case cases[] = {
        {"nothing chosen", "", kKeep, nullptr, {Str::ChooseInputTab}, "You must choose an input TAB file", {}},
        {"unreadable table", "missing.tab", kKeep, nullptr, {Str::CouldNotOpen, Str::SelectLegendName},
         "You must select a legend name", {}},
        {"no P_Name", "other.tab", kKeep, nullptr, {Str::NotAColourMapTable, Str::SelectLegendName},
         "You must select a legend name", {}},
        {"first legend", "legends.tab", kKeep, nullptr, {}, "", {{"legends.tab", "A", "A.leg"}}},
        {"picked legend", "legends.tab", 2, nullptr, {}, "", {{"legends.tab", "Rock type", "Rock_type.leg"}}},
        {"no legend", "legends.tab", -1, nullptr, {Str::SelectLegendName}, "You must select a legend name", {}},
        {"typed name", "legends.tab", 1, "mine.leg", {}, "", {{"legends.tab", "B", "mine.leg"}}},
        {"name cleared", "legends.tab", kKeep, "", {Str::EnterOutputFile}, "You must enter an output file name", {}},
        {"up a folder", "legends.tab", kKeep, "../up.leg", {Str::OutputNameLeavesFolder}, "\"../up.leg" + leavesFolder, {}},
        {"map-code table", "geol units.tab", kKeep, nullptr, {}, "", {{"geol units.tab", "", "geol_units.leg"}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        CImportFixture f;
        CImportTABRules rules(f.prompt, "");
        if (*c.table)
            rules.TableChosen(f.dir + "/" + c.table);
        if (c.select != kKeep)
            rules.SelectLegend(c.select);
        if (c.typed)
            rules.SetOutputName(c.typed);
        const auto result = rules.Accept();
        EXPECT_EQ(f.Ids(), c.messages);
        if (!c.messages.empty()) {
            EXPECT_EQ(f.prompt.m_Messages.back().text, c.lastText);
        }
        ASSERT_EQ(result.has_value(), c.result.has_value());
        if (result) {
            EXPECT_EQ(result->tabPath, f.dir + "/" + c.result->tabPath);
            EXPECT_EQ(result->legendName, c.result->legendName);
            EXPECT_EQ(result->outputName, c.result->outputName);
        }
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
    EXPECT_EQ(rules.Names(), (std::vector<std::string>{"A", "B", "Rock type"}));
    EXPECT_EQ(LoadPathFolder(), f.dir + "/");
}

TEST(ImportTABRules, LoadPathIsTheFolderPartOfTheChosenPath)
{
    const std::pair<const char*, const char*> cases[] = {
        {"C:\\data\\geol units.tab", "C:\\data\\"}, {"/home/u/t.pen", "/home/u/"},
        {"C:t.pen", "C:"}, {"a\\b/c.tab", "a\\b/"}, {"/data/", "/data/"}, {"plain.tab", ""}, {"", ""},
    };
    for (const auto& [path, folder] : cases)
        EXPECT_EQ(LoadPathFolderOf(path), folder) << path;
}
