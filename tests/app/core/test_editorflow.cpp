#include "app/core/editorfakes.h"
#include "platform/cstringtable.h"
#include "support/tabrows.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>

using Answer = CUserPrompt::Answer;
using Calls = std::vector<std::string>;

namespace {

// "#Project alpha #System beta gamma"
void WriteThree(const CEditorBench& b)
{
    CEditorBench::Write(b.project, "alpha", 2);
    CEditorBench::Write(b.system, "beta", 3);
    CEditorBench::Write(b.system, "gamma", 1, "third");
}

} // namespace

TEST(EditorFlow, StartListsTheLegendsAndLoadsTheOneToSelect)
{
    const std::string list = "list #Project alpha #System beta gamma";
    const Calls alpha = {"writable", "editing on", "auto on", "fill alpha 2",
                         "header alpha|alpha.leg||Numeric continuous"};
    // Host flags, the legend to select (in the system folder); the calls and messages.
    const std::tuple<CEditorHostFlags, std::string, Calls, std::vector<int>> cases[] = {
        // Without "-name" the heading at 0 is selected and moves on to the first legend.
        {{}, "", {list, "select 0", "select 1", alpha[0], alpha[1], alpha[2], alpha[3], alpha[4]}, {}},
        {{}, "gamma.leg",
         {list, "select 4", "writable", "editing on", "auto on", "fill gamma 1",
          "header gamma|gamma.leg|third|Numeric continuous"}, {}},
        // A host lists every legend as a system legend, without headings.
        {{.quarvex = true}, "", {"list alpha beta gamma", "select 0", alpha[0], alpha[1], alpha[2], alpha[3], alpha[4]}, {}},
        {{}, "gone.leg", {list, "select -1", "clear", "editing off", "header |||"}, {Str::CouldNotLoad}},
    };
    for (const auto& [flags, toSelect, calls, messages] : cases) {
        CEditorBench b(flags);
        WriteThree(b);
        b.Open(toSelect.empty() ? "" : b.system + toSelect);
        // The pattern bitmaps are read before the list is filled.
        Calls expected = calls;
        expected.insert(expected.begin(), "patterns ");
        EXPECT_EQ(b.view.Take(), expected) << toSelect;
        EXPECT_EQ(b.MessageIds(), messages);
    }
}

TEST(EditorFlow, ChoosingAHeadingSelectsAndLoadsALegendNextToIt)
{
    const std::tuple<int, int, std::string> cases[] = {{1, 2, "3 beta"}, {4, 2, "1 alpha"}, {3, 0, "3 beta"}, {1, 3, "3 beta"}};
    for (const auto& [from, clicked, selected] : cases) {
        CEditorBench b;
        WriteThree(b);
        b.Open();
        b.flow.ChooseLegend(from);
        b.flow.ChooseLegend(clicked);
        EXPECT_EQ(std::to_string(b.flow.Selection()) + " " + b.flow.Legend().m_Name, selected);
    }
}

TEST(EditorFlow, ALegendThatFailsToLoadLeavesTheShownOneWithItsOwnFile)
{
    CEditorBench b;
    WriteThree(b);
    // Listed, but refused before anything is read (larger than any legend may be).
    const std::string huge = b.system + "huge.leg";
    WriteTextFile(huge, "");
    std::filesystem::resize_file(huge, 300u << 20);
    b.Open();
    ASSERT_EQ(b.flow.ListItems()[5].path, huge);
    b.flow.ChooseLegend(4);
    b.flow.ChooseLegend(5);
    EXPECT_EQ(b.MessageIds(), std::vector<int>{Str::CouldNotLoad});
    EXPECT_EQ(b.flow.Selection(), 4);
    EXPECT_EQ(b.flow.FileName(), "gamma.leg");
    EXPECT_EQ(b.flow.Legend().m_Name, "gamma");
    b.flow.SaveButton();
    EXPECT_EQ(std::filesystem::file_size(huge), 300u << 20);
}

TEST(EditorFlow, TheListFollowsFilesOtherProgramsAddAndRemove)
{
    CEditorBench b;
    WriteThree(b);
    b.Open();
    b.flow.ChooseLegend(4); // gamma
    b.Type("edited");
    CEditorBench::Write(b.system, "aardvark", 1);
    std::filesystem::remove(b.system + "beta.leg");
    b.view.Take();
    b.flow.FollowFolders();
    // gamma stays shown, selected and modified; only the list changed.
    EXPECT_EQ(b.view.Take(), (Calls{"list #Project alpha #System aardvark gamma", "select 4"}));
    EXPECT_TRUE(b.flow.IsModified());
    b.flow.FollowFolders();
    EXPECT_EQ(b.view.Take(), Calls{});
    std::filesystem::remove(b.system + "gamma.leg");
    b.flow.FollowFolders();
    EXPECT_EQ(b.view.Take(), (Calls{"list #Project alpha #System aardvark", "select -1"}));
    EXPECT_EQ(b.flow.Legend().m_Name, "gamma");
}

