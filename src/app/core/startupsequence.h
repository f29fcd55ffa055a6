#pragma once
// The steps of opening the main window that come before the legend list: the
// start-up conversion of a TAB legend table and the pen file check. Each step's
// outcome is kept so the window and the tests can see it. (The pattern folder
// and the list are the editor flow's Open.)

#include "app/core/startupoptions.h"
#include "app/core/tabconversion.h"

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
