#pragma once
// The rules of the Settings dialog without its window: which rows it shows and
// what each browse button asks for and changes.

#include "app/core/cfilechooser.h"
#include "app/core/csettingsdialog.h"

#include <string>

class CSettingsRules {
public:
    enum class Row { LegendFolder, PatternFolder, PenFile, TABLocation };

    CSettingsRules(CSettingsDialog::Values values, bool hostRows, std::string productText);

    // The pen file and the TAB location matter only under a Quarvex or Strativ host.
    bool Shows(Row row) const;
    // A row's "..." button: the folder rows start in their folder; the pen file
    // preselects the current one, or starts in "LoadPath" when there is none,
    // and a chosen one becomes the new "LoadPath". False on cancel; the TAB
    // location has no button.
    bool Browse(Row row, const CFileChooser& choose);

    const CSettingsDialog::Values& Values() const { return m_Values; }

private:
    CSettingsDialog::Values m_Values;
    bool m_HostRows;
    std::string m_ProductText;
};
