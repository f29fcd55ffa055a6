#include "legend/cllegend.h"
#include "platform/cfileio.h"
#include "support/testfiles.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace {

class LutFile : public ::testing::Test {
protected:
    std::string Put(const std::string& text, const std::string& name = "t.lut")
    {
        const std::string path = m_Dir.File(name);
        WriteTextFile(path, text);
        return path;
    }
    CLLColourTable Table(const std::string& text)
    {
        CLLColourTable t;
        t.ReadLUT(Put(text));
        return t;
    }
    CLLLegend Legend(const std::string& text, CNumberSeparators seps = {})
    {
        CLLLegend l;
        l.ReadColourTable(Put(text), seps);
        return l;
    }
    static std::vector<uint32_t> Packed(const std::vector<CGColor>& colours)
    {
        std::vector<uint32_t> out;
        for (const auto& c : colours)
            out.push_back(c.GetPacked());
        return out;
    }

    CTempDir m_Dir;
};

} // namespace

TEST_F(LutFile, FirstEntryFillsEveryIndexUpToIt)
{
    const CLLColourTable t = Table("NRENTRIES = 4\nSCALE = BYTE\nLUT = {\n3 255 0 0\n}\n");
    EXPECT_EQ(Packed(t.m_Colours), (std::vector<uint32_t>{0xFF, 0xFF, 0xFF, 0xFF}));
    EXPECT_EQ(t.m_Kind, CLLColourTable::KindLUT);
    EXPECT_EQ(t.m_FileName, m_Dir.File("t.lut"));
    EXPECT_EQ(t.m_Count, 4);
    EXPECT_EQ(t.m_Levels, 4);
}

TEST_F(LutFile, GapsAreBlendedInRgb)
{
    const CLLColourTable t = Table("INTERPOLATION = RGB\nSCALE = BYTE\nLUT\n0 255 0 0\n4 0 0 255\n");
    EXPECT_EQ(Packed(t.m_Colours),
              (std::vector<uint32_t>{0x0000FF, 0x4000BF, 0x800080, 0xBF0040, 0xFF0000}));
}

TEST_F(LutFile, GapsAreBlendedInHslWhenAsked)
{
    // Entries are hue, saturation, lightness; red (hue 0) to blue (hue 2/3)
    // passes through green in HSL.
    const CLLColourTable t =
        Table("INTERPOLATION = HSL\nSCALE = WORD\nLUT\n0 0 65535 32768\n2 43690 65535 32768\n");
    ASSERT_EQ(t.m_Colours.size(), 3u);
    EXPECT_EQ(t.m_Colours[0].GetPacked(), 0x0000FFu);
    EXPECT_EQ(t.m_Colours[1].GetPacked(), 0x00FF00u);
    EXPECT_EQ(t.m_Colours[2].GetPacked(), 0xFF0000u);
}

TEST_F(LutFile, ScaleDefaultsToWord)
{
    const CLLColourTable t = Table("LUT\n0 65535 0 0\n1 255 0 0\n");
    EXPECT_EQ(Packed(t.m_Colours), (std::vector<uint32_t>{0xFF, 0x01}));
}

TEST_F(LutFile, IndicesThatDoNotAdvanceAddNothing)
{
    const CLLColourTable t = Table("SCALE BYTE\nLUT\n0 1 1 1\n1 2 2 2\n1 3 3 3\n0 4 4 4\n2 5 5 5\n");
    EXPECT_EQ(Packed(t.m_Colours), (std::vector<uint32_t>{0x010101, 0x020202, 0x050505}));
}

TEST_F(LutFile, CommentsAndWrongColumnCounts)
{
    const CLLColourTable t = Table("SCALE = BYTE\nLUT = {\n"
                                   "0 10 10 10 # a remark 1 2 3\n"
                                   "1 20 20 20 99\n"     // five columns without a DATARANGE
                                   "1 30 30\n"           // three columns
                                   "1 40 40 40 'x y\n"); // quote-mark comment
    EXPECT_EQ(Packed(t.m_Colours), (std::vector<uint32_t>{0x0A0A0A, 0x282828}));
}

TEST_F(LutFile, UnreadableFileLeavesTheTableEmpty)
{
    CLLColourTable t;
    t.ReadLUT(m_Dir.File("none.lut"));
    EXPECT_TRUE(t.m_Colours.empty());
    EXPECT_EQ(t.m_Kind, CLLColourTable::KindLUT);
    EXPECT_FALSE(t.IsValid());
}

