#include "legend/cllegend.h"
#include "support/testfiles.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <fstream>

#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

class LegFile : public ::testing::Test {
protected:
    CLLLegend Read(const std::string& text, const std::string& name = "t.leg")
    {
        const std::string path = m_Dir.File(name);
        WriteTextFile(path, text);
        CLLLegend l;
        l.ReadLEG(path);
        return l;
    }
    std::string Write(const CLLLegend& l, const std::string& name = "out.leg")
    {
        const std::string path = m_Dir.File(name);
        EXPECT_EQ(l.WriteLEG(path), 1);
        return ReadTextFile(path);
    }
    static std::string Table(const std::string& type, const std::string& rows)
    {
        return "LegendTable Begin\n\tVersion\t= \"1.0\"\n\tName\t\t= \"n\"\n\tDescription = \"d\"\n"
               "\tDataType\t= " + type + "\n\tLEG\t\t= {\n" + rows + "\t}\nLegendTable End\n";
    }

    CTempDir m_Dir;
};

} // namespace

TEST_F(LegFile, WriterProducesTheExactNumericLayout)
{
    CLLLegend l;
    l.Clear();
    l.m_Name = "Gold grades";
    l.m_Description = "ppm";
    CLLRow r;
    r.from = 0;
    r.to = 1234567;
    r.label = "low";
    r.fillColour = CGColor(255u);
    r.fillTransparent = false;
    r.backColour = CGColor(0xFFFFFFu);
    r.backTransparent = true;
    r.pattern = 3;
    r.lineColour = CGColor(0x00FF00u);
    r.lineStyle = 2;
    r.thickness = 0.1f;
    r.comment = "note";
    l.AddRow(r);
    r.comment.clear();
    r.from = 0.5;
    r.to = 2;
    r.fillTransparent = true;
    l.AddRow(r);
    EXPECT_EQ(Write(l), "LegendTable Begin\n"
                        "\tVersion\t= \"1.0\"\n"
                        "\tName\t\t= \"Gold grades\"\n"
                        "\tDescription = \"ppm\"\n"
                        "\tDataType\t= NUMERICCONTINUOUS\n"
                        "\tLEG\t\t= {\n"
                        "\t\t0\t1.23457e+06\t\"low\"\t\t255\t4278190080\t3\t65280\t2\t0.1000000015 # note\n"
                        "\t\t0.5\t2\t\"low\"\t\t4278190080\t4278190080\t3\t65280\t2\t0.1000000015\n"
                        "\t}\n"
                        "LegendTable End\n");
}

TEST_F(LegFile, WriterProducesTheExactTextLayoutWithComments)
{
    CLLLegend l;
    l.Clear();
    l.m_DataType = DataText;
    l.m_HeaderComments = {"# first", "#"};
    CLLRow r;
    r.text = "Granite";
    r.label = "G";
    r.fillColour = CGColor(1u);
    r.backColour = CGColor(2u);
    r.pattern = 0;
    r.lineColour = CGColor(3u);
    r.lineStyle = -1;
    r.thickness = 2.0f;
    l.AddRow(r);
    EXPECT_EQ(Write(l), "# first\n#\n\n"
                        "LegendTable Begin\n"
                        "\tVersion\t= \"1.0\"\n"
                        "\tName\t\t= \"\"\n"
                        "\tDescription = \"\"\n"
                        "\tDataType\t= TEXT\n"
                        "\tLEG\t\t= {\n"
                        "\t\t\"Granite\"\t\"G\"\t1\t2\t0\t3\t-1\t2\n"
                        "\t}\n"
                        "LegendTable End\n");
}

TEST_F(LegFile, AnyOtherDataTypeIsWrittenAsDiscrete)
{
    CLLLegend l;
    l.Clear();
    l.m_DataType = 7;
    EXPECT_NE(Write(l).find("\tDataType\t= NUMERICDISCRETE\n"), std::string::npos);
}

