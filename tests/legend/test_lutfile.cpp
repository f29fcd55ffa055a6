#include "legend/legendtext.h"
#include "support/testfiles.h"

// Each table is read from a file as a bare colour table and as a legend; the legend is then saved and read back.
// Components of 257 * k are k of 255.
TEST(LutFile, ColoursAndValuesOfEachReader)
{
    const std::string jump = "LUT\n0 65535 0 0\n4 0 0 65535\n", hslJump = "LUT\n0 0 65535 32768\n2 43690 65535 32768\n";
    const std::string redToBlue = "ff 4000bf 800080 bf0040 ff0000", viaGreen = "ff ff00 ff0000";
    const std::string line = "0 65535 0 0" + std::string(500, ' ') + "1 0 65535 0" + std::string(80, ' ') + "\n";
    const std::string text = "DATATYPE TEXT\nDATARANGE PRECOLOUR\nLUT\n";
    const struct {
        const char* name;
        std::string text, colours, values, legendColours = ""; // the last when the legend reader differs
    } cases[] = {
        {"the first entry fills every index up to it", "NRENTRIES = 4\nLUT = {\n3 65535 0 0\n}\n", "ff ff ff ff",
         "0: 0 0 0 0"},
        {"no interpolation line blends in RGB", jump, redToBlue, "0: 0 0 0 0 0"},
        // Red (hue 0) to blue (hue 2/3) passes through green in HSL.
        {"without a value, or any other, HSL", "INTERPOLATION\nSCALE = WORD\n" + hslJump, viaGreen, "0: 0 0 0"},
        {"an rgb entry is not read as HSL", "INTERPOLATION = rgb\nLUT\n0 0 65535 32768\n", "80ff00", "0: 0"},
        {"SCALE is for the bare table only", "SCALE = BYTE\nLUT\n0 255 0 0\n", "ff", "0: 0", "1"},
        {"indices that do not advance add nothing",
         "LUT\n0 257 257 257\n1 514 514 514\n1 771 771 771\n0 1028 1028 1028\n2 1285 1285 1285\n", "10101 20202 50505",
         "0: 0 0 0"},
        {"comments and wrong column counts",
         "LUT = {\n0 2570 2570 2570 # a remark 1 2 3\n1 5140 5140 5140 99\n1 7710 7710\n1 10280 10280 10280 'x y\n",
         "a0a0a 282828", "0: 0 0"},
        {"values after the colour, a missing one repeats",
         "DATATYPE = NUMERICDISCRETE\nDATARANGE = POSTCOLOUR\nLUT\n0 65535 0 0 1.5\n1 0 65535 0\n2 0 0 65535 7\n",
         viaGreen, "1: 1.5 1.5 7"},
        {"text values before the colour",
         "DATATYPE = TEXT\nDATARANGE = PRECOLOUR\nLUT\ngranite 0 65535 0 0\nbasalt 1 0 0 65535\n", "ff ff0000",
         "2: granite basalt"},
        {"a repeated index drops its value", text + "a 0 65535 0 0\nb 0 0 65535 0\nc 1 0 0 65535\n", "ff ff0000",
         "2: a c"},
        {"blends take the value of the entry they lead to", text + "a 0 65535 0 0\nb 2 0 0 65535\n", "ff 800080 ff0000",
         "2: a b b"},
        {"CR LF and a lone CR end lines", "DATARANGE POSTCOLOR\r\nLUT\r0 65535 0 0 1\r\n2 0 0 65535 3\r",
         "ff 800080 ff0000", "0: 1 3 3"},
        {"a long line arrives in pieces of 511", "LUT\n" + line, "ff ff00", "0: 0 0"},
    };
    CTempDir dir;
    const std::string path = dir.File("t.lut");
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        WriteTextFile(path, c.text);
        CLLColourTable table;
        table.ReadLUT(path);
        CLLLegend l, back;
        l.ReadColourTable(path, {});
        const std::string legend = (c.legendColours.empty() ? c.colours : c.legendColours) + " " + c.values;
        EXPECT_EQ(Hex(table) + " | " + Colours(l) + " " + Values(l), c.colours + " | " + legend);
        back.ReadLEGText(l.LEGText(), "b.leg");
        EXPECT_EQ(Colours(back), Colours(l));
        EXPECT_EQ(back.m_StringValues, l.m_DataType == DataText ? l.m_StringValues : std::vector<std::string>{});
    }
}

// Each table's kind, name and counts, the legend's title, patterns, thicknesses and values; a missing file's defaults.
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
    std::string got = Header(t) + " | " + Header(l.m_FillColours) + " | " + Header(l.m_BackColours) + " | " +
                      Header(l.m_LineColours) + " | " + l.m_FileTitle;
    for (size_t i = 0; i < l.m_Patterns.size(); ++i)
        got += CNumberFormat::Format(" %d/%g", l.m_Patterns[i], static_cast<double>(l.m_LineThickness.at(i)));
    const std::string legend = " | 3 " + path + " 3/3";
    EXPECT_EQ(got, "2 " + path + " 3/3" + legend + legend + legend + " | t 0/2 0/2 0/2");
    l.ReadColourTableText("DATARANGE = PRECOLOR\nLUT\n1.234 0 0 0 0\n", "m.lut", {".", ","});
    EXPECT_EQ(Values(l), "0: 1234");
    t.ReadLUT("/nonexistent/missing.lut");
    l.ReadColourTable("/nonexistent/missing.lut");
    EXPECT_EQ(Hex(t) + std::to_string(t.m_Kind) + " " + std::to_string(l.GetRowCount()) +
                  (l.RowListsAgree() ? "" : " !"),
              "2 32");
    // At most 65,535 entries; a huge index costs nothing, a negative one after others does not overflow the gap.
    const std::pair<const char*, size_t> cases[] = {
        {"2147483647 0 0 0\n", 0},  {"0 0 0 0\n1 0 0 0\n-2147483648 0 0 0\n", 2},
        {"-1 0 0 0\n2 0 0 0\n", 3}, {"0 0 0 0\n65535 0 0 0\n4 0 0 0\n", 5},
        {"65534 0 0 0\n", 65535},
    };
    for (const auto& [entries, count] : cases) {
        CLLColourTable t;
        t.ReadLUTText(std::string("LUT\n") + entries, "mem.lut");
        EXPECT_EQ(t.m_Colours.size(), count) << entries;
    }
}
