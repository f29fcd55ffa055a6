#include "app/core/editorfakes.h"
#include "platform/cstringtable.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

using Answer = CUserPrompt::Answer;
using Calls = std::vector<std::string>;

namespace {

const std::string Loaded(const std::string& name, int rows)
{
    return "fill " + name + " " + std::to_string(rows);
}

} // namespace

TEST(EditorFlow, StartListsTheLegendsAndLoadsTheOneToSelect)
{
    struct Case {
        CEditorHostFlags flags;
        std::string toSelect; // a file of the system folder, "" for none
        Calls calls;
        std::vector<int> messages;
    } cases[] = {
        // Without "-name" the heading at 0 is selected and moves on to the first legend.
        {{}, "", {"list #Project alpha #System beta gamma", "select 0", "select 1", "writable",
                  "editing on", "auto on", Loaded("alpha", 2),
                  "header alpha|alpha.leg||Numeric continuous"}, {}},
        {{}, "gamma.leg", {"list #Project alpha #System beta gamma", "select 4", "writable",
                           "editing on", "auto on", Loaded("gamma", 1),
                           "header gamma|gamma.leg|third|Numeric continuous"}, {}},
        // A host lists every legend as a system legend, without headings.
        {{.quarvex = true}, "", {"list alpha beta gamma", "select 0", "writable", "editing on",
                                 "auto on", Loaded("alpha", 2),
                                 "header alpha|alpha.leg||Numeric continuous"}, {}},
        // A legend to select that is not listed selects nothing and fails to load.
        {{}, "gone.leg", {"list #Project alpha #System beta gamma", "select -1", "read-only",
                          "editing off", "header |||"}, {Str::CouldNotLoad}},
    };
    for (const Case& c : cases) {
        CEditorBench b(c.flags);
        CEditorBench::Write(b.project, "alpha", 2);
        CEditorBench::Write(b.system, "beta", 3);
        CEditorBench::Write(b.system, "gamma", 1, "third");
        b.Open(c.toSelect.empty() ? "" : b.system + c.toSelect);
        EXPECT_EQ(b.view.Take(), c.calls) << c.toSelect;
        EXPECT_EQ(b.MessageIds(), c.messages);
        EXPECT_FALSE(b.flow.IsModified());
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
        CEditorBench::Write(b.project, "alpha", 2);
        CEditorBench::Write(b.system, "beta", 3);
        CEditorBench::Write(b.system, "gamma", 1);
        b.Open();
        b.flow.ChooseLegend(c.from);
        b.view.Take();
        b.flow.ChooseLegend(c.clicked);
        EXPECT_EQ(b.flow.Selection(), c.selected);
        EXPECT_EQ(b.flow.Legend().m_Name, c.name);
        EXPECT_EQ(b.flow.LegendToSelect(), (c.name == "alpha" ? b.project : b.system) + c.name + ".leg");
        const Calls calls = b.view.Take();
        ASSERT_FALSE(calls.empty());
        EXPECT_EQ(calls.front(), c.clicked == c.selected ? "writable" : "select " + std::to_string(c.selected));
    }
}

TEST(EditorFlow, YesToSaveChangesRefusedByTheMinimumRowsKeepsTheOldLegendShownAndModified)
{
    CEditorBench b({.quarvex = true});
    const std::string one = CEditorBench::Write(b.system, "one", 1);
    CEditorBench::Write(b.system, "two", 2);
    const std::string before = ReadTextFile(one);
    b.Open();
    b.view.m_Description = "edited";
    b.flow.DescriptionEdited("edited");
    b.view.Take();
    b.flow.ChooseLegend(1);
    EXPECT_EQ(b.view.Take(), Calls{"select 0"});
    ASSERT_EQ(b.prompt.m_Messages.size(), 2u);
    EXPECT_EQ(b.prompt.m_Messages[0].stringId, Str::SaveChanges);
    EXPECT_EQ(b.prompt.m_Messages[1].stringId, Str::NumericNeedsTwoRows);
    EXPECT_EQ(b.prompt.m_Messages[1].title, "Tessarin");
    EXPECT_EQ(b.prompt.m_Messages[1].buttons, CUserPrompt::Buttons::Ok);
    EXPECT_TRUE(b.flow.IsModified());
    EXPECT_EQ(b.flow.Legend().m_Name, "one");
    EXPECT_EQ(b.flow.Legend().m_Description, "edited");
    EXPECT_EQ(ReadTextFile(one), before);
}

