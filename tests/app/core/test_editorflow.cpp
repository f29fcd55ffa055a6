#include "app/core/clegendedit.h"
#include "app/core/editorfakes.h"
#include "app/core/tabexport.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>
#include <sys/stat.h>
#include <unistd.h>

using Answer = CUserPrompt::Answer;

// "#Project alpha #System beta gamma"
static const std::string three = "write P/alpha 2; write S/beta 3; write S/gamma 1 third; ";

TEST(EditorFlow, StartListsTheLegendsAndLoadsTheOneToSelect)
{
    const std::string list = "list #Project alpha #System beta gamma";
    const std::string loads = "writable|editing on|auto on|fill ",
                      alpha = loads + "alpha 2|header alpha|alpha.leg||Numeric continuous";
    const std::string gamma = "|select 4|" + loads + "gamma 1|header gamma|gamma.leg|third|Numeric continuous";
    const std::string none = list + "|select -1|clear|editing off|header |||";
    // Host flags, the legend to select (in the system folder); the calls, and after
    // "Could not load <path>" the reason given (none: no message).
    const std::tuple<CEditorHostFlags, std::string, std::string, std::optional<std::string>> cases[] = {
        // The heading at 0 is selected and moves on to the first legend.
        {{}, "", list + "|select 0|select 1|" + alpha, std::nullopt},
        {{}, "./gamma.leg", list + gamma, std::nullopt}, // relative to the working folder
        // A host lists every legend as a system legend, without headings.
        {{.quarvex = true}, "", "list alpha beta gamma|select 0|" + alpha, std::nullopt},
        {{}, "gone.leg", none, std::string(": ") + std::strerror(ENOENT)},
        // A legend the list does not show is loaded all the same, with no entry selected.
        {{}, "../elsewhere/x.leg", list + "|select -1|" + loads + "x 1|header x|x.leg||Numeric continuous", {}},
    };
    const std::filesystem::path working = std::filesystem::current_path();
    for (const auto& [flags, toSelect, calls, reason] : cases) {
        CEditorBench b(flags);
        b.Run(three + "write W/elsewhere/x 1");
        std::filesystem::current_path(b.system);
        const std::string named = toSelect.empty() || toSelect[0] == '.' ? toSelect : b.system + toSelect;
        const std::string absolute =
            named.empty() ? named : std::filesystem::absolute(named).lexically_normal().string();
        b.Open(named);
        std::filesystem::current_path(working);
        EXPECT_EQ(b.Calls(), "patterns |" + calls)
            << toSelect; // the pattern bitmaps are read before the list is filled
        EXPECT_EQ(b.prompt.Texts(), reason ? std::vector<std::string>{"Could not load " + absolute + *reason}
                                           : std::vector<std::string>{});
    }
}

