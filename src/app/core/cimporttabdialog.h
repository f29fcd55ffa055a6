#pragma once
// The "Import from TAB legend file" dialog as the editor's flow sees it.

#include <optional>
#include <string>

class CImportTABDialog {
public:
    struct Result {
        std::string tabPath;    // the table to read
        std::string legendName; // the legend of the table to take
        std::string outputName; // a bare file name, written into the current folder
    };
    virtual ~CImportTABDialog() = default;
    // Nothing when the user cancelled.
    virtual std::optional<Result> Run(const std::string& productText) = 0;
};
