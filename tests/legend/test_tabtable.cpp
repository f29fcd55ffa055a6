#include "cli/clirun.h"
#include "legend/legendtext.h"
#include "legend/tabtable.h"
#include "platform/ogrtables.h"
#include "support/recordingprompt.h"
#include "support/tabrows.h"

#include <csignal>

namespace {

// Three rows; the second transparent as readers keep it (white, the flag set), its comment longer than the field.
CLLLegend NumericLegend(const std::string& moreRows = "")
{
    CLLLegend l;
    l.ReadLEGText(Leg("NUMERICDISCRETE",
                      "0 10.5 \"label\" 3351057 6706500 0 1056816 4 2 # comment\n10.5 1e+20 \"label\" 4278190080 "
                      "4278190080 1 1056816 4 2.5 # " +
                          std::string(300, 'c') + "\n-3.25 0.001 \"label\" 16711680 65280 5 1056816 4 2 # comment\n" +
                          moreRows,
                      "Grades", "gold grades"),
                  "grades.leg");
    return l;
}

} // namespace

// A transparent fill goes out as its colour (white), a transparent background as -1, the thickness as a whole number;
// back in, the background stays transparent.
TEST(TabExport, WritesTheStandardFieldsReadsBackWhatTheyHoldAndAFailedExportLeavesTheOldTable)
{
    CTempDir dir;
    CRecordingPrompt prompt;
    const std::string path = dir.File("grades.TaB"); // ".tab" is added only when missing from a longer name
    ASSERT_TRUE(NumericLegend().ExportTAB(path));
    EXPECT_FALSE(NumericLegend().ExportTAB("four"));
    std::string table;
    TabKitTable* t = tabkit_c_open(path.c_str(), 1);
    ASSERT_NE(t, nullptr);
    for (int i = 0; i < tabkit_c_get_field_count(t); ++i)
        table += std::string(tabkit_c_get_field_name(t, i)) + ":" + std::to_string(tabkit_c_get_field_type(t, i)) + " ";
    tabkit_c_close(t);
    for (const auto& row : TableRows(path))
        for (size_t i = 0; i < row.size(); ++i)
            table += (i ? "," : "|") + row[i];
    EXPECT_EQ(table,
              "P_Name:1 P_From:5 P_To:5 P_Value:1 P_Bpat:2 P_Bfcol:2 P_Bbcol:2 P_Psty:2 P_Ppat:2 P_Pcol:2 Comments:1 "
              "|label,0,10.5,,1,1122867,4478310,2,4,3153936,comment|label,10.5,1e+20,,1,16777215,-1,2,4,3153936," +
                  std::string(254, 'c') + "|label,-3.25,0.001,,5,255,65280,2,4,3153936,comment");
    CLLLegend back;
    back.ImportTAB(path, "LABEL", 0, prompt);
    EXPECT_TRUE(prompt.m_Messages.empty());
    CLLRow r;
    ASSERT_TRUE(back.GetRow(1, r));
    EXPECT_EQ(back.m_FileTitle + " " + back.m_FilePath + " " + Header(back.m_FillColours) + " " +
                  std::to_string(r.backColour.GetPacked()) + std::to_string(back.RowListsAgree()),
              "grades " + path + " 3 " + path + " 3/3 01");

    // A failed export leaves the old table as it was; a table cut short is reported.
    const auto before = Snapshot(dir.Path());
    ASSERT_EQ(before.size(), 4u); // .dat, .id, .map, .tab
    std::string rows;
    for (int i = 0; i < 200; ++i)
        rows += std::to_string(i) + " " + std::to_string(i + 1) + " \"label\" 0 0 2 1056816 4 2 # comment\n";
    const CLLLegend big = NumericLegend(rows);
    {
        // As on a full disk: the programs ignore the signal and see the error.
        const auto previous = std::signal(SIGXFSZ, SIG_IGN);
        CFileSizeLimit limit(4096);
        std::string why;
        EXPECT_FALSE(big.ExportTAB(path, &why));
        EXPECT_EQ(why, "Could not create " + path + ": Failed writing 425 bytes at offset 8035.");
        std::signal(SIGXFSZ, previous);
    }
    EXPECT_EQ(Snapshot(dir.Path()), before);
    ASSERT_TRUE(big.ExportTAB(path));
    EXPECT_EQ(TableRows(path).size(), 203u);
    EXPECT_EQ(Snapshot(dir.Path()).size(), 4u); // no temporary file left beside it
    // A data file cut short is reported, not read as a shorter table.
    const std::string data = ReadTextFile(dir.File("grades.dat"));
    WriteTextFile(dir.File("grades.dat"), data.substr(0, data.size() - 100));
    CLLLegend l;
    l.ImportTAB(path, "", 0, prompt);
    EXPECT_EQ(l.GetRowCount(), 0);
    EXPECT_EQ(prompt.Texts(), (std::vector<std::string>{"Could not open " + path +
                                                        ": ReadBytes(): Attempt to read past end of data block."}));
    ASSERT_TRUE(NumericLegend().ExportTAB(dir.File("copy")));
    EXPECT_EQ(TableRows(dir.File("copy.tab")).size(), 3u);
    // Text is cut to the field width at a character boundary.
    const std::string e = "\xC3\xA9", a252(252, 'a'), a253(253, 'a'); // e: é in UTF-8
    // Windows-1252 text has one byte a character, even bytes that would continue a UTF-8 one (0xA9: ©).
    const std::tuple<std::string, int, std::string> cases[] = {
        {a253 + e, TabField::Comments, a253},
        {a252 + e + "z", TabField::Comments, a252 + e},
        {std::string(79, 'a') + "\xE2\x82\xAC", TabField::Name, std::string(79, 'a')},
        {std::string(48, 'a') + "\xF0\x9F\x98\x80", TabField::Value, std::string(48, 'a')},
        {std::string(300, '\xA9'), TabField::Comments, std::string(254, '\xA9')}};
    for (const auto& [text, field, kept] : cases)
        EXPECT_EQ(FitTabText(text, field), kept) << text.size() << " bytes";
}