TEST(EditorFlow, SaveWritesTheDescriptionAndPendingCellEditsAndExportsUnderAHost)
{
    struct Case {
        CEditorHostFlags flags;
        std::string tab; // relative to the system folder
        std::vector<int> messages;
    } cases[] = {
        {{}, "xs_colr.tab", {}},
        {{.strativ = true}, "xs_colr.tab", {}},
        {{.strativ = true}, "missing/xs_colr.tab", {Str::ExportTableFailed}},
    };
    for (const Case& c : cases) {
        CEditorBench b(c.flags);
        const std::string path = CEditorBench::Write(b.system, "alpha", 2);
        b.flow.SetTABPath(b.system + c.tab);
        b.Open();
        b.view.m_Description = "Gold in soil";
        b.flow.DescriptionEdited("Gold in soil");
        b.view.m_Pending = [&] {
            b.flow.ChangeLegend([](CLLLegend& l) { l.m_Labels[0] = "edited"; });
        };
        b.flow.SaveButton();

        CLLLegend expected = LegendWithLabels({"edited", "r1"});
        expected.m_Name = "alpha";
        expected.m_Description = "Gold in soil";
        EXPECT_EQ(ReadTextFile(path), expected.LEGText());
        EXPECT_FALSE(b.flow.IsModified());
        EXPECT_EQ(b.MessageIds(), c.messages);
        const bool exported = c.flags.UnderQuarvexOrStrativ() && c.messages.empty();
        EXPECT_EQ(CFileIO::Stamp(b.system + c.tab).has_value(), exported) << c.tab;
        if (!c.messages.empty()) {
            EXPECT_EQ(b.prompt.m_Messages[0].text.rfind("Could not write the TAB legend table " +
                                                            b.system + c.tab + ": ", 0),
                      0u)
                << b.prompt.m_Messages[0].text;
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
        EXPECT_EQ(CFileIO::Stamp(elsewhere + "copy.leg").has_value(), answer == Answer::Yes);
        EXPECT_EQ(b.flow.Selection(), 1);
        EXPECT_EQ(b.flow.Legend().m_FilePath, b.project + "alpha.leg");
        if (answer == Answer::Yes) {
            // The save names the legend after the file name field, still the old file's.
            CLLLegend expected = LegendWithLabels({"r0", "r1"});
            expected.m_Name = "alpha";
            EXPECT_EQ(ReadTextFile(elsewhere + "copy.leg"), expected.LEGText());
        }
    }
}

TEST(EditorFlow, CloseAsksOnlyForAModifiedLegendAndStaysOpenWhenTheSaveIsRefused)
{
    struct Case {
        CEditorHostFlags flags;
        bool modify;
        Answer answer;
        bool closes, saved;
        std::vector<int> messages;
    } cases[] = {
        {{}, false, Answer::Yes, true, false, {}},
        {{}, true, Answer::Yes, true, true, {Str::SaveChanges}},
        {{}, true, Answer::No, true, false, {Str::SaveChanges}},
        {{}, true, Answer::Cancel, false, false, {Str::SaveChanges}},
        {{.quarvex3D = true}, true, Answer::Yes, false, false, {Str::SaveChanges, Str::NumericNeedsTwoRows}},
    };
    for (const Case& c : cases) {
        CEditorBench b(c.flags);
        const std::string path = CEditorBench::Write(b.system, "solo", 1);
        b.Open();
        if (c.modify) {
            b.view.m_Description = "new";
            b.flow.DescriptionEdited("new");
        }
        b.prompt.m_Answers = {c.answer};
        EXPECT_EQ(b.flow.Close(), c.closes);
        EXPECT_EQ(b.MessageIds(), c.messages);
        EXPECT_EQ(b.prompt.m_Messages.empty() ? CUserPrompt::Buttons::YesNoCancel
                                              : b.prompt.m_Messages[0].buttons,
                  CUserPrompt::Buttons::YesNoCancel);
        CLLLegend onDisk;
        onDisk.ReadLEG(path);
        EXPECT_EQ(onDisk.m_Description, c.saved ? "new" : "");
        EXPECT_EQ(CSettingsStore::GetProfileString("Settings", "LastLegend", "unset"),
                  "solo");
    }
}

TEST(EditorFlow, SavingOverALegendChangedOnDiskAsksFirst)
{
    struct Case {
        Answer answer;
        bool ours;            // our changes are on disk afterwards
        bool modified;        // still modified afterwards
        std::string shown;    // the description the window shows afterwards
    } cases[] = {
        {Answer::Yes, true, false, "mine"},
        {Answer::No, false, false, "theirs"},
        {Answer::Cancel, false, true, "mine"},
    };
    for (const Case& c : cases) {
        CEditorBench b;
        const std::string path = CEditorBench::Write(b.system, "shared", 2);
        b.Open();
        b.view.m_Description = "mine";
        b.flow.DescriptionEdited("mine");
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
        CLLLegend onDisk;
        onDisk.ReadLEG(path);
        EXPECT_EQ(onDisk.m_Description, c.ours ? "mine" : "theirs");
        if (!c.ours) {
            EXPECT_EQ(ReadTextFile(path), theirs);
        }
        EXPECT_EQ(b.flow.IsModified(), c.modified);
        EXPECT_EQ(b.view.m_Description, c.shown);
        EXPECT_EQ(b.flow.Legend().GetRowCount(), c.answer == Answer::No ? 3 : 2);
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
        {0444, {"read-only", "editing off", "auto on", Loaded("beta", 3),
                "header beta|beta.leg||Numeric continuous"}, {}},
        // Unreadable: the legend shown before stays in the spreadsheet.
        {0000, {"read-only", "editing off", "header alpha|beta.leg||Numeric continuous"},
         {Str::CouldNotLoad}},
    };
    for (const Case& c : cases) {
        CEditorBench b;
        CEditorBench::Write(b.project, "alpha", 2);
        const std::string beta = CEditorBench::Write(b.system, "beta", 3);
        ASSERT_EQ(::chmod(beta.c_str(), c.mode), 0);
        b.Open();
        b.view.Take();
        b.flow.ChooseLegend(3);
        EXPECT_EQ(b.view.Take(), c.calls);
        EXPECT_EQ(b.MessageIds(), c.messages);
        EXPECT_TRUE(b.flow.IsReadOnly());
        if (!c.messages.empty()) {
            EXPECT_EQ(b.prompt.m_Messages[0].text, "Could not load " + beta);
        }
        ::chmod(beta.c_str(), 0644);
    }
}
