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

// "exit code|standard output|standard error" of a run.
std::string Show(const CProcessResult& r)
{
    return std::to_string(r.exitCode) + "|" + r.out + "|" + r.err;
}

// Every run gets the same private settings folders, never the user's.
class CCli {
public:
    CCli()
    {
        fs::create_directories(m_Dir.File("config/Ferrolin"));
        fs::create_directories(m_Dir.File("system"));
    }
    // Runs the tool, after `setup` in a shell when one is given ("ulimit -f 8", ...).
    CProcessResult Run(std::vector<std::string> args, const std::vector<std::string>& env = {},
                       const std::string& setup = "") const
    {
        std::vector<std::string> all = {"XDG_CONFIG_HOME=" + m_Dir.File("config"),
                                        "XDG_CONFIG_DIRS=" + m_Dir.File("system")};
        all.insert(all.end(), env.begin(), env.end());
        if (setup.empty())
            return RunProcess(ProjectBinary("tessarin-cli"), args, all);
        args.insert(args.begin(), {"-c", setup + "; exec \"$0\" \"$@\"", ProjectBinary("tessarin-cli")});
        return RunProcess("/bin/bash", args, all);
    }
    std::string Show(const std::vector<std::string>& args) const { return ::Show(Run(args)); }
    std::string Folder(const std::string& name) const
    {
        fs::create_directories(m_Dir.File(name));
        return m_Dir.File(name);
    }
    std::string ConfigFile(const std::string& name) const { return m_Dir.File("config/" + name); }
    // A folder with legends of these names, made the legend folder when asked.
    std::string Legends(const std::string& name, const std::vector<std::string>& legends,
                        bool legendFolder = false) const;

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

std::string CCli::Legends(const std::string& name, const std::vector<std::string>& legends,
                          bool legendFolder) const
{
    const std::string folder = Folder(name);
    for (const std::string& legend : legends)
        WriteTextFile(folder + "/" + legend, kNumericLegend);
    if (legendFolder) {
        EXPECT_EQ(Show({"settings", "set", "LUT_PATH", folder}), "0||");
    }
    return folder;
}

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

// The bytes of the four files of a table.
std::string TableBytes(const std::string& stem)
{
    std::string all;
    for (const char* ext : {".tab", ".dat", ".map", ".id"})
        all += ReadTextFile(stem + ext) + "|";
    return all;
}

} // namespace

TEST(CliSettings, FoldersAreStoredWithOneTrailingSlashInTheUsersSettings)
{
    CCli cli;
    const std::string conf = cli.ConfigFile("Ferrolin/Common.conf");
    EXPECT_EQ(cli.Show({"settings", "get", "LUT_PATH"}), "1||tessarin-cli settings: LUT_PATH is not set\n");
    const std::pair<std::vector<std::string>, const char*> steps[] = {
        {{"set", "LUT_PATH", "/data/lut"}, "0||"},
        {{"set", "brush_path", "/data/patterns/"}, "0||"},
        {{"set", "PEN_FILE", "/data/pens/a.pen"}, "0||"},
        {{"get", "LUT_PATH"}, "0|/data/lut/\n|"},
        {{"get", "BRUSH_PATH"}, "0|/data/patterns/\n|"},
        {{"get", "PEN_FILE"}, "0|/data/pens/a.pen\n|"},
        {{"get", "HOME_PATH"}, "1||tessarin-cli settings: unknown setting HOME_PATH (LUT_PATH, BRUSH_PATH or PEN_FILE)\n"},
    };
    for (const auto& [args, result] : steps) {
        std::vector<std::string> all = {"settings"};
        all.insert(all.end(), args.begin(), args.end());
        EXPECT_EQ(cli.Show(all), result);
    }
    EXPECT_EQ(cli.Run({"settings", "put", "LUT_PATH"}).exitCode, 2);
    EXPECT_EQ(ReadTextFile(conf),
              "[General]\nLUT_PATH=/data/lut/\nBRUSH_PATH=/data/patterns/\nPEN_FILE=/data/pens/a.pen\n");
    // Settings it does not change keep their bytes, however QSettings would have written them.
    const std::string others = "[General]\r\nBRUSH_PATH=/x\\dir\\brushes\r\nPEN_FILE=/p;q.pen\r\nW=\"quoted\"\r\n";
    WriteTextFile(conf, others);
    ASSERT_EQ(cli.Run({"settings", "set", "LUT_PATH", "/q"}).exitCode, 0);
    EXPECT_EQ(ReadTextFile(conf), others + "LUT_PATH=/q/\r\n");
}

