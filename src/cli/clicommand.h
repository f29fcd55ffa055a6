#pragma once
// The command-line tool is a table of commands; each group of commands lives in
// its own file and hands its entries to main().

#include "platform/cuserprompt.h"

#include <functional>
#include <string>
#include <utility>
#include <vector>

struct CCliCommand {
    std::string name;
    std::string usage; // arguments after the command name, e.g. "IN OUT"
    std::string help;  // one paragraph shown by "COMMAND --help"
    int minArgs = 0;   // positional arguments, options not counted
    int maxArgs = 0;
    std::vector<std::string> valueOptions; // options that take the next argument as value
    std::vector<std::string> flagOptions;  // options that take no value
    // Runs with the arguments after the command name; the core's messages go
    // through prompt. Returns the exit code.
    std::function<int(const std::vector<std::string>& args, CUserPrompt& prompt)> run;
};

// Exit codes shared by all commands.
enum CliExit { ExitOk = 0, ExitFailure = 1, ExitUsage = 2 };

// Splits the arguments into positional ones and "--name [value]" options.
struct CCliArgs {
    std::vector<std::string> positional;
    std::vector<std::pair<std::string, std::string>> options; // flag options get ""
    bool Has(const std::string& option) const;
    std::string Value(const std::string& option, const std::string& fallback = {}) const;
};
CCliArgs ParseCliArgs(const CCliCommand& command, const std::vector<std::string>& args);

// Why the arguments are no valid call of the command ("unknown option '--x'"),
// empty when they are one: a mistyped option silently ignored would run the
// command with other settings than the user asked for.
std::string CheckCliOptions(const CCliCommand& command, const std::vector<std::string>& args);

// Text with '\\', control characters and bytes that are not UTF-8 written as
// C escapes (\n, \t, \r, \x01, \xFF): names from files and tables may hold any
// byte, and one holding a line feed or a tab must not break the one-line,
// tab-separated outputs; valid UTF-8 is kept as it is.
std::string EscapeControls(const std::string& text);

// Every error line of the tool reads "tessarin-cli COMMAND: text". Fail writes
// one and returns ExitFailure.
int Fail(const std::string& command, const std::string& text);

// What a failed write says: "Could not save FILE" when the file was there
// before (and is left as it was), "Could not create FILE" when it was not;
// the reason follows when there is one.
std::string WriteFailure(const std::string& path, bool existed, const std::string& reason);

// Whether a write to path rewrites a file that is there (links followed).
bool RewritesFile(const std::string& path);

// Writes the core's messages to stderr as the command's own error lines; main
// hands one to the command it runs.
class CCommandPrompt : public CUserPrompt {
public:
    explicit CCommandPrompt(const std::string& command) : m_Command(command) {}
    Answer Ask(const Message& message) override;

private:
    std::string m_Command;
};

std::vector<CCliCommand> LegendCommands();
std::vector<CCliCommand> StorageCommands();
std::vector<CCliCommand> PreviewCommands();
