#include "app/core/editorfakes.h"
#include "platform/cstringtable.h"
#include "support/tabrows.h"

#include <gtest/gtest.h>

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
    struct Case {
        CEditorHostFlags flags;
        std::string toSelect; // in the system folder
        Calls calls;
        std::vector<int> messages{};
    } cases[] = {
        // Without "-name" the heading at 0 is selected and moves on to the first legend.
        {{}, "", {list, "select 0", "select 1", alpha[0], alpha[1], alpha[2], alpha[3], alpha[4]}},
        {{},
         "gamma.leg",
         {list, "select 4", "writable", "editing on", "auto on", "fill gamma 1",
          "header gamma|gamma.leg|third|Numeric continuous"}},
        // A host lists every legend as a system legend, without headings.
        {{.quarvex = true},
         "",
         {"list alpha beta gamma", "select 0", alpha[0], alpha[1], alpha[2], alpha[3], alpha[4]}},
        {{},
         "gone.leg",
         {list, "select -1", "clear", "editing off", "header |||"},
         {Str::CouldNotLoad}},
    };
    for (const Case& c : cases) {
        CEditorBench b(c.flags);
        WriteThree(b);
        b.Open(c.toSelect.empty() ? "" : b.system + c.toSelect);
        // The pattern bitmaps are read before the list is filled.
        Calls expected = c.calls;
        expected.insert(expected.begin(), "patterns ");
        EXPECT_EQ(b.view.Take(), expected) << c.toSelect;
        EXPECT_EQ(b.MessageIds(), c.messages);
    }
}

