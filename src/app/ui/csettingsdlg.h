#pragma once
// The "Settings" dialog: the legend folder, the pattern folder and, under a
// Quarvex or Strativ host, the pen file and the TAB legend table's location.
// The folders and the pen file change only through their "..." buttons.

#include "app/core/csettingsdialog.h"
#include "app/core/csettingsrules.h"
#include "app/ui/dialogcontrols.h"

#include <QDialog>

#include <memory>

class QLineEdit;

namespace SettingsControl {
enum : int {
    Ok = 1,
    Cancel = 2,
    LegendFolder = 1040,
    LegendFolderBrowse = 1041,
    PatternFolder = 1042,
    PatternFolderBrowse = 1043,
    PenFile = 1044,
    PenFileBrowse = 1045,
    PenFileLabel = 1046,
    TABLocation = 1047,
    TABLocationLabel = 1056,
};
}

class CSettingsDlg : public QDialog, public CSettingsDialog {
public:
    explicit CSettingsDlg(QWidget* parent = nullptr);

    std::optional<Values> Run(const Values& current, const std::string& productText,
                              bool hostRows) override;

    QWidget* Control(int id) const { return m_Controls.Get(id); }
    // The "..." buttons ask this chooser: QFileDialog unless replaced.
    void SetChooser(CFileChooser chooser) { m_Chooser = std::move(chooser); }

private:
    struct RowControls {
        CSettingsRules::Row row;
        const char* label;
        const char* name; // of the edit; its label and button add "Label" and "Browse"
        int labelId;      // 0: the label has no id
        int editId;
        int browseId;     // 0: no button
    };
    void AddRow(class QGridLayout* grid, int line, const RowControls& row);
    void ShowValues();

    CDialogControls m_Controls;
    CFileChooser m_Chooser;
    std::unique_ptr<CSettingsRules> m_Rules;
};
