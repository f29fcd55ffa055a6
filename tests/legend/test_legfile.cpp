#include "legend/legendtext.h"
#include "support/testfiles.h"

using namespace std::string_literals;

// Each input is read from memory and from a file, saved, and must give exactly the expected text; reading that text
// again must save it unchanged.
TEST(LegFile, ReadThenSaveGivesTheExactText)
{
    const std::string zeros = "0 1 \"\" 0 0 0 0 0 1\n";
    struct Case {
        const char* name;
        float defaultThickness;
        std::string in, out;
    } const cases[] = {
        {"header and rows", 1,
         Leg("NUMERICDISCRETE", "1 2 \"a b\" 0 16777215 0 # note\n2 3.5 ab\"c\" 255 4278190080 7 65280 4 1.1\n", "n",
             "d"),
         Leg("NUMERICDISCRETE",
             "1 2 \"a b\" 0 16777215 0 0 0 1 # note\n2 3.5 \"c\" 255 4278190080 7 65280 4 1.100000024\n", "n", "d")},
        {"CR LF and a lone CR end lines", 1,
         "LegendTable Begin\r\nDataType = TEXT\rLEG = {\r\n\"A\"\t\"x\"\t1\t2\t3\t4\t5\t6 # end\r\n\"B\" \"\" 0 0 0\r",
         Leg("TEXT", "\"A\" \"x\" 1 2 3 4 5 6 # end\n\"B\" \"\" 0 0 0 4 5 6\n")},
        {"short rows keep earlier columns, five numeric columns are dropped", 1,
         "LEG = {\n0 1 \"\" 10 20 5 255 3 2\n1 2 \"\" 11 21 6\n2 3 \"\" 12\n",
         Leg(NC, "0 1 \"\" 10 20 5 255 3 2\n1 2 \"\" 11 21 6 255 3 2\n")},
        {"trailing blanks zero the next column", 1,
         "LEG = {\n0 1 \"\" 0 0 7 255 3 2\n1 2 \"\" 0 0 7  \n2 3 \"\" 0 0 \t \t\n3 4 \"\" 0 0 \n",
         Leg(NC, "0 1 \"\" 0 0 7 255 3 2\n1 2 \"\" 0 0 7 0 3 2\n2 3 \"\" 0 0 0 0 3 2\n")},
        {"text rows need five columns", 1,
         "LegendTable Begin\nDataType = text\nLEG = {\n\"A\" \"\" 0 16777215 0\n\"B\" \"\" 0 16777215\n",
         Leg("TEXT", "\"A\" \"\" 0 16777215 0 0 0 1\n")},
        {"thickness below one takes a default of 3, exactly 1 stays", 3,
         "LEG = {\n0 1 \"\" 0 0 0\n0 1 \"\" 0 0 0 0 0 0.5\n0 1 \"\" 0 0 0 0 0 1\n0 1 \"\" 0 0 0\n",
         Leg(NC, "0 1 \"\" 0 0 0 0 0 3\n0 1 \"\" 0 0 0 0 0 3\n" + zeros + zeros)},
        {"lenient header: bare words, any case, a decimal comma is two columns", 1,
         "Name = outside\nLegendTable BEGIN\nNAME = my legend\ndatatype = numericdiscrete\nVersion = 2\n"
         "Description = \"open to the end\nleg = {\n1,5 \"x\" 1|2 3\n}\n",
         Leg("NUMERICDISCRETE", "1 5 \"x\" 1 2 3 0 0 1\n", "my", "open to the end")},
        {"rows need the LEG line", 1, "LegendTable Begin\n0 1 \"\" 0 0 0\nLegendTable End\n", Leg(NC, "")},
        {"an unknown data type is continuous", 1, "LegendTable Begin\nDataType = TEXT\nDataType = RASTER\n",
         Leg(NC, "")},
        {"LEG } returns to the header, LegendTable End leaves it", 1,
         "LegendTable Begin\nLEG = {\n0 1 \"\" 0 0 0\nLEG = }\nName = after\n1 2 \"\" 0 0 0\n"
         "LegendTable End\nName = outside\n",
         Leg(NC, zeros, "after")},
        {"comment lines move to the top", 1,
         "LEG = {\n0 1 \"\" 0 0 0\n# between rows\n#\n~a\n!b\n*c\n/d\n\\e\n1 2 \"\" 0 0 0\n",
         "# between rows\n# \n~a \n!b \n*c \n/d \n\\e \n\n" + Leg(NC, zeros + "1 2 \"\" 0 0 0 0 0 1\n")},
        {"a row comment glued to its marker", 1,
         "LEG = {\n0 1 \"\" 0 0 0 #note\n1 2 \"\" 0 0 0 ##x\n2 3 \"\" 0 0 7#y\n",
         Leg(NC, "0 1 \"\" 0 0 0 0 0 1 # note\n1 2 \"\" 0 0 0 0 0 1 # #x\n2 3 \"\" 0 0 7 0 0 1\n")},
        {"colours above 0xFFFFFF and negative ones are transparent; the line has no transparency", 1,
         "LEG = {\n0 1 \"\" -1 4278190335 0 4278190335\n0 1 \"\" 16777215 16777216 0 -1\n",
         Leg(NC, "0 1 \"\" 4278190080 4278190080 0 16777215 0 1\n0 1 \"\" 16777215 4278190080 0 16777215 0 1\n")},
        {"eight-bit text is kept as bytes", 1, Leg("TEXT", "\"\xE9t\xE9\" \"Schotter \xFC\" 0 0 0\n"),
         Leg("TEXT", "\"\xE9t\xE9\" \"Schotter \xFC\" 0 0 0 0 0 1\n")},
        // Found by fuzzing: a comment ending in a carriage return lost it at each save.
        {"carriage returns after a comment", 1, "# say \r\r\r\rICD\n\nLEG = {\n1 2 \"a\" 0 1 0\n",
         "# say \n\n" + Leg(NC, "1 2 \"a\" 0 1 0 0 0 1\n")},
        {"a NUL in a comment", 1, "#\0\r\n"s, "#\0 \n\n"s + Leg(NC, "")},
        {"empty", 1, "", Leg(NC, "")},
        {"a row past the 64 KiB the writer gathers", 1,
         Leg("TEXT", "\"v\" \"" + std::string(70000, 'x') + "\" 0 0 0\n"),
         Leg("TEXT", "\"v\" \"" + std::string(70000, 'x') + "\" 0 0 0 0 0 1\n")},
    };
    CTempDir dir;
    const std::string in = dir.File("in.leg"), out = dir.File("out.leg");
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CLLLegend fromText, fromFile;
        fromText.m_DefaultThickness = fromFile.m_DefaultThickness = c.defaultThickness;
        fromText.ReadLEGText(c.in, in);
        EXPECT_EQ(fromText.LEGText(), c.out);
        WriteTextFile(in, c.in);
        EXPECT_TRUE(fromFile.ReadLEG(in).Ok());
        // A legend keeps the values of its own data type only.
        EXPECT_EQ(fromFile.m_DataType == DataText ? fromFile.m_From.size() : fromFile.m_StringValues.size(), 0u);
        ASSERT_EQ(fromFile.WriteLEG(out), 1);
        EXPECT_EQ(ReadTextFile(out), c.out);
        fromText.ReadLEGText(c.out, in); // over the legend read before
        EXPECT_EQ(fromText.LEGText(), c.out);
    }
}

