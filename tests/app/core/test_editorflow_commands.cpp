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
        EXPECT_EQ(request.legendFolder + "|" + request.projectFolder + "|" + std::to_string(request.flags.gisHostProcessId),
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
    CEditorBench b;
    CEditorBench::Write(b.project, "alpha", 2);
    const std::string source = b.sandbox.Work("tables") + "/rocks.leg";
    CLLLegend rocks = LegendWithLabels({"granite", "basalt"});
    rocks.m_Name = "rocks";
    rocks.WriteLEG(source);
    const std::string tab = b.sandbox.Work("tables") + "/all.tab";
    ASSERT_TRUE(ExportAllToTAB(tab, {source}).Ok());
    b.Open();
    b.dialogs.imported = CImportTABDialog::Result{tab, "rocks", "rocks_copy.leg"};
    b.flow.Import();

    CLLLegend expected;
    expected.m_DefaultThickness = 0.0f;
    expected.ImportTAB(tab, "rocks", 1, b.prompt);
    EXPECT_EQ(ReadTextFile(b.project + "rocks_copy.leg"), expected.LEGText());
    EXPECT_EQ(b.flow.ListItems()[static_cast<size_t>(b.flow.Selection())].text, "rocks_copy");
    EXPECT_TRUE(b.prompt.m_Messages.empty());
}

TEST(EditorFlowDelete, AsksRemovesAndShowsTheNextLegendOrNothing)
{
    const std::tuple<int, Answer, Calls> cases[] = {
        {1, Answer::Yes,
         {"list", "select -1", "clear", "editing off", "header a0|a0.leg|unsaved|Numeric continuous", "header |||"}},
        {2, Answer::Yes,
         {"list a1", "select 0", "writable", "editing on", "auto on", "fill a1 1", "header a1|a1.leg||Numeric continuous"}},
        {2, Answer::No, {}},
    };
    for (const auto& [legends, answer, calls] : cases) {
        CEditorBench b({.strativ3D = true});
        for (int i = 0; i < legends; ++i)
            CEditorBench::Write(b.system, "a" + std::to_string(i), 1);
        b.flow.SetTABPath(b.system + "all.tab");
        b.Open();
        b.Type("unsaved");
        b.view.Take();
        b.prompt.m_Answers = {answer};
        b.flow.Delete();

        ASSERT_EQ(b.MessageIds(), std::vector<int>{Str::DeleteLegend});
        EXPECT_EQ(b.prompt.m_Messages[0].text, "Would you like to delete " + b.system + "a0.leg?");
        EXPECT_EQ(b.view.Take(), calls);
        const bool deleted = answer == Answer::Yes;
        EXPECT_EQ(CFileIO::Stamp(b.system + "a0.leg").has_value(), !deleted);
        if (deleted) { // the hosts' table holds the legends that are left
            EXPECT_FALSE(b.flow.IsModified());
            EXPECT_EQ(b.flow.Legend().GetRowCount(), legends - 1);
            EXPECT_EQ(TableRows(b.system + "all.tab").size(), static_cast<size_t>(legends - 1));
        }
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

TEST(EditorFlowSettings, StoresTheFoldersAndListsTheNewLegendFolder)
{
    for (bool host : {false, true}) {
        CEditorBench b({.quarvex = host});
        const std::string other = b.sandbox.Work("other");
        CEditorBench::Write(other + "/", "moved", 2);
        b.Open();
        b.dialogs.settings = CSettingsDialog::Values{other, other + "/patterns/", "/x/a.pen", "t"};
        b.flow.Settings();

        EXPECT_EQ(b.dialogs.settingsHostRows, host);
        EXPECT_EQ(*GetCommonSetting("LUT_PATH") + "|" + *GetCommonSetting("BRUSH_PATH") + "|" +
                      GetCommonSetting("PEN_FILE").value_or("-") + "|" + b.flow.PatternFolder() + "|" +
                      b.flow.Legend().m_Name,
                  other + "/|" + other + "/patterns/|" + (host ? "/x/a.pen" : "-") + "|" + other + "/patterns/|moved");
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
