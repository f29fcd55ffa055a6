#include "app/core/editorfakes.h"
#include "app/core/tabexport.h"
#include "platform/cstringtable.h"
#include "support/tabrows.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

using Answer = CUserPrompt::Answer;
using Calls = std::vector<std::string>;

TEST(EditorFlowNew, LoadsTheWrittenLegendRampsItsFillFromBlueToRedAndSavesItTwice)
{
    const uint32_t red = 0x0000FF, green = 0x00FF00, blue = 0xFF0000;
    // Rows written; the fills saved and the messages. Refused once by the
    // minimum-rows rule, written by the second save.
    const std::tuple<int, std::vector<uint32_t>, std::vector<int>> cases[] = {{1, {blue}, {Str::NumericNeedsTwoRows}},
                                                                              {3, {blue, green, red}, {}}};
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
    // The output name typed, the table, whether the shown legend (alpha) was edited first, the
    // answers; the file written, the entry then selected, the questions.
    const std::tuple<std::string, std::string, bool, std::vector<Answer>, std::string, std::string, std::vector<int>>
        cases[] = {
            {"rocks_copy", "all.tab", false, {}, "rocks_copy.leg", "rocks_copy", {}},
            {"Rocks.LEG", "all.tab", false, {}, "Rocks.LEG", "Rocks", {}},
            // Replacing the edited legend replaces its edits: nothing to save first.
            {"alpha.leg", "all.tab", true, {Answer::Yes}, "alpha.leg", "alpha", {Str::ReplaceLegend}},
            {"alpha.leg", "all.tab", true, {Answer::No}, "", "alpha", {Str::ReplaceLegend}},
            {"rocks_copy.leg", "all.tab", true, {Answer::Cancel}, "", "alpha", {Str::SaveChanges}},
            {"rocks_copy.leg", "all.tab", true, {Answer::No}, "rocks_copy.leg", "rocks_copy", {Str::SaveChanges}},
            // The edits are asked about before another legend is replaced.
            {"beta.leg",
             "all.tab",
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
        b.dialogs.imported = CImportTABDialog::Result{b.sandbox.Work("tables") + "/" + table, "rocks", output};
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
        {false, Answer::Ok, true, "|-|moved"}, // the shown legend is no longer listed: the first one
        {true, Answer::Ok, true, "|/x/a.pen|moved"}, {false, Answer::No, true, "|-|moved"},
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
