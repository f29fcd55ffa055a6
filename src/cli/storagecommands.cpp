// TAB legend table, legend folder and common settings commands of tessarin-cli.
// Messages of the core reach stderr through the command's prompt.

#include "app/core/tabconversion.h"
#include "app/core/tabexport.h"
#include "app/core/tablegendnames.h"
#include "cli/clicommand.h"
#include "legend/cllegend.h"
#include "legend/tabtable.h"
#include "platform/cfileio.h"
#include "platform/csettingsstore.h"
#include "platform/tabkit.h"
#include "storage/legendfiles.h"
#include "platform/cufilename.h"
#include "platform/cuserprompt.h"
#include "platform/ctextcodec.h"
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

// Why the legend folder of the common settings cannot be known (the settings
// file and the reason), or empty. A file that cannot be read is not "not set":
// the legends would silently go to, or come from, another folder.
std::string LegendFolderSettingProblem()
{
    std::string why;
    GetCommonSetting("LUT_PATH", &why);
    return why.empty() ? why : "cannot read the settings file " + EscapeControls(why);
}

// The host whose project folder and profile the folder commands use.
std::string UseProduct(const CCliArgs& a)
{
    const std::string product = a.Value("--product");
    CSettingsStore::SetProfileProduct(product);
    return product;
}

int TabNames(const std::vector<std::string>& args, const CCliCommand& self, CUserPrompt& prompt)
{
    const CCliArgs a = ParseCliArgs(self, args);
    const CTABLegendNames names = ReadTABLegendNames(a.positional[0], prompt);
    if (!names.opened || (!names.mapCode && !names.hasNameField))
        return ExitFailure;
    if (names.mapCode) {
        std::printf("map-code table\n");
        return ExitOk;
    }
    for (const std::string& n : names.names)
        std::printf("%s\n", EscapeControls(n).c_str());
    return ExitOk;
}

// One character of text, whatever its length in UTF-8: a locale's separator
// may be a narrow no-break space or a typographic apostrophe.
bool IsOneCharacter(const std::string& text)
{
    if (text.empty())
        return false;
    const unsigned char lead = static_cast<unsigned char>(text[0]);
    const size_t length = lead < 0x80 ? 1 : (lead & 0xE0) == 0xC0 ? 2 : (lead & 0xF0) == 0xE0 ? 3
                                        : (lead & 0xF8) == 0xF0 ? 4 : 0;
    return length == text.size() && CTextCodec::IsValidUtf8(text);
}

// Whether writing to out would overwrite the table or one of its side files.
bool IsPartOfTable(const std::string& out, const std::string& tab)
{
    if (CFileIO::SameFile(out, tab))
        return true;
    const size_t dot = tab.rfind('.');
    const std::string stem = dot == std::string::npos ? tab : tab.substr(0, dot);
    for (const char* ext : {".dat", ".map", ".id", ".ind", ".DAT", ".MAP", ".ID", ".IND"})
        if (CFileIO::SameFile(out, stem + ext))
            return true;
    return false;
}

