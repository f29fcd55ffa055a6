#pragma once
// The steps of opening the main window that come before the legend list: the
// start-up conversion of a TAB legend table and the pen file check. Each step's
// outcome is kept so the window and the tests can see it. (The pattern folder
// and the list are the editor flow's Open.)

#include "app/core/hostplacement.h"
#include "app/core/startupoptions.h"
#include "app/core/tabconversion.h"

#include <functional>
#include <optional>
#include <string>

class CUserPrompt;

struct CStartupResources {
    std::optional<CTabConversion> conversion; // only with "-tab2leg" and a TAB path
    std::string penFile;                      // empty when no Quarvex/Strativ host started us
    bool penFileReadable = false;
};

// programPath is argument 0 of the command line: without a configured pen file,
// the one beside the program is used.
CStartupResources PrepareStartup(const CStartupOptions& options, const std::string& programPath, CUserPrompt& prompt);

// What "Help..." does for a host. Hosts without a help file (none, Zorbinfo,
// Magsprint) have the command disabled. On this platform no help viewer stands
// by to report a help file that is not there, so the editor says so itself.
struct CHelpDecision {
    enum class Action { None, Open, CannotOpen };
    Action action = Action::None;
    std::string path; // the help file, a bare name counting from the working folder
    bool operator==(const CHelpDecision&) const = default;
};
// readable: whether a path names a file that can be read (links followed).
CHelpDecision DecideHelp(int hostCode, const CInstallationLookup& installation, const std::string& programFolder,
                         const std::function<bool(const std::string&)>& readable);
