#include "legend/cllegend.h"
#include "legend/tabtable.h"
#include "support/recordingprompt.h"
#include "platform/ogrtables.h"
#include "platform/tabkit.h"
#include "support/madelocale.h"
#include "support/tabrows.h"
#include "support/testfiles.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>

#include <clocale>
#include <csignal>
#include <filesystem>
#include <string>
#include <vector>

namespace {

CLLRow NumericRow(double from, double to, uint32_t fill, uint32_t back, int32_t pattern)
{
    CLLRow r;
    r.label = "label";
    r.from = from;
    r.to = to;
    r.fillColour = CGColor(fill);
    r.backColour = CGColor(back);
    r.pattern = pattern;
    r.lineColour = CGColor(0x00102030u);
    r.lineStyle = 4;
    r.thickness = 2.0f;
    r.comment = "comment";
    return r;
}

CLLLegend NumericLegend()
{
    CLLLegend l;
    l.Clear();
    l.m_Name = "Grades";
    l.m_Description = "gold grades";
    l.m_DataType = DataNumericDiscrete;
    CLLRow a = NumericRow(0.0, 10.5, 0x00332211u, 0x00665544u, 0);
    CLLRow b = NumericRow(10.5, 1e20, 0, 0, 1);
    // Transparent as every reader keeps it: white with the flag set.
    int32_t fillFlag = 0, backFlag = 0;
    CLLLegend::ColourIn(0xFF0000FFu, b.fillColour, fillFlag);
    CLLLegend::ColourIn(0xFF000000u, b.backColour, backFlag);
    b.fillTransparent = fillFlag != 0;
    b.backTransparent = backFlag != 0;
    b.thickness = 2.5f;
    b.comment = std::string(300, 'c');
    CLLRow c = NumericRow(-3.25, 0.001, 0x00FF0000u, 0x0000FF00u, 5);
    c.comment = std::string(254, 'k');
    l.AddRow(a);
    l.AddRow(b);
    l.AddRow(c);
    return l;
}

} // namespace

TEST(TabExport, WritesTheStandardFieldsWithSwappedColoursAndTheStoredRules)
{
    CTempDir dir;
    CRecordingPrompt prompt;
    const CLLLegend legend = NumericLegend();
    ASSERT_TRUE(legend.ExportTAB(dir.File("grades.tab")));

    TabKitTable* t = tabkit_c_open(dir.File("grades.tab").c_str(), 1);
    ASSERT_NE(t, nullptr);
    ASSERT_EQ(tabkit_c_get_field_count(t), 11);
    for (int i = 0; i < 11; ++i) {
        EXPECT_STREQ(tabkit_c_get_field_name(t, i), TabField::Names[i]);
        EXPECT_EQ(tabkit_c_get_field_type(t, i), TabField::Types[i]);
    }
    tabkit_c_close(t);

    const auto rows = TableRows(dir.File("grades.tab"));
    ASSERT_EQ(rows.size(), 3u);
    // Name, From, To, Value, Bpat, Bfcol, Bbcol, Psty, Ppat, Pcol, Comments.
    EXPECT_EQ(rows[0], (std::vector<std::string>{"label", "0", "10.5", "", "1", "1122867",
                                                 "4478310", "2", "4", "3153936", "comment"}));
    // A transparent fill goes out as its colour (white); a transparent background
    // as -1. The line thickness column holds whole numbers.
    EXPECT_EQ(rows[1], (std::vector<std::string>{"label", "10.5", "1e+20", "", "1", "16777215",
                                                 "-1", "2", "4", "3153936",
                                                 std::string(254, 'c')}));
    EXPECT_EQ(rows[2], (std::vector<std::string>{"label", "-3.25", "0.001", "", "5", "255",
                                                 "65280", "2", "4", "3153936",
                                                 std::string(254, 'k')}));
    EXPECT_TRUE(prompt.m_Messages.empty());
}

TEST(TabExport, TabSuffixIsAddedOnlyWhenMissing)
{
    CTempDir dir;
    const CLLLegend legend = NumericLegend();
    ASSERT_TRUE(legend.ExportTAB(dir.File("plain")));
    EXPECT_TRUE(std::filesystem::exists(dir.File("plain.tab")));
    ASSERT_TRUE(legend.ExportTAB(dir.File("upper.TAB")));
    EXPECT_TRUE(std::filesystem::exists(dir.File("upper.TAB")));
    EXPECT_FALSE(std::filesystem::exists(dir.File("upper.TAB.tab")));
    ASSERT_TRUE(legend.ExportTAB(dir.File("mixed.TaB")));
    EXPECT_TRUE(std::filesystem::exists(dir.File("mixed.TaB")));
    EXPECT_EQ(TableRows(dir.File("upper.TAB")).size(), 3u);
}