TEST(CliList, ListsNameTabPathInCollectedOrderEveryFileOnOneLine)
{
    CCli cli;
    const std::string lut = cli.Legends("lut", {"b.leg", "A.leg"}, true), extra = cli.Legends("extra", {"a.leg"});
    EXPECT_EQ(cli.Show({"list", "--extra", extra + ";" + lut}),
              "0|A\t" + lut + "/A.leg\nb\t" + lut + "/b.leg\na[1]\t" + extra + "/a.leg\n|");
    // Bytes that are no UTF-8 are escaped one by one, UTF-8 is kept.
    const CCli bare;
    const std::string f2 = bare.Legends("f2", {"a.leg", "A.LEG", "two\nlines\\\x01.leg", "\xFF\xFE\xC3\xBC\xC3.leg"});
    fs::create_symlink("gone.leg", f2 + "/dangling.leg");
    fs::create_symlink("self.leg", f2 + "/self.leg");
    const std::string odd = "\\xFF\\xFE\xC3\xBC\\xC3", two = "two\\nlines\\\\\\x01";
    EXPECT_EQ(bare.Show({"list", "--extra", f2}), "0|A\t" + f2 + "/A.LEG\na[1]\t" + f2 + "/a.leg\n" + two + "\t" +
                                                     f2 + "/" + two + ".leg\n" + odd + "\t" + f2 + "/" + odd + ".leg\n|");
    // export-all takes the same list: no default legend for a broken link.
    ASSERT_EQ(bare.Run({"export-all", f2 + "/all.tab", "--extra", f2}).exitCode, 0);
    const std::string names = bare.Show({"tab-names", f2 + "/all.tab"});
    EXPECT_EQ(names.substr(0, 6) + names.substr(names.rfind(odd)), "0|A\na\n" + odd + "\n|");
    EXPECT_EQ(std::count(names.begin(), names.end(), '\n'), 4) << names;
}

TEST(CliTabNames, NamesOnceEachOrMapCode)
{
    SKIP_WITHOUT_OGR2OGR();
    CCli cli;
    EXPECT_EQ(cli.Show({"tab-names", NamesTable(cli)}), "0|A\nB\n|");
    ASSERT_TRUE(MakeTabFromCsv(cli.Folder("tables"), "codes", "MapCode,Desc1\nQa,x\n"));
    EXPECT_EQ(cli.Show({"tab-names", cli.Folder("tables") + "/codes.tab"}), "0|map-code table\n|");
}

TEST(CliTabImport, LocaleNumbersWithGivenSeparators)
{
    SKIP_WITHOUT_OGR2OGR();
    CCli cli;
    const std::string folder = cli.Folder("tables"), out = folder + "/rock.leg";
    ASSERT_TRUE(MakeTabFromCsv(folder, "de",
                               std::string(StandardCsvHeader) + "Rock,\"1.234,5\",\"2.000,75\",,0,255,-1,1,2,0,c\n"));
    const std::pair<std::vector<std::string>, const char*> cases[] = {
        {{"--locale-numbers", "--thousands", ".", "--decimal", ","}, "1234.5\t2000.75"},
        {{}, "1.234\t2"},
    };
    for (const auto& [options, range] : cases) {
        std::vector<std::string> args = {"tab-import", folder + "/de.tab", "rock", out};
        args.insert(args.end(), options.begin(), options.end());
        EXPECT_EQ(cli.Show(args), "0||");
        EXPECT_EQ(ReadTextFile(out), "LegendTable Begin\n\tVersion\t= \"1.0\"\n\tName\t\t= \"rock\"\n"
                                     "\tDescription = \"\"\n\tDataType\t= NUMERICCONTINUOUS\n\tLEG\t\t= {\n\t\t" +
                                         std::string(range) +
                                         "\t\"\"\t\t16711680\t4278190080\t0\t0\t2\t1 # c\n\t}\nLegendTable End\n");
    }
}