// What a save cannot come from reading: another data type, thin lines, a transparent fill's colour, a quoted label.
TEST(LegFile, WriterLayoutAndFailedOrMissingFiles)
{
    CLLLegend l;
    l.ReadLEGText(Leg(NC, "0 1234567 \"\" 255 16777215 3 65280 -1 1 # note\n", "Gold grades", "ppm"), "a.leg");
    l.m_DataType = 7;
    l.m_HeaderComments = {"# first", "#"};
    l.m_Labels[0] = "say \"hi\"";
    l.m_LineThickness[0] = 0.1f;
    l.m_FillTransparent[0] = 1;
    const std::string text = l.LEGText();
    EXPECT_EQ(text, "# first\n#\n\n" +
                        Leg("NUMERICDISCRETE",
                            "0 1.23457e+06 \"say \"hi\"\" 4278190080 16777215 3 65280 -1 0.1000000015 # note\n",
                            "Gold grades", "ppm"));
    CLLLegend back;
    back.ReadLEGText(text, "b.leg");
    EXPECT_EQ(back.m_Labels.at(0), "say "); // the label ends at the quote
    back.ReadLEGText(Leg(NC, "0 1 \"\" 16777471 0 0\n"), "b.leg");
    EXPECT_EQ(back.m_FillColours.m_Colours.at(0).GetPacked(), 0xFFFFFFu); // white under the transparency

    // A failed save leaves the old file; the default legend stands in for a file that is missing or cannot be read.
    CTempDir dir;
    const std::string path = dir.File("keep.leg");
    const std::string old = Leg("TEXT", "\"A\" \"\" 0 0 0\n");
    WriteTextFile(path, old);
    l.SetDefault();
    EXPECT_EQ(l.WriteLEG(dir.File("missing/folder/x.leg")), 0);
    {
        CFileSizeLimit limit(512); // the write breaks off part-way
        EXPECT_EQ(l.WriteLEG(path), 0);
    }
    EXPECT_EQ(ReadTextFile(path), old);
    WriteTextFile(dir.File("empty.leg"), "");
    const std::pair<std::string, std::string> cases[] = {
        {dir.File("empty.leg"), "10 0/0 0 empty 3"},
        {dir.File("none.leg"), "01 32/32 0 none 3"}, // the editor's "no such legend"
        {"/proc/self/mem", "00 32/32 0 mem 3"},      // exists, every read fails
    };
    for (const auto& [file, shown] : cases) {
        const CFileResult r = l.ReadLEG(file);
        EXPECT_EQ(CNumberFormat::Format("%d%d %d/%zu %d %s %d ", r.Ok(), r.Missing(), l.GetRowCount(),
                                        l.m_Patterns.size(), l.m_DataType, l.m_FileTitle.c_str(),
                                        l.m_FillColours.m_Kind) +
                      l.m_FilePath,
                  shown + " " + file);
    }
}
