#include "platform/ogrtables.h"
#include "platform/tabkit.h"
#include "support/runprocess.h"
#include "support/testfiles.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <clocale>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <functional>
#include <map>
#include <sys/stat.h>
#include <vector>

namespace fs = std::filesystem;

namespace {

// Every run gets the same private settings folders, never the user's.
class CCli {
public:
    CCli()
    {
        fs::create_directories(m_Dir.File("config"));
        fs::create_directories(m_Dir.File("system"));
    }
    CProcessResult Run(const std::vector<std::string>& args,
                       const std::vector<std::string>& env = {}) const
    {
        std::vector<std::string> all = {"XDG_CONFIG_HOME=" + m_Dir.File("config"),
                                        "XDG_CONFIG_DIRS=" + m_Dir.File("system")};
        all.insert(all.end(), env.begin(), env.end());
        return RunProcess(ProjectBinary("tessarin-cli"), args, all);
    }
    // Runs under a shell that first runs `setup` ("ulimit -f 8", ...).
    CProcessResult RunAfter(const std::string& setup, const std::vector<std::string>& args) const
    {
        std::vector<std::string> all = {"-c", setup + "; exec \"$0\" \"$@\"",
                                        ProjectBinary("tessarin-cli")};
        all.insert(all.end(), args.begin(), args.end());
        return RunProcess("/bin/bash", all,
                          {"XDG_CONFIG_HOME=" + m_Dir.File("config"),
                           "XDG_CONFIG_DIRS=" + m_Dir.File("system")});
    }
    std::string Folder(const std::string& name) const
    {
        fs::create_directories(m_Dir.File(name));
        return m_Dir.File(name);
    }
    std::string ConfigFile(const std::string& name) const { return m_Dir.File("config/" + name); }

private:
    CTempDir m_Dir;
};

const char* kNumericLegend = "LegendTable Begin\n"
                             "\tName\t\t= \"Grades\"\n"
                             "\tDescription = \"\"\n"
                             "\tDataType\t= NUMERICCONTINUOUS\n"
                             "\tLEG\t\t= {\n"
                             "\t\t0\t10\t\"Low\"\t255\t4278190080\t0\t0\t2\t1\n"
                             "\t\t10\t20\t\"High\"\t65280\t16777215\t4\t0\t2\t1 # top\n"
                             "\t}\n"
                             "LegendTable End\n";

std::string NamesTable(const CCli& cli)
{
    const std::string folder = cli.Folder("tables");
    EXPECT_TRUE(MakeTabFromCsv(folder, "names",
                               std::string(StandardCsvHeader) +
                                   "A,0,1,,0,255,-1,1,2,0,\n"
                                   "B,1,2,,0,255,-1,1,2,0,\n"
                                   "A,2,3,,0,255,-1,1,2,0,\n",
                               StandardCsvTypes));
    return folder + "/names.tab";
}

} // namespace

TEST(CliSettings, FoldersAreStoredWithOneTrailingSlashInTheUsersSettings)
{
    CCli cli;
    CProcessResult r = cli.Run({"settings", "get", "LUT_PATH"});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(r.err, "tessarin-cli settings: LUT_PATH is not set\n");

    ASSERT_EQ(cli.Run({"settings", "set", "LUT_PATH", "/data/lut"}).exitCode, 0);
    ASSERT_EQ(cli.Run({"settings", "set", "brush_path", "/data/patterns/"}).exitCode, 0);
    ASSERT_EQ(cli.Run({"settings", "set", "PEN_FILE", "/data/pens/a.pen"}).exitCode, 0);
    EXPECT_EQ(cli.Run({"settings", "get", "LUT_PATH"}).out, "/data/lut/\n");
    EXPECT_EQ(cli.Run({"settings", "get", "BRUSH_PATH"}).out, "/data/patterns/\n");
    EXPECT_EQ(cli.Run({"settings", "get", "PEN_FILE"}).out, "/data/pens/a.pen\n");
    EXPECT_EQ(ReadTextFile(cli.ConfigFile("Ferrolin/Common.conf")),
              "[General]\nLUT_PATH=/data/lut/\nBRUSH_PATH=/data/patterns/\n"
              "PEN_FILE=/data/pens/a.pen\n");
    // Settings it does not change keep their bytes, however QSettings would
    // have written them.
    const std::string others =
        "BRUSH_PATH=/x\\dir\\brushes\r\nPEN_FILE=/p;q.pen\r\nW=\"quoted\"\r\n";
    WriteTextFile(cli.ConfigFile("Ferrolin/Common.conf"), "[General]\r\n" + others);
    ASSERT_EQ(cli.Run({"settings", "set", "LUT_PATH", "/q"}).exitCode, 0);
    EXPECT_EQ(ReadTextFile(cli.ConfigFile("Ferrolin/Common.conf")),
              "[General]\r\n" + others + "LUT_PATH=/q/\r\n");

    r = cli.Run({"settings", "get", "HOME_PATH"});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_NE(r.err.find("unknown setting HOME_PATH"), std::string::npos);
}

