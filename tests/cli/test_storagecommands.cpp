#include "cli/clirun.h"
#include "platform/ogrtables.h"

namespace {

const char* kNumericLegend =
    "LegendTable Begin\n\tName\t\t= \"Grades\"\n\tDataType\t= NUMERICCONTINUOUS\n\tLEG\t\t= {\n"
    "\t\t0\t10\t\"Low\"\t255\t4278190080\t0\t0\t2\t1\n\t}\nLegendTable End\n";

// The table %/tables/NAME.tab of legends by these names, one row each.
void MakeNamesTable(const CCliSandbox& cli, const std::string& table, const std::vector<std::string>& names)
{
    std::string csv(StandardCsvHeader);
    for (const std::string& name : names)
        csv += name + ",0,1,,0,255,-1,1,2,0,\n";
    EXPECT_TRUE(MakeTabFromCsv(cli.Dir("tables"), table, csv, StandardCsvTypes));
}

} // namespace

// Folders are stored with one trailing slash, a file as given; names are case-free. A settings file that is there but
// cannot be read is no "not set": the legend folder is unknown, so nothing is read from or written to any other folder.
TEST(CliSettings, GetSetStoredFoldersAndAnUnreadableSettingsFile)
{
    CCliSandbox cli;
    cli.Expect({
        {"settings get LUT_PATH", "1||tessarin-cli settings: LUT_PATH is not set\n"},
        {"settings set LUT_PATH /data/lut", "0||"},
        {"settings set brush_path /data/patterns/", "0||"},
        {"settings set PEN_FILE /data/pens/a.pen", "0||"},
        {"settings get LUT_PATH", "0|/data/lut/\n|"},
        {"settings get HOME_PATH",
         "1||tessarin-cli settings: unknown setting HOME_PATH (LUT_PATH, BRUSH_PATH or PEN_FILE)\n"},
    });
    EXPECT_EQ(ReadTextFile(cli.File("config/Ferrolin/Common.conf")),
              "[General]\nLUT_PATH=/data/lut/\nBRUSH_PATH=/data/patterns/\nPEN_FILE=/data/pens/a.pen\n");
    fs::remove(cli.File("config/Ferrolin/Common.conf"));
    MakeNamesTable(cli, "names", {"A"});
    const std::string work = cli.Dir("work");
    WriteTextFile(cli.Dir("system/Ferrolin") + "/Common.conf", "[General]\nLUT_PATH=/m/\n");
    cli.Dir("config/Ferrolin/Common.conf");
    const std::string why = ": cannot read the settings file %/config/Ferrolin/Common.conf: EISDIR";
    cli.Expect({{"settings get LUT_PATH", "1||tessarin-cli settings" + why + "\n"},
                {"list", "1||tessarin-cli list" + why + "\n"},
                {"export-all %/work/all.tab", "1||tessarin-cli export-all" + why + "; %/work/all.tab left as it was\n"},
                {"tab2leg %/tables/names.tab", "1||tessarin-cli tab2leg" + why + "\n"}},
               "cd '" + work + "'");
    EXPECT_TRUE(fs::is_empty(work));
}

