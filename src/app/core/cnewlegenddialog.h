#pragma once
// The New legend dialog as the editor's flow sees it: it writes a skeleton
// legend file and tells where.

#include "app/core/editorhostflags.h"

#include <optional>
#include <string>

class CNewLegendDialog {
public:
    struct Request {
        std::string projectFolder;
        std::string legendFolder;
        CEditorHostFlags flags;
    };
    struct Result {
        std::string folder; // where the file went
        std::string name;   // its name without ".leg"
    };
    virtual ~CNewLegendDialog() = default;
    // Nothing when the user cancelled.
    virtual std::optional<Result> Run(const Request& request) = 0;
};