TEST(CliList, ListsNameTabPathInCollectedOrder)
{
    CCli cli;
    const std::string lut = cli.Folder("lut"), extra = cli.Folder("extra");
    WriteTextFile(lut + "/b.leg", kNumericLegend);
    WriteTextFile(lut + "/A.leg", kNumericLegend);
    WriteTextFile(extra + "/a.leg", kNumericLegend);
    ASSERT_EQ(cli.Run({"settings", "set", "LUT_PATH", lut}).exitCode, 0);
    const CProcessResult r = cli.Run({"list", "--extra", extra + ";" + lut});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.out, "A\t" + lut + "/A.leg\nb\t" + lut + "/b.leg\na[1]\t" + extra + "/a.leg\n");
    // A folder that cannot be listed is named; the others are still listed.
    const struct {
        std::string lutPath, extra, out, err;
    } failures[] = {
        {lut, extra + "/none;" + extra, r.out, extra + "/none: " + std::strerror(ENOENT)},
        {lut + "/none", "", "", lut + "/none/: " + std::strerror(ENOENT)},
        {lut + "/b.leg", "", "", lut + "/b.leg/: " + std::strerror(ENOTDIR)},
    };
    for (const auto& c : failures) {
        ASSERT_EQ(cli.Run({"settings", "set", "LUT_PATH", c.lutPath}).exitCode, 0);
        const CProcessResult failed = cli.Run({"list", "--extra", c.extra});
        EXPECT_EQ(failed.exitCode, 1) << c.lutPath;
        EXPECT_EQ(failed.out, c.out);
        EXPECT_EQ(failed.err, "tessarin-cli list: cannot list " + c.err + "\n");
    }
}

TEST(CliList, EveryFileOnOneLineWhateverItsName)
{
    CCli cli;
    const std::string f2 = cli.Folder("f2");
    WriteTextFile(f2 + "/a.leg", kNumericLegend);
    WriteTextFile(f2 + "/A.LEG", kNumericLegend);
    WriteTextFile(f2 + "/two\nlines\\\x01.leg", kNumericLegend);
    // Bytes that are no UTF-8 are escaped one by one, UTF-8 is kept.
    WriteTextFile(f2 + "/\xFF\xFE\xC3\xBC\xC3.leg", kNumericLegend);
    fs::create_symlink("gone.leg", f2 + "/dangling.leg");
    fs::create_symlink("self.leg", f2 + "/self.leg");
    const CProcessResult r = cli.Run({"list", "--extra", f2});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    const std::string odd = "\\xFF\\xFE\xC3\xBC\\xC3";
    EXPECT_EQ(r.out, "A\t" + f2 + "/A.LEG\na[1]\t" + f2 + "/a.leg\n" + "two\\nlines\\\\\\x01\t" +
                         f2 + "/two\\nlines\\\\\\x01.leg\n" + odd + "\t" + f2 + "/" + odd +
                         ".leg\n");
    // export-all takes the same list: no default legend for a broken link.
    ASSERT_EQ(cli.Run({"export-all", f2 + "/all.tab", "--extra", f2}).exitCode, 0);
    const std::string tabNames = cli.Run({"tab-names", f2 + "/all.tab"}).out;
    EXPECT_EQ(tabNames.rfind("A\na\n", 0), 0u) << tabNames;
    EXPECT_NE(tabNames.find("\n" + odd + "\n"), std::string::npos) << tabNames;
    EXPECT_EQ(tabNames.find("dangling"), std::string::npos);
    EXPECT_EQ(tabNames.find("self"), std::string::npos);
}