TEST(CliTabExport, WritesTablesWhoseNamesAreTheLabelsOneOrAll)
{
    CCli cli;
    const std::string lut = cli.Legends("lut", {"grades.leg", "other.leg"}, true), out = cli.Folder("host");
    ASSERT_EQ(cli.Show({"tab-export", lut + "/grades.leg", out + "/out"}), "0||");
    EXPECT_EQ(cli.Show({"tab-names", out + "/out.tab"}), "0|Low\nHigh\n|");
    ASSERT_EQ(cli.Show({"export-all", out + "/xs_colr.tab", "--product", "Quarvex"}), "0||");
    EXPECT_EQ(cli.Show({"tab-names", out + "/xs_colr.tab"}), "0|grades\nother\n|");
    EXPECT_FALSE(fs::exists(out + "/xs_colr.map") || fs::exists(out + "/xs_colr.id"));
}

TEST(CliTab2Leg, ConvertsIntoTheLegendFolderAndHonoursTheStoredStamp)
{
    SKIP_WITHOUT_OGR2OGR();
    CCli cli;
    const std::string tab = NamesTable(cli), lut = cli.Legends("lut", {}, true);
    const std::string converted = "0|" + lut + "/A.leg\n" + lut + "/B.leg\n" + lut + "/A.leg\n|";
    EXPECT_EQ(cli.Show({"tab2leg", tab, "--check-timestamp"}), converted);
    // Without a stored stamp none is made.
    EXPECT_FALSE(fs::exists(cli.ConfigFile("Ferrolin/leg2tab.conf")));
    // The stamp another tool of the suite leaves behind.
    WriteTextFile(cli.ConfigFile("Ferrolin/leg2tab.conf"), "[Settings]\nTimeStamp_TAB2LEG=never\n");
    EXPECT_EQ(cli.Show({"tab2leg", tab, "--check-timestamp"}), converted);
    EXPECT_EQ(cli.Show({"tab2leg", tab, "--check-timestamp"}), "0|unchanged\n|");
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
    const std::string f = cli.Legends("work", {"grades.leg"}), lut = cli.Legends("lut", {"grades.leg"}, true);
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
    };
    const auto before = Snapshot(cli.Folder(""));
    for (const auto& c : cases) {
        EXPECT_EQ(cli.Show(c.args), std::to_string(c.exitCode) + "||tessarin-cli " + c.args[0] + ": " + c.err);
        EXPECT_EQ(Snapshot(cli.Folder("")), before) << c.args[0] << " " << c.args[1];
    }
}

