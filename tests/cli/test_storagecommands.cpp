#include "cli/clirun.h"
#include "platform/ogrtables.h"

#include <functional>

namespace {

const char* kNumericLegend =
    "LegendTable Begin\n\tName\t\t= \"Grades\"\n\tDataType\t= NUMERICCONTINUOUS\n\tLEG\t\t= {\n"
    "\t\t0\t10\t\"Low\"\t255\t4278190080\t0\t0\t2\t1\n"
    "\t\t10\t20\t\"High\"\t65280\t16777215\t4\t0\t2\t1 # top\n\t}\nLegendTable End\n";

// The table %/tables/names.tab of the legends A, B and A again.
void MakeNamesTable(const CCliSandbox& cli)
{
    const std::string row = ",0,1,,0,255,-1,1,2,0,\n";
    EXPECT_TRUE(MakeTabFromCsv(cli.Dir("tables"), "names", StandardCsvHeader + ("A" + row + "B" + row + "A" + row),
                               StandardCsvTypes));
}

} // namespace

TEST(CliSettings, FoldersAreStoredWithOneTrailingSlashInTheUsersSettings)
{
    CCliSandbox cli;
    cli.Expect({
        {"settings get LUT_PATH", "1||tessarin-cli settings: LUT_PATH is not set\n"},
        {"settings set LUT_PATH /data/lut", "0||"},
        {"settings set brush_path /data/patterns/", "0||"},
        {"settings set PEN_FILE /data/pens/a.pen", "0||"},
        {"settings get LUT_PATH", "0|/data/lut/\n|"},
        {"settings get BRUSH_PATH", "0|/data/patterns/\n|"},
        {"settings get PEN_FILE", "0|/data/pens/a.pen\n|"},
        {"settings get HOME_PATH",
         "1||tessarin-cli settings: unknown setting HOME_PATH (LUT_PATH, BRUSH_PATH or PEN_FILE)\n"},
    });
    const std::string file = cli.File("config/Ferrolin/Common.conf");
    EXPECT_EQ(ReadTextFile(file),
              "[General]\nLUT_PATH=/data/lut/\nBRUSH_PATH=/data/patterns/\nPEN_FILE=/data/pens/a.pen\n");
    // Settings it does not change keep their bytes, however QSettings would have written them.
    const std::string others = "[General]\r\nBRUSH_PATH=/x\\dir\\brushes\r\nPEN_FILE=/p;q.pen\r\nW=\"quoted\"\r\n";
    WriteTextFile(file, others);
    EXPECT_EQ(cli.Run("settings set LUT_PATH /q"), "0||");
    EXPECT_EQ(ReadTextFile(file), others + "LUT_PATH=/q/\r\n");
}

// Lines of "name TAB path" in collected order, every file on one line whatever
// its name; a folder that cannot be listed is named and the others still listed.
TEST(CliList, ListsNameTabPathInCollectedOrder)
{
    CCliSandbox cli;
    for (const char* folder : {"lut", "extra", "f2"})
        cli.Dir(folder);
    for (const char* file : {"lut/b.leg", "lut/A.leg", "extra/a.leg", "f2/a.leg", "f2/A.LEG", "f2/two\nlines\\\x01.leg",
                             "f2/\xFF\xFE\xC3\xBC\xC3.leg"})
        WriteTextFile(cli.File(file), kNumericLegend);
    fs::create_symlink("gone.leg", cli.File("f2/dangling.leg"));
    fs::create_symlink("self.leg", cli.File("f2/self.leg"));
    const std::string listed = "A\t%/lut/A.leg\nb\t%/lut/b.leg\na[1]\t%/extra/a.leg\n";
    // Bytes that are no UTF-8 are escaped one by one, UTF-8 is kept.
    const std::string odd = "\\xFF\\xFE\xC3\xBC\\xC3", cannot = "tessarin-cli list: cannot list %/";
    cli.Expect({
        {"settings set LUT_PATH %/lut", "0||"},
        {"list --extra %/extra;%/lut", "0|" + listed + "|"},
        {"list --extra %/extra/none;%/extra", "1|" + listed + "|" + cannot + "extra/none: ENOENT\n"},
        {"settings set LUT_PATH %/f2", "0||"},
        {"list --extra ''", "0|A\t%/f2/A.LEG\na[1]\t%/f2/a.leg\ntwo\\nlines\\\\\\x01\t%/f2/two\\nlines\\\\\\x01.leg\n" +
                                odd + "\t%/f2/" + odd + ".leg\n|"},
        // export-all takes the same list: no default legend for a broken link.
        {"export-all %/f2/all.tab", "0||"},
        // The legends are named by file title, which ends at a '\\' as at a '/'.
        {"tab-names %/f2/all.tab", "0|A\na\n\\x01\n" + odd + "\n|"},
        {"settings set LUT_PATH %/lut/none", "0||"},
        {"list", "1||" + cannot + "lut/none/: ENOENT\n"},
        {"settings set LUT_PATH %/lut/b.leg", "0||"},
        {"list", "1||" + cannot + "lut/b.leg/: ENOTDIR\n"},
    });
}