// tab2leg prints the legends written, the names skipped, or "unchanged" as the stored stamp says; tab-import reads
// numbers with the separators it is given.
TEST(CliTab2Leg, PrintsWhatItConvertedSkippedAndCouldNotWrite)
{
    SKIP_WITHOUT_OGR2OGR();
    CCliSandbox cli;
    MakeNamesTable(cli, "names", {"A", "\"two\nlines\"", "B"});
    ASSERT_TRUE(MakeTabFromCsv(cli.Dir("tables"), "codes", "MapCode,Desc1\nQa,x\n"));
    cli.Dir("lut");
    ASSERT_EQ(cli.Run("settings set LUT_PATH %/lut"), "0||");
    WriteTextFile(cli.File("config/Ferrolin/leg2tab.conf"), "[Settings]\nTimeStamp_TAB2LEG=never\n");
    const std::string skipped = "tessarin-cli tab2leg: skipped the legend name \"two\\nlines\": not a file name\n";
    cli.Expect({{"tab-names %/tables/codes.tab", "0|map-code table\n|"},
                {"tab-names %/tables/names.tab", "0|A\ntwo\\nlines\nB\n|"},
                {"tab2leg %/tables/names.tab --check-timestamp", "1|%/lut/A.leg\n%/lut/B.leg\n|" + skipped},
                {"tab2leg %/tables/names.tab --check-timestamp", "0|unchanged\n|"}});
    ASSERT_TRUE(MakeTabFromCsv(cli.Dir("tables"), "de",
                               std::string(StandardCsvHeader) + "Rock,\"1.234,5\",\"2.000,75\",,0,0,-1,1,2,0,\n"));
    for (const auto& [options, range] :
         {std::pair{" --locale-numbers --thousands . --decimal ,", "\t\t1234.5\t2000.75\t"}, {"", "\t\t1.234\t2\t"}}) {
        EXPECT_EQ(cli.Run("tab-import %/tables/de.tab rock %/rock.leg" + std::string(options)), "0||");
        EXPECT_NE(ReadTextFile(cli.File("rock.leg")).find(range), std::string::npos) << options;
    }
    fs::remove(cli.File("lut/B.leg"));
    const std::string failed = "tessarin-cli tab2leg: Could not ";
    EXPECT_EQ(cli.Run("tab2leg %/tables/names.tab", "trap '' XFSZ; ulimit -f 0"),
              "1||" + failed + "save %/lut/A.leg: EFBIG\n" + failed + "create %/lut/B.leg: EFBIG\n" + skipped);
}

// Each failure exits 1 (2 for a usage error), prints nothing on standard output, names the cause and touches no file.
TEST(CliFailures, ExitCodeMessageAndNothingTouched)
{
    SKIP_WITHOUT_OGR2OGR();
    CCliSandbox cli;
    const std::string f = cli.Dir("w");
    WriteTextFile(f + "/grades.leg", kNumericLegend);
    WriteTextFile(f + "/kept.leg", "keep");
    WriteTextFile(f + "/names.leg", "LEG = {\n0 1 \"A\" 0 0 0\n");
    ASSERT_EQ(cli.Run("tab-export %/w/names.leg %/w/names.tab"), "0||");
    ASSERT_TRUE(MakeTabFromCsv(f, "other", "ID,Text\n1,x\n"));
    const struct {
        std::string line, err; // after "tessarin-cli COMMAND: "
        int exitCode = 1;
    } cases[] = {
        {"leg-copy %/w/none.leg %/w/kept.leg", "cannot read %/w/none.leg: ENOENT\n"},
        {"leg-dump %/w/none.leg", "cannot read %/w/none.leg: ENOENT\n"},
        {"lut-dump %/w/none.leg", "cannot read %/w/none.leg: ENOENT\n"},
        {"lut-legend %/w/none.leg", "cannot read %/w/none.leg: ENOENT\n"},
        {"leg-copy %/w/grades.leg %/w/no/out.leg", "Could not create %/w/no/out.leg: ENOENT\n"},
        {"tab-names %/w/none.tab", "Could not open %/w/none.tab: ENOENT\n"},
        {"tab2leg %/w/none.tab", "Could not open %/w/none.tab: ENOENT\n"},
        {"tab2leg %/w/other.tab", "%/w/other.tab: You must choose an input TAB file\n"},
        {"tab-import %/w/none.tab '' %/w/kept.leg", "Could not open %/w/none.tab: ENOENT\n"},
        {"tab-import %/w/names.tab '' %/w/no/o.leg", "Could not create %/w/no/o.leg: ENOENT\n"},
        {"tab-import %/w/other.tab A %/w/kept.leg", "Could not find all the standard fields in %/w/other.tab\n"},
        {"tab-import %/w/names.tab C %/w/kept.leg", "no legend named \"C\" in %/w/names.tab\n"},
        {"tab-import %/w/names.tab A %/w/names.tab", "the output %/w/names.tab is part of the table %/w/names.tab\n"},
        {"tab-import %/w/names.tab A %/w/names.dat", "the output %/w/names.dat is part of the table %/w/names.tab\n"},
        {"tab-export %/w/grades.leg %/w/no/out.tab", "Could not create %/w/no/out.tab: ENOENT\n"},
        {"tab-export %/w/none.leg %/w/x.tab", "Could not open %/w/none.leg: ENOENT\n"},
        {"export-all %/w/xs_colr --extra %/w", "Could not create %/w/xs_colr: the name does not end in \".tab\"\n"},
        {"leg-dump --bogus %/w/kept.leg", "unknown option '--bogus'\nUsage: tessarin-cli leg-dump FILE\n", 2},
        {"lut-dump -x %/w/kept.leg", "unknown option '-x'\nUsage: tessarin-cli lut-dump FILE\n", 2},
        {"export-all %/w/x.tab --extra",
         "option '--extra' needs a value\nUsage: tessarin-cli export-all OUT.tab [--product P] [--extra \"DIR;DIR\"]\n",
         2},
        {"tab-import %/w/names.tab x %/w/kept.leg --decimal ab", "--decimal takes one character\n", 2},
        {"tab-import %/w/names.tab x %/w/kept.leg --locale-numbers --thousands , --decimal ,",
         "the thousands and decimal separators must differ (both are ',')\n", 2},
        {"settings set LUT_PATH %/w/two\nlines", "LUT_PATH must not hold a control character\n", 2},
        {"settings put LUT_PATH",
         "unknown action 'put' (get or set)\nUsage: tessarin-cli settings get NAME | set NAME VALUE\n", 2},
    };
    const auto before = Snapshot(cli.Path());
    for (const auto& c : cases) {
        EXPECT_EQ(cli.Run(c.line),
                  std::to_string(c.exitCode) + "||tessarin-cli " + c.line.substr(0, c.line.find(' ')) + ": " + c.err);
        EXPECT_EQ(Snapshot(cli.Path()), before) << c.line;
    }
}