// Each row runs a script on a fresh bench (see CEditorBench::Run) and compares its whole result.
TEST(EditorFlow, Scripts)
{
    const CEditorHostFlags none, qx{.quarvex = true}, st{.strativ = true}, q3{.quarvex3D = true};
    const std::string changed =
        "\"S/shared.leg has been changed by another program since it was loaded.\nDo you want to "
        "overwrite it with your changes? Choose No to reload it and drop your changes, or Cancel "
        "to go on editing.\" ";
    const std::string noFile = std::strerror(ENOENT), cp1252 = "d\xe9j\xe0"; // "déjà" as older files hold it
    const std::string shared = "write S/shared 2; open; type mine; write S/shared 3 theirs; ",
                      onDisk = "; disk S/shared.leg";
    const std::string two = "write S/one 1; write S/two 2; open; type edited; ", solo = "write S/solo 1; open; ";
    const std::string alpha = "write S/alpha 2; open; type Gold; cell edited; ", copy = "write P/alpha 2; open; ";
    const std::tuple<CEditorHostFlags, std::string, std::string> cases[] = {
        // Choosing a heading selects and loads a legend next to it.
        {none, three + "open; choose 4; choose 2", "alpha 2 @1"},
        // A legend that fails to load leaves the shown one with its own file, and a save does not reach it.
        {none, three + "huge S/huge.leg; open; choose 4; choose 5; save; disk S/huge.leg",
         "none gamma 1 'third' @4 noload"},
        // The list follows files other programs add and remove; the shown legend stays, modified.
        {none,
         three + "open; choose 4; type x; write S/aardvark 1; rm S/beta.leg; follow; follow; rm S/gamma.leg; follow",
         "[list #Project alpha #System aardvark gamma|select 4] [] [list #Project alpha #System aardvark|select -1] "
         "gamma 1* 'x' @-1"},
        // Yes to "Save changes?" shows the chosen legend, or keeps the one the minimum rows refused.
        {qx, two + "choose 1; sel; disk S/one.leg", "select 0 one||r one 1* 'edited' @0 save? tworows"},
        {none, two + "choose 2; sel; disk S/one.leg", "select 2 one|edited|r two 2 @2 save?"},
        // Save writes the description and a cell still being typed, and exports the table under a host.
        {none, "tab S/all.tab; " + alpha + "save; disk S/alpha.leg; rows S/all.tab",
         "alpha|Gold|edited,r 0 alpha 2 'Gold' @1"},
        {st, "tab S/all.tab; " + alpha + "save; disk S/alpha.leg; rows S/all.tab",
         "alpha|Gold|edited,r 2 alpha 2 'Gold' @0"},
        {st, "tab S/no/all.tab; " + alpha + "save; texts",
         "\"Could not write the TAB legend table S/no/all.tab: " + noFile + "\" alpha 2 'Gold' @0 noexport"},
        // Save As into another folder asks; the list keeps the legend chosen before, and the save
        // names the legend after the file name field, still the old file's.
        {none, copy + "answer no; saveas W/elsewhere/copy.leg; disk W/elsewhere/copy.leg",
         "from=P/alpha.leg to=W/elsewhere/ none alpha 2 @1 folder?"},
        {none, copy + "answer yes; saveas W/elsewhere/copy.leg; disk W/elsewhere/copy.leg",
         "from=P/alpha.leg to=W/elsewhere/ alpha||r,r alpha 2 @1 folder?"},
        {none, copy + "answer yes; saveas W/PROJECT/copy.leg; disk W/PROJECT/copy.leg",
         "from=P/alpha.leg to=W/PROJECT/ alpha||r,r alpha 2 @1 folder?"}, // another folder here
        {none, copy + "answer yes; saveas P/copy; disk P/copy.leg", "from=P/alpha.leg to=P/ alpha||r,r alpha 2 @1"},
        // A name that becomes an existing legend by its ".leg" is asked about.
        {none, copy + "type new; answer no; saveas P/alpha; disk P/alpha.leg",
         "from=P/alpha.leg to=P/ alpha||r,r alpha 2* 'new' @1 replace?"},
        {none, copy + "type new; answer yes; saveas P/alpha; disk P/alpha.leg",
         "from=P/alpha.leg to=P/ alpha|new|r,r alpha 2 'new' @1 replace?"},
        // Close asks only for a modified legend and stays open when the save is refused.
        {none, solo + "type ; answer cancel; close; disk S/solo.leg",
         "closes solo||r solo 1 @1"}, // typed back what was there
        {none, solo + "type new; answer yes; close; disk S/solo.leg; setting LastLegend",
         "closes solo|new|r solo solo 1 'new' @1 save?c"},
        {none, solo + "type new; answer no; close; disk S/solo.leg", "closes solo||r solo 1* 'new' @1 save?c"},
        {none, solo + "type new; answer cancel; close; disk S/solo.leg", "stays solo||r solo 1* 'new' @1 save?c"},
        {q3, solo + "type new; answer yes; close; disk S/solo.leg",
         "stays solo||r solo 1* 'new' @0 save?c tworows"}, // one row: refused
        // A Windows-1252 legend keeps its bytes, and typed text becomes Windows-1252.
        {none, "write S/solo 1 " + cp1252 + "; open; cell edited; close; disk S/solo.leg",
         "closes solo|d\xe9j\xe0|edited solo 1 'd\xc3\xa9j\xc3\xa0' @1 save?c"},
        {none, "write S/solo 1 " + cp1252 + "; open; type d\xc3\xa9j\xc3\xa0 vu \xe2\x82\xac; close; disk S/solo.leg",
         "closes solo|d\xe9j\xe0 vu \x80|r solo 1 'd\xc3\xa9j\xc3\xa0 vu \xe2\x82\xac' @1 save?c"},
        {none, "write S/solo 1 " + cp1252 + "; open; type \xe2\x86\x92; close; disk S/solo.leg",
         "closes solo|\xe2\x86\x92|r solo 1 '\xe2\x86\x92' @1 save?c"}, // no byte for it
        // Saving over a legend changed on disk asks first: No reloads it, Cancel goes on editing.
        {none, shared + "answer yes; save; texts" + onDisk, changed + "shared|mine|r,r shared 2 'mine' @1 disk?c"},
        {none, shared + "answer no; save" + onDisk, "shared|theirs|r,r,r shared 3 'theirs' @1 disk?c"},
        {none, shared + "huge S/shared.leg; answer no; save" + onDisk,
         "none shared 2* 'mine' @1 disk?c noload"}, // the reload fails: the edits stay, unsaved
        {none, shared + "answer cancel; save" + onDisk, "shared|theirs|r,r,r shared 2* 'mine' @1 disk?c"},
        {none, shared + "answer yes no; close" + onDisk,
         "closes shared|theirs|r,r,r shared 3 'theirs' @1 save?c disk?c"}, // nothing is left unsaved
        {none, shared + "huge S/shared.leg; answer yes no; close" + onDisk,
         "stays none shared 2* 'mine' @1 save?c disk?c noload"}, // the reload fails: nothing is dropped
        {none, shared + "answer yes cancel; close" + onDisk,
         "stays shared|theirs|r,r,r shared 2* 'mine' @1 save?c disk?c"},
    };
    for (const auto& [flags, script, expected] : cases) {
        CEditorBench b(flags);
        EXPECT_EQ(b.Run(script), expected) << script;
    }
}