TEST(TabExport, UncreatableTableIsReported)
{
    CTempDir dir;
    CRecordingPrompt prompt;
    const std::string path = dir.File("missing/folder/out.tab");
    EXPECT_FALSE(NumericLegend().ExportTAB(path));
    EXPECT_EQ(prompt.Texts(), (std::vector<std::string>{"Could not create " + path + ": " +
                                                        std::strerror(ENOENT)}));
    EXPECT_EQ(prompt.m_Messages[0].stringId, 0);
}

TEST(TabExport, ShortPathKeepsItsNameAndIsReportedWhenItIsNoTable)
{
    CTempDir dir;
    CRecordingPrompt prompt;
    // A name of four characters or fewer gets no ".tab", and a table needs one.
    const std::string cwd = std::filesystem::current_path().string();
    std::filesystem::current_path(dir.Path());
    const bool written = NumericLegend().ExportTAB("out");
    std::filesystem::current_path(cwd);
    EXPECT_FALSE(written);
    EXPECT_EQ(prompt.Texts(), (std::vector<std::string>{
                                  "Could not create out: the name does not end in \".tab\""}));
    EXPECT_TRUE(std::filesystem::is_empty(dir.Path()));
}

TEST(TabRoundTrip, NumericLegendKeepsRangesAndColoursButNotLabelsOrPatternOne)
{
    CTempDir dir;
    CRecordingPrompt prompt;
    ASSERT_TRUE(NumericLegend().ExportTAB(dir.File("grades.tab")));

    CLLLegend back;
    back.ImportTAB(dir.File("grades.tab"), "LABEL", 0);
    EXPECT_TRUE(prompt.m_Messages.empty());
    ASSERT_EQ(back.GetRowCount(), 3);
    EXPECT_EQ(back.m_DataType, DataNumericContinuous);
    EXPECT_EQ(back.m_Name, "LABEL");
    EXPECT_EQ(back.m_Description, "");
    EXPECT_EQ(back.m_FileTitle, "grades");
    EXPECT_EQ(back.m_FilePath, dir.File("grades.tab"));
    EXPECT_EQ(back.m_FillColours.m_Kind, CLLColourTable::KindLegend);
    EXPECT_EQ(back.m_FillColours.m_FileName, dir.File("grades.tab"));
    EXPECT_EQ(back.m_FillColours.GetLevels(), 3);

    EXPECT_TRUE(back.RowListsAgree());
    CLLRow r;
    ASSERT_TRUE(back.GetRow(0, r));
    EXPECT_EQ(r, (CLLRow{.to = 10.5, .fillColour = CGColor(0x00332211u), .backColour = CGColor(0x00665544u),
                         .lineColour = CGColor(0x00102030u), .lineStyle = 4, .thickness = 2.0f,
                         .comment = "comment"}));

    ASSERT_TRUE(back.GetRow(1, r));
    EXPECT_DOUBLE_EQ(r.to, 1e20);
    // Transparent fill comes back opaque white; transparent background comes
    // back transparent (over black).
    EXPECT_EQ(r.fillColour.GetPacked(), 0x00FFFFFFu);
    EXPECT_FALSE(r.fillTransparent);
    EXPECT_TRUE(r.backTransparent);
    EXPECT_EQ(r.backColour.GetPacked(), 0u);
    EXPECT_EQ(r.pattern, 0); // pattern 1 does not survive
    EXPECT_FLOAT_EQ(r.thickness, 2.0f);
    EXPECT_EQ(r.comment, std::string(254, 'c'));

    ASSERT_TRUE(back.GetRow(2, r));
    EXPECT_DOUBLE_EQ(r.from, -3.25);
    EXPECT_DOUBLE_EQ(r.to, 0.001);
    EXPECT_EQ(r.pattern, 5);
    EXPECT_EQ(r.fillColour.GetPacked(), 0x00FF0000u);
}

