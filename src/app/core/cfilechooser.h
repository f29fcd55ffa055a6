#pragma once
// A file or folder chooser as the dialogs' rules ask for one: the front end
// shows its own (QFileDialog in the editor), tests answer from a script.

#include <functional>
#include <optional>
#include <string>

struct CFileChooserRequest {
    enum class Kind { Folder, OpenFile };
    Kind kind = Kind::OpenFile;
    // The folder to start in, or for a file the file to preselect; empty for
    // the chooser's own default.
    std::string start;
    std::string extension; // without the dot
    // In the host suite's form: "Cartora TAB files (*.tab)|*.tab||".
    std::string filter;
    std::string productText; // the caller's product, shown as the chooser's title
};

// The chosen full path, or nothing when the user cancelled.
using CFileChooser = std::function<std::optional<std::string>(const CFileChooserRequest&)>;