TEST(CliTabImport, LocaleNumbersWithGivenSeparators)
{
    SKIP_WITHOUT_OGR2OGR();
    CCliSandbox cli;
    const std::string row = "Rock,\"1.234,5\",\"2.000,75\",,0,255,-1,1,2,0,c\n";
    ASSERT_TRUE(MakeTabFromCsv(cli.Dir("tables"), "de", StandardCsvHeader + row));
    for (const auto& [options, range] :
         {std::pair{" --locale-numbers --thousands . --decimal ,", "1234.5\t2000.75"}, {"", "1.234\t2"}}) {
        EXPECT_EQ(cli.Run("tab-import %/tables/de.tab rock %/rock.leg" + std::string(options)), "0||");
        EXPECT_EQ(ReadTextFile(cli.File("rock.leg")),
                  "LegendTable Begin\n\tVersion\t= \"1.0\"\n\tName\t\t= \"rock\"\n\tDescription = \"\"\n"
                  "\tDataType\t= NUMERICCONTINUOUS\n\tLEG\t\t= {\n\t\t" +
                      std::string(range) + "\t\"\"\t\t16711680\t4278190080\t0\t0\t2\t1 # c\n\t}\nLegendTable End\n");
    }
}

TEST(CliTab2Leg, ConvertsIntoTheLegendFolderAndHonoursTheStoredStamp)
{
    SKIP_WITHOUT_OGR2OGR();
    CCliSandbox cli;
    MakeNamesTable(cli);
    cli.Dir("lut");
    const std::string all = "0|%/lut/A.leg\n%/lut/B.leg\n%/lut/A.leg\n|",
                      stamp = cli.File("config/Ferrolin/leg2tab.conf");
    cli.Expect({{"settings set LUT_PATH %/lut", "0||"}, {"tab2leg %/tables/names.tab --check-timestamp", all}});
    EXPECT_FALSE(fs::exists(stamp)); // without a stored stamp none is made
    // The stamp another tool of the suite leaves behind.
    WriteTextFile(stamp, "[Settings]\nTimeStamp_TAB2LEG=never\n");
    cli.Expect({{"tab2leg %/tables/names.tab --check-timestamp", all},
                {"tab2leg %/tables/names.tab --check-timestamp", "0|unchanged\n|"}});
    // No legend can be written: one that is there is "saved", a new one "created".
    fs::remove(cli.File("lut/B.leg"));
    const std::string failed = "tessarin-cli tab2leg: Could not ";
    EXPECT_EQ(cli.Run("tab2leg %/tables/names.tab", "trap '' XFSZ; ulimit -f 0"),
              "1||" + failed + "save %/lut/A.leg\n" + failed + "create %/lut/B.leg\n" + failed + "save %/lut/A.leg\n");
}