int TabImport(const std::vector<std::string>& args, const CCliCommand& self, CUserPrompt& prompt)
{
    const CCliArgs a = ParseCliArgs(self, args);
    const std::string& tab = a.positional[0];
    const std::string& name = a.positional[1];
    const std::string& out = a.positional[2];
    CNumberSeparators separators = CNumberSeparators::User();
    for (const char* option : {"--thousands", "--decimal"}) {
        if (!a.Has(option))
            continue;
        const std::string value = a.Value(option);
        if (!IsOneCharacter(value)) {
            std::fprintf(stderr, "tessarin-cli %s: %s takes one character\n", self.name.c_str(),
                         option);
            return ExitUsage;
        }
        (std::string(option) == "--thousands" ? separators.thousands : separators.decimal) = value;
    }
    // With one mark for both, "1.234,5" would silently read as 1.2345.
    if (separators.thousands == separators.decimal) {
        std::fprintf(stderr, "tessarin-cli %s: the thousands and decimal separators must differ "
                             "(both are '%s')\n",
                     self.name.c_str(), separators.decimal.c_str());
        return ExitUsage;
    }
    // Every refusal comes before the output is touched: a legend file made
    // from no legend would replace a good one with an empty or default one.
    switch (InspectLegendTable(tab)) {
    case TabLegendLayout::Unreadable:
        return Fail(self.name, "Could not open " + TabKitFailure(tab));
    case TabLegendLayout::Incomplete:
        return Fail(self.name, "Could not find all the standard fields in " + tab);
    case TabLegendLayout::Standard:
    case TabLegendLayout::MapCode:
        break;
    }
    if (IsPartOfTable(out, tab))
        return Fail(self.name, "the output " + out + " is part of the table " + tab);
    CLLLegend legend;
    legend.ImportTAB(tab, name, a.Has("--locale-numbers") ? 1 : 0, prompt, separators);
    if (!name.empty() && legend.GetRowCount() == 0)
        return Fail(self.name, "no legend named \"" + name + "\" in " + tab);
    const bool existed = RewritesFile(out);
    if (const CFileResult saved = legend.SaveLEG(out); !saved.Ok())
        return Fail(self.name, WriteFailure(out, existed, saved.Reason()));
    return ExitOk;
}

int TabExport(const std::vector<std::string>& args, const CCliCommand& self, CUserPrompt&)
{
    const CCliArgs a = ParseCliArgs(self, args);
    CLLLegend legend;
    if (const CFileResult read = legend.ReadLEG(a.positional[0]); !read.Ok())
        return Fail(self.name, "Could not open " + a.positional[0] + ": " + read.Reason());
    if (std::string why; !legend.ExportTAB(a.positional[1], &why))
        return Fail(self.name, why);
    return ExitOk;
}

int Tab2Leg(const std::vector<std::string>& args, const CCliCommand& self, CUserPrompt& prompt)
{
    const CCliArgs a = ParseCliArgs(self, args);
    if (const std::string problem = LegendFolderSettingProblem(); !problem.empty())
        return Fail(self.name, problem);
    const CTabConversion result =
        ConvertTABToLEG(a.positional[0], a.Has("--check-timestamp"), prompt);
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
        std::printf("%s\n", EscapeControls(path).c_str());
    // A legend that could not be written leaves the file as it was, so one
    // that is there now was there before.
    for (const CFailedWrite& f : result.failed)
        Fail(self.name, WriteFailure(EscapeControls(f.path), RewritesFile(f.path), f.reason));
    for (const std::string& name : result.skipped)
        std::fprintf(stderr, "tessarin-cli %s: skipped the legend name \"%s\": not a file name\n",
                     self.name.c_str(), EscapeControls(name).c_str());
    return result.failed.empty() && result.skipped.empty() && !result.fieldsMissing ? ExitOk
                                                                                    : ExitFailure;
}

int ExportAll(const std::vector<std::string>& args, const CCliCommand& self, CUserPrompt&)
{
    const CCliArgs a = ParseCliArgs(self, args);
    const std::string product = UseProduct(a);
    const std::string& out = a.positional[0];
    if (const std::string problem = LegendFolderSettingProblem(); !problem.empty())
        return Fail(self.name, problem + "; " + out + " left as it was");
    // A folder left out silently would drop its legends from the hosts' table.
    const auto folders = LegendSearchFolders(product, a.Value("--extra"), false);
    for (const CFolderProblem& p : FoldersNotEntered(folders))
        std::fprintf(stderr, "tessarin-cli %s: cannot enter the folder %s: %s\n", self.name.c_str(),
                     EscapeControls(p.folder).c_str(), p.reason.c_str());
    std::vector<std::string> paths, names;
    CollectLegendFiles(paths, names, product, a.Value("--extra"), false);
    // An empty table would replace the hosts' legends with none.
    if (paths.empty())
        return Fail(self.name, "no legend found; " + out + " left as it was");
    const bool existed = RewritesFile(out);
    const CExportAllResult result = ExportAllToTAB(out, paths);
    switch (result.outcome) {
    case CExportAllResult::Outcome::Written:
        return ExitOk;
    case CExportAllResult::Outcome::LegendUnreadable:
        return Fail(self.name, "cannot read " + EscapeControls(result.file) + ": " + result.reason +
                                   "; " + out + " left as it was");
    case CExportAllResult::Outcome::NoPath:
    case CExportAllResult::Outcome::TableNotWritten:
        break;
    }
    return Fail(self.name, WriteFailure(out, existed, result.reason));
}