TEST(TabRoundTrip, TextLegendKeepsItsValuesAndOtherNamesAreFilteredOut)
{
    CTempDir dir;
    CLLLegend text;
    text.Clear();
    text.m_DataType = DataText;
    for (const char* v : {"clay", "sand", "Caf\xE9"}) {
        CLLRow r = NumericRow(0, 0, 0x00000080u, 0x00FFFFFFu, 3);
        r.text = v;
        r.label = v[0] == 's' ? "Other" : "Soil";
        text.AddRow(r);
    }
    ASSERT_TRUE(text.ExportTAB(dir.File("soil")));
    const auto rows = TableRows(dir.File("soil.tab"));
    ASSERT_EQ(rows.size(), 3u);
    EXPECT_EQ(rows[0][TabField::Value], "clay");
    EXPECT_EQ(rows[0][TabField::From], "0");

    CLLLegend back;
    back.ImportTAB(dir.File("soil.tab"), "soil", 0);
    ASSERT_EQ(back.GetRowCount(), 2);
    EXPECT_EQ(back.m_DataType, DataText);
    CLLRow r;
    back.GetRow(0, r);
    EXPECT_EQ(r.text, "clay");
    EXPECT_EQ(r.pattern, 3);
    back.GetRow(1, r);
    EXPECT_EQ(r.text, "Caf\xE9");

    // An empty name takes every row.
    back.ImportTAB(dir.File("soil.tab"), "", 0);
    EXPECT_EQ(back.GetRowCount(), 3);
    EXPECT_EQ(back.m_Name, "");
}

TEST(TabImport, MissingTableIsReportedAndLeavesAnEmptyLegend)
{
    CTempDir dir;
    CRecordingPrompt prompt;
    CLLLegend l = NumericLegend();
    l.ImportTAB(dir.File("none.tab"), "x", 0);
    EXPECT_EQ(l.GetRowCount(), 0);
    EXPECT_EQ(l.m_Name, "");
    EXPECT_EQ(prompt.Texts(), (std::vector<std::string>{"Could not open " + dir.File("none.tab") +
                                                        ": " + std::strerror(ENOENT)}));
}

TEST(TabImport, ForeignStandardTableWithTextColumns)
{
    SKIP_WITHOUT_OGR2OGR();
    CTempDir dir;
    CRecordingPrompt prompt;
    // Every column text, as a spreadsheet export would make it.
    ASSERT_TRUE(MakeTabFromCsv(dir.Path(), "foreign",
                               std::string(StandardCsvHeader) +
                                   "Rock,0,10.5,,2,16711680,-1,1.5,2,255,hello\n"
                                   "Soil,1,2,,3,0,0,1,1,0,x\n"
                                   "rock,10.5,20,,1,65280,16776960,3,0,8421504,\n"));
    CLLLegend l;
    l.ImportTAB(dir.File("foreign.tab"), "ROCK", 0);
    EXPECT_TRUE(prompt.m_Messages.empty());
    ASSERT_EQ(l.GetRowCount(), 2);
    CLLRow r;
    l.GetRow(0, r);
    EXPECT_DOUBLE_EQ(r.to, 10.5);
    EXPECT_EQ(r.pattern, 2);
    EXPECT_EQ(r.fillColour.GetPacked(), 0x000000FFu);
    EXPECT_TRUE(r.backTransparent);
    EXPECT_EQ(r.backColour.GetPacked(), 0u);
    EXPECT_EQ(r.lineColour.GetPacked(), 0x00FF0000u);
    EXPECT_FLOAT_EQ(r.thickness, 1.5f); // no minimum applies
    EXPECT_EQ(r.comment, "hello");
    l.GetRow(1, r);
    EXPECT_EQ(r.pattern, 0);
    EXPECT_EQ(r.fillColour.GetPacked(), 0x0000FF00u);
    EXPECT_EQ(r.backColour.GetPacked(), 0x0000FFFFu);
    EXPECT_FALSE(r.backTransparent);
    EXPECT_EQ(r.lineColour.GetPacked(), 0x00808080u);
    EXPECT_EQ(r.lineStyle, 0);
}

