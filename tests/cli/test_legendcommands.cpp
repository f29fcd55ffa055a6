#include "cli/clirun.h"

#include <nlohmann/json.hpp>

using nlohmann::json;

// leg-dump writes JSON a row at a time, the bytes of the whole document dumped at once; Windows-1252 comes out as
// UTF-8, a transparent colour as white and its flag.
TEST(CliLegendCommands, DumpCopyLutAndUsage)
{
    const std::string row = R"("back": 2, "backTransparent": false, "fill": 1, "fillTransparent": false,
        "lineColour": 4, "lineStyle": 5, "pattern": 3, "text": "", "thickness": 1.0, )";
    const std::pair<std::string, std::string> cases[] = {
        {"LegendTable Begin\n\tName = \"N\"\n\tDataType = TEXT\n\tLEG = {\n\t}\nLegendTable End\n",
         R"("description": "", "name": "N", "dataType": 2, "headerComments": [], "rows": [])"},
        {"# h\xE9\nLegendTable Begin\n\tName = \"N\"\n\tDataType = NUMERICCONTINUOUS\n\tLEG = {\n"
         "\t\t0\t2.5\t\"a\xFF\"\t1\t2\t3\t4\t5\t0.25 # c\xB0\n\t\t2.5\t3\t\"\"\t1\t2\t3\t4\t5\n"
         "\t\t3\t4\t\"\"\t16777216\t2\t3\t4\t5\n\t}\nLegendTable End\n",
         R"("description": "", "name": "N", "dataType": 0, "headerComments": ["# h\u00e9"], "rows": [{)" + row +
             R"("comment": "c\u00b0", "from": 0.0, "label": "a\u00ff", "to": 2.5}, {)" + row +
             R"("comment": "", "from": 2.5, "label": "", "to": 3.0}, {)" +
             Replaced(row, R"("fill": 1, "fillTransparent": false)", R"("fill": 16777215, "fillTransparent": true)") +
             R"("comment": "", "from": 3.0, "label": "", "to": 4.0}])"},
    };
    CCliSandbox cli;
    for (const auto& [legend, fields] : cases) {
        WriteTextFile(cli.File("d.leg"), legend);
        EXPECT_EQ(cli.Run("leg-dump %/d.leg"),
                  "0|" + json::parse(R"({"filePath": "%/d.leg", "fileTitle": "d", )" + fields + "}").dump(2) + "\n|");
    }
    // A file whose name looks like an option comes after "--".
    WriteTextFile(cli.File("--in"), "# made by hand\nLEG = {\n0 1 \"a\" 0 0 0\n");
    EXPECT_EQ(cli.Run("leg-copy -- --in %/--out.leg", "cd '" + cli.Path() + "'"), "0||");
    EXPECT_EQ(ReadTextFile(cli.File("--out.leg")).substr(0, 34), "# made by hand\n\nLegendTable Begin\n");
    const std::string path = cli.File("ramp.lut");
    WriteTextFile(path, "SCALE = BYTE\nDATARANGE = POSTCOLOUR\nLUT = {\n0 255 0 0 10\n2 0 0 255 20\n}\n");
    EXPECT_EQ(json::parse(cli.Exec({"lut-dump", path}).out),
              json::parse(R"({"colours": [255, 8388736, 16711680], "count": 3, "kind": 2, "levels": 3,
                              "fileName": ")" +
                          path + "\"}"));
    // As a legend each row has its value too.
    EXPECT_EQ(json::parse(cli.Exec({"lut-legend", path}).out)["rows"][1]["value"], 20.0);
    // The usage lists the commands; without one it goes to standard error.
    const std::string shown = cli.Run("--help"), help = shown.substr(2, shown.size() - 3);
    EXPECT_EQ(shown.substr(0, shown.find("  leg-copy")),
              "0|Usage: tessarin-cli COMMAND [ARGS...]\n       "
              "tessarin-cli COMMAND --help\n\nCommands:\n  leg-dump     FILE\n");
    cli.Expect({
        {"", "2||" + help},
        {"frobnicate", "2||tessarin-cli: unknown command 'frobnicate'\n\n" + help},
        {"leg-copy only-one", "2||tessarin-cli leg-copy: missing arguments\nUsage: tessarin-cli leg-copy IN OUT\n"},
        {"leg-dump a b", "2||tessarin-cli leg-dump: too many arguments\nUsage: tessarin-cli leg-dump FILE\n"},
    });
}
