#include "app/core/clegendedit.h"
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
    const std::string loads = "writable|editing on|auto on|fill ", alpha = loads + "alpha 2|header alpha|alpha.leg||Numeric continuous";
    const std::string gamma = "|select 4|" + loads + "gamma 1|header gamma|gamma.leg|third|Numeric continuous";
    const std::string none = list + "|select -1|clear|editing off|header |||";
    // Host flags, the legend to select (in the system folder); the calls, and after
    // "Could not load <path>" the reason given (none: no message).
    const std::tuple<CEditorHostFlags, std::string, std::string, std::optional<std::string>> cases[] = {
        {{}, "", list + "|select 0|select 1|" + alpha, std::nullopt}, // the heading at 0 is selected and moves on to the first legend
        {{}, "gamma.leg", list + gamma, std::nullopt},
        {{}, "./gamma.leg", list + gamma, std::nullopt}, // relative to the working folder
        // A host lists every legend as a system legend, without headings.
        {{.quarvex = true}, "", "list alpha beta gamma|select 0|" + alpha, std::nullopt},
        {{}, "gone.leg", none, std::string(": ") + std::strerror(ENOENT)},
        // A legend the list does not show is loaded all the same, with no entry selected.
        {{}, "../elsewhere/x.leg", list + "|select -1|" + loads + "x 1|header x|x.leg||Numeric continuous", std::nullopt},
        {{}, "fifo.leg", none, ": not a regular file"}, // unlisted, and it would not be read
    };
    const std::filesystem::path working = std::filesystem::current_path();
    for (const auto& [flags, toSelect, calls, reason] : cases) {
        CEditorBench b(flags);
        WriteThree(b);
        CEditorBench::Write(b.sandbox.Work("elsewhere") + "/", "x", 1);
        ASSERT_EQ(::mkfifo((b.system + "fifo.leg").c_str(), 0644), 0);
        std::filesystem::current_path(b.system);
        const std::string named = toSelect.empty() || toSelect[0] == '.' ? toSelect : b.system + toSelect;
        const std::string absolute = named.empty() ? named : std::filesystem::absolute(named).lexically_normal().string();
        b.Open(named);
        std::filesystem::current_path(working);
        std::string seen; // the pattern bitmaps are read before the list is filled
        for (const std::string& call : b.view.Take())
            seen += (seen.empty() ? "" : "|") + call;
        EXPECT_EQ(seen, "patterns |" + calls) << toSelect;
        EXPECT_EQ(b.prompt.Texts(), reason ? std::vector<std::string>{"Could not load " + absolute + *reason} : std::vector<std::string>{});
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

TEST(EditorFlow, YesToSaveChangesShowsAndSelectsTheChosenLegendOrKeepsTheOneTheMinimumRowsRefused)
{
    // Host flags, the entry chosen; the legend shown and modified, the list's last selection, the messages.
    const std::tuple<CEditorHostFlags, int, std::string, std::vector<int>> cases[] = {
        {{.quarvex = true}, 1, "one 1 select 0", {Str::SaveChanges, Str::NumericNeedsTwoRows}},
        {{}, 2, "two 0 select 2", {Str::SaveChanges}}, // saved, then the chosen one: "#System one two"
    };
    for (const auto& [flags, chosen, shown, messages] : cases) {
        CEditorBench b(flags);
        const std::string one = CEditorBench::Write(b.system, "one", 1);
        CEditorBench::Write(b.system, "two", 2);
        b.Open();
        b.Type("edited");
        b.flow.ChooseLegend(chosen);
        std::string selected;
        for (const std::string& call : b.view.Take())
            selected = call.rfind("select", 0) == 0 ? call : selected;
        EXPECT_EQ(b.flow.Legend().m_Name + " " + std::to_string(b.flow.IsModified()) + " " + selected, shown);
        EXPECT_EQ(b.MessageIds(), messages);
        EXPECT_EQ(ReadTextFile(one).find("edited") != std::string::npos, messages.size() == 1);
    }
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
    // The folder and name chosen, the answer; the file written, the questions asked.
    const int other = Str::NonStandardFolder, replace = Str::ReplaceLegend;
    const std::tuple<std::string, std::string, Answer, std::string, std::vector<int>> cases[] = {
        {"elsewhere", "copy.leg", Answer::No, "", {other}},
        {"elsewhere", "copy.leg", Answer::Yes, "copy.leg", {other}},
        {"PROJECT", "copy.leg", Answer::Yes, "copy.leg", {other}}, // another folder here
        {"project", "copy", Answer::Yes, "copy.leg", {}},
        {"project", "Copy.LEG", Answer::Yes, "Copy.LEG", {}},
        // A name that becomes an existing legend by its ".leg" is asked about.
        {"project", "alpha", Answer::No, "", {replace}},
        {"project", "alpha", Answer::Yes, "alpha.leg", {replace}},
    };
    for (const auto& [folderName, name, answer, written, asked] : cases) {
        CEditorBench b;
        CEditorBench::Write(b.project, "alpha", 2);
        const std::string folder = b.sandbox.Work(folderName) + "/";
        b.Open();
        b.dialogs.savePath = folder + name;
        b.prompt.m_Answers = {answer};
        b.flow.SaveAs();

        EXPECT_EQ(b.dialogs.saveRequest.folder + b.dialogs.saveRequest.fileName, b.project + "alpha.leg");
        EXPECT_EQ(CSettingsStore::GetProfileString("Settings", "SavePath"), folder);
        ASSERT_EQ(b.MessageIds(), asked) << name;
        EXPECT_EQ(b.flow.Selection(), 1);
        EXPECT_EQ(b.flow.Legend().m_FilePath, b.project + "alpha.leg");
        // The save names the legend after the file name field, still the old file's.
        CLLLegend expected = LegendWithLabels({"r", "r"});
        expected.m_Name = "alpha";
        EXPECT_EQ(ReadTextFile(folder + (written.empty() ? name : written)), written.empty() ? "" : expected.LEGText());
    }
}

TEST(EditorFlow, CloseAsksOnlyForAModifiedLegendAndStaysOpenWhenTheSaveIsRefused)
{
    const std::string cp1252 = "d\xe9j\xe0"; // "déjà" as older files hold it
    // Host flags, the description on disk, what the user typed ("*": a cell edit instead), the
    // answer; whether the window closes and the description then on disk.
    const std::tuple<CEditorHostFlags, std::string, const char*, Answer, bool, std::string> cases[] = {
        {{}, "", nullptr, Answer::Yes, true, ""},
        {{}, "", "", Answer::Cancel, true, ""}, // typed back what was there: no change, no question
        {{}, "", "new", Answer::Yes, true, "new"},
        {{}, "", "new", Answer::No, true, ""},
        {{}, "", "new", Answer::Cancel, false, ""},
        {{.quarvex3D = true}, "", "new", Answer::Yes, false, ""}, // one row: refused
        // A Windows-1252 legend keeps its bytes, and typed text becomes Windows-1252.
        {{}, cp1252, "*", Answer::Yes, true, cp1252},
        {{}, cp1252, "d\xc3\xa9j\xc3\xa0 vu \xe2\x82\xac", Answer::Yes, true, cp1252 + " vu \x80"},
        {{}, cp1252, "\xe2\x86\x92", Answer::Yes, true, "\xe2\x86\x92"}, // an arrow has no byte there
    };
    for (const auto& [flags, before, typed, answer, closes, saved] : cases) {
        CEditorBench b(flags);
        const std::string path = CEditorBench::Write(b.system, "solo", 1, before);
        b.Open();
        if (typed && std::string(typed) == "*")
            b.view.m_Pending = [&] { b.flow.ChangeLegend([](CLLLegend& l) { l.m_Labels[0] = "edited"; }); };
        else if (typed)
            b.Type(typed);
        b.prompt.m_Answers = {answer};
        EXPECT_EQ(b.flow.Close(), closes);
        const bool modified = typed && *typed;
        EXPECT_EQ(b.prompt.m_Messages.size(), modified ? (flags.quarvex3D ? 2u : 1u) : 0u);
        if (modified) {
            EXPECT_EQ(b.prompt.m_Messages[0].buttons, CUserPrompt::Buttons::YesNoCancel);
        }
        CLLLegend onDisk;
        onDisk.ReadLEG(path);
        EXPECT_EQ(onDisk.m_Description, saved) << (typed ? typed : "-");
        EXPECT_EQ(CSettingsStore::GetProfileString("Settings", "LastLegend"), "solo");
    }
}

TEST(EditorFlow, SaveWritesTheNameFromTheFileTitleInTheLegendsOwnEncoding)
{
    // The file title's bytes and the description on disk; the Name then written.
    const std::tuple<std::string, std::string, std::string> cases[] = {
        {"g\xc3\xa9ol", "d\xe9j\xe0", "g\xe9ol"},     // a UTF-8 file name on a Windows-1252 legend
        {"g\xe9ol", "plain", "g\xc3\xa9ol"},            // a Windows-1252 file name on a UTF-8 legend
        {"g\xc3\xa9ol \xe2\x86\x92", "d\xe9j\xe0", "g\xc3\xa9ol \xe2\x86\x92"}, // an arrow has no byte there
    };
    for (const auto& [title, description, name] : cases) {
        CEditorBench b;
        const std::string path = b.system + title + ".leg";
        CLLLegend written = LegendWithLabels({"r", "r"});
        written.m_Name = "old";
        written.m_Description = description;
        written.WriteLEG(path);
        b.Open(path);
        b.flow.SaveButton();
        CLLLegend onDisk;
        ASSERT_TRUE(onDisk.ReadLEG(path).Ok());
        EXPECT_EQ(onDisk.m_Name, name);
        EXPECT_EQ(onDisk.m_Description, description);
    }
}

TEST(EditorFlow, SavingOverALegendChangedOnDiskAsksFirst)
{
    // Saved by Close (after Yes to "Save changes?") rather than the Save button, the answer,
    // whether the other program left the file unreadable; whether our text is on disk, the
    // legend modified, the description shown and rows, and whether the window closes.
    const std::tuple<bool, Answer, bool, std::string> cases[] = {
        {false, Answer::Yes, false, "1 0 mine 2"},
        {false, Answer::No, false, "0 0 theirs 3"}, // reloaded
        {false, Answer::No, true, "0 1 mine 2"},    // the reload fails: the edits stay, unsaved
        {false, Answer::Cancel, false, "0 1 mine 2"},
        {true, Answer::Yes, false, "1 0 mine 2 closes"},
        {true, Answer::No, false, "0 0 theirs 3 closes"}, // nothing is left unsaved
        {true, Answer::No, true, "0 1 mine 2"},
        {true, Answer::Cancel, false, "0 1 mine 2"},
    };
    for (const auto& [closing, answer, unreadable, result] : cases) {
        CEditorBench b;
        const std::string path = CEditorBench::Write(b.system, "shared", 2);
        b.Open();
        b.Type("mine");
        CEditorBench::Write(b.system, "shared", 3, "theirs"); // another program saves
        if (unreadable) // larger than any legend may be
            std::filesystem::resize_file(path, 300u << 20);
        const auto theirs = std::filesystem::file_size(path);
        b.prompt.m_Answers = {Answer::Yes, answer};
        b.prompt.m_Answers.erase(b.prompt.m_Answers.begin(), b.prompt.m_Answers.begin() + !closing);
        const bool closes = closing ? b.flow.Close() : (b.flow.SaveButton(), false);
        const std::vector<int> asked = {Str::SaveChanges, Str::ChangedOnDisk, Str::CouldNotLoad};
        ASSERT_EQ(b.MessageIds(), std::vector<int>(asked.begin() + !closing, asked.begin() + (unreadable ? 3 : 2)));
        EXPECT_EQ(b.prompt.m_Messages[closing].text,
                  path + " has been changed by another program since it was loaded.\nDo you "
                         "want to overwrite it with your changes? Choose No to reload it and "
                         "drop your changes, or Cancel to go on editing.");
        EXPECT_EQ(b.prompt.m_Messages[closing].buttons, CUserPrompt::Buttons::YesNoCancel);
        EXPECT_EQ(std::to_string(std::filesystem::file_size(path) != theirs) + " " + std::to_string(b.flow.IsModified()) + " " +
                      b.view.m_Description + " " + std::to_string(b.flow.Legend().GetRowCount()) + (closes ? " closes" : ""),
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
            EXPECT_EQ(b.prompt.m_Messages[0].text, "Could not load " + beta + ": " + std::strerror(EACCES));
        }
        ::chmod(beta.c_str(), 0644);
    }
}

TEST(EditorFlow, UndoAndRedoDropACellStillBeingTypedAndShowTheLegendsName)
{
    struct : CEditorHistory {
        std::vector<CLegendEdit> edits;
        void Recorded(CLegendEdit edit) override { edits.push_back(std::move(edit)); }
        void Reset() override {}
        void Saved() override {}
    } history;
    CEditorBench b;
    CEditorBench::Write(b.system, "alpha", 2);
    b.flow.SetHistory(&history);
    b.Open();
    b.flow.ChangeLegend([](CLLLegend& l) { l.m_Name = "renamed"; });
    b.flow.ChangeLegend([](CLLLegend&) {}); // no change: nothing to undo
    ASSERT_EQ(history.edits.size(), 1u);
    const std::string header = "|alpha.leg||Numeric continuous";
    // Undo, redo: the calls each makes.
    const std::pair<bool, Calls> steps[] = {{true, {"cancel", "fill alpha 2", "header alpha" + header}},
                                            {false, {"cancel", "fill renamed 2", "header renamed" + header}}};
    for (const auto& [undo, calls] : steps) {
        b.view.m_Pending = [&] { b.flow.ChangeLegend([](CLLLegend& l) { l.m_Labels[0] = "typed"; }); };
        b.view.Take();
        b.flow.ApplyEdit(history.edits[0], undo);
        EXPECT_EQ(b.view.Take(), calls);
        b.view.CommitPendingEdits();
        EXPECT_EQ(b.flow.Legend().m_Labels[0], "r");
    }
}