TEST(TabImport, LocaleNumbersUseTheGivenSeparators)
{
    SKIP_WITHOUT_OGR2OGR();
    CTempDir dir;
    ASSERT_TRUE(MakeTabFromCsv(dir.Path(), "locale",
                               std::string(StandardCsvHeader) +
                                   "A,\"1.234,5\",\"2.000.000,25\",,0,0,0,1,0,0,\n"));
    const CNumberSeparators german{".", ","};
    CLLLegend l;
    l.ImportTAB(dir.File("locale.tab"), "A", 1, german);
    CLLRow r;
    ASSERT_TRUE(l.GetRow(0, r));
    EXPECT_DOUBLE_EQ(r.from, 1234.5);
    EXPECT_DOUBLE_EQ(r.to, 2000000.25);

    l.ImportTAB(dir.File("locale.tab"), "A", 0, german);
    ASSERT_TRUE(l.GetRow(0, r));
    EXPECT_DOUBLE_EQ(r.from, 1.234);
    EXPECT_DOUBLE_EQ(r.to, 2.0);
}

TEST(TabImport, OneTextValueMakesATextLegend)
{
    SKIP_WITHOUT_OGR2OGR();
    CTempDir dir;
    ASSERT_TRUE(MakeTabFromCsv(dir.Path(), "mixed",
                               std::string(StandardCsvHeader) +
                                   "A,0,1,,0,0,0,1,0,0,\n"
                                   "A,1,2,granite,0,0,0,1,0,0,\n",
                               StandardCsvTypes));
    CLLLegend l;
    l.ImportTAB(dir.File("mixed.tab"), "A", 0);
    EXPECT_EQ(l.m_DataType, DataText);
    ASSERT_EQ(l.GetRowCount(), 2);
    EXPECT_EQ(l.m_StringValues, (std::vector<std::string>{"", "granite"}));
}

TEST(TabImport, MissingFieldsAreReportedAndReadAsEmpty)
{
    SKIP_WITHOUT_OGR2OGR();
    CTempDir dir;
    CRecordingPrompt prompt;
    ASSERT_TRUE(MakeTabFromCsv(dir.Path(), "partial",
                               "P_Name,P_From,P_To,P_Bfcol\nA,1,2,255\nB,3,4,0\n",
                               "String(20),Real,Real,Integer\n"));
    CLLLegend l;
    l.ImportTAB(dir.File("partial.tab"), "A", 0);
    EXPECT_EQ(prompt.Texts(), (std::vector<std::string>{"Could not find all the standard fields in " +
                                                       dir.File("partial.tab")}));
    ASSERT_EQ(l.GetRowCount(), 1);
    CLLRow r;
    l.GetRow(0, r);
    EXPECT_DOUBLE_EQ(r.from, 1.0);
    EXPECT_EQ(r.fillColour.GetPacked(), 0x00FF0000u);
    EXPECT_EQ(r.pattern, 0);
    EXPECT_FLOAT_EQ(r.thickness, 0.0f);
    EXPECT_EQ(r.comment, "");
}

TEST(TabImport, FeaturelessTableGivesANamedEmptyLegend)
{
    SKIP_WITHOUT_OGR2OGR();
    CTempDir dir;
    CRecordingPrompt prompt;
    ASSERT_TRUE(MakeTabFromCsv(dir.Path(), "none", StandardCsvHeader, StandardCsvTypes));
    CLLLegend l = NumericLegend();
    l.ImportTAB(dir.File("none.tab"), "Rock", 0);
    EXPECT_TRUE(prompt.m_Messages.empty());
    EXPECT_EQ(l.GetRowCount(), 0);
    EXPECT_EQ(l.m_Name, "Rock");
    EXPECT_EQ(l.m_FileTitle, "none");
}

