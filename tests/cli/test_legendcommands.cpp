#include "support/runprocess.h"
#include "support/testfiles.h"

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <nlohmann/json.hpp>

using nlohmann::json;

namespace {

CProcessResult Cli(const std::vector<std::string>& args)
{
    return RunProcess(ProjectBinary("tessarin-cli"), args);
}

const char* kLegend = "# made by hand\n"
                      "LegendTable Begin\n"
                      "\tName\t\t= \"Lithology\"\n"
                      "\tDescription = \"rock types\"\n"
                      "\tDataType\t= TEXT\n"
                      "\tLEG\t\t= {\n"
                      "\t\t\"Granite\"\t\"Gr\xFCn\"\t255\t4278190080\t3\t65280\t2\t1.5 # old \xB0\n"
                      "\t\t\"Basalt\"\t\"\"\t0\t16777215\t0\n"
                      "\t}\n"
                      "LegendTable End\n";

} // namespace

// The JSON is written a row at a time; the bytes are those of the whole document
// dumped at once. Windows-1252 bytes come out as UTF-8; a transparent colour as
// white and its flag.
TEST(CliLegDump, WritesTheExactLayoutOfAWholeDocument)
{
    const std::string row = R"("back": 2, "backTransparent": false, "fill": 1, "fillTransparent": false,
        "lineColour": 4, "lineStyle": 5, "pattern": 3, "text": "", "thickness": 1.0, )";
    const std::string lith = R"("lineColour": 65280, "lineStyle": 2, "thickness": 1.5, "from": 0.0, "to": 0.0, )";
    const std::pair<std::string, std::string> cases[] = {
        {"LegendTable Begin\n\tName = \"N\"\n\tDataType = TEXT\n\tLEG = {\n\t}\nLegendTable End\n",
         R"("description": "", "name": "N", "dataType": 2, "headerComments": [], "rows": [])"},
        {"# h\nLegendTable Begin\n\tName = \"N\"\n\tDataType = NUMERICCONTINUOUS\n\tLEG = {\n"
         "\t\t0\t2.5\t\"a\xFF\"\t1\t2\t3\t4\t5\t0.25 # c\n\t\t2.5\t3\t\"\"\t1\t2\t3\t4\t5\n\t}\nLegendTable End\n",
         R"("description": "", "name": "N", "dataType": 0, "headerComments": ["# h"], "rows": [{)" + row +
             R"("comment": "c", "from": 0.0, "label": "a\u00ff", "to": 2.5}, {)" + row +
             R"("comment": "", "from": 2.5, "label": "", "to": 3.0}])"},
        {kLegend, R"("description": "rock types", "name": "Lithology", "dataType": 2, "headerComments": ["# made by hand"],
            "rows": [{"text": "Granite", "label": "Gr\u00fcn", "fill": 255, "fillTransparent": false, "back": 16777215,
            "backTransparent": true, "pattern": 3, )" + lith + R"("comment": "old \u00b0"}, {"text": "Basalt", "label": "",
            "fill": 0, "fillTransparent": false, "back": 16777215, "backTransparent": false, "pattern": 0, )" + lith +
                      R"("comment": ""}])"},
    };
    CTempDir dir;
    const std::string path = dir.File("d.leg");
    for (const auto& [legend, fields] : cases) {
        WriteTextFile(path, legend);
        EXPECT_EQ(Show(Cli({"leg-dump", path})),
                  "0|" + json::parse(R"({"filePath": ")" + path + R"(", "fileTitle": "d", )" + fields + "}").dump(2) + "\n|");
    }
}

TEST(CliLegCopy, WritesTheStandardLayoutAndReportsFailure)
{
    CTempDir dir;
    const std::string in = dir.File("in.leg"), bad = dir.File("no/such/dir/out.leg");
    WriteTextFile(in, kLegend);
    ASSERT_EQ(Show(Cli({"leg-copy", in, dir.File("out.leg")})), "0||");
    EXPECT_EQ(ReadTextFile(dir.File("out.leg")).substr(0, 34), "# made by hand\n\nLegendTable Begin\n");
    EXPECT_EQ(Show(Cli({"leg-copy", in, bad})), "1||tessarin-cli leg-copy: Could not create " + bad + ": " + std::strerror(ENOENT) + "\n");
}

