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
    // Runs the tool, under a shell that first runs `setup` ("ulimit -f 8", ...)
    // when one is given.
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
    std::string Folder(const std::string& name) const
    {
        fs::create_directories(m_Dir.File(name));
        return m_Dir.File(name);
    }
    std::string ConfigFile(const std::string& name) const { return m_Dir.File("config/" + name); }
    void SetLutPath(const std::string& folder) const
    {
        ASSERT_EQ(Run({"settings", "set", "LUT_PATH", folder}).exitCode, 0);
    }

private:
    CTempDir m_Dir;
};

const char* kNumericLegend = "LegendTable Begin\n\tName\t\t= \"Grades\"\n\tDataType\t= NUMERICCONTINUOUS\n\tLEG\t\t= {\n"
                             "\t\t0\t10\t\"Low\"\t255\t4278190080\t0\t0\t2\t1\n"
                             "\t\t10\t20\t\"High\"\t65280\t16777215\t4\t0\t2\t1 # top\n\t}\nLegendTable End\n";

// A table of the legends A, B and A again.
std::string NamesTable(const CCli& cli)
{
    const std::string folder = cli.Folder("tables"), row = ",0,1,,0,255,-1,1,2,0,\n";
    EXPECT_TRUE(MakeTabFromCsv(folder, "names", StandardCsvHeader + ("A" + row + "B" + row + "A" + row), StandardCsvTypes));
    return folder + "/names.tab";
}

} // namespace

TEST(CliSettings, FoldersAreStoredWithOneTrailingSlashInTheUsersSettings)
{
    CCli cli;
    const std::pair<std::vector<std::string>, std::string> runs[] = {
        {{"get", "LUT_PATH"}, "1||tessarin-cli settings: LUT_PATH is not set\n"},
        {{"set", "LUT_PATH", "/data/lut"}, "0||"},
        {{"set", "brush_path", "/data/patterns/"}, "0||"},
        {{"set", "PEN_FILE", "/data/pens/a.pen"}, "0||"},
        {{"get", "LUT_PATH"}, "0|/data/lut/\n|"},
        {{"get", "BRUSH_PATH"}, "0|/data/patterns/\n|"},
        {{"get", "PEN_FILE"}, "0|/data/pens/a.pen\n|"},
        {{"get", "HOME_PATH"}, "1||tessarin-cli settings: unknown setting HOME_PATH (LUT_PATH, BRUSH_PATH or PEN_FILE)\n"},
    };
    for (auto [args, shown] : runs) {
        args.insert(args.begin(), "settings");
        EXPECT_EQ(Show(cli.Run(args)), shown) << args[2];
    }
    const std::string file = cli.ConfigFile("Ferrolin/Common.conf");
    EXPECT_EQ(ReadTextFile(file), "[General]\nLUT_PATH=/data/lut/\nBRUSH_PATH=/data/patterns/\nPEN_FILE=/data/pens/a.pen\n");
    // Settings it does not change keep their bytes, however QSettings would have written them.
    const std::string others = "[General]\r\nBRUSH_PATH=/x\\dir\\brushes\r\nPEN_FILE=/p;q.pen\r\nW=\"quoted\"\r\n";
    WriteTextFile(file, others);
    cli.SetLutPath("/q");
    EXPECT_EQ(ReadTextFile(file), others + "LUT_PATH=/q/\r\n");
}