TEST_F(LegFile, ReadsHeaderAndRows)
{
    const CLLLegend l = Read(Table("NUMERICDISCRETE",
        "\t\t1\t2\t\"a b\"\t\t0\t16777215\t0 # note\n"
        "\t\t2\t3.5\t\"c\"\t\t255\t4278190080\t7\t65280\t4\t2.5\n"));
    EXPECT_EQ(l.m_Name, "n");
    EXPECT_EQ(l.m_Description, "d");
    EXPECT_EQ(l.m_DataType, DataNumericDiscrete);
    EXPECT_EQ(l.m_FileTitle, "t");
    EXPECT_EQ(l.m_FilePath, m_Dir.File("t.leg"));
    ASSERT_EQ(l.GetRowCount(), 2);
    EXPECT_TRUE(l.RowListsAgree());
    const CLLRow first{.label = "a b", .from = 1.0, .to = 2.0, .backColour = CGColor(0xFFFFFFu),
                       .comment = "note"};
    CLLRow r;
    l.GetRow(0, r);
    EXPECT_EQ(r, first);
    const CLLRow second{.label = "c", .from = 2.0, .to = 3.5, .fillColour = CGColor(255u),
                        .backColour = CGColor(0xFFFFFFu), .backTransparent = true, .pattern = 7,
                        .lineColour = CGColor(65280u), .lineStyle = 4, .thickness = 2.5f};
    l.GetRow(1, r);
    EXPECT_EQ(r, second);
    for (const CLLColourTable* t : {&l.m_FillColours, &l.m_BackColours, &l.m_LineColours}) {
        EXPECT_EQ(t->m_Kind, CLLColourTable::KindLegend);
        EXPECT_EQ(t->m_FileName, m_Dir.File("t.leg"));
        EXPECT_EQ(t->m_Levels, 2);
        EXPECT_EQ(t->m_Count, 2);
    }
}

TEST_F(LegFile, CrLfAndLoneCrLinesReadLikeLfLines)
{
    const std::string text = Table("TEXT", "\t\t\"A\"\t\"x\"\t1\t2\t3\t4\t5\t6 # end\n");
    const CLLLegend a = Read(text, "lf.leg");
    for (const std::string lineEnd : {"\r\n", "\r"}) {
        SCOPED_TRACE(testing::PrintToString(lineEnd));
        std::string other;
        for (char c : text)
            other += c == '\n' ? lineEnd : std::string(1, c);
        CLLLegend fromText;
        fromText.ReadLEGText(other, m_Dir.File("b.leg"));
        for (const CLLLegend& b : {Read(other, "b.leg"), fromText}) {
            ASSERT_EQ(b.GetRowCount(), 1);
            EXPECT_EQ(b.m_StringValues[0], "A");
            EXPECT_EQ(b.m_RowComments[0], "end");
            EXPECT_FLOAT_EQ(b.m_LineThickness[0], 6.0f);
            EXPECT_EQ(Write(a, "a.leg"), Write(b, "b.leg"));
        }
    }
}

TEST_F(LegFile, ShortRowsTakeMissingColumnsFromEarlierRows)
{
    const CLLLegend l = Read(Table("NUMERICCONTINUOUS",
        "\t\t0\t1\t\"\"\t\t10\t20\t5\t255\t3\t2\n"
        "\t\t1\t2\t\"\"\t\t11\t21\t6\n"
        "\t\t2\t3\t\"\"\t\t12\n"));
    ASSERT_EQ(l.GetRowCount(), 2); // the five-column row is dropped
    EXPECT_EQ(l.m_LineColours.m_Colours[1].GetPacked(), 255u);
    EXPECT_EQ(l.m_LineStyles[1], 3);
    EXPECT_FLOAT_EQ(l.m_LineThickness[1], 2.0f);
    EXPECT_EQ(l.m_FillColours.m_Colours[1].GetPacked(), 11u);
    EXPECT_EQ(l.m_Patterns[1], 6);
}

