#include "app/core/tabexport.h"

#include "app/core/legendtables.h"
#include "legend/tabtable.h"
#include "support/tabrows.h"
#include "support/testfiles.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>
#include <filesystem>

#include <sys/stat.h>

namespace fs = std::filesystem;

TEST(ExportAllToTAB, EveryLegendGoesInNamedAfterItsFileAndSideFilesAreRemoved)
{
    CTempDir dir;
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
    ASSERT_TRUE(ExportAllToTAB(out, {dir.File("Gold grades.leg"), "", dir.File("soil.leg")}).Ok());
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
    ASSERT_TRUE(ExportAllToTAB(out, {dir.File("two.leg")}).Ok());
    // A listed legend deleted since is left out, not exported as a default legend.
    ASSERT_TRUE(ExportAllToTAB(out, {dir.File("gone.leg"), dir.File("one.leg")}).Ok());
    const auto rows = TableRows(out);
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0][TabField::Name], "one");
}

TEST(ExportAllToTAB, FailuresLeaveTheTableAsItWasAndSayWhyInTheResult)
{
    using Outcome = CExportAllResult::Outcome;
    CTempDir dir;
    ASSERT_EQ(LegendWithLabels({"a"}).WriteLEG(dir.File("good.leg")), 1);
    fs::create_directory(dir.File("folder.leg"));
    ASSERT_EQ(::mkfifo(dir.File("pipe.leg").c_str(), 0600), 0);
    const std::string kept = dir.File("kept.tab");
    ASSERT_TRUE(ExportAllToTAB(kept, {dir.File("good.leg")}).Ok());
    const std::string before = ReadTextFile(dir.File("kept.dat"));
    struct Case {
        std::string out, legend;
        Outcome outcome;
        std::string file, reason;
    };
    for (const Case& c : {
             Case{"", dir.File("good.leg"), Outcome::NoPath, "", ""},
             Case{dir.File("no/folder/all.tab"), dir.File("good.leg"), Outcome::TableNotWritten, "",
                  std::strerror(ENOENT)},
             // Without ".tab" no table can be made, and no folder of that name either.
             Case{dir.File("all"), dir.File("good.leg"), Outcome::TableNotWritten, "",
                  "the name does not end in \".tab\""},
             Case{kept, dir.File("folder.leg"), Outcome::LegendUnreadable, dir.File("folder.leg"),
                  std::strerror(EISDIR)},
             Case{kept, dir.File("pipe.leg"), Outcome::LegendUnreadable, dir.File("pipe.leg"),
                  "not a regular file"},
         }) {
        const CExportAllResult r = ExportAllToTAB(c.out, {dir.File("good.leg"), c.legend});
        EXPECT_EQ(r.outcome, c.outcome) << c.out << " " << c.legend;
        EXPECT_EQ(r.file, c.file);
        EXPECT_EQ(r.reason, c.reason);
    }
    EXPECT_EQ(ReadTextFile(dir.File("kept.dat")), before);
    EXPECT_FALSE(fs::exists(dir.File("all")));
    EXPECT_FALSE(fs::exists(dir.File("no")));
}

TEST(ExportAllToTAB, FoldersThatCannotBeEnteredAreGivenWithTheReason)
{
    CTempDir dir;
    WriteTextFile(dir.File("file"), "x");
    fs::create_directory(dir.File("sub"));
    const auto problems = FoldersNotEntered(
        {dir.Path(), dir.File("sub").substr(0, dir.Path().size()) + "\\sub", dir.File("none"),
         dir.File("file")});
    ASSERT_EQ(problems.size(), 2u);
    EXPECT_EQ(problems[0].folder, dir.File("none"));
    EXPECT_EQ(problems[0].reason, std::strerror(ENOENT));
    EXPECT_EQ(problems[1].folder, dir.File("file"));
    EXPECT_EQ(problems[1].reason, std::strerror(ENOTDIR));
}

TEST(ExportAllToTAB, SideFileNamesReplaceOnlyTheFileExtension)
{
    EXPECT_EQ(ReplaceExtension("/a/xs_colr.tab", ".id"), "/a/xs_colr.id");
    EXPECT_EQ(ReplaceExtension("/a.b/table", ".map"), "/a.b/table.map");
    EXPECT_EQ(ReplaceExtension("t.x.TAB", ".id"), "t.x.id");
}