TEST(CliTabExport, AFileSizeLimitOrAFileThatCannotBeReplacedKeepsTheOldTable)
{
    CCli cli;
    const std::string folder = cli.Legends("work", {"grades.leg"});
    ASSERT_EQ(cli.Show({"tab-export", folder + "/grades.leg", folder + "/out.tab"}), "0||");
    std::string big = "LegendTable Begin\n\tDataType = NUMERICCONTINUOUS\n\tLEG = {\n";
    for (int i = 0; i < 400; ++i)
        big += std::to_string(i) + "\t" + std::to_string(i + 1) + "\t\"row\"\t255\t0\t0\t0\t2\t1 # " +
               std::string(200, 'c') + "\n";
    WriteTextFile(folder + "/big.leg", big + "\t}\nLegendTable End\n");
    const std::string before = TableBytes(folder + "/out");
    const std::string failed = ": Could not create " + folder + "/out.tab: Failed writing 425 bytes at offset 20360.\n";
    for (const std::string command : {"tab-export", "export-all"}) {
        const std::vector<std::string> args = command == "tab-export"
            ? std::vector<std::string>{command, folder + "/big.leg", folder + "/out.tab"}
            : std::vector<std::string>{command, folder + "/out.tab", "--extra", folder};
        EXPECT_EQ(Show(cli.Run(args, {}, "trap '' XFSZ; ulimit -f 16")), "1||tessarin-cli " + command + failed);
        EXPECT_EQ(TableBytes(folder + "/out"), before) << command;
        EXPECT_EQ(std::distance(fs::directory_iterator(folder), fs::directory_iterator()), 6);
    }

    // A table file that cannot be replaced leaves every file of the old table.
    if (std::system(("chattr +i '" + folder + "/out.map' 2>/dev/null").c_str()) != 0)
        GTEST_SKIP() << "chattr +i does not work here";
    std::string other = kNumericLegend;
    WriteTextFile(folder + "/other.leg", other.replace(other.find("High"), 4, "Peak"));
    const CProcessResult r = cli.Run({"tab-export", folder + "/other.leg", folder + "/out.tab"});
    [[maybe_unused]] const int unlocked = std::system(("chattr -i '" + folder + "/out.map'").c_str());
    EXPECT_EQ(Show(r), "1||tessarin-cli tab-export: Could not create " + folder + "/out.tab: " + folder +
                           "/out.map: " + std::strerror(EPERM) + "\n");
    EXPECT_EQ(TableBytes(folder + "/out"), before);
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
    EXPECT_EQ(Show(cli.Run({"tab-export", folder + "/fine.leg", folder + "/fine.tab"}, german)), "0||");
    EXPECT_EQ(Show(cli.Run({"tab-import", folder + "/fine.tab", "a", folder + "/back.leg", "--locale-numbers"},
                           german)),
              "0||");
    const std::string back = ReadTextFile(folder + "/back.leg");
    EXPECT_NE(back.find("\t0.1\t0.5\t"), std::string::npos) << back;
    EXPECT_NE(back.find("\t0.5\t1234.5\t"), std::string::npos) << back;
}

TEST(CliTab2Leg, NamesFromDataArePrintedEscapedAndHiddenBlankOrControlNamesSkipped)
{
    SKIP_WITHOUT_OGR2OGR();
    CCli cli;
    const std::string folder = cli.Folder("tables"), lut = cli.Legends("lut", {}, true);
    ASSERT_TRUE(MakeTabFromCsv(folder, "data",
                               std::string(StandardCsvHeader) +
                                   "\"two\nlines\",0,1,,0,255,-1,1,2,0,\n"
                                   ".hidden,1,2,,0,255,-1,1,2,0,\n"
                                   "\"  \",2,3,,0,255,-1,1,2,0,\n"
                                   "\"bell\x07\",3,4,,0,255,-1,1,2,0,\n"
                                   "Good,4,5,,0,255,-1,1,2,0,\n",
                               StandardCsvTypes));
    EXPECT_EQ(cli.Show({"tab-names", folder + "/data.tab"}), "0|two\\nlines\n.hidden\n  \nbell\\x07\nGood\n|");
    const std::string skipped = "tessarin-cli tab2leg: skipped the legend name ";
    EXPECT_EQ(cli.Show({"tab2leg", folder + "/data.tab"}),
              "1|" + lut + "/Good.leg\n|" + skipped + "\"two\\nlines\": not a file name\n" + skipped +
                  "\".hidden\": not a file name\n" + skipped + "\"\": not a file name\n" + skipped +
                  "\"bell\\x07\": not a file name\n");
    EXPECT_EQ(std::distance(fs::directory_iterator(lut), fs::directory_iterator()), 1);
    EXPECT_TRUE(fs::exists(lut + "/Good.leg"));
}