// Lines of "name TAB path" in collected order, every file on one line whatever
// its name; a folder that cannot be listed is named and the others still listed.
TEST(CliList, ListsNameTabPathInCollectedOrder)
{
    CCli cli;
    const std::string lut = cli.Folder("lut"), extra = cli.Folder("extra"), f2 = cli.Folder("f2");
    for (const std::string& file : {lut + "/b.leg", lut + "/A.leg", extra + "/a.leg", f2 + "/a.leg", f2 + "/A.LEG",
                                    f2 + "/two\nlines\\\x01.leg", f2 + "/\xFF\xFE\xC3\xBC\xC3.leg"})
        WriteTextFile(file, kNumericLegend);
    fs::create_symlink("gone.leg", f2 + "/dangling.leg");
    fs::create_symlink("self.leg", f2 + "/self.leg");
    const std::string listed = "A\t" + lut + "/A.leg\nb\t" + lut + "/b.leg\na[1]\t" + extra + "/a.leg\n";
    // Bytes that are no UTF-8 are escaped one by one, UTF-8 is kept.
    const std::string odd = "\\xFF\\xFE\xC3\xBC\\xC3", cannot = "tessarin-cli list: cannot list ";
    const struct {
        std::string lutPath, extra, shown;
    } cases[] = {
        {lut, extra + ";" + lut, "0|" + listed + "|"},
        {f2, "", "0|A\t" + f2 + "/A.LEG\na[1]\t" + f2 + "/a.leg\ntwo\\nlines\\\\\\x01\t" + f2 +
                     "/two\\nlines\\\\\\x01.leg\n" + odd + "\t" + f2 + "/" + odd + ".leg\n|"},
        {lut, extra + "/none;" + extra, "1|" + listed + "|" + cannot + extra + "/none: " + std::strerror(ENOENT) + "\n"},
        {lut + "/none", "", "1||" + cannot + lut + "/none/: " + std::strerror(ENOENT) + "\n"},
        {lut + "/b.leg", "", "1||" + cannot + lut + "/b.leg/: " + std::strerror(ENOTDIR) + "\n"},
    };
    for (const auto& c : cases) {
        cli.SetLutPath(c.lutPath);
        EXPECT_EQ(Show(cli.Run({"list", "--extra", c.extra})), c.shown) << c.lutPath;
    }
    // export-all takes the same list: no default legend for a broken link.
    cli.SetLutPath(f2);
    ASSERT_EQ(cli.Run({"export-all", f2 + "/all.tab"}).exitCode, 0);
    // The legends are named by file title, which ends at a '\\' as at a '/'.
    EXPECT_EQ(Show(cli.Run({"tab-names", f2 + "/all.tab"})), "0|A\na\n\\x01\n" + odd + "\n|");
}

TEST(CliTabImport, LocaleNumbersWithGivenSeparators)
{
    SKIP_WITHOUT_OGR2OGR();
    CCli cli;
    const std::string folder = cli.Folder("tables"), out = folder + "/rock.leg";
    ASSERT_TRUE(MakeTabFromCsv(folder, "de", StandardCsvHeader + std::string("Rock,\"1.234,5\",\"2.000,75\",,0,255,-1,1,2,0,c\n")));
    const std::pair<std::vector<std::string>, std::string> cases[] = {
        {{"--locale-numbers", "--thousands", ".", "--decimal", ","}, "1234.5\t2000.75"},
        {{}, "1.234\t2"},
    };
    for (const auto& [options, range] : cases) {
        std::vector<std::string> args = {"tab-import", folder + "/de.tab", "rock", out};
        args.insert(args.end(), options.begin(), options.end());
        EXPECT_EQ(Show(cli.Run(args)), "0||");
        EXPECT_EQ(ReadTextFile(out), "LegendTable Begin\n\tVersion\t= \"1.0\"\n\tName\t\t= \"rock\"\n\tDescription = \"\"\n"
                                     "\tDataType\t= NUMERICCONTINUOUS\n\tLEG\t\t= {\n\t\t" + range +
                                         "\t\"\"\t\t16711680\t4278190080\t0\t0\t2\t1 # c\n\t}\nLegendTable End\n");
    }
}

