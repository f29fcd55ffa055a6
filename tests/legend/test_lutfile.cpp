#include "legend/cllegend.h"
#include "platform/cfileio.h"
#include "platform/cnumberformat.h"
#include "support/testfiles.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace {

std::vector<uint32_t> Packed(const std::vector<CGColor>& colours)
{
    std::vector<uint32_t> out;
    for (const auto& c : colours)
        out.push_back(c.GetPacked());
    return out;
}

} // namespace

// Each table is read from a file as a bare colour table and as a legend; the
// legend is then saved and read back. Components of 257 * k are k of 255.
TEST(LutFile, ColoursAndValuesOfEachReader)
{
    using Colours = std::vector<uint32_t>;
    struct Case {
        const char* name;
        std::string text;
        Colours colours;
        Colours legendColours; // when the legend reader differs
        int dataType = DataNumericContinuous;
        std::vector<double> values = {};
        std::vector<std::string> texts = {};
    };
    const std::string jump = "LUT\n0 65535 0 0\n4 0 0 65535\n", hslJump = "LUT\n0 0 65535 32768\n2 43690 65535 32768\n";
    const Colours redToBlue = {0x0000FF, 0x4000BF, 0x800080, 0xBF0040, 0xFF0000}, viaGreen = {0xFF, 0xFF00, 0xFF0000};
    const std::string line = "0 65535 0 0" + std::string(500, ' ') + "1 0 65535 0" + std::string(80, ' ') + "\n";
    const Case cases[] = {
        {"the first entry fills every index up to it", "NRENTRIES = 4\nLUT = {\n3 65535 0 0\n}\n",
         {0xFF, 0xFF, 0xFF, 0xFF}, {}, 0, {0, 0, 0, 0}},
        {"no interpolation line blends in RGB", jump, redToBlue, {}, 0, {0, 0, 0, 0, 0}},
        {"rgb in any case blends in RGB", "INTERPOLATION = rgb\n" + jump, redToBlue, {}, 0, {0, 0, 0, 0, 0}},
        // Red (hue 0) to blue (hue 2/3) passes through green in HSL.
        {"HSL", "INTERPOLATION = HSL\nSCALE = WORD\n" + hslJump, viaGreen, {}, 0, {0, 0, 0}},
        {"another interpolation is HSL", "INTERPOLATION = CMYK\n" + hslJump, viaGreen, {}, 0, {0, 0, 0}},
        {"an interpolation without a value is HSL", "INTERPOLATION\n" + hslJump, viaGreen, {}, 0, {0, 0, 0}},
        {"an RGB entry is not read as HSL", "INTERPOLATION = RGB\nLUT\n0 0 65535 32768\n", {0x80FF00}, {}, 0, {0}},
        {"SCALE is for the bare table only", "SCALE = BYTE\nLUT\n0 255 0 0\n", {0xFF}, {0x01}, 0, {0}},
        {"without SCALE components are of 65535", "LUT\n0 65535 0 0\n1 255 0 0\n", {0xFF, 0x01}, {}, 0, {0, 0}},
        {"indices that do not advance add nothing", "LUT\n0 257 257 257\n1 514 514 514\n1 771 771 771\n"
         "0 1028 1028 1028\n2 1285 1285 1285\n", {0x010101, 0x020202, 0x050505}, {}, 0, {0, 0, 0}},
        {"comments and wrong column counts", "LUT = {\n0 2570 2570 2570 # a remark 1 2 3\n"
         "1 5140 5140 5140 99\n1 7710 7710\n1 10280 10280 10280 'x y\n", {0x0A0A0A, 0x282828}, {}, 0, {0, 0}},
        {"values after the colour, a missing one repeats", "DATATYPE = NUMERICDISCRETE\nDATARANGE = POSTCOLOUR\n"
         "LUT\n0 65535 0 0 1.5\n1 0 65535 0\n2 0 0 65535 7\n", viaGreen, {}, DataNumericDiscrete, {1.5, 1.5, 7}},
        {"text values before the colour", "DATATYPE = TEXT\nDATARANGE = PRECOLOUR\nLUT\n"
         "granite 0 65535 0 0\nbasalt 1 0 0 65535\n", {0xFF, 0xFF0000}, {}, DataText, {}, {"granite", "basalt"}},
        {"a repeated index drops its value", "DATATYPE TEXT\nDATARANGE PRECOLOUR\nLUT\n"
         "a 0 65535 0 0\nb 0 0 65535 0\nc 1 0 0 65535\n", {0xFF, 0xFF0000}, {}, DataText, {}, {"a", "c"}},
        {"blends take the value of the entry they lead to", "DATATYPE TEXT\nDATARANGE PRECOLOUR\nLUT\n"
         "a 0 65535 0 0\nb 2 0 0 65535\n", {0xFF, 0x800080, 0xFF0000}, {}, DataText, {}, {"a", "b", "b"}},
        {"a first index above 0 repeats the value", "DATATYPE TEXT\nDATARANGE PRECOLOUR\nLUT\na 2 65535 0 0\n",
         {0xFF, 0xFF, 0xFF}, {}, DataText, {}, {"a", "a", "a"}},
        {"an index going back drops its value", "DATATYPE TEXT\nDATARANGE PRECOLOUR\nLUT\na 0 65535 0 0\n"
         "b 1 0 65535 0\nc 0 0 0 65535\nd 2 0 0 65535\n", viaGreen, {}, DataText, {}, {"a", "b", "d"}},
        {"numeric values stay with their colours", "DATARANGE POSTCOLOUR\nLUT\n0 65535 0 0 1.5\n0 0 65535 0 2.5\n"
         "2 0 0 65535 3.5\n3 0 0 0\n", {0xFF, 0x800080, 0xFF0000, 0}, {}, 0, {1.5, 3.5, 3.5, 3.5}},
        {"CR LF and a lone CR end lines", "DATARANGE POSTCOLOR\r\nLUT\r0 65535 0 0 1\r\n2 0 0 65535 3\r",
         {0xFF, 0x800080, 0xFF0000}, {}, 0, {1, 3, 3}},
        {"a long line arrives in pieces of 511", "LUT\n" + line, {0xFF, 0xFF00}, {}, 0, {0, 0}},
    };
    CTempDir dir;
    const std::string path = dir.File("t.lut");
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        WriteTextFile(path, c.text);
        CLLColourTable table;
        table.ReadLUT(path);
        EXPECT_EQ(Packed(table.m_Colours), c.colours);
        CLLLegend l;
        l.ReadColourTable(path, {});
        const Colours& colours = c.legendColours.empty() ? c.colours : c.legendColours;
        EXPECT_EQ(Packed(l.m_FillColours.m_Colours), colours);
        EXPECT_EQ(Packed(l.m_BackColours.m_Colours), colours);
        EXPECT_EQ(Packed(l.m_LineColours.m_Colours), colours);
        EXPECT_EQ(l.m_DataType, c.dataType);
        if (c.dataType == DataText) {
            EXPECT_EQ(l.m_StringValues, c.texts);
        } else {
            EXPECT_EQ(l.m_Values, c.values);
        }
        EXPECT_TRUE(l.RowListsAgree());
        CLLLegend back;
        back.ReadLEGText(l.LEGText(), "b.leg");
        EXPECT_EQ(Packed(back.m_FillColours.m_Colours), colours);
        EXPECT_EQ(back.m_StringValues, c.dataType == DataText ? c.texts : std::vector<std::string>{});
    }
}