TEST(CliTabNames, NamesOnceEachOrMapCode)
{
    SKIP_WITHOUT_OGR2OGR();
    CCli cli;
    const CProcessResult r = cli.Run({"tab-names", NamesTable(cli)});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.out, "A\nB\n");
    const std::string folder = cli.Folder("tables");
    ASSERT_TRUE(MakeTabFromCsv(folder, "codes", "MapCode,Desc1\nQa,x\n"));
    EXPECT_EQ(cli.Run({"tab-names", folder + "/codes.tab"}).out, "map-code table\n");
}

TEST(CliTabImport, LocaleNumbersWithGivenSeparators)
{
    SKIP_WITHOUT_OGR2OGR();
    CCli cli;
    const std::string folder = cli.Folder("tables");
    ASSERT_TRUE(MakeTabFromCsv(folder, "de",
                               std::string(StandardCsvHeader) +
                                   "Rock,\"1.234,5\",\"2.000,75\",,0,255,-1,1,2,0,c\n"));
    const std::string out = folder + "/rock.leg";
    const std::string row = "\t\"\"\t\t16711680\t4278190080\t0\t0\t2\t1 # c\n";
    const struct {
        std::vector<std::string> options;
        std::string from, to;
    } cases[] = {
        {{"--locale-numbers", "--thousands", ".", "--decimal", ","}, "1234.5", "2000.75"},
        {{}, "1.234", "2"},
    };
    for (const auto& c : cases) {
        std::vector<std::string> args = {"tab-import", folder + "/de.tab", "rock", out};
        args.insert(args.end(), c.options.begin(), c.options.end());
        const CProcessResult r = cli.Run(args);
        ASSERT_EQ(r.exitCode, 0) << r.err;
        EXPECT_EQ(ReadTextFile(out), "LegendTable Begin\n\tVersion\t= \"1.0\"\n\tName\t\t= \"rock\"\n"
                                     "\tDescription = \"\"\n\tDataType\t= NUMERICCONTINUOUS\n\tLEG\t\t= {\n\t\t" +
                                         c.from + "\t" + c.to + row + "\t}\nLegendTable End\n");
    }
}

TEST(CliTabExport, WritesATableWhoseNamesAreTheLabels)
{
    CCli cli;
    const std::string folder = cli.Folder("work");
    WriteTextFile(folder + "/grades.leg", kNumericLegend);
    CProcessResult r = cli.Run({"tab-export", folder + "/grades.leg", folder + "/out"});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    r = cli.Run({"tab-names", folder + "/out.tab"});
    EXPECT_EQ(r.out, "Low\nHigh\n");
}

TEST(CliTab2Leg, ConvertsIntoTheLegendFolderAndHonoursTheStoredStamp)
{
    SKIP_WITHOUT_OGR2OGR();
    CCli cli;
    const std::string tab = NamesTable(cli);
    const std::string lut = cli.Folder("lut");
    ASSERT_EQ(cli.Run({"settings", "set", "LUT_PATH", lut}).exitCode, 0);

    CProcessResult r = cli.Run({"tab2leg", tab, "--check-timestamp"});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.out, lut + "/A.leg\n" + lut + "/B.leg\n" + lut + "/A.leg\n");
    // Without a stored stamp none is made.
    EXPECT_FALSE(fs::exists(cli.ConfigFile("Ferrolin/leg2tab.conf")));

    // The stamp another tool of the suite leaves behind.
    WriteTextFile(cli.ConfigFile("Ferrolin/leg2tab.conf"),
                  "[Settings]\nTimeStamp_TAB2LEG=never\n");
    r = cli.Run({"tab2leg", tab, "--check-timestamp"});
    EXPECT_EQ(r.out, lut + "/A.leg\n" + lut + "/B.leg\n" + lut + "/A.leg\n");
    r = cli.Run({"tab2leg", tab, "--check-timestamp"});
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_EQ(r.out, "unchanged\n");

    // No legend can be written: one that is there is "saved", a new one "created".
    fs::remove(lut + "/B.leg");
    r = cli.RunAfter("trap '' XFSZ; ulimit -f 0", {"tab2leg", tab});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(r.out, "");
    const std::string failed = "tessarin-cli tab2leg: Could not ";
    EXPECT_EQ(r.err, failed + "save " + lut + "/A.leg\n" + failed + "create " + lut + "/B.leg\n" +
                         failed + "save " + lut + "/A.leg\n");

}