// Each failure exits 1 (2 for a usage error), prints nothing on standard
// output, names the file and the reason, never waits on a FIFO and leaves
// every file as it was.
TEST(CliFailures, ExitCodeMessageAndNothingTouched)
{
    SKIP_WITHOUT_OGR2OGR();
    CCliSandbox cli;
    const std::string f = cli.Dir("w");
    WriteTextFile(f + "/grades.leg", kNumericLegend);
    WriteTextFile(cli.Dir("lut") + "/grades.leg", kNumericLegend);
    WriteTextFile(f + "/kept.leg", "keep");
    WriteTextFile(f + "/names.leg", "LEG = {\n0 1 \"A\" 0 0 0\n1 2 \"B\" 0 0 0\n2 3 \"A\" 0 0 0\n");
    for (const char* line :
         {"settings set LUT_PATH %/lut", "tab-export %/w/grades.leg %/w/g2.tab", "tab-export %/w/grades.leg %/w/t.tab",
          "tab-export %/w/grades.leg %/w/cut.tab", "tab-export %/w/names.leg %/w/names.tab"})
        ASSERT_EQ(cli.Run(line), "0||");
    const std::string data = ReadTextFile(f + "/cut.dat");
    WriteTextFile(f + "/cut.dat", data.substr(0, data.size() - 20));
    fs::remove(f + "/g2.dat");
    ASSERT_EQ(::mkfifo((f + "/g2.dat").c_str(), 0600), 0);
    ASSERT_EQ(::mkfifo((f + "/fifo.tab").c_str(), 0600), 0);
    ASSERT_TRUE(MakeTabFromCsv(f, "other", "ID,Text\n1,x\n"));
    const std::string fifo = "Could not open %/w/fifo.tab: not a regular file\n";
    const std::string side = "Could not open %/w/g2.tab: %/w/g2.dat: not a regular file\n";
    const std::string settingsUsage = "Usage: tessarin-cli settings get NAME | set NAME VALUE\n";
    const std::string importUsage = "Usage: tessarin-cli tab-import TAB NAME OUT.leg "
                                    "[--locale-numbers] [--thousands C] [--decimal C]\n";
    const struct {
        std::string line, err; // after "tessarin-cli COMMAND: "
        int exitCode = 1;
    } cases[] = {
        {"tab-names %/w/none.tab", "Could not open %/w/none.tab: ENOENT\n"},
        {"tab-names %/w/fifo.tab", fifo},
        {"tab-names %/w/g2.tab", side},
        {"tab2leg %/w/none.tab", "Could not open %/w/none.tab: ENOENT\n"},
        {"tab2leg %/w/fifo.tab", fifo},
        {"tab2leg %/w/other.tab", "%/w/other.tab: You must choose an input TAB file\n"},
        {"tab-import %/w/none.tab A %/w/kept.leg", "Could not open %/w/none.tab: ENOENT\n"},
        {"tab-import %/w/fifo.tab '' %/w/kept.leg", fifo},
        {"tab-import %/w/g2.tab '' %/w/kept.leg", side},
        {"tab-import %/w/t.tab '' %/w/no/o.leg", "Could not create %/w/no/o.leg: ENOENT\n"},
        {"tab-import %/w/other.tab A %/w/kept.leg", "Could not find all the standard fields in %/w/other.tab\n"},
        {"tab-import %/w/names.tab C %/w/kept.leg", "no legend named \"C\" in %/w/names.tab\n"},
        {"tab-import %/w/cut.tab '' %/w/kept.leg",
         "Could not open %/w/cut.tab: ReadBytes(): Attempt to read past end of data block.\n"},
        {"tab-import %/w/names.tab A %/w/names.tab", "the output %/w/names.tab is part of the table %/w/names.tab\n"},
        {"tab-import %/w/names.tab A %/w/names.dat", "the output %/w/names.dat is part of the table %/w/names.tab\n"},
        {"tab-export %/w/grades.leg %/w/no/out.tab", "Could not create %/w/no/out.tab: ENOENT\n"},
        {"tab-export %/w/none.leg %/w/x.tab", "Could not open %/w/none.leg: ENOENT\n"},
        {"export-all %/w/no/xs_colr.tab", "Could not create %/w/no/xs_colr.tab: ENOENT\n"},
        {"export-all %/w/xs_colr", "Could not create %/w/xs_colr: the name does not end in \".tab\"\n"},
        {"leg-dump --bogus %/w/kept.leg", "unknown option '--bogus'\nUsage: tessarin-cli leg-dump FILE\n", 2},
        {"tab-import %/w/names.tab x %/w/kept.leg --locale-number", "unknown option '--locale-number'\n" + importUsage,
         2},
        {"export-all %/w/x.tab --extra",
         "option '--extra' needs a value\nUsage: tessarin-cli export-all OUT.tab [--product P] [--extra \"DIR;DIR\"]\n",
         2},
        {"lut-dump -x %/w/kept.leg", "unknown option '-x'\nUsage: tessarin-cli lut-dump FILE\n", 2},
        {"tab-import %/w/names.tab x %/w/kept.leg --decimal ab", "--decimal takes one character\n", 2},
        {"tab-import %/w/names.tab x %/w/kept.leg --thousands ''", "--thousands takes one character\n", 2},
        {"tab-import %/w/names.tab x %/w/kept.leg --locale-numbers --thousands , --decimal ,",
         "the thousands and decimal separators must differ (both are ',')\n", 2},
        {"settings set LUT_PATH %/w/two\nlines", "LUT_PATH must not hold a control character\n", 2},
        {"settings put LUT_PATH", "unknown action 'put' (get or set)\n" + settingsUsage, 2},
        {"settings set LUT_PATH", "missing arguments\n" + settingsUsage, 2},
    };
    const auto before = Snapshot(cli.Path());
    for (const auto& c : cases) {
        EXPECT_EQ(cli.Run(c.line),
                  std::to_string(c.exitCode) + "||tessarin-cli " + c.line.substr(0, c.line.find(' ')) + ": " + c.err);
        EXPECT_EQ(Snapshot(cli.Path()), before) << c.line;
    }
}