TEST_F(LutFile, LegendTakesValuesAfterTheColour)
{
    const CLLLegend l = Legend("DATATYPE = NUMERICDISCRETE\nDATARANGE = POSTCOLOUR\nLUT\n"
                               "0 65535 0 0 1.5\n1 0 65535 0\n2 0 0 65535 7\n");
    EXPECT_EQ(l.m_DataType, DataNumericDiscrete);
    ASSERT_EQ(l.GetRowCount(), 3);
    EXPECT_EQ(l.m_Values, (std::vector<double>{1.5, 1.5, 7.0}));
    EXPECT_EQ(Packed(l.m_FillColours.m_Colours), (std::vector<uint32_t>{0xFF, 0xFF00, 0xFF0000}));
    EXPECT_EQ(Packed(l.m_BackColours.m_Colours), Packed(l.m_FillColours.m_Colours));
    EXPECT_EQ(Packed(l.m_LineColours.m_Colours), Packed(l.m_FillColours.m_Colours));
    EXPECT_EQ(l.m_Patterns, (std::vector<int32_t>{0, 0, 0}));
    EXPECT_EQ(l.m_LineThickness, (std::vector<float>{1.0f, 1.0f, 1.0f}));
    EXPECT_EQ(l.m_FileTitle, "t");
    for (const CLLColourTable* t : {&l.m_FillColours, &l.m_BackColours, &l.m_LineColours}) {
        EXPECT_EQ(t->m_Kind, CLLColourTable::KindLegend);
        EXPECT_EQ(t->m_Levels, 3);
    }
}

TEST_F(LutFile, LegendReadsValuesWithTheUsersSeparators)
{
    // A comma always splits columns in these files, so only separators other
    // than the comma can appear inside a value.
    const CLLLegend l = Legend("DATARANGE = PRECOLOR\nLUT\n1'234.5 0 0 0 0\n", {"'", "."});
    ASSERT_EQ(l.GetRowCount(), 1);
    EXPECT_DOUBLE_EQ(l.m_Values[0], 1234.5);
    const CLLLegend german = Legend("DATARANGE = PRECOLOR\nLUT\n1.234 0 0 0 0\n", {".", ","});
    EXPECT_DOUBLE_EQ(german.m_Values[0], 1234.0);
}

TEST_F(LutFile, TextLegendKeepsTheValueToken)
{
    const CLLLegend l = Legend("DATATYPE = TEXT\nDATARANGE = PRECOLOUR\nLUT\n"
                               "granite 0 65535 0 0\nbasalt 1 0 0 65535\n");
    EXPECT_EQ(l.m_DataType, DataText);
    EXPECT_EQ(l.m_StringValues, (std::vector<std::string>{"granite", "basalt"}));
}

TEST_F(LutFile, LegendAlwaysComponentsOfWordScale)
{
    // SCALE does not apply to the legend reader.
    const CLLLegend l = Legend("SCALE = BYTE\nLUT\n0 255 0 0\n");
    EXPECT_EQ(l.m_FillColours.m_Colours[0].GetPacked(), 0x01u);
}

TEST_F(LutFile, LegendRowListsMatchTheColoursAfterGaps)
{
    // One entry line places four colours: every list still has four entries.
    const CLLLegend l = Legend("LUT\n3 65535 0 0\n");
    ASSERT_EQ(l.GetRowCount(), 4);
    EXPECT_TRUE(l.RowListsAgree());
    EXPECT_EQ(l.m_Values.size(), 4u);
    // A repeated index adds an entry line but no colour: the lists are cut back.
    const CLLLegend r = Legend("LUT\n0 0 0 0\n0 1 1 1\n");
    EXPECT_EQ(r.GetRowCount(), 1);
    EXPECT_TRUE(r.RowListsAgree());
}