TEST(CliExportAll, EveryListedLegendGoesIntoOneTable)
{
    CCli cli;
    const std::string lut = cli.Folder("lut"), out = cli.Folder("host");
    WriteTextFile(lut + "/grades.leg", kNumericLegend);
    WriteTextFile(lut + "/other.leg", kNumericLegend);
    ASSERT_EQ(cli.Run({"settings", "set", "LUT_PATH", lut}).exitCode, 0);
    CProcessResult r = cli.Run({"export-all", out + "/xs_colr.tab", "--product", "Quarvex"});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(cli.Run({"tab-names", out + "/xs_colr.tab"}).out, "grades\nother\n");
    EXPECT_FALSE(fs::exists(out + "/xs_colr.map"));
    EXPECT_FALSE(fs::exists(out + "/xs_colr.id"));
}

namespace {

// Every name under a folder, with the bytes of each regular file: what a
// failed command must leave.
std::map<std::string, std::string> Snapshot(const std::string& folder)
{
    std::map<std::string, std::string> files;
    for (const auto& e : fs::recursive_directory_iterator(folder))
        files[e.path().string()] = e.is_regular_file() ? ReadTextFile(e.path().string()) : "";
    return files;
}

} // namespace

// Each failure exits 1 (2 for a usage error), prints nothing on standard
// output, names the file and the reason, never waits on a FIFO and leaves
// every file as it was.
TEST(CliFailures, ExitCodeMessageAndNothingTouched)
{
    SKIP_WITHOUT_OGR2OGR();
    CCli cli;
    const std::string f = cli.Folder("work"), lut = cli.Folder("lut");
    ASSERT_EQ(cli.Run({"settings", "set", "LUT_PATH", lut}).exitCode, 0);
    WriteTextFile(f + "/grades.leg", kNumericLegend);
    WriteTextFile(lut + "/grades.leg", kNumericLegend);
    WriteTextFile(f + "/kept.leg", "keep");
    WriteTextFile(f + "/names.leg", "LEG = {\n0 1 \"A\" 0 0 0\n1 2 \"B\" 0 0 0\n2 3 \"A\" 0 0 0\n");
    for (const char* table : {"g2", "t", "cut", "names"})
        ASSERT_EQ(cli.Run({"tab-export", f + (table == std::string("names") ? "/names.leg" : "/grades.leg"),
                           f + "/" + table + ".tab"}).exitCode, 0);
    const std::string data = ReadTextFile(f + "/cut.dat");
    WriteTextFile(f + "/cut.dat", data.substr(0, data.size() - 20));
    fs::remove(f + "/g2.dat");
    ASSERT_EQ(::mkfifo((f + "/g2.dat").c_str(), 0600), 0);
    ASSERT_EQ(::mkfifo((f + "/fifo.tab").c_str(), 0600), 0);
    ASSERT_TRUE(MakeTabFromCsv(f, "other", "ID,Text\n1,x\n"));
    const std::string names = f + "/names.tab", out = f + "/kept.leg", none = std::strerror(ENOENT);
    const std::string fifo = "Could not open " + f + "/fifo.tab: not a regular file";
    const std::string side = "Could not open " + f + "/g2.tab: " + f + "/g2.dat: not a regular file";
    const std::string settingsUsage = "Usage: tessarin-cli settings get NAME | set NAME VALUE\n";
    const std::string importUsage = "Usage: tessarin-cli tab-import TAB NAME OUT.leg "
                                    "[--locale-numbers] [--thousands C] [--decimal C]\n";
    const struct {
        std::vector<std::string> args;
        std::string err; // after "tessarin-cli COMMAND: "
        int exitCode = 1;
    } cases[] = {
        {{"tab-names", f + "/none.tab"}, "Could not open " + f + "/none.tab: " + none + "\n"},
        {{"tab-names", f + "/fifo.tab"}, fifo + "\n"},
        {{"tab-names", f + "/g2.tab"}, side + "\n"},
        {{"tab2leg", f + "/none.tab"}, "Could not open " + f + "/none.tab: " + none + "\n"},
        {{"tab2leg", f + "/fifo.tab"}, fifo + "\n"},
        {{"tab2leg", f + "/other.tab"}, f + "/other.tab: You must choose an input TAB file\n"},
        {{"tab-import", f + "/none.tab", "A", out}, "Could not open " + f + "/none.tab: " + none + "\n"},
        {{"tab-import", f + "/fifo.tab", "", out}, fifo + "\n"},
        {{"tab-import", f + "/g2.tab", "", out}, side + "\n"},
        {{"tab-import", f + "/t.tab", "", f + "/no/o.leg"}, "Could not create " + f + "/no/o.leg: " + none + "\n"},
        {{"tab-import", f + "/other.tab", "A", out}, "Could not find all the standard fields in " + f + "/other.tab\n"},
        {{"tab-import", names, "C", out}, "no legend named \"C\" in " + names + "\n"},
        {{"tab-import", f + "/cut.tab", "", out},
         "Could not open " + f + "/cut.tab: ReadBytes(): Attempt to read past end of data block.\n"},
        {{"tab-import", names, "A", names}, "the output " + names + " is part of the table " + names + "\n"},
        {{"tab-import", names, "A", f + "/names.dat"},
         "the output " + f + "/names.dat is part of the table " + names + "\n"},
        {{"tab-export", f + "/grades.leg", f + "/no/out.tab"}, "Could not create " + f + "/no/out.tab: " + none + "\n"},
        {{"tab-export", f + "/none.leg", f + "/x.tab"}, "Could not open " + f + "/none.leg: " + none + "\n"},
        {{"export-all", f + "/no/xs_colr.tab"}, "Could not create " + f + "/no/xs_colr.tab: " + none + "\n"},
        {{"export-all", f + "/xs_colr"}, "Could not create " + f + "/xs_colr: the name does not end in \".tab\"\n"},
        {{"leg-dump", "--bogus", out}, "unknown option '--bogus'\nUsage: tessarin-cli leg-dump FILE\n", 2},
        {{"tab-import", names, "x", out, "--locale-number"}, "unknown option '--locale-number'\n" + importUsage, 2},
        {{"tab2leg", names, "--check-timestamps"},
         "unknown option '--check-timestamps'\nUsage: tessarin-cli tab2leg TAB [--check-timestamp]\n", 2},
        {{"export-all", f + "/x.tab", "--extra"}, "option '--extra' needs a value\n"
         "Usage: tessarin-cli export-all OUT.tab [--product P] [--extra \"DIR;DIR\"]\n", 2},
        {{"lut-dump", "-x", out}, "unknown option '-x'\nUsage: tessarin-cli lut-dump FILE\n", 2},
        {{"lut-legend", out, "-v"}, "unknown option '-v'\nUsage: tessarin-cli lut-legend FILE\n", 2},
        {{"tab-import", names, "x", out, "--decimal", "ab"}, "--decimal takes one character\n", 2},
        {{"tab-import", names, "x", out, "--thousands", ""}, "--thousands takes one character\n", 2},
        {{"tab-import", names, "x", out, "--locale-numbers", "--thousands", ",", "--decimal", ","},
         "the thousands and decimal separators must differ (both are ',')\n", 2},
        {{"settings", "set", "LUT_PATH", f + "/two\nlines"}, "LUT_PATH must not hold a control character\n", 2},
        {{"settings", "set", "BRUSH_PATH", "tab\there"}, "BRUSH_PATH must not hold a control character\n", 2},
        {{"settings", "put", "LUT_PATH"}, "unknown action 'put' (get or set)\n" + settingsUsage, 2},
        {{"settings", "set", "LUT_PATH"}, "missing arguments\n" + settingsUsage, 2},
    };
    const auto before = Snapshot(cli.Folder(""));
    for (const auto& c : cases) {
        SCOPED_TRACE(c.args[0] + " " + c.args[1]);
        const CProcessResult r = cli.Run(c.args);
        EXPECT_EQ(r.exitCode, c.exitCode);
        EXPECT_EQ(r.out, "");
        EXPECT_EQ(r.err, "tessarin-cli " + c.args[0] + ": " + c.err);
        EXPECT_EQ(Snapshot(cli.Folder("")), before);
    }
}

