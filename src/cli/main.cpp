// tessarin-cli: headless access to the legend core, for scripts and tests.

#include "cli/clicommand.h"
#include "platform/cfilefacts.h"
#include "platform/cfileio.h"
#include "platform/cmemorypolicy.h"
#include "platform/ctextcodec.h"

#include <clocale>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

namespace {

std::vector<CCliCommand> AllCommands()
{
    std::vector<CCliCommand> all = LegendCommands();
    for (auto& c : StorageCommands())
        all.push_back(std::move(c));
    for (auto& c : PreviewCommands())
        all.push_back(std::move(c));
    return all;
}

void PrintToolHelp(FILE* out, const std::vector<CCliCommand>& commands)
{
    std::fprintf(out, "Usage: tessarin-cli COMMAND [ARGS...]\n"
                      "       tessarin-cli COMMAND --help\n\nCommands:\n");
    for (const auto& c : commands)
        std::fprintf(out, "  %-12s %s\n", c.name.c_str(), c.usage.c_str());
}

void PrintCommandUsage(FILE* out, const CCliCommand& c)
{
    std::fprintf(out, "Usage: tessarin-cli %s %s\n", c.name.c_str(), c.usage.c_str());
}

} // namespace

bool CCliArgs::Has(const std::string& option) const
{
    for (const auto& o : options)
        if (o.first == option)
            return true;
    return false;
}

std::string CCliArgs::Value(const std::string& option, const std::string& fallback) const
{
    for (const auto& o : options)
        if (o.first == option)
            return o.second;
    return fallback;
}

CCliArgs ParseCliArgs(const CCliCommand& command, const std::vector<std::string>& args)
{
    CCliArgs result;
    bool optionsEnded = false;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (!optionsEnded && a == "--") {
            optionsEnded = true; // what follows is positional, such as a file "--x.leg"
        } else if (!optionsEnded && a.size() > 2 && a.rfind("--", 0) == 0) {
            bool takesValue = false;
            for (const auto& v : command.valueOptions)
                takesValue = takesValue || v == a;
            std::string value;
            if (takesValue && i + 1 < args.size())
                value = args[++i];
            result.options.emplace_back(a, value);
        } else {
            result.positional.push_back(a);
        }
    }
    return result;
}

std::string CheckCliOptions(const CCliCommand& command, const std::vector<std::string>& args)
{
    auto listed = [](const std::vector<std::string>& list, const std::string& a) {
        for (const auto& o : list)
            if (o == a)
                return true;
        return false;
    };
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (a == "--")
            break;
        // "-" alone names standard input or a file; "-x" is a mistyped option,
        // never a file name to read.
        if (a.size() >= 2 && a[0] == '-' && a[1] != '-')
            return "unknown option '" + a + "'";
        if (a.size() <= 2 || a.rfind("--", 0) != 0)
            continue;
        if (listed(command.valueOptions, a)) {
            if (i + 1 == args.size())
                return "option '" + a + "' needs a value";
            ++i;
        } else if (!listed(command.flagOptions, a)) {
            return "unknown option '" + a + "'";
        }
    }
    return {};
}

int Fail(const std::string& command, const std::string& text)
{
    std::fprintf(stderr, "tessarin-cli %s: %s\n", command.c_str(), text.c_str());
    return ExitFailure;
}

std::string WriteFailure(const std::string& path, bool existed, const std::string& reason)
{
    return (existed ? "Could not save " : "Could not create ") + path +
           (reason.empty() ? "" : ": " + reason);
}

bool RewritesFile(const std::string& path)
{
    return CFileFacts::IsFile(path);
}

CUserPrompt::Answer CCommandPrompt::Ask(const Message& message)
{
    std::fprintf(stderr, "tessarin-cli %s: %s\n", m_Command.c_str(), message.text.c_str());
    return message.buttons == Buttons::Ok ? Answer::Ok : Answer::Yes;
}

std::string EscapeControls(const std::string& text)
{
    std::string out;
    for (size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        const auto byte = static_cast<unsigned char>(c);
        if (byte >= 0x80) {
            // A whole UTF-8 character is kept; any other byte is escaped alone,
            // so that a terminal or a script reading UTF-8 gets valid text.
            const size_t length = byte >= 0xF0 ? 4 : byte >= 0xE0 ? 3 : byte >= 0xC0 ? 2 : 1;
            if (length > 1 && i + length <= text.size() &&
                CTextCodec::IsValidUtf8(std::string_view(text).substr(i, length))) {
                out.append(text, i, length);
                i += length - 1;
                continue;
            }
        }
        if (c == '\\') {
            out += "\\\\";
        } else if (c == '\n') {
            out += "\\n";
        } else if (c == '\t') {
            out += "\\t";
        } else if (c == '\r') {
            out += "\\r";
        } else if (byte < 0x20 || byte >= 0x7F) {
            char hex[8];
            std::snprintf(hex, sizeof hex, "\\x%02X", byte);
            out += hex;
        } else {
            out += c;
        }
    }
    return out;
}

int main(int argc, char** argv)
{
    // The user's locale, as the editor gets it from QApplication: numbers typed by
    // the user follow it, file formats never do.
    std::setlocale(LC_ALL, "");
    CMemoryPolicy::PreferReuse();
    CFileIO::IgnoreFileSizeSignal();
    const std::vector<CCliCommand> commands = AllCommands();
    if (argc < 2) {
        PrintToolHelp(stderr, commands);
        return ExitUsage;
    }
    const std::string name = argv[1];
    if (name == "--help" || name == "-h" || name == "help") {
        PrintToolHelp(stdout, commands);
        return ExitOk;
    }
    std::vector<std::string> args(argv + 2, argv + argc);
    for (const auto& c : commands) {
        if (c.name != name)
            continue;
        for (const auto& a : args) {
            if (a == "--")
                break;
            if (a == "--help" || a == "-h") {
                PrintCommandUsage(stdout, c);
                std::printf("\n%s\n", c.help.c_str());
                return ExitOk;
            }
        }
        if (const std::string wrong = CheckCliOptions(c, args); !wrong.empty()) {
            std::fprintf(stderr, "tessarin-cli %s: %s\n", name.c_str(), wrong.c_str());
            PrintCommandUsage(stderr, c);
            return ExitUsage;
        }
        const int positional = static_cast<int>(ParseCliArgs(c, args).positional.size());
        if (positional < c.minArgs || positional > c.maxArgs) {
            std::fprintf(stderr, "tessarin-cli %s: %s\n", name.c_str(),
                         positional < c.minArgs ? "missing arguments" : "too many arguments");
            PrintCommandUsage(stderr, c);
            return ExitUsage;
        }
        CCommandPrompt prompt(name);
        return c.run(args, prompt);
    }
    std::fprintf(stderr, "tessarin-cli: unknown command '%s'\n\n", name.c_str());
    PrintToolHelp(stderr, commands);
    return ExitUsage;
}