// Folders not entered are named; an unreadable legend, no legend or a failed write leave the old table as it was.
TEST(CliListAndExportAll, ListsLegendsAndFailuresNameTheCauseAndLeaveTheTable)
{
    CCliSandbox cli;
    // "name TAB path"; control characters and bytes that are no UTF-8 escaped; a folder that cannot be listed named.
    cli.Dir("lut");
    for (const char* file : {"lut/A.leg", "lut/two\nlines\\\x01.leg", "lut/\xFF\xFE\xC3\xBC\xC3.leg"})
        WriteTextFile(cli.File(file), kNumericLegend);
    const std::string odd = "\\xFF\\xFE\xC3\xBC\\xC3";
    cli.Expect({
        {"settings set LUT_PATH %/lut", "0||"},
        {"list --extra %/none", "1|A\t%/lut/A.leg\ntwo\\nlines\\\\\\x01\t%/lut/two\\nlines\\\\\\x01.leg\n" + odd +
                                    "\t%/lut/" + odd + ".leg\n|tessarin-cli list: cannot list %/none: ENOENT\n"},
        // The legends are named by file title, which ends at a '\\' as at a '/'.
        {"export-all %/all.tab", "0||"},
        {"tab-names %/all.tab", "0|A\n\\x01\n" + odd + "\n|"},
    });
    cli.Dir("empty");
    cli.Dir("host");
    WriteTextFile(cli.Dir("good") + "/grades.leg", kNumericLegend);
    // A regular file that exists but fails to read, whoever runs the test.
    fs::create_symlink("/proc/self/mem", cli.Dir("bad") + "/mem.leg");
    cli.Expect({{"settings set LUT_PATH %/empty", "0||"},
                {"export-all %/host/xs_colr.tab --product Quarvex --extra %/good", "0||"}});
    const auto before = Snapshot(cli.File("host"));
    const std::string prefix = "tessarin-cli export-all: ";
    const std::string notEntered = prefix + "cannot enter the folder %/host/none: ENOENT\n";
    const std::pair<std::string, std::string> cases[] = {
        {"%/good;%/bad", "1||" + prefix + "cannot read %/bad/mem.leg: EIO; %/host/xs_colr.tab left as it was\n"},
        {"%/host/none", "1||" + notEntered + prefix + "no legend found; %/host/xs_colr.tab left as it was\n"},
        {"%/host/none;%/good", "0||" + notEntered},
    };
    for (const auto& [extra, shown] : cases) {
        EXPECT_EQ(cli.Run("export-all %/host/xs_colr.tab --extra " + extra), shown);
        EXPECT_EQ(Snapshot(cli.File("host")), before) << extra;
    }
    EXPECT_EQ(cli.Run("export-all %/host/xs_colr.tab --extra %/good", "trap '' XFSZ; ulimit -f 0"),
              "1||" + prefix + "Could not save %/host/xs_colr.tab: Failed writing 385 bytes at offset 0.\n");
    EXPECT_EQ(Snapshot(cli.File("host")), before);
}
