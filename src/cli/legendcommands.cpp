// Legend and colour look-up table commands of tessarin-cli.

#include "cli/clicommand.h"
#include "legend/cllegend.h"
#include "platform/ctextcodec.h"

#include <nlohmann/json.hpp>

#include <cstdio>
#include <sys/stat.h>
#include <unistd.h>

using nlohmann::json;

namespace {

json Text(const std::string& bytes)
{
    return CTextCodec::ToUtf8(bytes);
}

json LegendJson(const CLLLegend& legend)
{
    json rows = json::array();
    CLLRow row;
    for (int i = 0; legend.GetRow(i, row); ++i) {
        rows.push_back({
            {"from", row.from},
            {"to", row.to},
            {"text", Text(row.text)},
            {"label", Text(row.label)},
            {"fill", row.fillColour.GetPacked()},
            {"fillTransparent", row.fillTransparent},
            {"back", row.backColour.GetPacked()},
            {"backTransparent", row.backTransparent},
            {"pattern", row.pattern},
            {"lineColour", row.lineColour.GetPacked()},
            {"lineStyle", row.lineStyle},
            {"thickness", row.thickness},
            {"comment", Text(row.comment)},
        });
    }
    json comments = json::array();
    for (const auto& c : legend.m_HeaderComments)
        comments.push_back(Text(c));
    return {
        {"name", Text(legend.m_Name)},
        {"description", Text(legend.m_Description)},
        {"dataType", legend.m_DataType},
        {"fileTitle", Text(legend.m_FileTitle)},
        {"filePath", Text(legend.m_FilePath)},
        {"headerComments", comments},
        {"rows", rows},
    };
}

void Print(const json& j)
{
    std::printf("%s\n", j.dump(2, ' ', false, json::error_handler_t::replace).c_str());
}

// The readers never fail, so an unreadable file would print a default legend;
// say so instead.
bool CheckReadable(const std::string& path)
{
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0 || S_ISDIR(st.st_mode) || ::access(path.c_str(), R_OK) != 0) {
        std::fprintf(stderr, "tessarin-cli: cannot read %s\n", path.c_str());
        return false;
    }
    return true;
}

int LegDump(const std::vector<std::string>& args)
{
    if (!CheckReadable(args[0]))
        return ExitFailure;
    CLLLegend legend;
    legend.ReadLEG(args[0]);
    Print(LegendJson(legend));
    return ExitOk;
}

int LegCopy(const std::vector<std::string>& args)
{
    if (!CheckReadable(args[0]))
        return ExitFailure;
    CLLLegend legend;
    legend.ReadLEG(args[0]);
    if (!legend.WriteLEG(args[1])) {
        std::fprintf(stderr, "Could not create %s\n", args[1].c_str());
        return ExitFailure;
    }
    return ExitOk;
}

int LutDump(const std::vector<std::string>& args)
{
    if (!CheckReadable(args[0]))
        return ExitFailure;
    CLLColourTable table;
    table.ReadLUT(args[0]);
    json colours = json::array();
    for (const auto& c : table.m_Colours)
        colours.push_back(c.GetPacked());
    Print({
        {"kind", table.m_Kind},
        {"fileName", Text(table.m_FileName)},
        {"count", table.m_Count},
        {"levels", table.m_Levels},
        {"colours", colours},
    });
    return ExitOk;
}

int LutLegend(const std::vector<std::string>& args)
{
    if (!CheckReadable(args[0]))
        return ExitFailure;
    CLLLegend legend;
    legend.ReadColourTable(args[0]);
    json j = LegendJson(legend);
    // Each row carries the data value of the entry that placed its colour.
    CLLRow row;
    for (int i = 0; legend.GetRow(i, row); ++i)
        j["rows"][static_cast<size_t>(i)]["value"] = row.value;
    Print(j);
    return ExitOk;
}

} // namespace

std::vector<CCliCommand> LegendCommands()
{
    return {
        {"leg-dump", "FILE",
         "Reads a .leg legend file and prints it as one JSON object: name, description,\n"
         "dataType (0 numeric continuous, 1 numeric discrete, 2 text), fileTitle, filePath,\n"
         "headerComments and rows. Colours are packed 0x00BBGGRR numbers.",
         1, 1, {}, LegDump},
        {"leg-copy", "IN OUT",
         "Reads the legend IN and writes it to OUT in the standard .leg layout.\n"
         "OUT is replaced atomically; exit code 1 when it cannot be written.",
         2, 2, {}, LegCopy},
        {"lut-dump", "FILE",
         "Reads a colour look-up table file as a colour table and prints kind, fileName,\n"
         "count, levels and colours (packed 0x00BBGGRR numbers) as JSON.",
         1, 1, {}, LutDump},
        {"lut-legend", "FILE",
         "Reads a colour look-up table file as a legend and prints it like leg-dump,\n"
         "each row with its data value (\"value\"), read with the separators of the\n"
         "user's locale.",
         1, 1, {}, LutLegend},
    };
}