// Tables as other tools make them, each imported under a name: the messages shown and the legend then saved.
TEST(TabImport, TablesOfOtherToolsGiveTheseLegends)
{
    SKIP_WITHOUT_OGR2OGR();
    const std::string std = StandardCsvHeader,
                      mapCode = "MapCode,Desc1,Fore_Red,Fore_Green,Fore_Blue,Pattern,"
                                "Back_Red,Back_Green,Back_Blue,Pen_Red,Pen_Green,Pen_Blue,Pen_Style,Pen_Thick\n";
    struct Case {
        const char* table; // also the file name
        std::string csv, csvt, name;
        int32_t localeNumbers;
        std::string message, leg; // the message after the path
    } const cases[] = {
        {"foreign",
         std + "Rock,0,10.5,,2,16711680,-1,1.5,2,255,hello\nSoil,1,2,,3,0,0,1,1,0,x\n"
               "rock,10.5,20,,1,65280,16776960,3,0,8421504,\n",
         "", "ROCK", 0, "",
         Leg(NC, "0 10.5 \"\" 255 4278190080 2 16711680 2 1.5 # hello\n10.5 20 \"\" 65280 65535 0 8421504 0 3\n",
             "ROCK")},
        {"typed", std + "A,0.1,0.5,,0,0,0,1,0,0,\n", StandardCsvTypes, "A", 1, "",
         Leg(NC, "0.1 0.5 \"\" 0 0 0 0 0 1\n", "A")},
        {"mixed", std + "A,0,1,,0,0,0,1,0,0,\nA,1,2,granite,0,0,0,1,0,0,\n", StandardCsvTypes, "A", 0, "",
         Leg("TEXT", "\"\" \"\" 0 0 0 0 0 1\n\"granite\" \"\" 0 0 0 0 0 1\n", "A")},
        {"partial", "p_name,P_FROM,p_To,P_Bfcol\nA,1,2,255\nB,3,4,0\n", "String(20),Real,Real,Integer\n", "A", 0,
         "Could not find all the standard fields in %", Leg(NC, "1 2 \"\" 16711680 0 0 0 0 0\n", "A")},
        {"geol units",
         mapCode + "Qa,Alluvium,255,128,0,1,10,20,30,1,2,3,2,1.5\n"
                   "Tb,Basalt,0,0,255,4,255,255,255,0,0,0,1,0.5\n",
         "String(10),String(40),Integer,Integer,Integer,Integer,"
         "Integer,Integer,Integer,Integer,Integer,Integer,Integer,Real\n",
         "", 1, "",
         Leg("TEXT",
             "\"Qa\" \"\" 33023 1971210 0 197121 2 1.5 # Alluvium\n\"Tb\" \"\" 16711680 16777215 4 0 1 0.5 # Basalt\n",
             "geol units")},
        {"short", "P_Name,MapCode,Fore_Red,Fore_Green,Fore_Blue\nX,Qa,1,2,3\n", "", "", 0,
         "Could not find all the standard fields in %", Leg("TEXT", "\"Qa\" \"\" 197121 0 0 0 0 0\n", "short")},
    };
    CTempDir dir;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.table);
        ASSERT_TRUE(MakeTabFromCsv(dir.Path(), c.table, c.csv, c.csvt));
        CRecordingPrompt prompt;
        const std::string path = dir.File(std::string(c.table) + ".tab");
        CLLLegend l = NumericLegend();
        l.ImportTAB(path, c.name, c.localeNumbers, prompt, {".", ","});
        std::string message = c.message;
        if (const size_t at = message.find('%'); at != std::string::npos)
            message.replace(at, 1, path);
        EXPECT_EQ(prompt.Texts(), message.empty() ? std::vector<std::string>{} : std::vector<std::string>{message});
        EXPECT_EQ(l.LEGText(), c.leg);
        EXPECT_TRUE(l.RowListsAgree());
    }
}
