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
    struct Case {
        int rows;
        std::vector<uint32_t> fills;
        std::vector<int> messages;
    } cases[] = {
        // Refused once by the minimum-rows rule, written by the second save.
        {0, {}, {Str::NumericNeedsTwoRows}},
        {1, {blue}, {Str::NumericNeedsTwoRows}},
        {3, {blue, green, red}, {}},
    };
    for (const Case& c : cases) {
        CEditorBench b({.quarvex = true, .gisHostProcessId = 42});
        CEditorBench::Write(b.system, "alpha", 2);
        b.Open();
        b.prompt.m_Messages.clear();
        b.dialogs.newLegend = CNewLegendDialog::Result{b.system, "fresh"};
        b.dialogs.writeNew = [&](const std::string& path) {
            LegendWithLabels(std::vector<std::string>(static_cast<size_t>(c.rows), "x"))
                .WriteLEG(path);
        };
        b.flow.New();

        EXPECT_EQ(b.dialogs.newRequest.legendFolder, b.system);
        EXPECT_EQ(b.dialogs.newRequest.projectFolder, "");
        EXPECT_EQ(b.dialogs.newRequest.flags.gisHostProcessId, 42);
        EXPECT_EQ(b.MessageIds(), c.messages) << c.rows;
        EXPECT_EQ(b.flow.Selection(), 1);
        EXPECT_FALSE(b.flow.IsModified());
        CLLLegend saved;
        ASSERT_TRUE(saved.ReadLEG(b.system + "fresh.leg").Ok());
        std::vector<uint32_t> fills;
        for (const CGColor& colour : saved.m_FillColours.m_Colours)
            fills.push_back(colour.GetPacked());
        EXPECT_EQ(fills, c.fills);
        EXPECT_EQ(saved.m_Patterns, std::vector<int32_t>(static_cast<size_t>(c.rows), 2));
        EXPECT_EQ(saved.m_LineStyles, std::vector<int32_t>(static_cast<size_t>(c.rows), 2));
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
        EXPECT_EQ(b.MessageIds(),
                  writes ? std::vector<int>{Str::CouldNotLoad} : std::vector<int>{});
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
    expected.ImportTAB(tab, "rocks", 1);
    EXPECT_EQ(ReadTextFile(b.project + "rocks_copy.leg"), expected.LEGText());
    EXPECT_EQ(b.flow.ListItems()[static_cast<size_t>(b.flow.Selection())].text, "rocks_copy");
    EXPECT_TRUE(b.prompt.m_Messages.empty());
}

TEST(EditorFlowDelete, AsksRemovesAndShowsTheNextLegendOrNothing)
{
    struct Case {
        int legends;
        Answer answer;
        Calls calls;
    } cases[] = {
        {1,
         Answer::Yes,
         {"list", "select -1", "clear", "editing off",
          "header a0|a0.leg|unsaved|Numeric continuous", "header |||"}},
        {2,
         Answer::Yes,
         {"list a1", "select 0", "writable", "editing on", "auto on", "fill a1 1",
          "header a1|a1.leg||Numeric continuous"}},
        {2, Answer::No, {}},
    };
    for (const Case& c : cases) {
        CEditorBench b({.strativ3D = true});
        for (int i = 0; i < c.legends; ++i)
            CEditorBench::Write(b.system, "a" + std::to_string(i), 1);
        b.flow.SetTABPath(b.system + "all.tab");
        b.Open();
        b.Type("unsaved");
        b.view.Take();
        b.prompt.m_Answers = {c.answer};
        b.flow.Delete();

        ASSERT_EQ(b.MessageIds(), std::vector<int>{Str::DeleteLegend});
        EXPECT_EQ(b.prompt.m_Messages[0].text, "Would you like to delete " + b.system + "a0.leg?");
        EXPECT_EQ(b.view.Take(), c.calls);
        const bool deleted = c.answer == Answer::Yes;
        EXPECT_EQ(CFileIO::Stamp(b.system + "a0.leg").has_value(), !deleted);
        if (deleted) {
            EXPECT_FALSE(b.flow.IsModified());
            EXPECT_EQ(b.flow.Legend().GetRowCount(), c.legends - 1);
            // The hosts' table holds the legends that are left.
            const auto rows = TableRows(b.system + "all.tab");
            EXPECT_EQ(rows.size(), static_cast<size_t>(c.legends - 1));
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
        EXPECT_EQ(GetCommonSetting("LUT_PATH"), other + "/");
        EXPECT_EQ(GetCommonSetting("BRUSH_PATH"), other + "/patterns/");
        EXPECT_EQ(GetCommonSetting("PEN_FILE"),
                  host ? std::optional<std::string>("/x/a.pen") : std::nullopt);
        EXPECT_EQ(b.flow.PatternFolder(), other + "/patterns/");
        EXPECT_EQ(b.flow.Legend().m_Name, "moved");
    }
}

TEST(EditorFlowNotifyHost, TellsTheRunningHostOrSaysItCouldNotConnect)
{
    struct Case {
        CEditorHostFlags flags;
        bool running, connects;
        std::vector<std::string> asked;
        std::vector<int> messages;
        int reloads;
    } cases[] = {
        {{.notify3D = true}, true, true, {"Vyrn"}, {}, 1},
        {{.notify3D = true}, false, true, {"Vyrn"}, {Str::NoConnectQuarvexVyrn}, 0},
        {{.notify3D = true, .quarvex3D = true},
         false,
         true,
         {"Quarvex3D"},
         {Str::NoConnectQuarvex3D},
         0},
        {{.notify3D = true, .strativ3D = true},
         true,
         false,
         {"Strativ3D"},
         {Str::NoConnectStrativ3D},
         1},
        {{.notify3D = true, .gisHost = true}, true, true, {}, {}, 0},
        {{}, true, true, {}, {}, 0},
    };
    for (const Case& c : cases) {
        CEditorBench b(c.flags);
        b.dialogs.running = c.running;
        b.dialogs.connects = c.connects;
        b.flow.NotifyHost();
        EXPECT_EQ(b.dialogs.asked, c.asked);
        EXPECT_EQ(b.MessageIds(), c.messages);
        EXPECT_EQ(b.dialogs.reloads, c.reloads);
    }
}