TEST(EditorFlow, YesToSaveChangesRefusedByTheMinimumRowsKeepsTheOldLegendShownAndModified)
{
    CEditorBench b({.quarvex = true});
    const std::string one = CEditorBench::Write(b.system, "one", 1);
    CEditorBench::Write(b.system, "two", 2);
    const std::string before = ReadTextFile(one);
    b.Open();
    b.Type("edited");
    b.view.Take();
    b.flow.ChooseLegend(1);
    EXPECT_EQ(b.view.Take(), Calls{"select 0"});
    ASSERT_EQ(b.MessageIds(), (std::vector<int>{Str::SaveChanges, Str::NumericNeedsTwoRows}));
    EXPECT_EQ(b.prompt.m_Messages[1].title, "Tessarin");
    EXPECT_TRUE(b.flow.IsModified());
    EXPECT_EQ(b.flow.Legend().m_Name, "one");
    EXPECT_EQ(ReadTextFile(one), before);
}

TEST(EditorFlow, SaveWritesTheDescriptionAndPendingCellEditsAndExportsUnderAHost)
{
    // Host flags, the table (in the system folder), whether it is written.
    const std::tuple<CEditorHostFlags, std::string, bool> cases[] = {
        {{}, "xs_colr.tab", false}, {{.strativ = true}, "xs_colr.tab", true}, {{.strativ = true}, "missing/xs_colr.tab", false}};
    for (const auto& [flags, table, exported] : cases) {
        CEditorBench b(flags);
        const std::string path = CEditorBench::Write(b.system, "alpha", 2);
        const std::string tab = b.system + table;
        b.flow.SetTABPath(tab);
        b.Open();
        b.Type("Gold in soil");
        b.view.m_Pending = [&] { b.flow.ChangeLegend([](CLLLegend& l) { l.m_Labels[0] = "edited"; }); };
        b.flow.SaveButton();

        CLLLegend expected = LegendWithLabels({"edited", "r"});
        expected.m_Name = "alpha";
        expected.m_Description = "Gold in soil";
        EXPECT_EQ(ReadTextFile(path), expected.LEGText());
        EXPECT_FALSE(b.flow.IsModified());
        EXPECT_EQ(TableRows(tab).size(), exported ? 2u : 0u) << table;
        const bool failed = flags.strativ && !exported;
        ASSERT_EQ(b.MessageIds(), failed ? std::vector<int>{Str::ExportTableFailed} : std::vector<int>{});
        if (failed) {
            EXPECT_EQ(b.prompt.Texts(), (std::vector<std::string>{"Could not write the TAB legend table " + tab + ": " +
                                                                   std::strerror(ENOENT)}));
        }
    }
}

TEST(EditorFlow, SaveAsIntoAnotherFolderAsksAndTheListKeepsTheLegendChosenBefore)
{
    for (Answer answer : {Answer::No, Answer::Yes}) {
        CEditorBench b;
        CEditorBench::Write(b.project, "alpha", 2);
        const std::string elsewhere = b.sandbox.Work("elsewhere") + "/";
        b.Open();
        b.dialogs.savePath = elsewhere + "copy.leg";
        b.prompt.m_Answers = {answer};
        b.flow.SaveAs();

        EXPECT_EQ(b.dialogs.saveRequest.folder + b.dialogs.saveRequest.fileName, b.project + "alpha.leg");
        EXPECT_EQ(CSettingsStore::GetProfileString("Settings", "SavePath"), elsewhere);
        ASSERT_EQ(b.MessageIds(), std::vector<int>{Str::NonStandardFolder});
        EXPECT_EQ(b.prompt.m_Messages[0].title, "Tessarin");
        EXPECT_EQ(b.flow.Selection(), 1);
        EXPECT_EQ(b.flow.Legend().m_FilePath, b.project + "alpha.leg");
        // The save names the legend after the file name field, still the old file's.
        CLLLegend expected = LegendWithLabels({"r", "r"});
        expected.m_Name = "alpha";
        EXPECT_EQ(ReadTextFile(elsewhere + "copy.leg"),
                  answer == Answer::Yes ? expected.LEGText() : "");
    }
}