TEST(CliTab2Leg, ConvertsIntoTheLegendFolderAndHonoursTheStoredStamp)
{
    SKIP_WITHOUT_OGR2OGR();
    CCli cli;
    const std::string tab = NamesTable(cli), lut = cli.Folder("lut"), stamp = cli.ConfigFile("Ferrolin/leg2tab.conf");
    cli.SetLutPath(lut);
    const std::string all = lut + "/A.leg\n" + lut + "/B.leg\n" + lut + "/A.leg\n";
    EXPECT_EQ(Show(cli.Run({"tab2leg", tab, "--check-timestamp"})), "0|" + all + "|");
    EXPECT_FALSE(fs::exists(stamp)); // without a stored stamp none is made
    // The stamp another tool of the suite leaves behind.
    WriteTextFile(stamp, "[Settings]\nTimeStamp_TAB2LEG=never\n");
    EXPECT_EQ(Show(cli.Run({"tab2leg", tab, "--check-timestamp"})), "0|" + all + "|");
    EXPECT_EQ(Show(cli.Run({"tab2leg", tab, "--check-timestamp"})), "0|unchanged\n|");
    // No legend can be written: one that is there is "saved", a new one "created".
    fs::remove(lut + "/B.leg");
    const std::string failed = "tessarin-cli tab2leg: Could not ";
    EXPECT_EQ(Show(cli.Run({"tab2leg", tab}, {}, "trap '' XFSZ; ulimit -f 0")),
              "1||" + failed + "save " + lut + "/A.leg\n" + failed + "create " + lut + "/B.leg\n" + failed + "save " +
                  lut + "/A.leg\n");
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
    cli.SetLutPath(lut);
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
        {{"export-all", f + "/x.tab", "--extra"}, "option '--extra' needs a value\n"
         "Usage: tessarin-cli export-all OUT.tab [--product P] [--extra \"DIR;DIR\"]\n", 2},
        {{"lut-dump", "-x", out}, "unknown option '-x'\nUsage: tessarin-cli lut-dump FILE\n", 2},
        {{"tab-import", names, "x", out, "--decimal", "ab"}, "--decimal takes one character\n", 2},
        {{"tab-import", names, "x", out, "--thousands", ""}, "--thousands takes one character\n", 2},
        {{"tab-import", names, "x", out, "--locale-numbers", "--thousands", ",", "--decimal", ","},
         "the thousands and decimal separators must differ (both are ',')\n", 2},
        {{"settings", "set", "LUT_PATH", f + "/two\nlines"}, "LUT_PATH must not hold a control character\n", 2},
        {{"settings", "put", "LUT_PATH"}, "unknown action 'put' (get or set)\n" + settingsUsage, 2},
        {{"settings", "set", "LUT_PATH"}, "missing arguments\n" + settingsUsage, 2},
    };
    const auto before = Snapshot(cli.Folder(""));
    for (const auto& c : cases) {
        EXPECT_EQ(Show(cli.Run(c.args)), std::to_string(c.exitCode) + "||tessarin-cli " + c.args[0] + ": " + c.err)
            << c.args[1];
        EXPECT_EQ(Snapshot(cli.Folder("")), before) << c.args[0] << " " << c.args[1];
    }
}

TEST(CliTabExport, AFileSizeLimitFailsWithTheReasonAndKeepsTheOldTable)
{
    CCli cli;
    const std::string folder = cli.Folder("work"), out = folder + "/out.tab";
    WriteTextFile(folder + "/grades.leg", kNumericLegend);
    ASSERT_EQ(cli.Run({"tab-export", folder + "/grades.leg", out}).exitCode, 0);
    std::string big = "LegendTable Begin\n\tDataType = NUMERICCONTINUOUS\n\tLEG = {\n";
    for (int i = 0; i < 400; ++i)
        big += std::to_string(i) + "\t" + std::to_string(i + 1) + "\t\"row\"\t255\t0\t0\t0\t2\t1 # " + std::string(200, 'c') + "\n";
    WriteTextFile(folder + "/big.leg", big + "\t}\nLegendTable End\n");
    const auto before = Snapshot(folder);
    // The export of one legend always makes its table anew; export-all tells a table it replaces.
    const std::string failed = " " + out + ": Failed writing 425 bytes at offset 20360.\n";
    for (const auto& [args, err] : {std::pair<std::vector<std::string>, std::string>{
                                        {"tab-export", folder + "/big.leg", out}, "tab-export: Could not create" + failed},
                                    {{"export-all", out, "--extra", folder}, "export-all: Could not save" + failed}}) {
        EXPECT_EQ(Show(cli.Run(args, {}, "trap '' XFSZ; ulimit -f 16")), "1||tessarin-cli " + err);
        EXPECT_EQ(Snapshot(folder), before) << args[0];
    }
}