TEST_F(LegFile, TrailingDelimitersFillOneMoreColumn)
{
    // Two or more delimiters at the end of a row line leave one empty token,
    // which fills the next column as 0; a single one does not.
    struct Case {
        const char* type;
        const char* rows;
        int count;
        uint32_t lineColour; // of the last row
        int32_t pattern;     // of the last row
    } const cases[] = {
        {"NUMERICCONTINUOUS", "1\t2\t\"a\"\t0\t16777215\t\t\n", 1, 0, 0},
        {"NUMERICCONTINUOUS", "1\t2\t\"a\"\t0\t16777215\t\n", 0, 0, 0},
        {"NUMERICCONTINUOUS", "0 1 \"\" 0 0 0 255 3 2\n1 2 \"\" 0 0 0  \n", 2, 0, 0},
        {"NUMERICCONTINUOUS", "0 1 \"\" 0 0 7 255 3 2\n1 2 \"\" 0 0 \t \t\n", 2, 255, 0},
        {"NUMERICCONTINUOUS", "0 1 \"\" 0 0 7 255 3 2\n1 2 \"\" 0 0 \n", 1, 255, 7},
        {"TEXT", "\"A\"\t\"\"\t0\t16777215\t\t\t\n", 1, 0, 0},
    };
    for (const Case& c : cases) {
        const CLLLegend l = Read(Table(c.type, c.rows));
        ASSERT_EQ(l.GetRowCount(), c.count) << c.rows;
        if (c.count == 0)
            continue;
        EXPECT_EQ(l.m_LineColours.m_Colours.back().GetPacked(), c.lineColour) << c.rows;
        EXPECT_EQ(l.m_Patterns.back(), c.pattern) << c.rows;
    }
}

TEST_F(LegFile, TextRowsNeedFiveColumns)
{
    const CLLLegend l = Read(Table("text",
        "\t\t\"A\"\t\"\"\t0\t16777215\t0\n"
        "\t\t\"B\"\t\"\"\t0\t16777215\n"));
    EXPECT_EQ(l.m_DataType, DataText);
    ASSERT_EQ(l.GetRowCount(), 1);
    EXPECT_EQ(l.m_StringValues[0], "A");
    EXPECT_TRUE(l.m_From.empty());
}

TEST_F(LegFile, SkeletonRowsReadWithBlackLinesAndUnitThickness)
{
    const CLLLegend l = Read(Table("NUMERICCONTINUOUS", "\t\t0\t10\t\"\"\t0\t16777215\t0\n"));
    ASSERT_EQ(l.GetRowCount(), 1);
    EXPECT_EQ(l.m_LineColours.m_Colours[0].GetPacked(), 0u);
    EXPECT_EQ(l.m_LineStyles[0], 0);
    EXPECT_FLOAT_EQ(l.m_LineThickness[0], 1.0f);
}

TEST_F(LegFile, ThicknessBelowOneTakesTheDefault)
{
    CLLLegend l;
    l.m_DefaultThickness = 1.0f;
    const std::string path = m_Dir.File("th.leg");
    WriteTextFile(path, Table("NUMERICCONTINUOUS",
        "\t\t0\t1\t\"\"\t\t0\t0\t0\t0\t0\t0.5\n\t\t0\t1\t\"\"\t\t0\t0\t0\t0\t0\t2.5\n"));
    l.ReadLEG(path);
    EXPECT_FLOAT_EQ(l.m_LineThickness[0], 1.0f);
    EXPECT_FLOAT_EQ(l.m_LineThickness[1], 2.5f);
    l.m_DefaultThickness = 3.0f;
    l.ReadLEG(path);
    EXPECT_FLOAT_EQ(l.m_LineThickness[0], 3.0f);
}

TEST_F(LegFile, LenientHeaderAndKeywordRules)
{
    const CLLLegend l = Read("Name = my legend\n"
                             "LegendTable BEGIN\n"
                             "NAME = my legend\n"
                             "datatype = numericdiscrete\n"
                             "Version = 2\n"
                             "leg = {\n"
                             "1,5 \"x\" 1 2 3\n"
                             "}\n");
    EXPECT_EQ(l.m_Name, "my");
    EXPECT_EQ(l.m_DataType, DataNumericDiscrete);
    ASSERT_EQ(l.GetRowCount(), 1);
    // "1,5" is two columns, not one number.
    EXPECT_DOUBLE_EQ(l.m_From[0], 1.0);
    EXPECT_DOUBLE_EQ(l.m_To[0], 5.0);
    EXPECT_EQ(l.m_Labels[0], "x");
}

TEST_F(LegFile, RowsNeedTheLegLineButNotTheTableLine)
{
    EXPECT_EQ(Read("LEG = {\n0 1 \"\" 0 0 0\n}\n").GetRowCount(), 1);
    EXPECT_EQ(Read("LegendTable Begin\n0 1 \"\" 0 0 0\nLegendTable End\n").GetRowCount(), 0);
}

