// TAB legend table, legend folder and common settings commands of tessarin-cli.
// Messages of the core reach stderr through the default prompt.

#include "app/core/tabconversion.h"
#include "app/core/tabexport.h"
#include "app/core/tablegendnames.h"
#include "cli/clicommand.h"
#include "legend/cllegend.h"
#include "platform/cfileio.h"
#include "platform/csettingsstore.h"
#include "platform/tabkit.h"
#include "storage/legendfiles.h"
#include "platform/cufilename.h"
#include "platform/cutext.h"

#include <cstdio>

namespace {

// The common settings a user may set here, and whether each names a folder.
struct CCommonSetting {
    const char* name;
    bool folder;
};
constexpr CCommonSetting CommonSettings[] = {
    {"LUT_PATH", true}, {"BRUSH_PATH", true}, {"PEN_FILE", false}};

const CCommonSetting* FindCommonSetting(const std::string& name)
{
    for (const CCommonSetting& s : CommonSettings)
        if (CUText::EqualNoCase(name, s.name))
            return &s;
    return nullptr;
}

int Fail(const std::string& command, const std::string& text)
{
    std::fprintf(stderr, "tessarin-cli %s: %s\n", command.c_str(), text.c_str());
    return ExitFailure;
}

// A file name may hold any byte but '/' and NUL: written as C escapes, a line
// feed or a tab in one cannot break the one-line, tab-separated output of list.
std::string EscapeControls(const std::string& text)
{
    std::string out;
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (c == '\\') {
            out += "\\\\";
        } else if (c == '\n') {
            out += "\\n";
        } else if (c == '\t') {
            out += "\\t";
        } else if (c == '\r') {
            out += "\\r";
        } else if (byte < 0x20 || byte == 0x7F) {
            char hex[8];
            std::snprintf(hex, sizeof hex, "\\x%02X", byte);
            out += hex;
        } else {
            out += c;
        }
    }
    return out;
}

// Opening the table first tells a missing table from an empty legend, which
// the import alone cannot.
bool CanOpenTable(const std::string& path)
{
    TabKitTable* table = tabkit_c_open(path.c_str(), 1);
    if (!table)
        return false;
    tabkit_c_close(table);
    return true;
}

// The host whose project folder and profile the folder commands use.
std::string UseProduct(const CCliArgs& a)
{
    const std::string product = a.Value("--product");
    CSettingsStore::SetProfileProduct(product);
    return product;
}

int TabNames(const std::vector<std::string>& args, const CCliCommand& self)
{
    const CCliArgs a = ParseCliArgs(self, args);
    const CTABLegendNames names = ReadTABLegendNames(a.positional[0]);
    if (!names.opened || (!names.mapCode && !names.hasNameField))
        return ExitFailure;
    if (names.mapCode) {
        std::printf("map-code table\n");
        return ExitOk;
    }
    for (const std::string& n : names.names)
        std::printf("%s\n", n.c_str());
    return ExitOk;
}

int TabImport(const std::vector<std::string>& args, const CCliCommand& self)
{
    const CCliArgs a = ParseCliArgs(self, args);
    const std::string& tab = a.positional[0];
    CNumberSeparators separators = CNumberSeparators::User();
    for (const char* option : {"--thousands", "--decimal"}) {
        if (!a.Has(option))
            continue;
        const std::string value = a.Value(option);
        if (value.size() != 1)
            return Fail(self.name, std::string(option) + " takes one character");
        (std::string(option) == "--thousands" ? separators.thousands : separators.decimal) =
            value[0];
    }
    if (!CanOpenTable(tab))
        return Fail(self.name, "Could not open " + tab);
    CLLLegend legend;
    legend.ImportTAB(tab, a.positional[1], a.Has("--locale-numbers") ? 1 : 0, separators);
    if (!legend.WriteLEG(a.positional[2]))
        return Fail(self.name, "Could not create " + a.positional[2]);
    return ExitOk;
}

int TabExport(const std::vector<std::string>& args, const CCliCommand& self)
{
    const CCliArgs a = ParseCliArgs(self, args);
    CLLLegend legend;
    if (const CFileResult read = legend.ReadLEG(a.positional[0]); !read.Ok())
        return Fail(self.name, "Could not open " + a.positional[0] + ": " + read.Reason());
    return legend.ExportTAB(a.positional[1]) ? ExitOk : ExitFailure;
}

int Tab2Leg(const std::vector<std::string>& args, const CCliCommand& self)
{
    const CCliArgs a = ParseCliArgs(self, args);
    const CTabConversion result = ConvertTABToLEG(a.positional[0], a.Has("--check-timestamp"));
    switch (result.outcome) {
    case CTabConversion::Outcome::OpenFailed:
        return ExitFailure;
    case CTabConversion::Outcome::Unchanged:
        std::printf("unchanged\n");
        return ExitOk;
    case CTabConversion::Outcome::Converted:
        break;
    }
    for (const std::string& path : result.written)
        std::printf("%s\n", path.c_str());
    for (const std::string& path : result.failed)
        std::fprintf(stderr, "tessarin-cli %s: Could not create %s\n", self.name.c_str(),
                     path.c_str());
    for (const std::string& name : result.skipped)
        std::fprintf(stderr, "tessarin-cli %s: skipped the legend name \"%s\": not a file name\n",
                     self.name.c_str(), EscapeControls(name).c_str());
    return result.failed.empty() && result.skipped.empty() && !result.fieldsMissing ? ExitOk
                                                                                    : ExitFailure;
}

