#include "app/core/tabexport.h"

#include "app/core/legendtables.h"
#include "legend/tabtable.h"
#include "support/tabrows.h"
#include "support/testfiles.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace fs = std::filesystem;

TEST(ExportAllToTAB, EveryLegendGoesInNamedAfterItsFileAndSideFilesAreRemoved)
{
    CTempDir dir;
    CRecordingPrompt prompt;
    CLLLegend grades = LegendWithLabels({"low", "high"});
    grades.m_Patterns = {0, 3};
    grades.m_BackTransparent = {1, 0};
    grades.m_LineThickness = {1.0f, 2.5f};
    grades.m_RowComments = {std::string(300, 'x'), "plain"};
    ASSERT_EQ(grades.WriteLEG(dir.File("Gold grades.leg")), 1);

    CLLLegend soil = LegendWithLabels({"clay"});
    soil.m_DataType = DataText;
    soil.m_StringValues = {"clay"};
    ASSERT_EQ(soil.WriteLEG(dir.File("soil.leg")), 1);

    const std::string out = dir.File("xs_colr.tab");
    ASSERT_TRUE(ExportAllToTAB(out, {dir.File("Gold grades.leg"), "", dir.File("soil.leg")}));
    EXPECT_TRUE(prompt.m_Messages.empty());
    EXPECT_TRUE(fs::exists(out));
    EXPECT_TRUE(fs::exists(dir.File("xs_colr.dat")));
    EXPECT_FALSE(fs::exists(dir.File("xs_colr.id")));
    EXPECT_FALSE(fs::exists(dir.File("xs_colr.map")));

    const auto rows = TableRows(out);
    ASSERT_EQ(rows.size(), 3u);
    // Name, From, To, Value, Bpat, Bfcol, Bbcol, Psty, Ppat, Pcol, Comments. Pattern
    // 0 is left empty, which the table holds as 0.
    EXPECT_EQ(rows[0], (std::vector<std::string>{"Gold grades", "0", "1", "", "0", "6307872", "-1",
                                                 "1", "1", "0", std::string(254, 'x')}));
    EXPECT_EQ(rows[1], (std::vector<std::string>{"Gold grades", "1", "2", "", "3", "6307872",
                                                 "16777215", "2", "1", "0", "plain"}));
    EXPECT_EQ(rows[2], (std::vector<std::string>{"soil", "0", "0", "clay", "2", "6307872",
                                                 "16777215", "1", "1", "0", ""}));
}

TEST(ExportAllToTAB, ReplacesThePreviousTable)
{
    CTempDir dir;
    ASSERT_EQ(LegendWithLabels({"a", "b"}).WriteLEG(dir.File("two.leg")), 1);
    ASSERT_EQ(LegendWithLabels({"a"}).WriteLEG(dir.File("one.leg")), 1);
    const std::string out = dir.File("all.tab");
    ASSERT_TRUE(ExportAllToTAB(out, {dir.File("two.leg")}));
    ASSERT_TRUE(ExportAllToTAB(out, {dir.File("one.leg")}));
    const auto rows = TableRows(out);
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0][TabField::Name], "one");
}

TEST(ExportAllToTAB, NoPathOrAnUncreatableTableDoesNothingAndSaysNothing)
{
    CTempDir dir;
    CRecordingPrompt prompt;
    EXPECT_FALSE(ExportAllToTAB("", {dir.File("x.leg")}));
    EXPECT_FALSE(ExportAllToTAB(dir.File("no/folder/all.tab"), {dir.File("x.leg")}));
    // Without ".tab" no table can be made, and no folder of that name either.
    EXPECT_FALSE(ExportAllToTAB(dir.File("all"), {dir.File("x.leg")}));
    EXPECT_TRUE(fs::is_empty(dir.Path()));
    EXPECT_TRUE(prompt.m_Messages.empty());
}

TEST(ExportAllToTAB, SideFileNamesReplaceOnlyTheFileExtension)
{
    EXPECT_EQ(ReplaceExtension("/a/xs_colr.tab", ".id"), "/a/xs_colr.id");
    EXPECT_EQ(ReplaceExtension("/a.b/table", ".map"), "/a.b/table.map");
    EXPECT_EQ(ReplaceExtension("t.x.TAB", ".id"), "t.x.id");
}