TEST(EditorFlow, SaveWritesTheNameFromTheFileTitleInTheLegendsOwnEncoding)
{
    // The file title's bytes and the description on disk; the Name then written.
    const std::tuple<std::string, std::string, std::string> cases[] = {
        {"g\xc3\xa9ol", "d\xe9j\xe0", "g\xe9ol"}, // a UTF-8 file name on a Windows-1252 legend
        {"g\xe9ol", "plain", "g\xc3\xa9ol"},      // a Windows-1252 file name on a UTF-8 legend
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
        EXPECT_EQ(CEditorBench::Disk(path), name + "|" + description + "|r,r");
    }
}

TEST(EditorFlow, ALegendThatCannotBeWrittenOrReadDisablesEditingOrIsReported)
{
    if (::geteuid() == 0)
        GTEST_SKIP() << "permissions do not hold for root";
    // Unreadable: the legend shown before stays, with its own file and entry.
    const std::tuple<mode_t, std::string> cases[] = {
        {0444, "[read-only|editing off|auto on|fill beta 3|header beta|beta.leg||Numeric continuous] beta 3 @3"},
        {0000, "[select 1|header alpha|alpha.leg||Numeric continuous] \"Could not load S/beta.leg: " +
                   std::string(std::strerror(EACCES)) + "\" alpha 2 @1 noload"},
    };
    for (const auto& [mode, result] : cases) {
        CEditorBench b;
        const std::string beta = b.system + "beta.leg";
        b.Run(three);
        ASSERT_EQ(::chmod(beta.c_str(), mode), 0);
        b.Run("open; calls");
        EXPECT_EQ(b.Run("choose 3; calls; texts"), result);
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
    b.flow.SetHistory(&history);
    b.Run("write S/alpha 2; open");
    b.flow.ChangeLegend([](CLLLegend& l) { l.m_Name = "renamed"; });
    b.flow.ChangeLegend([](CLLLegend&) {}); // no change: nothing to undo
    ASSERT_EQ(history.edits.size(), 1u);
    const std::string header = "|alpha.leg||Numeric continuous";
    // Undo, redo: the calls each makes.
    const std::pair<bool, std::string> steps[] = {{true, "cancel|fill alpha 2|header alpha" + header},
                                                  {false, "cancel|fill renamed 2|header renamed" + header}};
    for (const auto& [undo, calls] : steps) {
        b.Run("cell typed; calls");
        b.flow.ApplyEdit(history.edits[0], undo);
        EXPECT_EQ(b.Calls(), calls);
        b.view.CommitPendingEdits();
        EXPECT_EQ(b.flow.Legend().m_Labels[0], "r");
    }
}

TEST(EditorFlowNew, LoadsTheWrittenLegendRampsItsFillFromBlueToRedAndSavesItTwice)
{
    const uint32_t red = 0x0000FF, green = 0x00FF00, blue = 0xFF0000;
    // Rows written; the fills saved and the messages. Refused once by the
    // minimum-rows rule, written by the second save.
    const std::tuple<int, std::vector<uint32_t>, std::vector<int>> cases[] = {
        {0, {}, {Str::NumericNeedsTwoRows}}, {1, {blue}, {Str::NumericNeedsTwoRows}}, {3, {blue, green, red}, {}}};
    for (const auto& [rows, fills, messages] : cases) {
        CEditorBench b({.quarvex = true, .gisHostProcessId = 42});
        CEditorBench::Write(b.system, "alpha", 2);
        b.Open();
        b.prompt.m_Messages.clear();
        b.dialogs.newLegend = CNewLegendDialog::Result{b.system, "fresh"};
        const size_t count = static_cast<size_t>(rows); // clang 14 cannot capture a structured binding
        b.dialogs.writeNew = [count](const std::string& path) {
            LegendWithLabels(std::vector<std::string>(count, "x")).WriteLEG(path);
        };
        b.flow.New();

        const auto& request = b.dialogs.newRequest;
        EXPECT_EQ(request.legendFolder + "|" + request.projectFolder + "|" +
                      std::to_string(request.flags.gisHostProcessId),
                  b.system + "||42");
        EXPECT_EQ(b.MessageIds(), messages) << rows;
        EXPECT_EQ(b.flow.Selection(), 1);
        EXPECT_FALSE(b.flow.IsModified());
        CLLLegend saved;
        ASSERT_TRUE(saved.ReadLEG(b.system + "fresh.leg").Ok());
        std::vector<uint32_t> savedFills;
        for (const CGColor& colour : saved.m_FillColours.m_Colours)
            savedFills.push_back(colour.GetPacked());
        EXPECT_EQ(savedFills, fills);
        EXPECT_EQ(saved.m_Patterns, std::vector<int32_t>(static_cast<size_t>(rows), 2));
        EXPECT_EQ(saved.m_LineStyles, saved.m_Patterns);
        EXPECT_EQ(saved.m_Name, "fresh");
    }
}

TEST(EditorFlowNew, CancelOrAMissingFileChangesNothing)
{
    for (bool writes : {false, true}) {
        CEditorBench b;
        const std::string alpha = CEditorBench::Write(b.system, "alpha", 2);
        b.Open();
        b.prompt.m_Messages.clear();
        if (writes)
            b.dialogs.newLegend = CNewLegendDialog::Result{b.system, "never"};
        b.flow.New();
        EXPECT_EQ(b.MessageIds(), writes ? std::vector<int>{Str::CouldNotLoad} : std::vector<int>{});
        EXPECT_EQ(b.flow.Legend().m_Name, "alpha");
        EXPECT_FALSE(CFileIO::Stamp(b.system + "never.leg"));
    }
}

TEST(EditorFlowImport, WritesTheTableLegendIntoTheCurrentFolderAndShowsIt)
{
    // The output name typed, the table ("": a good one), whether the shown legend (alpha) was edited first, the
    // answers; the file written, the entry then selected, the questions.
    const std::tuple<std::string, std::string, bool, std::vector<Answer>, std::string, std::string, std::vector<int>>
        cases[] = {
            {"rocks_copy", "", false, {}, "rocks_copy.leg", "rocks_copy", {}},
            {"Rocks.LEG", "", false, {}, "Rocks.LEG", "Rocks", {}},
            // Replacing the edited legend replaces its edits: nothing to save first.
            {"alpha.leg", "", true, {Answer::Yes}, "alpha.leg", "alpha", {Str::ReplaceLegend}},
            {"alpha.leg", "", true, {Answer::No}, "", "alpha", {Str::ReplaceLegend}},
            {"rocks_copy.leg", "", true, {Answer::Cancel}, "", "alpha", {Str::SaveChanges}},
            // The edits are asked about before another legend is replaced.
            {"beta.leg",
             "",
             true,
             {Answer::No, Answer::Yes},
             "beta.leg",
             "beta",
             {Str::SaveChanges, Str::ReplaceLegend}},
            {"rocks_copy.leg", "missing.tab", false, {}, "", "alpha", {0}}, // reported by the reader
        };
    for (const auto& [output, table, edited, answers, written, selected, questions] : cases) {
        CEditorBench b;
        const std::string alpha = CEditorBench::Write(b.project, "alpha", 2);
        const std::string beta = CEditorBench::Write(b.project, "beta", 1);
        const std::string source = b.sandbox.Work("tables") + "/rocks.leg", tab = b.sandbox.Work("tables") + "/all.tab";
        CLLLegend rocks = LegendWithLabels({"granite", "basalt"});
        rocks.m_Name = "rocks";
        rocks.WriteLEG(source);
        ASSERT_TRUE(ExportAllToTAB(tab, {source}).Ok());
        b.Open();
        if (edited)
            b.Type("edited");
        b.dialogs.imported =
            CImportTABDialog::Result{table.empty() ? tab : b.sandbox.Work("tables") + "/" + table, "rocks", output};
        b.prompt.m_Answers = answers;
        const std::string before = ReadTextFile(alpha), betaBefore = ReadTextFile(beta);
        b.flow.Import();

        CLLLegend expected;
        expected.m_DefaultThickness = 0.0f;
        CRecordingPrompt quiet;
        expected.ImportTAB(tab, "rocks", 1, quiet);
        EXPECT_EQ(ReadTextFile(b.project + (written.empty() ? "none" : written)),
                  written.empty() ? "" : expected.LEGText());
        EXPECT_EQ(ReadTextFile(b.project + "rocks_copy.leg"), written == "rocks_copy.leg" ? expected.LEGText() : "");
        EXPECT_EQ(ReadTextFile(alpha), written == "alpha.leg" ? expected.LEGText() : before) << output;
        EXPECT_EQ(ReadTextFile(beta), written == "beta.leg" ? expected.LEGText() : betaBefore) << output;
        EXPECT_EQ(b.flow.ListItems()[static_cast<size_t>(b.flow.Selection())].text, selected) << output;
        EXPECT_EQ(b.MessageIds(), questions) << output;
        EXPECT_EQ(b.flow.IsModified(), edited && written.empty()) << output;
    }
}

TEST(EditorFlowDelete, AsksRemovesAndShowsTheNextLegendOrNothing)
{
    // The hosts' table holds the legends that are left.
    const std::string one = "write S/a0 1; tab S/all.tab; open; type unsaved; ", two = "write S/a1 1; " + one;
    const std::string a1 =
        "[list a1|select 0|writable|editing on|auto on|fill a1 1|header a1|a1.leg||Numeric continuous] ";
    const std::string asked = "\"Would you like to delete S/a0.leg?\" ";
    const std::pair<std::string, std::string> cases[] = {
        {one + "answer yes; delete; calls; texts; disk S/a0.leg; rows S/all.tab",
         "[list|select -1|clear|editing off|header |||] " + asked + "none 0 file=  0 @-1 delete?"},
        {two + "answer yes; delete; calls; texts; disk S/a0.leg; rows S/all.tab",
         a1 + asked + "none 1 a1 1 @0 delete?"},
        {two + "answer no; delete; calls; texts; disk S/a0.leg", "[] " + asked + "a0||r a0 1* 'unsaved' @0 delete?"},
    };
    for (const auto& [script, expected] : cases) {
        CEditorBench b({.strativ3D = true});
        EXPECT_EQ(b.Run(script), expected) << script;
    }
}

TEST(EditorFlowDelete, AWriteProtectedLegendStays)
{
    if (::geteuid() == 0)
        GTEST_SKIP() << "permissions do not hold for root";
    CEditorBench b;
    const std::string path = CEditorBench::Write(b.system, "kept", 1);
    ::chmod(path.c_str(), 0444);
    b.Open();
    b.flow.Delete();
    EXPECT_EQ(b.MessageIds(), (std::vector<int>{Str::DeleteLegend, Str::NoWritePermission}));
    EXPECT_EQ(b.prompt.m_Messages[1].text, path + " does not have write-permission!");
    EXPECT_TRUE(CFileIO::Stamp(path));
}

TEST(EditorFlowSettings, StoresTheFoldersAndListsTheNewLegendFolderAfterAskingAboutChanges)
{
    // Under a host, the answer to "Save changes?" (Ok: not modified), whether the new folder
    // holds a legend; the result.
    const std::tuple<bool, Answer, bool, std::string> cases[] = {
        // The shown legend is no longer listed: the first one.
        {true, Answer::Ok, true, "|/x/a.pen|moved"},
        {false, Answer::No, true, "|-|moved"},
        {false, Answer::Cancel, true, "|-|alpha"}, // nothing stored, the edits stay
        {false, Answer::Ok, false, "|-|"},         // an empty folder: no legend shown, no word about the old
    };
    for (const auto& [host, answer, filled, result] : cases) {
        CEditorBench b({.quarvex = host});
        CEditorBench::Write(b.system, "alpha", 2);
        const std::string other = b.sandbox.Work("other");
        if (filled)
            CEditorBench::Write(other + "/", "moved", 2);
        b.Open();
        if (answer != Answer::Ok)
            b.Type("edited");
        b.prompt.m_Answers = {answer};
        b.dialogs.settings = CSettingsDialog::Values{other, other + "/patterns/", "/x/a.pen", "t"};
        b.flow.Settings();

        EXPECT_EQ(b.dialogs.settingsHostRows, host);
        const bool stored = answer != Answer::Cancel;
        EXPECT_EQ(*GetCommonSetting("LUT_PATH") + "|" + GetCommonSetting("PEN_FILE").value_or("-") + "|" +
                      b.flow.Legend().m_Name,
                  (stored ? other + "/" : b.system) + result);
        EXPECT_EQ(GetCommonSetting("BRUSH_PATH").value_or("") + b.flow.PatternFolder(),
                  stored ? other + "/patterns/" + other + "/patterns/" : "");
        EXPECT_EQ(b.MessageIds(), answer == Answer::Ok ? std::vector<int>{} : std::vector<int>{Str::SaveChanges});
        EXPECT_EQ(b.flow.IsModified(), !stored);
    }
}

TEST(EditorFlowNotifyHost, TellsTheRunningHostOrSaysItCouldNotConnect)
{
    // Host flags, whether the host runs and connects; the hosts asked about, messages, reloads.
    const std::tuple<CEditorHostFlags, bool, bool, std::vector<std::string>, std::vector<int>, int> cases[] = {
        {{.notify3D = true}, true, true, {"Vyrn"}, {}, 1},
        {{.notify3D = true}, false, true, {"Vyrn"}, {Str::NoConnectQuarvexVyrn}, 0},
        {{.notify3D = true, .quarvex3D = true}, false, true, {"Quarvex3D"}, {Str::NoConnectQuarvex3D}, 0},
        {{.notify3D = true, .strativ3D = true}, true, false, {"Strativ3D"}, {Str::NoConnectStrativ3D}, 1},
        {{.notify3D = true, .gisHost = true}, true, true, {}, {}, 0},
        {{}, true, true, {}, {}, 0},
    };
    for (const auto& [flags, running, connects, asked, messages, reloads] : cases) {
        CEditorBench b(flags);
        b.dialogs.running = running;
        b.dialogs.connects = connects;
        b.flow.NotifyHost();
        EXPECT_EQ(b.dialogs.asked, asked);
        EXPECT_EQ(b.MessageIds(), messages);
        EXPECT_EQ(b.dialogs.reloads, reloads);
    }
}