TEST(TabImport, MapCodeTableIsOneTextLegendNamedAfterTheFile)
{
    SKIP_WITHOUT_OGR2OGR();
    CTempDir dir;
    CRecordingPrompt prompt;
    ASSERT_TRUE(MakeTabFromCsv(
        dir.Path(), "geol units",
        "MapCode,Desc1,Fore_Red,Fore_Green,Fore_Blue,Pattern,Back_Red,Back_Green,Back_Blue,"
        "Pen_Red,Pen_Green,Pen_Blue,Pen_Style,Pen_Thick\n"
        "Qa,Alluvium,255,128,0,1,10,20,30,1,2,3,2,1.5\n"
        "Tb,Basalt,0,0,255,4,255,255,255,0,0,0,1,0.5\n",
        "String(10),String(40),Integer,Integer,Integer,Integer,Integer,Integer,Integer,Integer,"
        "Integer,Integer,Integer,Real\n"));
    CLLLegend l;
    l.ImportTAB(dir.File("geol units.tab"), "", 1);
    EXPECT_TRUE(prompt.m_Messages.empty());
    EXPECT_EQ(l.m_DataType, DataText);
    EXPECT_EQ(l.m_Name, "geol units");
    ASSERT_EQ(l.GetRowCount(), 2);
    CLLRow r;
    l.GetRow(0, r);
    EXPECT_EQ(r.text, "Qa");
    EXPECT_EQ(r.comment, "Alluvium");
    EXPECT_EQ(r.fillColour.GetPacked(), 255u + 256u * 128u);
    EXPECT_EQ(r.pattern, 0);
    EXPECT_EQ(r.backColour.GetPacked(), 10u + 256u * 20u + 65536u * 30u);
    EXPECT_EQ(r.lineColour.GetPacked(), 1u + 256u * 2u + 65536u * 3u);
    EXPECT_FALSE(r.fillTransparent);
    EXPECT_FALSE(r.backTransparent);
    EXPECT_EQ(r.lineStyle, 2);
    EXPECT_FLOAT_EQ(r.thickness, 1.5f);
    EXPECT_DOUBLE_EQ(r.from, 0.0);
    l.GetRow(1, r);
    EXPECT_EQ(r.pattern, 4);
    EXPECT_EQ(r.backColour.GetPacked(), 0x00FFFFFFu);
    EXPECT_FALSE(r.backTransparent);
    EXPECT_FLOAT_EQ(r.thickness, 0.5f);
}

TEST(TabImport, MapCodeTableWithoutPenThicknessIsReported)
{
    SKIP_WITHOUT_OGR2OGR();
    CTempDir dir;
    CRecordingPrompt prompt;
    ASSERT_TRUE(MakeTabFromCsv(dir.Path(), "short",
                               "P_Name,MapCode,Fore_Red,Fore_Green,Fore_Blue\nX,Qa,1,2,3\n"));
    CLLLegend l;
    l.ImportTAB(dir.File("short.tab"), "", 0);
    EXPECT_EQ(prompt.Texts(), (std::vector<std::string>{"Could not find all the standard fields in " +
                                                       dir.File("short.tab")}));
    ASSERT_EQ(l.GetRowCount(), 1);
    CLLRow r;
    l.GetRow(0, r);
    EXPECT_EQ(r.text, "Qa");
    EXPECT_EQ(r.fillColour.GetPacked(), 0x00030201u);
}

TEST(TabExport, TextIsCutToTheFieldWidthAtACharacterBoundary)
{
    const std::string e = "\xC3\xA9"; // é in UTF-8
    struct Case {
        std::string text;
        int field;
        std::string kept;
    };
    for (const Case& c : {Case{std::string(253, 'a') + e, TabField::Comments, std::string(253, 'a')},
                          Case{std::string(252, 'a') + e + "z", TabField::Comments,
                               std::string(252, 'a') + e},
                          Case{std::string(254, 'a') + e, TabField::Comments, std::string(254, 'a')},
                          Case{std::string(79, 'a') + "\xE2\x82\xAC", TabField::Name,
                               std::string(79, 'a')},
                          Case{std::string(48, 'a') + "\xF0\x9F\x98\x80", TabField::Value,
                               std::string(48, 'a')},
                          // Windows-1252 text has one byte a character.
                          Case{std::string(300, '\xE9'), TabField::Comments, std::string(254, '\xE9')},
                          Case{e, TabField::Comments, e}})
        EXPECT_EQ(FitTabText(c.text, c.field), c.kept) << c.text.size() << " bytes";

    CLLLegend l = NumericLegend();
    l.m_RowComments[0] = std::string(253, 'a') + e;
    std::string values[TabField::Count];
    FormatLegendRow(l, 0, TabRowRules::AllLegends, values);
    EXPECT_EQ(values[TabField::Comments], std::string(253, 'a'));
}