TEST_F(LegFile, UnknownDataTypeIsContinuous)
{
    EXPECT_EQ(Read("LegendTable Begin\nDataType = RASTER\n").m_DataType, DataNumericContinuous);
}

TEST_F(LegFile, CommentLinesMoveToTheTopAndStayThere)
{
    const std::string path = m_Dir.File("c.leg");
    WriteTextFile(path, Table("NUMERICCONTINUOUS",
        "\t\t0\t1\t\"\"\t\t0\t0\t0\n"
        "# between rows\n"
        "#\n"
        "\t\t1\t2\t\"\"\t\t0\t0\t0\n"));
    CLLLegend l;
    l.ReadLEG(path);
    ASSERT_EQ(l.m_HeaderComments.size(), 2u);
    EXPECT_EQ(l.m_HeaderComments[0], "# between rows");
    EXPECT_EQ(l.m_HeaderComments[1], "# ");
    EXPECT_EQ(l.GetRowCount(), 2);
    const std::string first = Write(l, "c1.leg");
    EXPECT_EQ(first.substr(0, 20), "# between rows\n# \n\nL");
    CLLLegend again;
    again.ReadLEG(m_Dir.File("c1.leg"));
    EXPECT_EQ(Write(again, "c2.leg"), first);
}

TEST_F(LegFile, RowCommentSurvivesRoundTrip)
{
    const CLLLegend l = Read(Table("NUMERICCONTINUOUS", "1\t2\t\"a b\"\t0\t16777215\t0 # note\n"));
    const std::string written = Write(l);
    EXPECT_NE(written.find("\t\t1\t2\t\"a b\"\t\t0\t16777215\t0\t0\t0\t1 # note\n"), std::string::npos);
    const CLLLegend back = Read(written, "back.leg");
    EXPECT_EQ(back.m_RowComments[0], "note");
    EXPECT_EQ(back.m_Labels[0], "a b");
}

TEST_F(LegFile, NumbersLoseWhatTheShortFormatCannotHold)
{
    const CLLLegend l = Read(Table("NUMERICCONTINUOUS", "\t\t1234567\t2\t\"\"\t\t0\t0\t0\n"));
    const CLLLegend back = Read(Write(l), "back.leg");
    EXPECT_DOUBLE_EQ(back.m_From[0], 1234570.0);
}

TEST_F(LegFile, LabelWithAQuoteIsCutOnTheWayBack)
{
    CLLLegend l;
    l.Clear();
    CLLRow r;
    r.label = "say \"hi\"";
    l.AddRow(r);
    const std::string written = Write(l);
    EXPECT_NE(written.find("\"say \"hi\"\""), std::string::npos);
    EXPECT_EQ(Read(written, "back.leg").m_Labels[0], "say ");
}

TEST_F(LegFile, TransparentColoursSurviveRoundTrip)
{
    CLLLegend l;
    l.Clear();
    CLLRow r;
    r.fillTransparent = true;
    r.fillColour = CGColor(0xFFFFFFu);
    r.lineColour = CGColor(0x123456u);
    l.AddRow(r);
    const CLLLegend back = Read(Write(l), "back.leg");
    EXPECT_EQ(back.m_FillTransparent[0], 1);
    EXPECT_EQ(back.m_BackTransparent[0], 0);
    EXPECT_EQ(back.m_LineColours.m_Colours[0].GetPacked(), 0x123456u);
}

TEST_F(LegFile, LineColourAboveTheColourRangeHasNoTransparency)
{
    const CLLLegend l = Read(Table("NUMERICCONTINUOUS", "\t\t0\t1\t\"\"\t\t0\t0\t0\t4278190335\t0\t1\n"));
    ASSERT_EQ(l.GetRowCount(), 1);
    // The number clamps to 0x7FFFFFFF; only its colour bits are kept.
    EXPECT_EQ(l.m_LineColours.m_Colours[0].GetPacked(), 0xFFFFFFu);
    EXPECT_EQ(l.m_FillTransparent[0], 0);
}

