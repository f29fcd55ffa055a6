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

json RowJson(const CLLRow& row)
{
    return {
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
    };
}

// Writes a value as it stands at the given depth of a document dumped with an
// indent of two: its inner lines are shifted by the depth.
void PutValue(const json& value, int depth)
{
    const std::string text = value.dump(2, ' ', false, json::error_handler_t::replace);
    const std::string shift(static_cast<size_t>(2 * depth), ' ');
    size_t begin = 0;
    for (size_t end; (end = text.find('\n', begin)) != std::string::npos; begin = end + 1) {
        std::fwrite(text.data() + begin, 1, end + 1 - begin, stdout);
        std::fputs(shift.c_str(), stdout);
    }
    std::fwrite(text.data() + begin, 1, text.size() - begin, stdout);
}

// The legend as one JSON object, written a row at a time: built whole, a
// legend of millions of rows would take well over a hundred times its file
// size. The keys come in the sorted order a whole-document dump gives them.
void PrintLegend(const CLLLegend& legend, bool withValues)
{
    json comments = json::array();
    for (const auto& c : legend.m_HeaderComments)
        comments.push_back(Text(c));
    const std::pair<const char*, json> head[] = {
        {"dataType", legend.m_DataType},       {"description", Text(legend.m_Description)},
        {"filePath", Text(legend.m_FilePath)}, {"fileTitle", Text(legend.m_FileTitle)},
        {"headerComments", comments},          {"name", Text(legend.m_Name)},
    };
    std::fputs("{\n", stdout);
    for (const auto& [key, value] : head) {
        std::printf("  \"%s\": ", key);
        PutValue(value, 1);
        std::fputs(",\n", stdout);
    }
    std::fputs("  \"rows\": [", stdout);
    CLLRow row;
    int i = 0;
    for (; legend.GetRow(i, row); ++i) {
        json j = RowJson(row);
        // Each row of a colour table carries the data value of the entry that placed its colour.
        if (withValues)
            j["value"] = row.value;
        std::fputs(i == 0 ? "\n    " : ",\n    ", stdout);
        PutValue(j, 2);
    }
    std::fputs(i == 0 ? "]\n}\n" : "\n  ]\n}\n", stdout);
}

void Print(const json& j)
{
    std::printf("%s\n", j.dump(2, ' ', false, json::error_handler_t::replace).c_str());
}

// A file that could not be read would leave a default legend; here, where no
// one asked for a default, it is an error naming the file and the reason.
bool Readable(const char* command, const std::string& path, const CFileResult& result)
{
    if (!result.Ok())
        Fail(command, "cannot read " + path + ": " + result.Reason());
    return result.Ok();
}

// The colour table readers keep no result, so the file is read once first.
bool LutReadable(const char* command, const std::string& path)
{
    std::string data;
    return Readable(command, path, CFileIO::ReadAllChecked(path, data));
}

std::vector<std::string> Positional(const std::vector<std::string>& args)
{
    return ParseCliArgs(CCliCommand{}, args).positional;
}

int LegDump(const std::vector<std::string>& args, CUserPrompt&)
{
    const std::string in = Positional(args)[0];
    CLLLegend legend;
    if (!Readable("leg-dump", in, legend.ReadLEG(in)))
        return ExitFailure;
    PrintLegend(legend, false);
    return ExitOk;
}

int LegCopy(const std::vector<std::string>& args, CUserPrompt&)
{
    const std::vector<std::string> files = Positional(args);
    CLLLegend legend;
    if (!Readable("leg-copy", files[0], legend.ReadLEG(files[0])))
        return ExitFailure;
    const bool existed = RewritesFile(files[1]);
    const CFileResult saved = legend.SaveLEG(files[1]);
    if (!saved.Ok())
        return Fail("leg-copy", WriteFailure(files[1], existed, saved.Reason()));
    return ExitOk;
}

int LutDump(const std::vector<std::string>& args, CUserPrompt&)
{
    const std::string in = Positional(args)[0];
    if (!LutReadable("lut-dump", in))
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

int LutLegend(const std::vector<std::string>& args, CUserPrompt&)
{
    const std::string in = Positional(args)[0];
    if (!LutReadable("lut-legend", in))
        return ExitFailure;
    CLLLegend legend;
    legend.ReadColourTable(in);
    PrintLegend(legend, true);
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