TEST(LutFile, WhatEachReaderSetsBesideTheColours)
{
    CTempDir dir;
    const std::string path = dir.File("t.lut");
    WriteTextFile(path, "LUT\n2 65535 0 0\n");
    CLLColourTable t;
    t.ReadLUT(path);
    CLLLegend l;
    l.m_DefaultThickness = 2.0f;
    l.ReadColourTable(path, {});
    // kind, file name, count and levels of each table; the legend's title, patterns and thicknesses.
    auto table = [](const CLLColourTable& c) {
        return std::to_string(c.m_Kind) + " " + c.m_FileName + " " + std::to_string(c.m_Count) + std::to_string(c.m_Levels) + "|";
    };
    std::string got = table(t) + table(l.m_FillColours) + table(l.m_BackColours) + table(l.m_LineColours) + l.m_FileTitle;
    for (size_t i = 0; i < l.m_Patterns.size(); ++i)
        got += " " + std::to_string(l.m_Patterns[i]) + "/" + CNumberFormat::Format("%g", static_cast<double>(l.m_LineThickness.at(i)));
    const std::string legend = std::to_string(CLLColourTable::KindLegend) + " " + path + " 33|";
    EXPECT_EQ(got, std::to_string(CLLColourTable::KindLUT) + " " + path + " 33|" + legend + legend + legend +
                       "t 0/2 0/2 0/2");
}

TEST(LutFile, LegendReadsValuesWithTheGivenSeparators)
{
    // A comma always splits columns in these files, so only separators other
    // than the comma can appear inside a value.
    const struct {
        const char* value;
        CNumberSeparators separators;
        double expected;
    } cases[] = {{"1'234.5", {"'", "."}, 1234.5}, {"1.234", {".", ","}, 1234.0}, {"1.234", {",", "."}, 1.234}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.value);
        CLLLegend l;
        l.ReadColourTableText(std::string("DATARANGE = PRECOLOR\nLUT\n") + c.value + " 0 0 0 0\n", "m.lut",
                              c.separators);
        EXPECT_EQ(l.m_Values, std::vector<double>{c.expected});
    }
}

TEST(LutFile, IndicesOutsideTheTableAreSkipped)
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
        SCOPED_TRACE(c.entries);
        const std::string text = std::string("LUT\n") + c.entries;
        CLLColourTable t;
        t.ReadLUTText(text, "mem.lut");
        EXPECT_EQ(t.m_Colours.size(), c.count);
        CLLLegend l;
        l.ReadColourTableText(text, "mem.lut", {});
        EXPECT_EQ(static_cast<size_t>(l.GetRowCount()), c.count);
        EXPECT_EQ(l.m_Values.size(), c.count);
    }
}

// A missing file and one above the size limit: an empty table, the default legend.
TEST(LutFile, UnreadableFiles)
{
    CTempDir dir;
    const std::string huge = dir.File("huge.lut");
    WriteTextFile(huge, "");
    std::filesystem::resize_file(huge, CFileIO::MaxTextFileSize + 1); // sparse
    for (const std::string& path : {dir.File("missing.lut"), huge}) {
        SCOPED_TRACE(path);
        CLLColourTable t;
        t.ReadLUT(path);
        EXPECT_TRUE(t.m_Colours.empty());
        EXPECT_EQ(t.m_Kind, CLLColourTable::KindLUT);
        CLLLegend l;
        l.ReadColourTable(path);
        EXPECT_EQ(l.GetRowCount(), 32);
        EXPECT_TRUE(l.RowListsAgree());
    }
}