TEST_F(LegFile, NegativeColoursAreTransparent)
{
    const CLLLegend l = Read(Table("NUMERICCONTINUOUS", "\t\t0\t1\t\"\"\t\t-1\t-5\t0\n"));
    EXPECT_EQ(l.m_FillTransparent[0], 1);
    EXPECT_EQ(l.m_BackTransparent[0], 1);
}

TEST_F(LegFile, EveryKindOfRowRoundTripsExactly)
{
    // Read, write, read, write: the two written files are identical and the
    // second read equals the first.
    const std::string numeric = Table("NUMERICCONTINUOUS",
        "\t\t-5\t0.25\t\"neg\"\t\t0\t4278190080\t2\t255\t1\t1.5 # c1\n"
        "\t\t0.25\t1e+20\t\"\"\t\t16777215\t0\t0\t0\t0\t1\n");
    const std::string text = Table("TEXT",
        "\t\t\"a, b = c\"\t\"lab|el\"\t4278190080\t4278190080\t0\t65280\t3\t4.25 # x y  z\n"
        "\t\t\"\"\t\"\"\t1\t2\t999\t3\t4\t1\n");
    for (const std::string& source : {numeric, text}) {
        const CLLLegend first = Read(source, "src.leg");
        const std::string once = Write(first, "once.leg");
        const CLLLegend second = Read(once, "once-read.leg");
        EXPECT_EQ(Write(second, "twice.leg"), once);
        ASSERT_EQ(second.GetRowCount(), 2);
        for (int i = 0; i < 2; ++i) {
            CLLRow a, b;
            first.GetRow(i, a);
            second.GetRow(i, b);
            EXPECT_EQ(a, b);
        }
    }
    const CLLLegend t = Read(text, "t2.leg");
    EXPECT_EQ(t.m_StringValues[0], "a, b = c");
    EXPECT_EQ(t.m_Labels[0], "lab|el");
    EXPECT_EQ(t.m_RowComments[0], "x y  z");
}

TEST_F(LegFile, EmptyAndMissingFiles)
{
    const CLLLegend empty = Read("", "empty.leg");
    EXPECT_EQ(empty.GetRowCount(), 0);
    EXPECT_EQ(empty.m_DataType, DataNumericContinuous);
    EXPECT_EQ(empty.m_FileTitle, "empty");
    EXPECT_EQ(empty.m_FilePath, m_Dir.File("empty.leg"));

    CLLLegend missing;
    missing.ReadLEG(m_Dir.File("none.leg"));
    EXPECT_EQ(missing.GetRowCount(), 32); // the default legend
    EXPECT_EQ(missing.m_Patterns.size(), 32u);
    EXPECT_EQ(missing.m_FileTitle, "none");
    EXPECT_EQ(missing.m_FillColours.m_Kind, CLLColourTable::KindLegend);
}

TEST_F(LegFile, EightBitTextIsKeptAsBytes)
{
    const std::string label = "Schotter \xFC"; // Windows-1252 u-umlaut
    const CLLLegend l = Read(Table("TEXT", "\t\t\"\xE9t\xE9\"\t\"" + label + "\"\t0\t0\t0\n"));
    EXPECT_EQ(l.m_Labels[0], label);
    EXPECT_NE(Write(l).find(label), std::string::npos);
}

TEST_F(LegFile, FailedSaveLeavesTheOldFile)
{
    const std::string path = m_Dir.File("keep.leg");
    const std::string old = Table("TEXT", "\t\t\"A\"\t\"\"\t0\t0\t0\n");
    WriteTextFile(path, old);
    CLLLegend l;
    l.SetDefault();
    EXPECT_EQ(l.WriteLEG(m_Dir.File("missing/folder/x.leg")), 0);
    for (int i = 0; i < 20; ++i)
        l.AddRow(CLLRow{});
    {
        CFileSizeLimit limit(512); // the write breaks off part-way
        EXPECT_EQ(l.WriteLEG(path), 0);
    }
    if (geteuid() != 0) {
        chmod(path.c_str(), 0444);
        EXPECT_EQ(l.WriteLEG(path), 0);
    }
    EXPECT_EQ(ReadTextFile(path), old);
}