int List(const std::vector<std::string>& args, const CCliCommand& self, CUserPrompt&)
{
    const CCliArgs a = ParseCliArgs(self, args);
    const std::string product = UseProduct(a);
    if (const std::string problem = LegendFolderSettingProblem(); !problem.empty())
        return Fail(self.name, problem);
    // A folder that is missing or cannot be read would otherwise look like
    // one without legends.
    const auto problems = FoldersNotEntered(LegendSearchFolders(product, a.Value("--extra"), false));
    for (const CFolderProblem& p : problems)
        std::fprintf(stderr, "tessarin-cli %s: cannot list %s: %s\n", self.name.c_str(),
                     EscapeControls(p.folder).c_str(), p.reason.c_str());
    std::vector<std::string> paths, names;
    CollectLegendFiles(paths, names, product, a.Value("--extra"), false);
    for (size_t i = 0; i < paths.size(); ++i)
        std::printf("%s\t%s\n", EscapeControls(names[i]).c_str(), EscapeControls(paths[i]).c_str());
    return problems.empty() ? ExitOk : ExitFailure;
}

int Settings(const std::vector<std::string>& args, const CCliCommand& self, CUserPrompt&)
{
    const CCliArgs a = ParseCliArgs(self, args);
    const std::string& verb = a.positional[0];
    const CCommonSetting* setting = FindCommonSetting(a.positional[1]);
    if (!setting)
        return Fail(self.name, "unknown setting " + a.positional[1] +
                                   " (LUT_PATH, BRUSH_PATH or PEN_FILE)");
    if (verb == "get" && a.positional.size() == 2) {
        std::string why;
        const auto value = GetCommonSetting(setting->name, &why);
        if (!why.empty())
            return Fail(self.name, "cannot read the settings file " + EscapeControls(why));
        if (!value)
            return Fail(self.name, std::string(setting->name) + " is not set");
        std::printf("%s\n", value->c_str());
        return ExitOk;
    }
    if (verb == "set" && a.positional.size() == 3) {
        std::string value = a.positional[2];
        // A line feed would end the setting's line in the settings file, and
        // no folder or file name the suite uses holds a control character.
        for (const char c : value) {
            if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) {
                std::fprintf(stderr, "tessarin-cli %s: %s must not hold a control character\n",
                             self.name.c_str(), setting->name);
                return ExitUsage;
            }
        }
        // Folders are stored as the Settings dialog stores them.
        if (setting->folder && !value.empty())
            value = CUText::ReplaceAll(value + "/", "//", "/");
        if (std::string why; !SetCommonSetting(setting->name, value, &why))
            return Fail(self.name, std::string("could not store ") + setting->name + ": " + why);
        return ExitOk;
    }
    Fail(self.name, verb != "get" && verb != "set"
                        ? "unknown action '" + verb + "' (get or set)"
                        : verb == "get" ? "too many arguments" : "missing arguments");
    std::fprintf(stderr, "Usage: tessarin-cli %s %s\n", self.name.c_str(), self.usage.c_str());
    return ExitUsage;
}