TEST(CliTabExport, AFileSizeLimitFailsWithTheReasonAndKeepsTheOldTable)
{
    CCli cli;
    const std::string folder = cli.Folder("work");
    WriteTextFile(folder + "/grades.leg", kNumericLegend);
    ASSERT_EQ(cli.Run({"tab-export", folder + "/grades.leg", folder + "/out.tab"}).exitCode, 0);
    std::string big = "LegendTable Begin\n\tDataType = NUMERICCONTINUOUS\n\tLEG = {\n";
    for (int i = 0; i < 400; ++i)
        big += std::to_string(i) + "\t" + std::to_string(i + 1) + "\t\"row\"\t255\t0\t0\t0\t2\t1 # " +
               std::string(200, 'c') + "\n";
    WriteTextFile(folder + "/big.leg", big + "\t}\nLegendTable End\n");
    std::vector<std::string> before;
    for (const char* ext : {"tab", "dat", "map", "id"})
        before.push_back(ReadTextFile(folder + "/out." + ext));

    const std::string failed = " " + folder + "/out.tab: Failed writing 425 bytes at offset 20360.\n";
    const struct {
        std::vector<std::string> args;
        std::string err;
    } cases[] = {
        {{"tab-export", folder + "/big.leg", folder + "/out.tab"},
         "tessarin-cli tab-export: Could not create" + failed},
        {{"export-all", folder + "/out.tab", "--extra", folder},
         "tessarin-cli export-all: Could not save" + failed},
    };
    for (const auto& c : cases) {
        const CProcessResult r = cli.RunAfter("trap '' XFSZ; ulimit -f 16", c.args);
        EXPECT_EQ(r.exitCode, 1) << c.args[0];
        EXPECT_EQ(r.err, c.err);
        std::vector<std::string> after;
        for (const char* ext : {"tab", "dat", "map", "id"})
            after.push_back(ReadTextFile(folder + "/out." + ext));
        EXPECT_EQ(after, before) << c.args[0];
        EXPECT_EQ(std::distance(fs::directory_iterator(folder), fs::directory_iterator()), 6);
    }
}