int ExportAll(const std::vector<std::string>& args, const CCliCommand& self)
{
    const CCliArgs a = ParseCliArgs(self, args);
    const std::string product = UseProduct(a);
    std::vector<std::string> paths, names;
    CollectLegendFiles(paths, names, product, a.Value("--extra"), false);
    if (!ExportAllToTAB(a.positional[0], paths))
        return Fail(self.name, "Could not create " + a.positional[0]);
    return ExitOk;
}

int List(const std::vector<std::string>& args, const CCliCommand& self)
{
    const CCliArgs a = ParseCliArgs(self, args);
    const std::string product = UseProduct(a);
    std::vector<std::string> paths, names;
    CollectLegendFiles(paths, names, product, a.Value("--extra"), false);
    for (size_t i = 0; i < paths.size(); ++i)
        std::printf("%s\t%s\n", EscapeControls(names[i]).c_str(), EscapeControls(paths[i]).c_str());
    return ExitOk;
}

int Settings(const std::vector<std::string>& args, const CCliCommand& self)
{
    const CCliArgs a = ParseCliArgs(self, args);
    const std::string& verb = a.positional[0];
    const CCommonSetting* setting = FindCommonSetting(a.positional[1]);
    if (!setting)
        return Fail(self.name, "unknown setting " + a.positional[1] +
                                   " (LUT_PATH, BRUSH_PATH or PEN_FILE)");
    if (verb == "get" && a.positional.size() == 2) {
        const auto value = GetCommonSetting(setting->name);
        if (!value)
            return Fail(self.name, std::string(setting->name) + " is not set");
        std::printf("%s\n", value->c_str());
        return ExitOk;
    }
    if (verb == "set" && a.positional.size() == 3) {
        std::string value = a.positional[2];
        // Folders are stored as the Settings dialog stores them.
        if (setting->folder && !value.empty())
            value = CUText::ReplaceAll(value + "/", "//", "/");
        if (!SetCommonSetting(setting->name, value))
            return Fail(self.name, std::string("could not store ") + setting->name);
        return ExitOk;
    }
    std::fprintf(stderr, "Usage: tessarin-cli %s %s\n", self.name.c_str(), self.usage.c_str());
    return ExitUsage;
}

// Binds a command function to its own table entry so it can parse its options.
CCliCommand Make(CCliCommand c, int (*run)(const std::vector<std::string>&, const CCliCommand&))
{
    const CCliCommand self = c;
    c.run = [self, run](const std::vector<std::string>& args) { return run(args, self); };
    return c;
}

} // namespace

std::vector<CCliCommand> StorageCommands()
{
    std::vector<CCliCommand> commands;
    commands.push_back(Make({"tab-names", "TAB",
                             "Lists the legend names of a TAB legend table, one per line, in the "
                             "order of their first appearance, or prints \"map-code table\" for a "
                             "table in the map-code layout.",
                             1, 1, {}, {}},
                            TabNames));
    commands.push_back(Make({"tab-import", "TAB NAME OUT.leg [--locale-numbers] [--thousands C] "
                                           "[--decimal C]",
                             "Imports the legend NAME of a TAB legend table (all rows when NAME is "
                             "empty) and writes it as a legend file. With --locale-numbers the "
                             "From and To values are read with the user's separators, or with "
                             "those given.",
                             3, 3, {"--thousands", "--decimal"}, {}},
                            TabImport));
    commands.push_back(Make({"tab-export", "IN.leg OUT",
                             "Writes a legend file as a TAB legend table; \".tab\" is appended to "
                             "an OUT of more than four characters unless it ends in it (a "
                             "table's name must end in \".tab\").",
                             2, 2, {}, {}},
                            TabExport));
    commands.push_back(Make({"tab2leg", "TAB [--check-timestamp]",
                             "Converts every legend of a TAB legend table into a legend file in "
                             "the legend folder (LUT_PATH) and prints the files written. With "
                             "--check-timestamp a table unchanged since the stored time stamp is "
                             "skipped (\"unchanged\"). A legend name that is no file name (empty, "
                             "\"..\", or holding '/' or '\\') is skipped and reported; the exit "
                             "code is then 1.",
                             1, 1, {}, {}},
                            Tab2Leg));
    commands.push_back(Make({"export-all", "OUT.tab [--product P] [--extra \"DIR;DIR\"]",
                             "Writes every listed legend (see list) into one TAB legend table; "
                             "OUT must end in \".tab\".",
                             1, 1, {"--product", "--extra"}, {}},
                            ExportAll));
    commands.push_back(Make({"list", "[--product P] [--extra \"DIR;DIR\"]",
                             "Lists the legend files of the project folder of product P, the "
                             "LUT_PATH folder, the user's folders and the extra folders: one line "
                             "per file, name, a tab, and the full path. Control characters and '\\' "
                             "in them are written as C escapes (\\n, \\t, \\x01, \\\\).",
                             0, 0, {"--product", "--extra"}, {}},
                            List));
    commands.push_back(Make({"settings", "get NAME | set NAME VALUE",
                             "Reads or stores a common setting: LUT_PATH (legend folder), "
                             "BRUSH_PATH (pattern folder) or PEN_FILE.",
                             2, 3, {}, {}},
                            Settings));
    return commands;
}
