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

namespace {

// The table's rows, fields '|'-separated, one row a line.
std::string Rows(const std::string& tab)
{
    std::string out;
    for (const auto& row : TableRows(tab)) {
        for (const std::string& field : row)
            out += field + "|";
        out += "\n";
    }
    return out;
}

} // namespace

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
    EXPECT_EQ(std::to_string(fs::exists(out)) +
                  std::to_string(fs::exists(dir.File("xs_colr.dat"))) +
                  std::to_string(fs::exists(dir.File("xs_colr.id"))) +
                  std::to_string(fs::exists(dir.File("xs_colr.map"))),
              "1100");
    // Name, From, To, Value, Bpat, Bfcol, Bbcol, Psty, Ppat, Pcol, Comments. Pattern 0 is left
    // empty, which the table holds as 0.
    EXPECT_EQ(Rows(out), "Gold grades|0|1||0|6307872|-1|1|1|0|" + std::string(254, 'x') +
                             "|\nGold grades|1|2||3|6307872|16777215|2|1|0|plain|\n"
                             "soil|0|0|clay|2|6307872|16777215|1|1|0||\n");
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
    EXPECT_EQ(Rows(out), "one|0|1||2|6307872|16777215|1|1|0||\n");
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
    // The table, the second legend; the outcome, the file and the reason.
    const std::tuple<std::string, std::string, Outcome, std::string, std::string> cases[] = {
        {"", "good.leg", Outcome::NoPath, "", ""},
        {dir.File("no/folder/all.tab"), "good.leg", Outcome::TableNotWritten, "",
         std::strerror(ENOENT)},
        // Without ".tab" no table can be made, and no folder of that name either.
        {dir.File("all"), "good.leg", Outcome::TableNotWritten, "",
         "the name does not end in \".tab\""},
        {kept, "folder.leg", Outcome::LegendUnreadable, dir.File("folder.leg"),
         std::strerror(EISDIR)},
        {kept, "pipe.leg", Outcome::LegendUnreadable, dir.File("pipe.leg"), "not a regular file"},
    };
    for (const auto& [out, legend, outcome, file, reason] : cases) {
        const CExportAllResult r = ExportAllToTAB(out, {dir.File("good.leg"), dir.File(legend)});
        EXPECT_EQ(std::make_tuple(r.outcome, r.file, r.reason),
                  std::make_tuple(outcome, file, reason))
            << out << " " << legend;
    }
    EXPECT_EQ(ReadTextFile(dir.File("kept.dat")), before);
    EXPECT_FALSE(fs::exists(dir.File("all")) || fs::exists(dir.File("no")));
}

TEST(ExportAllToTAB, FoldersThatCannotBeEnteredAndSideFileNames)
{
    CTempDir dir;
    WriteTextFile(dir.File("file"), "x");
    fs::create_directory(dir.File("sub"));
    std::string problems;
    for (const auto& p :
         FoldersNotEntered({dir.Path(), dir.Path() + "\\sub", dir.File("none"), dir.File("file")}))
        problems += p.folder.substr(dir.Path().size()) + ": " + p.reason + ";";
    EXPECT_EQ(problems, "/none: " + std::string(std::strerror(ENOENT)) +
                            ";/file: " + std::strerror(ENOTDIR) + ";");
    // Side file names replace only the file's extension.
    EXPECT_EQ(ReplaceExtension("/a/xs_colr.tab", ".id") + " " +
                  ReplaceExtension("/a.b/table", ".map") + " " + ReplaceExtension("t.x.TAB", ".id"),
              "/a/xs_colr.id /a.b/table.map t.x.id");
}