TEST(CliTabRoundTrip, ExportThenImportUnderADecimalCommaLocaleKeepsTheNumbers)
{
    const std::string previous = std::setlocale(LC_ALL, nullptr);
    const bool haveGerman = std::setlocale(LC_ALL, "de_DE.UTF-8") != nullptr;
    std::setlocale(LC_ALL, previous.c_str());
    if (!haveGerman)
        GTEST_SKIP() << "de_DE.UTF-8 is not installed";
    CCli cli;
    const std::string folder = cli.Folder("work");
    WriteTextFile(folder + "/fine.leg", "LegendTable Begin\n\tDataType = NUMERICCONTINUOUS\n"
                                        "\tLEG = {\n0.1\t0.5\t\"a\"\t255\t0\t0\t0\t2\t1\n"
                                        "0.5\t1234.5\t\"a\"\t255\t0\t0\t0\t2\t1\n\t}\n"
                                        "LegendTable End\n");
    const std::vector<std::string> german = {"LC_ALL=de_DE.UTF-8"};
    CProcessResult r = cli.Run({"tab-export", folder + "/fine.leg", folder + "/fine.tab"}, german);
    ASSERT_EQ(r.exitCode, 0) << r.err;
    r = cli.Run({"tab-import", folder + "/fine.tab", "a", folder + "/back.leg", "--locale-numbers"},
                german);
    ASSERT_EQ(r.exitCode, 0) << r.err;
    const std::string back = ReadTextFile(folder + "/back.leg");
    EXPECT_NE(back.find("\t0.1\t0.5\t"), std::string::npos) << back;
    EXPECT_NE(back.find("\t0.5\t1234.5\t"), std::string::npos) << back;
}

