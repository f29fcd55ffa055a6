#pragma once
// The Settings dialog as the editor's flow sees it.

#include <optional>
#include <string>

class CSettingsDialog {
public:
    struct Values {
        std::string legendFolder;
        std::string patternFolder;
        std::string penFile;
        std::string tabPath; // shown only; the dialog gives it back unchanged
    };
    virtual ~CSettingsDialog() = default;
    // hostRows: show the pen file and TAB rows (under a Quarvex or Strativ host).
    // Nothing when the user cancelled.
    virtual std::optional<Values> Run(const Values& current, const std::string& productText,
                                      bool hostRows) = 0;
};