TEST(CliTabNames, NamesOnceEachOrMapCodeEscapedAndTab2LegSkipsNamesThatAreNoFileNames)
{
    SKIP_WITHOUT_OGR2OGR();
    CCli cli;
    const std::string folder = cli.Folder("tables"), lut = cli.Folder("lut");
    cli.SetLutPath(lut);
    ASSERT_TRUE(MakeTabFromCsv(folder, "data",
                               std::string(StandardCsvHeader) +
                                   "\"two\nlines\",0,1,,0,255,-1,1,2,0,\n"
                                   ".hidden,1,2,,0,255,-1,1,2,0,\n"
                                   "\"  \",2,3,,0,255,-1,1,2,0,\n"
                                   "\"bell\x07\",3,4,,0,255,-1,1,2,0,\n"
                                   "Good,4,5,,0,255,-1,1,2,0,\n",
                               StandardCsvTypes));
    ASSERT_TRUE(MakeTabFromCsv(folder, "codes", "MapCode,Desc1\nQa,x\n"));
    const std::string tab = folder + "/data.tab";
    EXPECT_EQ(Show(cli.Run({"tab-names", NamesTable(cli)})), "0|A\nB\n|");
    EXPECT_EQ(Show(cli.Run({"tab-names", folder + "/codes.tab"})), "0|map-code table\n|");
    EXPECT_EQ(Show(cli.Run({"tab-names", tab})), "0|two\\nlines\n.hidden\n  \nbell\\x07\nGood\n|");

    const std::string skipped = "tessarin-cli tab2leg: skipped the legend name ";
    EXPECT_EQ(Show(cli.Run({"tab2leg", tab})),
              "1|" + lut + "/Good.leg\n|" + skipped + "\"two\\nlines\": not a file name\n" + skipped +
                  "\".hidden\": not a file name\n" + skipped + "\"\": not a file name\n" + skipped +
                  "\"bell\\x07\": not a file name\n");
    std::vector<std::string> files;
    for (const auto& e : fs::directory_iterator(lut))
        files.push_back(e.path().filename().string());
    EXPECT_EQ(files, std::vector<std::string>{"Good.leg"});
}

TEST(CliExportAll, UnreadableLegendsAndNoLegendsLeaveTheTableAndFoldersNotEnteredAreNamed)
{
    CCli cli;
    const std::string empty = cli.Folder("empty"), good = cli.Folder("good"), bad = cli.Folder("bad"),
                      host = cli.Folder("host"), none = host + "/none", out = host + "/xs_colr.tab";
    WriteTextFile(good + "/grades.leg", kNumericLegend);
    // A regular file that exists but fails to read, whoever runs the test.
    fs::create_symlink("/proc/self/mem", bad + "/mem.leg");
    cli.SetLutPath(empty);
    ASSERT_EQ(Show(cli.Run({"export-all", out, "--product", "Quarvex", "--extra", good})), "0||");
    EXPECT_EQ(Show(cli.Run({"tab-names", out})), "0|grades\n|");
    const std::string before = ReadTextFile(host + "/xs_colr.dat"), prefix = "tessarin-cli export-all: ";
    const std::string notEntered = prefix + "cannot enter the folder " + none + ": " + std::strerror(ENOENT) + "\n";
    const std::pair<std::string, std::string> cases[] = {
        {good + ";" + bad, "1||" + prefix + "cannot read " + bad + "/mem.leg: " + std::strerror(EIO) + "; " + out +
                               " left as it was\n"},
        {none, "1||" + notEntered + prefix + "no legend found; " + out + " left as it was\n"},
        {none + ";" + good, "0||" + notEntered},
    };
    for (const auto& [extra, shown] : cases) {
        EXPECT_EQ(Show(cli.Run({"export-all", out, "--extra", extra})), shown);
        EXPECT_EQ(ReadTextFile(host + "/xs_colr.dat"), before) << extra;
    }
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
        const std::pair<std::vector<std::string>, std::string> cases[] = {
            {{"settings", "get", "LUT_PATH"}, why},
            {{"list"}, why},
            {{"export-all", out}, why + "; " + out + " left as it was"},
            {{"tab2leg", table}, why},
        };
        for (const auto& [args, err] : cases) {
            EXPECT_EQ(Show(cli.Run(args, {}, "cd '" + work + "'")), "1||tessarin-cli " + args[0] + ": " + err + "\n");
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
    fs::permissions(fs::path(cli.Folder("config")).parent_path(), fs::perms::others_exec, fs::perm_options::add);
    const std::string why = ": cannot read the settings file " + path + ": " + std::strerror(EACCES) + "\n";
    const std::string nobody = "exec setpriv --reuid=65534 --regid=65534 --clear-groups \"$0\" \"$@\"";
    EXPECT_EQ(Show(cli.Run({"settings", "get", "LUT_PATH"}, {}, nobody)), "1||tessarin-cli settings" + why);
    EXPECT_EQ(Show(cli.Run({"list"}, {}, nobody)), "1||tessarin-cli list" + why);
}