TEST(LegFileResult, AMissingFileIsToldFromOneThatCannotBeRead)
{
    CTempDir dir;
    WriteTextFile(dir.File("ok.leg"), "LegendTable Begin\nLegendTable End\n");
    // Sparse: no disk space, but far above what a legend may be.
    WriteTextFile(dir.File("huge.leg"), "");
    std::filesystem::resize_file(dir.File("huge.leg"), uintmax_t{100} << 30);
    const struct {
        std::string path;
        bool ok, missing;
        int rows;
    } cases[] = {
        {dir.File("ok.leg"), true, false, 0},
        {dir.File("none.leg"), false, true, 32}, // the editor's "no such legend"
        {"/proc/self/mem", false, false, 32},    // exists, every read fails
        {dir.Path(), false, false, 32},
        {dir.File("huge.leg"), false, false, 32},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.path);
        CLLLegend legend;
        const CFileResult r = legend.ReadLEG(c.path);
        EXPECT_EQ(r.Ok(), c.ok);
        EXPECT_EQ(r.Missing(), c.missing);
        EXPECT_EQ(legend.GetRowCount(), c.rows);
        EXPECT_EQ(legend.m_FilePath, c.path);
    }
}

// The in-memory reader and formatter, used where no file is wanted, must agree
// with the file reader and the save byte for byte, line ends included.
TEST_F(LegFile, TextReaderAndFormatterAgreeWithTheFiles)
{
    const std::string rows = "\t\t0\t1\t\"a\"\t\t255\t0\t3\t0\t2\t1.5 # c\r\n\t\t1\t2\t\"b\"\t\t1\t2\t3\t4\t5\t2\t\t\n";
    for (const std::string& text : {Table("NUMERICDISCRETE", rows), std::string("# x\r\nLEG = {\n1 2\n"),
                                    std::string("LEG = {\r\n\"a\" \"b\" 1 2 3 4 5 6\r")}) {
        const CLLLegend fromFile = Read(text);
        CLLLegend fromText;
        fromText.ReadLEGText(text, m_Dir.File("t.leg"));
        EXPECT_EQ(fromText.LEGText(), Write(fromFile)) << text;
        EXPECT_EQ(fromText.m_FilePath, fromFile.m_FilePath);
    }
}

// Reads the legend with address space for what the process holds now and
// 32 MiB more; 0 when that was a read error for want of memory.
int ReadWithLittleMemory(const std::string& path)
{
    long pages = 0;
    std::ifstream("/proc/self/statm") >> pages;
    const rlim_t limit = static_cast<rlim_t>(pages) * ::sysconf(_SC_PAGESIZE) + (32 << 20);
    const rlimit rl{limit, limit};
    static_cast<void>(::setrlimit(RLIMIT_AS, &rl));
    CLLLegend legend;
    const CFileResult r = legend.ReadLEG(path);
    return r.error == ENOMEM && legend.GetRowCount() == 32 ? 0 : 1;
}

// Running out of memory part-way is a read error like any other, not a crash.
TEST(LegFileResult, RunningOutOfMemoryIsAReadError)
{
#if defined(__SANITIZE_ADDRESS__)
    GTEST_SKIP() << "the sanitizer's shadow memory needs more address space than the limit leaves";
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
    GTEST_SKIP() << "the sanitizer's shadow memory needs more address space than the limit leaves";
#endif
#endif
    CTempDir dir;
    const std::string path = dir.File("big.leg");
    WriteTextFile(path, "");
    std::filesystem::resize_file(path, 64 << 20); // sparse; sizes the rows for a million
    EXPECT_EXIT(std::_Exit(ReadWithLittleMemory(path)), testing::ExitedWithCode(0), "");
}

// Found by fuzzing: a comment ending in a carriage return lost it at each save,
// so the file never settled. Whatever is read, one save must settle the text.
TEST_F(LegFile, OneSaveSettlesTheText)
{
    for (const std::string& text : {std::string("# say \r\r\r\rICD\n\nLEG = {\n1 2 \"a\" 0 1 0\n"),
                                   std::string("# c\r\r\n"), std::string("LEG = {\n1 2 \"x\ry\" 0 1 0 # n\r\r\n"),
                                   std::string("#\0\r\n", 4)}) {
        CLLLegend once, twice;
        once.ReadLEGText(text, "t.leg");
        const std::string saved = once.LEGText();
        twice.ReadLEGText(saved, "t.leg");
        EXPECT_EQ(twice.LEGText(), saved) << text;
    }
}