TEST(CliTabExport, AFileSizeLimitFailsWithTheReasonAndKeepsTheOldTable)
{
    CCliSandbox cli;
    WriteTextFile(cli.Dir("w") + "/grades.leg", kNumericLegend);
    ASSERT_EQ(cli.Run("tab-export %/w/grades.leg %/w/out.tab"), "0||");
    std::string big = "LegendTable Begin\n\tDataType = NUMERICCONTINUOUS\n\tLEG = {\n";
    for (int i = 0; i < 400; ++i)
        big += std::to_string(i) + "\t" + std::to_string(i + 1) + "\t\"row\"\t255\t0\t0\t0\t2\t1 # " +
               std::string(200, 'c') + "\n";
    WriteTextFile(cli.File("w/big.leg"), big + "\t}\nLegendTable End\n");
    const auto before = Snapshot(cli.File("w"));
    // The export of one legend always makes its table anew; export-all tells a table it replaces.
    const std::string failed = " %/w/out.tab: Failed writing 425 bytes at offset 20360.\n";
    for (const auto& [line, err] : {std::pair{"tab-export %/w/big.leg %/w/out.tab", "tab-export: Could not create"},
                                    {"export-all %/w/out.tab --extra %/w", "export-all: Could not save"}}) {
        EXPECT_EQ(cli.Run(line, "trap '' XFSZ; ulimit -f 16"), "1||tessarin-cli " + std::string(err) + failed);
        EXPECT_EQ(Snapshot(cli.File("w")), before) << line;
    }
}

TEST(CliTabNames, NamesOnceEachOrMapCodeEscapedAndTab2LegSkipsNamesThatAreNoFileNames)
{
    SKIP_WITHOUT_OGR2OGR();
    CCliSandbox cli;
    MakeNamesTable(cli);
    const std::string rest = ",0,1,,0,255,-1,1,2,0,\n";
    ASSERT_TRUE(MakeTabFromCsv(cli.Dir("tables"), "data",
                               StandardCsvHeader + ("\"two\nlines\"" + rest + ".hidden" + rest + "\"  \"" + rest +
                                                    "\"bell\x07\"" + rest + "Good" + rest),
                               StandardCsvTypes));
    ASSERT_TRUE(MakeTabFromCsv(cli.Dir("tables"), "codes", "MapCode,Desc1\nQa,x\n"));
    cli.Dir("lut");
    const std::string skipped = "tessarin-cli tab2leg: skipped the legend name ";
    cli.Expect({
        {"settings set LUT_PATH %/lut", "0||"},
        {"tab-names %/tables/names.tab", "0|A\nB\n|"},
        {"tab-names %/tables/codes.tab", "0|map-code table\n|"},
        {"tab-names %/tables/data.tab", "0|two\\nlines\n.hidden\n  \nbell\\x07\nGood\n|"},
        {"tab2leg %/tables/data.tab", "1|%/lut/Good.leg\n|" + skipped + "\"two\\nlines\": not a file name\n" + skipped +
                                          "\".hidden\": not a file name\n" + skipped + "\"\": not a file name\n" +
                                          skipped + "\"bell\\x07\": not a file name\n"},
    });
    EXPECT_EQ(Snapshot(cli.File("lut")).size(), 1u); // Good.leg
}