TEST(TabExport, AFailedExportLeavesTheOldTableAsItWas)
{
    CTempDir dir;
    CRecordingPrompt prompt;
    const std::string path = dir.File("grades.tab");
    ASSERT_TRUE(NumericLegend().ExportTAB(path));
    const auto Snapshot = [&] {
        std::vector<std::string> files;
        for (const auto& entry : std::filesystem::directory_iterator(dir.Path()))
            files.push_back(entry.path().filename().string() + "=" + ReadTextFile(entry.path().string()));
        std::sort(files.begin(), files.end());
        return files;
    };
    const auto before = Snapshot();
    ASSERT_EQ(before.size(), 4u); // .dat, .id, .map, .tab

    CLLLegend big = NumericLegend();
    for (int i = 0; i < 200; ++i)
        big.AddRow(NumericRow(i, i + 1, 0, 0, 2));
    {
        // As on a full disk: the programs ignore the signal and see the error.
        const auto previous = std::signal(SIGXFSZ, SIG_IGN);
        CFileSizeLimit limit(4096);
        EXPECT_FALSE(big.ExportTAB(path));
        std::signal(SIGXFSZ, previous);
    }
    EXPECT_EQ(prompt.Texts(),
              (std::vector<std::string>{"Could not create " + path +
                                        ": Failed writing 425 bytes at offset 8035."}));
    EXPECT_EQ(Snapshot(), before);

    ASSERT_TRUE(big.ExportTAB(path));
    EXPECT_EQ(TableRows(path).size(), 203u);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.Path()),
                            std::filesystem::directory_iterator()), 4);
}

TEST(TabImport, ADataFileCutShortIsReportedNotReadAsAShorterTable)
{
    CTempDir dir;
    CRecordingPrompt prompt;
    const std::string path = dir.File("grades.tab");
    ASSERT_TRUE(NumericLegend().ExportTAB(path));
    const std::string data = ReadTextFile(dir.File("grades.dat"));
    WriteTextFile(dir.File("grades.dat"), data.substr(0, data.size() - 100));
    CLLLegend l;
    l.ImportTAB(path, "", 0);
    EXPECT_EQ(l.GetRowCount(), 0);
    EXPECT_EQ(prompt.Texts(),
              (std::vector<std::string>{"Could not open " + path +
                                        ": ReadBytes(): Attempt to read past end of data block."}));
}

TEST(TabImport, LocaleRuleMeetsOnlyTextColumns)
{
    SKIP_WITHOUT_OGR2OGR();
    CTempDir dir;
    // Real columns come as "0.1" whatever the locale; a text column holds
    // what the user typed.
    ASSERT_TRUE(MakeTabFromCsv(dir.Path(), "typed",
                               std::string(StandardCsvHeader) + "A,0.1,0.5,,0,0,0,1,0,0,\n",
                               StandardCsvTypes));
    ASSERT_TRUE(MakeTabFromCsv(dir.Path(), "text",
                               std::string(StandardCsvHeader) + "A,\"0,1\",\"1.000,5\",,0,0,0,1,0,0,\n"));
    const CNumberSeparators german{".", ","};
    struct Case {
        const char* table;
        double from, to;
    };
    for (const Case& c : {Case{"typed", 0.1, 0.5}, Case{"text", 0.1, 1000.5}}) {
        CLLLegend l;
        l.ImportTAB(dir.File(std::string(c.table) + ".tab"), "A", 1, german);
        CLLRow r;
        ASSERT_TRUE(l.GetRow(0, r)) << c.table;
        EXPECT_DOUBLE_EQ(r.from, c.from) << c.table;
        EXPECT_DOUBLE_EQ(r.to, c.to) << c.table;
    }
}

TEST(TabRoundTrip, ExportAndImportUnderADecimalCommaLocaleKeepTheNumbers)
{
    const std::string previous = std::setlocale(LC_ALL, nullptr);
    if (!std::setlocale(LC_ALL, "de_DE.UTF-8"))
        GTEST_SKIP() << "de_DE.UTF-8 is not installed";
    const CScopedEnv user("LC_ALL", "de_DE.UTF-8");
    CTempDir dir;
    const bool written = NumericLegend().ExportTAB(dir.File("de.tab"));
    CLLLegend back;
    back.ImportTAB(dir.File("de.tab"), "", 1, CNumberSeparators::User());
    std::setlocale(LC_ALL, previous.c_str());
    ASSERT_TRUE(written);
    ASSERT_EQ(back.GetRowCount(), 3);
    EXPECT_EQ(back.m_From, (std::vector<double>{0.0, 10.5, -3.25}));
    EXPECT_EQ(back.m_To, (std::vector<double>{10.5, 1e20, 0.001}));
}