TEST(CliTab2Leg, NamesFromDataArePrintedEscapedAndHiddenBlankOrControlNamesSkipped)
{
    SKIP_WITHOUT_OGR2OGR();
    CCli cli;
    const std::string folder = cli.Folder("tables"), lut = cli.Folder("lut");
    ASSERT_EQ(cli.Run({"settings", "set", "LUT_PATH", lut}).exitCode, 0);
    ASSERT_TRUE(MakeTabFromCsv(folder, "data",
                               std::string(StandardCsvHeader) +
                                   "\"two\nlines\",0,1,,0,255,-1,1,2,0,\n"
                                   ".hidden,1,2,,0,255,-1,1,2,0,\n"
                                   "\"  \",2,3,,0,255,-1,1,2,0,\n"
                                   "\"bell\x07\",3,4,,0,255,-1,1,2,0,\n"
                                   "Good,4,5,,0,255,-1,1,2,0,\n",
                               StandardCsvTypes));
    const std::string tab = folder + "/data.tab";
    CProcessResult r = cli.Run({"tab-names", tab});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.out, "two\\nlines\n.hidden\n  \nbell\\x07\nGood\n");

    r = cli.Run({"tab2leg", tab});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(r.out, lut + "/Good.leg\n");
    const std::string skipped = "tessarin-cli tab2leg: skipped the legend name ";
    EXPECT_EQ(r.err, skipped + "\"two\\nlines\": not a file name\n" + skipped +
                         "\".hidden\": not a file name\n" + skipped + "\"\": not a file name\n" +
                         skipped + "\"bell\\x07\": not a file name\n");
    std::vector<std::string> files;
    for (const auto& e : fs::directory_iterator(lut))
        files.push_back(e.path().filename().string());
    EXPECT_EQ(files, std::vector<std::string>{"Good.leg"});
}

TEST(CliExportAll, UnreadableLegendsAndNoLegendsLeaveTheTableAndFoldersNotEnteredAreNamed)
{
    CCli cli;
    const std::string empty = cli.Folder("empty"), good = cli.Folder("good"),
                      bad = cli.Folder("bad"), host = cli.Folder("host");
    const std::string none = host + "/none";
    WriteTextFile(good + "/grades.leg", kNumericLegend);
    // A regular file that exists but fails to read, whoever runs the test.
    fs::create_symlink("/proc/self/mem", bad + "/mem.leg");
    ASSERT_EQ(cli.Run({"settings", "set", "LUT_PATH", empty}).exitCode, 0);
    const std::string out = host + "/xs_colr.tab";
    ASSERT_EQ(cli.Run({"export-all", out, "--extra", good}).exitCode, 0);
    const std::string before = ReadTextFile(host + "/xs_colr.dat");
    const std::string prefix = "tessarin-cli export-all: ";
    struct Case {
        std::string extra;
        int exitCode;
        std::string err;
    };
    for (const Case& c : {
             Case{good + ";" + bad, 1,
                  prefix + "cannot read " + bad + "/mem.leg: " + std::strerror(EIO) + "; " + out +
                      " left as it was\n"},
             Case{none, 1,
                  prefix + "cannot enter the folder " + none + ": " + std::strerror(ENOENT) +
                      "\n" + prefix + "no legend found; " + out + " left as it was\n"},
             Case{none + ";" + good, 0,
                  prefix + "cannot enter the folder " + none + ": " + std::strerror(ENOENT) +
                      "\n"},
         }) {
        const CProcessResult r = cli.Run({"export-all", out, "--extra", c.extra});
        EXPECT_EQ(r.exitCode, c.exitCode) << c.extra;
        EXPECT_EQ(r.err, c.err);
        EXPECT_EQ(ReadTextFile(host + "/xs_colr.dat"), before) << c.extra;
    }
}

TEST(CliTabExport, ATableFileThatCannotBeReplacedLeavesTheWholeOldTable)
{
    CCli cli;
    const std::string f = cli.Folder("work");
    WriteTextFile(f + "/grades.leg", kNumericLegend);
    ASSERT_EQ(cli.Run({"tab-export", f + "/grades.leg", f + "/t.tab"}).exitCode, 0);
    // A table file that cannot be replaced leaves every file of the old table.
    if (std::system(("chattr +i '" + f + "/t.map' 2>/dev/null").c_str()) != 0)
        GTEST_SKIP() << "chattr +i does not work here";
    std::vector<std::string> before;
    for (const char* ext : {"tab", "dat", "map", "id"})
        before.push_back(ReadTextFile(f + "/t." + ext));
    std::string other = kNumericLegend;
    other.replace(other.find("High"), 4, "Peak");
    WriteTextFile(f + "/other.leg", other);
    const CProcessResult r = cli.Run({"tab-export", f + "/other.leg", f + "/t.tab"});
    [[maybe_unused]] const int unlocked = std::system(("chattr -i '" + f + "/t.map'").c_str());
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(r.err, "tessarin-cli tab-export: Could not create " + f + "/t.tab: " + f +
                         "/t.map: " + std::strerror(EPERM) + "\n");
    std::vector<std::string> after;
    for (const char* ext : {"tab", "dat", "map", "id"})
        after.push_back(ReadTextFile(f + "/t." + ext));
    EXPECT_EQ(after, before);
}