TEST(CliExportAll, UnreadableLegendsAndNoLegendsLeaveTheTableAndFoldersNotEnteredAreNamed)
{
    CCli cli;
    const std::string good = cli.Legends("good", {"grades.leg"}), bad = cli.Folder("bad");
    const std::string host = cli.Folder("host"), none = host + "/none", out = host + "/xs_colr.tab";
    // A regular file that exists but fails to read, whoever runs the test.
    fs::create_symlink("/proc/self/mem", bad + "/mem.leg");
    cli.Legends("empty", {}, true);
    ASSERT_EQ(cli.Show({"export-all", out, "--extra", good}), "0||");
    const std::string before = ReadTextFile(host + "/xs_colr.dat");
    const std::string prefix = "tessarin-cli export-all: ", kept = " left as it was\n";
    const std::string noEntry = prefix + "cannot enter the folder " + none + ": " + std::strerror(ENOENT) + "\n";
    const std::pair<std::string, std::string> cases[] = {
        {good + ";" + bad, "1||" + prefix + "cannot read " + bad + "/mem.leg: " + std::strerror(EIO) + "; " + out + kept},
        {none, "1||" + noEntry + prefix + "no legend found; " + out + kept},
        {none + ";" + good, "0||" + noEntry},
    };
    for (const auto& [extra, result] : cases) {
        EXPECT_EQ(cli.Show({"export-all", out, "--extra", extra}), result);
        EXPECT_EQ(ReadTextFile(host + "/xs_colr.dat"), before) << extra;
    }
}

// A settings file that is there but cannot be read is no "not set": the legend
// folder is unknown, so nothing is read from or written to any other folder.
TEST(CliSettings, AnUnreadableSettingsFileIsAnErrorNamingTheFileAndTheReason)
{
    CCli cli;
    const std::string table = NamesTable(cli), work = cli.Folder("work"), out = cli.Folder("out") + "/all.tab";
    const std::string path = cli.ConfigFile("Ferrolin/Common.conf");
    WriteTextFile(cli.Folder("system/Ferrolin") + "/Common.conf", "[General]\nLUT_PATH=/m/\n");
    const std::pair<std::function<void()>, std::string> kinds[] = {
        {[&] { ASSERT_EQ(::mkfifo(path.c_str(), 0600), 0); }, "not a regular file"},
        {[&] { fs::create_directory(path); }, std::strerror(EISDIR)},
    };
    for (const auto& [make, reason] : kinds) {
        fs::remove_all(path);
        make();
        const std::string why = "cannot read the settings file " + path + ": " + reason;
        const std::pair<std::vector<std::string>, std::string> cases[] = {
            {{"settings", "get", "LUT_PATH"}, why},
            {{"list"}, why},
            {{"export-all", out}, why + "; " + out + " left as it was"},
            {{"tab2leg", table}, why},
        };
        for (const auto& [args, err] : cases) {
            EXPECT_EQ(Show(cli.Run(args, {}, "cd '" + work + "'")), "1||tessarin-cli " + args[0] + ": " + err + "\n");
            EXPECT_TRUE(fs::is_empty(work) && !fs::exists(out)) << args[0];
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
    fs::permissions(fs::path(cli.Folder("config")).parent_path(), fs::perms::others_exec, fs::perm_options::add);
    const std::string why = "cannot read the settings file " + path + ": " + std::strerror(EACCES) + "\n";
    for (const std::vector<std::string>& command : {std::vector<std::string>{"settings", "get", "LUT_PATH"}, {"list"}}) {
        std::vector<std::string> args = {"-c", "exec setpriv --reuid=65534 --regid=65534 --clear-groups \"$@\"", "sh",
                                         ProjectBinary("tessarin-cli")};
        args.insert(args.end(), command.begin(), command.end());
        const CProcessResult r =
            RunProcess("/bin/sh", args, {"XDG_CONFIG_HOME=" + cli.Folder("config"), "XDG_CONFIG_DIRS=/nonexistent"});
        EXPECT_EQ(r.exitCode, 1);
        EXPECT_EQ(r.err, "tessarin-cli " + command[0] + ": " + why);
    }
}
