#pragma once
// The file dialog of "Save As...": a path chosen for saving, or nothing.

#include <optional>
#include <string>

class CSaveFileDialog {
public:
    struct Request {
        std::string folder;   // where the dialog opens
        std::string fileName; // proposed
        std::string defaultExtension = "leg";
        std::string filter = "Legend files (*.leg)|*.leg||";
    };
    virtual ~CSaveFileDialog() = default;
    virtual std::optional<std::string> Run(const Request& request) = 0;
};