TEST(CliExportAll, UnreadableLegendsAndNoLegendsLeaveTheTableAndFoldersNotEnteredAreNamed)
{
    CCliSandbox cli;
    cli.Dir("empty");
    cli.Dir("host");
    WriteTextFile(cli.Dir("good") + "/grades.leg", kNumericLegend);
    // A regular file that exists but fails to read, whoever runs the test.
    fs::create_symlink("/proc/self/mem", cli.Dir("bad") + "/mem.leg");
    cli.Expect({{"settings set LUT_PATH %/empty", "0||"},
                {"export-all %/host/xs_colr.tab --product Quarvex --extra %/good", "0||"},
                {"tab-names %/host/xs_colr.tab", "0|grades\n|"}});
    const std::string before = ReadTextFile(cli.File("host/xs_colr.dat")), prefix = "tessarin-cli export-all: ";
    const std::string notEntered = prefix + "cannot enter the folder %/host/none: ENOENT\n";
    const std::pair<std::string, std::string> cases[] = {
        {"%/good;%/bad", "1||" + prefix + "cannot read %/bad/mem.leg: EIO; %/host/xs_colr.tab left as it was\n"},
        {"%/host/none", "1||" + notEntered + prefix + "no legend found; %/host/xs_colr.tab left as it was\n"},
        {"%/host/none;%/good", "0||" + notEntered},
    };
    for (const auto& [extra, shown] : cases) {
        EXPECT_EQ(cli.Run("export-all %/host/xs_colr.tab --extra " + extra), shown);
        EXPECT_EQ(ReadTextFile(cli.File("host/xs_colr.dat")), before) << extra;
    }
}

// A settings file that is there but cannot be read is no "not set": the legend
// folder is unknown, so nothing is read from or written to any other folder.
TEST(CliSettings, AnUnreadableSettingsFileIsAnErrorNamingTheFileAndTheReason)
{
    CCliSandbox cli;
    MakeNamesTable(cli);
    const std::string path = cli.Dir("config/Ferrolin") + "/Common.conf", work = cli.Dir("work");
    cli.Dir("out");
    WriteTextFile(cli.Dir("system/Ferrolin") + "/Common.conf", "[General]\nLUT_PATH=/m/\n");
    const std::pair<std::function<void()>, std::string> kinds[] = {
        {[&] { ASSERT_EQ(::mkfifo(path.c_str(), 0600), 0); }, "not a regular file"},
        {[&] { fs::create_directory(path); }, "EISDIR"},
    };
    for (const auto& [make, reason] : kinds) {
        fs::remove_all(path);
        make();
        const std::string why = ": cannot read the settings file %/config/Ferrolin/Common.conf: " + reason;
        cli.Expect(
            {{"settings get LUT_PATH", "1||tessarin-cli settings" + why + "\n"},
             {"list", "1||tessarin-cli list" + why + "\n"},
             {"export-all %/out/all.tab", "1||tessarin-cli export-all" + why + "; %/out/all.tab left as it was\n"},
             {"tab2leg %/tables/names.tab", "1||tessarin-cli tab2leg" + why + "\n"}},
            "cd '" + work + "'");
        EXPECT_TRUE(fs::is_empty(work));
        EXPECT_TRUE(fs::is_empty(cli.File("out")));
    }
}

// Mode 000 stops only a user who is not root: the tool runs as nobody.
TEST(CliSettings, ASettingsFileWithoutReadPermissionIsAnError)
{
    if (!fs::exists("/usr/bin/setpriv"))
        GTEST_SKIP() << "setpriv is missing";
    CCliSandbox cli;
    const std::string path = cli.Dir("config/Ferrolin") + "/Common.conf";
    WriteTextFile(path, "[General]\nLUT_PATH=/a/\n");
    fs::permissions(path, fs::perms::none);
    fs::permissions(cli.Path(), fs::perms::others_exec, fs::perm_options::add);
    const std::string why = ": cannot read the settings file %/config/Ferrolin/Common.conf: EACCES\n";
    cli.Expect({{"settings get LUT_PATH", "1||tessarin-cli settings" + why}, {"list", "1||tessarin-cli list" + why}},
               "exec setpriv --reuid=65534 --regid=65534 --clear-groups \"$0\" \"$@\"");
}