// Binds a command function to its own table entry so it can parse its options.
CCliCommand Make(CCliCommand c,
                 int (*run)(const std::vector<std::string>&, const CCliCommand&, CUserPrompt&))
{
    const CCliCommand self = c;
    c.run = [self, run](const std::vector<std::string>& args, CUserPrompt& prompt) {
        return run(args, self, prompt);
    };
    return c;
}

} // namespace

std::vector<CCliCommand> StorageCommands()
{
    std::vector<CCliCommand> commands;
    commands.push_back(Make({"tab-names", "TAB",
                             "Lists the legend names of a TAB legend table, one per line, in the "
                             "order of their first appearance, or prints \"map-code table\" for a "
                             "table in the map-code layout. Control characters, '\\' and bytes "
                             "that are not UTF-8 are written as C escapes, as by list.",
                             1, 1, {}, {}, {}},
                            TabNames));
    commands.push_back(Make({"tab-import", "TAB NAME OUT.leg [--locale-numbers] [--thousands C] "
                                           "[--decimal C]",
                             "Imports the legend NAME of a TAB legend table (all rows when NAME is "
                             "empty) and writes it as a legend file. With --locale-numbers From and "
                             "To values typed as text are read with the user's separators, or "
                             "with those given. A table without the legend fields, a NAME not in "
                             "it, or an OUT that is part of the table leave OUT untouched (exit 1).",
                             3, 3, {"--thousands", "--decimal"}, {"--locale-numbers"}, {}},
                            TabImport));
    commands.push_back(Make({"tab-export", "IN.leg OUT",
                             "Writes a legend file as a TAB legend table; \".tab\" is appended to "
                             "an OUT of more than four characters unless it ends in it (a "
                             "table's name must end in \".tab\").",
                             2, 2, {}, {}, {}},
                            TabExport));
    commands.push_back(Make({"tab2leg", "TAB [--check-timestamp]",
                             "Converts every legend of a TAB legend table into a legend file in "
                             "the legend folder (LUT_PATH) and prints the files written. With "
                             "--check-timestamp a table unchanged since the stored time stamp is "
                             "skipped (\"unchanged\"). A legend name that is no file name (empty or "
                             "blank, starting with '.', or holding '/', '\\' or a control "
                             "character) is skipped and reported; the exit code is then 1. Names "
                             "and files are printed with control characters escaped as by list.",
                             1, 1, {}, {"--check-timestamp"}, {}},
                            Tab2Leg));
    commands.push_back(Make({"export-all", "OUT.tab [--product P] [--extra \"DIR;DIR\"]",
                             "Writes every listed legend (see list) into one TAB legend table; "
                             "OUT must end in \".tab\". A folder that cannot be entered is "
                             "reported. A legend that cannot be read, or no legend at all, "
                             "leaves OUT as it was (exit 1).",
                             1, 1, {"--product", "--extra"}, {}, {}},
                            ExportAll));
    commands.push_back(Make({"list", "[--product P] [--extra \"DIR;DIR\"]",
                             "Lists the legend files of the project folder of product P, the "
                             "LUT_PATH folder, the user's folders and the extra folders: one line "
                             "per file, name, a tab, and the full path. Control characters, '\\' "
                             "and bytes that are not UTF-8 in them are written as C escapes "
                             "(\\n, \\t, \\x01, \\xFF, \\\\); other UTF-8 text as it is. A folder that "
                             "cannot be listed is reported; the others are still listed, and the "
                             "exit code is 1.",
                             0, 0, {"--product", "--extra"}, {}, {}},
                            List));
    commands.push_back(Make({"settings", "get NAME | set NAME VALUE",
                             "Reads or stores a common setting: LUT_PATH (legend folder), "
                             "BRUSH_PATH (pattern folder) or PEN_FILE. A VALUE holding a control "
                             "character (a line feed) is refused (exit 2).",
                             2, 3, {}, {}, {}},
                            Settings));
    return commands;
}