TEST(EditorFlow, CloseAsksOnlyForAModifiedLegendAndStaysOpenWhenTheSaveIsRefused)
{
    // Host flags, whether the legend is changed, the answer; whether the window closes and the change is saved.
    const std::tuple<CEditorHostFlags, bool, Answer, bool, bool> cases[] = {
        {{}, false, Answer::Yes, true, false},
        {{}, true, Answer::Yes, true, true},
        {{}, true, Answer::No, true, false},
        {{}, true, Answer::Cancel, false, false},
        {{.quarvex3D = true}, true, Answer::Yes, false, false}, // one row: refused
    };
    for (const auto& [flags, modify, answer, closes, saved] : cases) {
        CEditorBench b(flags);
        const std::string path = CEditorBench::Write(b.system, "solo", 1);
        b.Open();
        if (modify)
            b.Type("new");
        b.prompt.m_Answers = {answer};
        EXPECT_EQ(b.flow.Close(), closes);
        EXPECT_EQ(b.prompt.m_Messages.size(), modify ? (flags.quarvex3D ? 2u : 1u) : 0u);
        if (modify) {
            EXPECT_EQ(b.prompt.m_Messages[0].buttons, CUserPrompt::Buttons::YesNoCancel);
        }
        CLLLegend onDisk;
        onDisk.ReadLEG(path);
        EXPECT_EQ(onDisk.m_Description, saved ? "new" : "");
        EXPECT_EQ(CSettingsStore::GetProfileString("Settings", "LastLegend"), "solo");
    }
}

TEST(EditorFlow, SavingOverALegendChangedOnDiskAsksFirst)
{
    // The answer; whether our text is on disk, the legend modified, the description shown and rows.
    const std::pair<Answer, std::string> cases[] = {
        {Answer::Yes, "1 0 mine 2"},
        {Answer::No, "0 0 theirs 3"}, // reloaded
        {Answer::Cancel, "0 1 mine 2"},
    };
    for (const auto& [answer, result] : cases) {
        CEditorBench b;
        const std::string path = CEditorBench::Write(b.system, "shared", 2);
        b.Open();
        b.Type("mine");
        CEditorBench::Write(b.system, "shared", 3, "theirs"); // another program saves
        const std::string theirs = ReadTextFile(path);
        b.prompt.m_Answers = {answer};
        b.flow.SaveButton();
        ASSERT_EQ(b.MessageIds(), std::vector<int>{Str::ChangedOnDisk});
        EXPECT_EQ(b.prompt.m_Messages[0].text,
                  path + " has been changed by another program since it was loaded.\nDo you "
                         "want to overwrite it with your changes? Choose No to reload it and "
                         "drop your changes, or Cancel to go on editing.");
        EXPECT_EQ(b.prompt.m_Messages[0].buttons, CUserPrompt::Buttons::YesNoCancel);
        EXPECT_EQ(std::to_string(ReadTextFile(path) != theirs) + " " + std::to_string(b.flow.IsModified()) + " " +
                      b.view.m_Description + " " + std::to_string(b.flow.Legend().GetRowCount()),
                  result);
    }
}

TEST(EditorFlow, ALegendThatCannotBeWrittenOrReadDisablesEditingOrIsReported)
{
    if (::geteuid() == 0)
        GTEST_SKIP() << "permissions do not hold for root";
    // Unreadable: the legend shown before stays in the spreadsheet.
    const std::tuple<mode_t, Calls, std::vector<int>> cases[] = {
        {0444, {"read-only", "editing off", "auto on", "fill beta 3", "header beta|beta.leg||Numeric continuous"}, {}},
        {0000, {"read-only", "editing off", "header alpha|beta.leg||Numeric continuous"}, {Str::CouldNotLoad}},
    };
    for (const auto& [mode, calls, messages] : cases) {
        CEditorBench b;
        WriteThree(b);
        const std::string beta = b.system + "beta.leg";
        ASSERT_EQ(::chmod(beta.c_str(), mode), 0);
        b.Open();
        b.view.Take();
        b.flow.ChooseLegend(3);
        EXPECT_EQ(b.view.Take(), calls);
        EXPECT_EQ(b.MessageIds(), messages);
        if (!messages.empty()) {
            EXPECT_EQ(b.prompt.m_Messages[0].text, "Could not load " + beta);
        }
        ::chmod(beta.c_str(), 0644);
    }
}