TEST_F(LutFile, EachValueStaysWithTheColoursItPlaced)
{
    // An index that repeats or goes back places no colour and so no row; a
    // jump places the blends and the entry's colour, all with its value.
    const struct {
        const char* entries;
        std::vector<std::string> values;
        std::vector<uint32_t> colours;
    } cases[] = {
        {"a 0 65535 0 0\nb 0 0 65535 0\nc 1 0 0 65535\n", {"a", "c"}, {0xFF, 0xFF0000}},
        {"a 0 65535 0 0\nb 2 0 0 65535\n", {"a", "b", "b"}, {0xFF, 0x800080, 0xFF0000}},
        {"a 2 65535 0 0\n", {"a", "a", "a"}, {0xFF, 0xFF, 0xFF}},
        {"a 0 65535 0 0\nb 1 0 65535 0\nc 0 0 0 65535\nd 2 0 0 65535\n", {"a", "b", "d"},
         {0xFF, 0xFF00, 0xFF0000}},
    };
    for (const auto& c : cases) {
        const CLLLegend l = Legend(std::string("DATATYPE TEXT\nDATARANGE PRECOLOUR\nLUT\n") + c.entries);
        EXPECT_EQ(l.m_StringValues, c.values) << c.entries;
        EXPECT_EQ(Packed(l.m_FillColours.m_Colours), c.colours) << c.entries;
        EXPECT_TRUE(l.RowListsAgree()) << c.entries;
    }
    const CLLLegend numeric = Legend("DATARANGE POSTCOLOUR\nLUT\n0 65535 0 0 1.5\n0 0 65535 0 2.5\n"
                                     "2 0 0 65535 3.5\n3 0 0 0\n");
    EXPECT_EQ(numeric.m_Values, (std::vector<double>{1.5, 3.5, 3.5, 3.5}));
}

TEST_F(LutFile, IndicesOutsideTheTableAreSkipped)
{
    // At most 65,535 entries; a huge index costs nothing, a negative one after
    // others does not overflow the gap.
    const struct {
        const char* entries;
        size_t count;
    } cases[] = {
        {"100000000 0 0 0\n", 0},
        {"2147483647 0 0 0\n", 0},
        {"0 0 0 0\n1 0 0 0\n-2147483648 0 0 0\n", 2},
        {"-1 0 0 0\n2 0 0 0\n", 3},
        {"0 0 0 0\n65535 0 0 0\n4 0 0 0\n", 5},
        {"65534 0 0 0\n", 65535},
        {"0 0 0 0\n65534 0 0 0\n65535 0 0 0\n", 65535},
    };
    for (const auto& c : cases) {
        const std::string text = std::string("LUT\n") + c.entries;
        CLLColourTable t;
        t.ReadLUTText(text, "mem.lut");
        EXPECT_EQ(t.m_Colours.size(), c.count) << c.entries;
        CLLLegend l;
        l.ReadColourTableText(text, "mem.lut", {});
        EXPECT_EQ(static_cast<size_t>(l.GetRowCount()), c.count) << c.entries;
        EXPECT_EQ(l.m_Values.size(), c.count) << c.entries;
    }
}

TEST_F(LutFile, UnreadableFileGivesTheDefaultLegend)
{
    CLLLegend l;
    l.ReadColourTable(m_Dir.File("missing.lut"));
    EXPECT_EQ(l.GetRowCount(), 32);
    EXPECT_TRUE(l.RowListsAgree());
}

TEST_F(LutFile, LongLinesArriveInPieces)
{
    // A 600-character line is read as 511 characters and then the rest.
    std::string line = "0 255 0 0" + std::string(502, ' ') + "1 0 255 0" + std::string(80, ' ') + "\n";
    const CLLColourTable t = Table("SCALE BYTE\nLUT\n" + line);
    EXPECT_EQ(Packed(t.m_Colours), (std::vector<uint32_t>{0x0000FF, 0x00FF00}));
}

// Files from older tools end lines with a lone CR; CR LF and LF read alike.
TEST_F(LutFile, EveryLineEndReadsAlike)
{
    const std::string lf = "DATARANGE POSTCOLOR\nLUT\n0 65535 0 0 1\n2 0 0 65535 3\n";
    const std::vector<uint32_t> colours{0x0000FF, 0x800080, 0xFF0000};
    for (const std::string lineEnd : {"\n", "\r\n", "\r"}) {
        SCOPED_TRACE(testing::PrintToString(lineEnd));
        std::string text;
        for (char c : lf)
            text += c == '\n' ? lineEnd : std::string(1, c);
        EXPECT_EQ(Packed(Table(text).m_Colours), colours);
        const CLLLegend l = Legend(text);
        EXPECT_EQ(Packed(l.m_FillColours.m_Colours), colours);
        EXPECT_EQ(l.m_Values, (std::vector<double>{1, 3, 3}));
    }
}

TEST_F(LutFile, FileAboveTheSizeLimitIsNotRead)
{
    const std::string path = Put("");
    std::filesystem::resize_file(path, CFileIO::MaxTextFileSize + 1); // sparse
    CLLColourTable t;
    t.ReadLUT(path);
    EXPECT_TRUE(t.m_Colours.empty());
    CLLLegend l;
    l.ReadColourTable(path);
    EXPECT_EQ(l.GetRowCount(), 32);
}
