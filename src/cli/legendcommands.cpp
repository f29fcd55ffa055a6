// Legend and colour look-up table commands of tessarin-cli.

#include "cli/clicommand.h"
#include "legend/cllegend.h"
#include "platform/cfileio.h"
#include "platform/ctextcodec.h"

#include <nlohmann/json.hpp>

#include <cstdio>

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

// A file that could not be read would leave a default legend; here, where no
// one asked for a default, it is an error naming the file and the reason.
bool Readable(const std::string& path, const CFileResult& result)
{
    if (!result.Ok())
        std::fprintf(stderr, "tessarin-cli: cannot read %s: %s\n", path.c_str(),
                     result.Reason().c_str());
    return result.Ok();
}

// The colour table readers keep no result, so the file is read once first.
bool LutReadable(const std::string& path)
{
    std::string data;
    return Readable(path, CFileIO::ReadAllChecked(path, data));
}

std::vector<std::string> Positional(const std::vector<std::string>& args)
{
    return ParseCliArgs(CCliCommand{}, args).positional;
}

int LegDump(const std::vector<std::string>& args)
{
    const std::string in = Positional(args)[0];
    CLLLegend legend;
    if (!Readable(in, legend.ReadLEG(in)))
        return ExitFailure;
    Print(LegendJson(legend));
    return ExitOk;
}

int LegCopy(const std::vector<std::string>& args)
{
    const std::vector<std::string> files = Positional(args);
    CLLLegend legend;
    if (!Readable(files[0], legend.ReadLEG(files[0])))
        return ExitFailure;
    const CFileResult saved = legend.SaveLEG(files[1]);
    if (!saved.Ok()) {
        std::fprintf(stderr, "Could not create %s: %s\n", files[1].c_str(), saved.Reason().c_str());
        return ExitFailure;
    }
    return ExitOk;
}

int LutDump(const std::vector<std::string>& args)
{
    const std::string in = Positional(args)[0];
    if (!LutReadable(in))
        return ExitFailure;
    CLLColourTable table;
    table.ReadLUT(in);
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
    const std::string in = Positional(args)[0];
    if (!LutReadable(in))
        return ExitFailure;
    CLLLegend legend;
    legend.ReadColourTable(in);
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
         1, 1, {}, {}, LegDump},
        {"leg-copy", "IN OUT",
         "Reads the legend IN and writes it to OUT in the standard .leg layout.\n"
         "OUT is replaced atomically; exit code 1 when it cannot be written.",
         2, 2, {}, {}, LegCopy},
        {"lut-dump", "FILE",
         "Reads a colour look-up table file as a colour table and prints kind, fileName,\n"
         "count, levels and colours (packed 0x00BBGGRR numbers) as JSON.",
         1, 1, {}, {}, LutDump},
        {"lut-legend", "FILE",
         "Reads a colour look-up table file as a legend and prints it like leg-dump,\n"
         "each row with its data value (\"value\"), read with the separators of the\n"
         "user's locale.",
         1, 1, {}, {}, LutLegend},
    };
}