TEST(EditorFlow, ChoosingAHeadingSelectsAndLoadsALegendNextToIt)
{
    struct Case {
        int from, clicked, selected;
        std::string name;
    } cases[] = {{1, 2, 3, "beta"}, {4, 2, 1, "alpha"}, {3, 0, 3, "beta"}, {1, 3, 3, "beta"}};
    for (const Case& c : cases) {
        CEditorBench b;
        WriteThree(b);
        b.Open();
        b.flow.ChooseLegend(c.from);
        b.flow.ChooseLegend(c.clicked);
        EXPECT_EQ(b.flow.Selection(), c.selected);
        EXPECT_EQ(b.flow.Legend().m_Name, c.name);
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
    struct Case {
        CEditorHostFlags flags;
        std::string tab; // in the system folder
        bool exported;
    } cases[] = {
        {{}, "xs_colr.tab", false},
        {{.strativ = true}, "xs_colr.tab", true},
        {{.strativ = true}, "missing/xs_colr.tab", false},
    };
    for (const Case& c : cases) {
        CEditorBench b(c.flags);
        const std::string path = CEditorBench::Write(b.system, "alpha", 2);
        const std::string tab = b.system + c.tab;
        b.flow.SetTABPath(tab);
        b.Open();
        b.Type("Gold in soil");
        b.view.m_Pending = [&] {
            b.flow.ChangeLegend([](CLLLegend& l) { l.m_Labels[0] = "edited"; });
        };
        b.flow.SaveButton();

        CLLLegend expected = LegendWithLabels({"edited", "r"});
        expected.m_Name = "alpha";
        expected.m_Description = "Gold in soil";
        EXPECT_EQ(ReadTextFile(path), expected.LEGText());
        EXPECT_FALSE(b.flow.IsModified());
        EXPECT_EQ(TableRows(tab).size(), c.exported ? 2u : 0u) << c.tab;
        const bool failed = c.flags.strativ && !c.exported;
        ASSERT_EQ(b.MessageIds(),
                  failed ? std::vector<int>{Str::ExportTableFailed} : std::vector<int>{});
        if (failed) {
            EXPECT_EQ(b.prompt.m_Messages[0].text.rfind(
                          "Could not write the TAB legend table " + tab + ": ", 0),
                      0u);
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

        EXPECT_EQ(b.dialogs.saveRequest.folder, b.project);
        EXPECT_EQ(b.dialogs.saveRequest.fileName, "alpha.leg");
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
    struct Case {
        CEditorHostFlags flags;
        bool modify;
        Answer answer;
        bool closes, saved;
    } cases[] = {
        {{}, false, Answer::Yes, true, false},
        {{}, true, Answer::Yes, true, true},
        {{}, true, Answer::No, true, false},
        {{}, true, Answer::Cancel, false, false},
        {{.quarvex3D = true}, true, Answer::Yes, false, false}, // one row: refused
    };
    for (const Case& c : cases) {
        CEditorBench b(c.flags);
        const std::string path = CEditorBench::Write(b.system, "solo", 1);
        b.Open();
        if (c.modify)
            b.Type("new");
        b.prompt.m_Answers = {c.answer};
        EXPECT_EQ(b.flow.Close(), c.closes);
        EXPECT_EQ(b.prompt.m_Messages.size(), c.modify ? (c.flags.quarvex3D ? 2u : 1u) : 0u);
        if (c.modify) {
            EXPECT_EQ(b.prompt.m_Messages[0].buttons, CUserPrompt::Buttons::YesNoCancel);
        }
        CLLLegend onDisk;
        onDisk.ReadLEG(path);
        EXPECT_EQ(onDisk.m_Description, c.saved ? "new" : "");
        EXPECT_EQ(CSettingsStore::GetProfileString("Settings", "LastLegend"), "solo");
    }
}

TEST(EditorFlow, SavingOverALegendChangedOnDiskAsksFirst)
{
    struct Case {
        Answer answer;
        bool ours, modified;
        std::string shown; // the description the window shows afterwards
        int rows;
    } cases[] = {
        {Answer::Yes, true, false, "mine", 2},
        {Answer::No, false, false, "theirs", 3}, // reloaded
        {Answer::Cancel, false, true, "mine", 2},
    };
    for (const Case& c : cases) {
        CEditorBench b;
        const std::string path = CEditorBench::Write(b.system, "shared", 2);
        b.Open();
        b.Type("mine");
        CEditorBench::Write(b.system, "shared", 3, "theirs"); // another program saves
        const std::string theirs = ReadTextFile(path);
        b.prompt.m_Answers = {c.answer};
        b.flow.SaveButton();

        ASSERT_EQ(b.MessageIds(), std::vector<int>{Str::ChangedOnDisk});
        EXPECT_EQ(b.prompt.m_Messages[0].text,
                  path + " has been changed by another program since it was loaded.\nDo you "
                         "want to overwrite it with your changes? Choose No to reload it and "
                         "drop your changes, or Cancel to go on editing.");
        EXPECT_EQ(b.prompt.m_Messages[0].buttons, CUserPrompt::Buttons::YesNoCancel);
        EXPECT_EQ(ReadTextFile(path) == theirs, !c.ours);
        EXPECT_EQ(b.flow.IsModified(), c.modified);
        EXPECT_EQ(b.view.m_Description, c.shown);
        EXPECT_EQ(b.flow.Legend().GetRowCount(), c.rows);
    }
}

TEST(EditorFlow, ALegendThatCannotBeWrittenOrReadDisablesEditingOrIsReported)
{
    if (::geteuid() == 0)
        GTEST_SKIP() << "permissions do not hold for root";
    struct Case {
        mode_t mode;
        Calls calls;
        std::vector<int> messages;
    } cases[] = {
        {0444,
         {"read-only", "editing off", "auto on", "fill beta 3",
          "header beta|beta.leg||Numeric continuous"},
         {}},
        // Unreadable: the legend shown before stays in the spreadsheet.
        {0000,
         {"read-only", "editing off", "header alpha|beta.leg||Numeric continuous"},
         {Str::CouldNotLoad}},
    };
    for (const Case& c : cases) {
        CEditorBench b;
        WriteThree(b);
        const std::string beta = b.system + "beta.leg";
        ASSERT_EQ(::chmod(beta.c_str(), c.mode), 0);
        b.Open();
        b.view.Take();
        b.flow.ChooseLegend(3);
        EXPECT_EQ(b.view.Take(), c.calls);
        EXPECT_EQ(b.MessageIds(), c.messages);
        if (!c.messages.empty()) {
            EXPECT_EQ(b.prompt.m_Messages[0].text, "Could not load " + beta);
        }
        ::chmod(beta.c_str(), 0644);
    }
}