TEST(CliLut, DumpsTablesAndLegends)
{
    CTempDir dir;
    const std::string path = dir.File("ramp.lut");
    WriteTextFile(path, "NAME = ramp\nSCALE = BYTE\nDATARANGE = POSTCOLOUR\nLUT = {\n0 255 0 0 10\n2 0 0 255 20\n}\n");
    EXPECT_EQ(json::parse(Cli({"lut-dump", path}).out),
              json::parse(R"({"colours": [255, 8388736, 16711680], "count": 3, "kind": 2, "levels": 3,
                              "fileName": ")" + path + "\"}"));
    const json legend = json::parse(Cli({"lut-legend", path}).out);
    std::string rows = legend["fileTitle"].get<std::string>() + ":";
    for (const json& row : legend["rows"])
        rows += " " + row["back"].dump() + "/" + row["value"].dump();
    EXPECT_EQ(rows, "ramp: 1/10.0 65537/20.0 65536/20.0");
}

TEST(CliUsage, HelpUnknownCommandsAndMissingArguments)
{
    const std::string help = "Usage: tessarin-cli COMMAND [ARGS...]\n       tessarin-cli COMMAND --help\n\nCommands:\n"
                             "  leg-dump     FILE\n  leg-copy     IN OUT\n  lut-dump     FILE\n  lut-legend   FILE\n"
                             "  tab-names    TAB\n  tab-import   TAB NAME OUT.leg [--locale-numbers] [--thousands C] "
                             "[--decimal C]\n  tab-export   IN.leg OUT\n  tab2leg      TAB [--check-timestamp]\n"
                             "  export-all   OUT.tab [--product P] [--extra \"DIR;DIR\"]\n"
                             "  list         [--product P] [--extra \"DIR;DIR\"]\n"
                             "  settings     get NAME | set NAME VALUE\n"
                             "  preview      LEG OUT.png [--patterns DIR] [--pen FILE] [--width N]\n";
    const std::pair<std::vector<std::string>, std::string> cases[] = {
        {{"--help"}, "0|" + help + "|"},
        {{"leg-copy", "--help"}, "0|Usage: tessarin-cli leg-copy IN OUT\n\nReads the legend IN and writes it to OUT in "
                                 "the standard .leg layout.\nOUT is replaced atomically; exit code 1 when it cannot "
                                 "be written.\n|"},
        {{}, "2||" + help},
        {{"frobnicate"}, "2||tessarin-cli: unknown command 'frobnicate'\n\n" + help},
        {{"leg-copy", "only-one"}, "2||tessarin-cli leg-copy: missing arguments\nUsage: tessarin-cli leg-copy IN OUT\n"},
        {{"leg-dump", "a", "b"}, "2||tessarin-cli leg-dump: too many arguments\nUsage: tessarin-cli leg-dump FILE\n"},
    };
    for (const auto& [args, result] : cases)
        EXPECT_EQ(Show(Cli(args)), result);
}

TEST(CliReadErrors, AFileThatCannotBeReadFailsEveryCommandAndKeepsTheOutput)
{
    CTempDir dir;
    ASSERT_EQ(::mkfifo(dir.File("fifo.leg").c_str(), 0644), 0);
    const std::string out = dir.File("o.leg");
    const struct {
        std::string path;
        std::string reason;
    } inputs[] = {
        {"/proc/self/mem", std::strerror(EIO)},
        {dir.File("fifo.leg"), "not a regular file"}, // must not wait for a writer
        {"/dev/zero", "not a regular file"},          // must not fill memory
        {dir.Path(), std::strerror(EISDIR)},
        {dir.File("none.leg"), std::strerror(ENOENT)},
    };
    for (const auto& in : inputs) {
        for (const std::vector<std::string>& args :
             {std::vector<std::string>{"leg-copy", in.path, out}, {"leg-dump", in.path},
              {"lut-dump", in.path}, {"lut-legend", in.path}}) {
            WriteTextFile(out, "x\n");
            EXPECT_EQ(Show(Cli(args)) + ReadTextFile(out),
                      "1||tessarin-cli " + args[0] + ": cannot read " + in.path + ": " + in.reason + "\nx\n");
        }
    }
}

// A file whose name looks like an option, after "--".
TEST(CliArgs, OptionsEndAtDoubleDash)
{
    CTempDir dir;
    WriteTextFile(dir.File("--help"), kLegend);
    const std::filesystem::path cwd = std::filesystem::current_path();
    std::filesystem::current_path(dir.Path());
    const CProcessResult dump = Cli({"leg-dump", "--", "--help"});
    const CProcessResult copy = Cli({"leg-copy", "--", "--help", "--out.leg"});
    std::filesystem::current_path(cwd);
    ASSERT_EQ(dump.exitCode, 0) << dump.err;
    EXPECT_EQ(json::parse(dump.out)["rows"].size(), 2u);
    EXPECT_EQ(Show(copy), "0||");
    EXPECT_NE(ReadTextFile(dir.File("--out.leg")).find("\"Basalt\"\t\"\"\t0\t16777215\t0\t65280\t2\t1.5\n"),
              std::string::npos);
}