// A settings file that is there but cannot be read is no "not set": the legend
// folder is unknown, so nothing is read from or written to any other folder.
TEST(CliSettings, AnUnreadableSettingsFileIsAnErrorNamingTheFileAndTheReason)
{
    CCli cli;
    const std::string table = NamesTable(cli), work = cli.Folder("work"),
                      out = cli.Folder("out") + "/all.tab";
    const std::string path = cli.ConfigFile("Ferrolin/Common.conf");
    WriteTextFile(cli.Folder("system/Ferrolin") + "/Common.conf", "[General]\nLUT_PATH=/m/\n");
    fs::create_directories(cli.ConfigFile("Ferrolin"));
    const struct {
        const char* kind;
        std::function<void()> make;
        std::string reason;
    } kinds[] = {
        {"fifo", [&] { ASSERT_EQ(::mkfifo(path.c_str(), 0600), 0); }, "not a regular file"},
        {"folder", [&] { fs::create_directory(path); }, std::strerror(EISDIR)},
    };
    for (const auto& k : kinds) {
        fs::remove_all(path);
        k.make();
        const std::string why = "cannot read the settings file " + path + ": " + k.reason;
        const struct {
            std::vector<std::string> args;
            std::string err;
        } cases[] = {
            {{"settings", "get", "LUT_PATH"}, "tessarin-cli settings: " + why + "\n"},
            {{"list"}, "tessarin-cli list: " + why + "\n"},
            {{"export-all", out}, "tessarin-cli export-all: " + why + "; " + out + " left as it was\n"},
            {{"tab2leg", table}, "tessarin-cli tab2leg: " + why + "\n"},
        };
        for (const auto& c : cases) {
            SCOPED_TRACE(std::string(k.kind) + " " + c.args[0]);
            const CProcessResult r = cli.RunAfter("cd '" + work + "'", c.args);
            EXPECT_EQ(r.exitCode, 1);
            EXPECT_EQ(r.out, "");
            EXPECT_EQ(r.err, c.err);
            EXPECT_TRUE(fs::is_empty(work));
            EXPECT_FALSE(fs::exists(out));
        }
    }
}

// Mode 000 stops only a user who is not root: the tool runs as nobody.
TEST(CliSettings, ASettingsFileWithoutReadPermissionIsAnError)
{
    if (!fs::exists("/usr/bin/setpriv"))
        GTEST_SKIP() << "setpriv is missing";
    CCli cli;
    const std::string path = cli.ConfigFile("Ferrolin/Common.conf");
    WriteTextFile(cli.Folder("config/Ferrolin") + "/Common.conf", "[General]\nLUT_PATH=/a/\n");
    fs::permissions(path, fs::perms::none);
    fs::permissions(fs::path(cli.Folder("config")).parent_path(),
                    fs::perms::others_exec, fs::perm_options::add);
    const std::string why = "cannot read the settings file " + path + ": " + std::strerror(EACCES);
    for (const char* command : {"settings", "list"}) {
        SCOPED_TRACE(command);
        std::vector<std::string> args = {"-c", "exec setpriv --reuid=65534 --regid=65534 "
                                               "--clear-groups \"$@\"",
                                         "sh", ProjectBinary("tessarin-cli"), command};
        if (std::string(command) == "settings")
            args.insert(args.end(), {"get", "LUT_PATH"});
        const CProcessResult r =
            RunProcess("/bin/sh", args,
                       {"XDG_CONFIG_HOME=" + cli.Folder("config"), "XDG_CONFIG_DIRS=/nonexistent"});
        EXPECT_EQ(r.exitCode, 1);
        EXPECT_EQ(r.err, "tessarin-cli " + std::string(command) + ": " + why + "\n");
    }
}
