#pragma once
// The "Import from TAB legend file" dialog: the table (chosen through "..."),
// the legend to take from it and the name of the .leg file to write. Its
// messages go through the prompt it was given.

#include "app/core/cimporttabdialog.h"
#include "app/core/cimporttabrules.h"
#include "app/ui/dialogcontrols.h"

#include <QDialog>

#include <memory>

class QComboBox;
class QLineEdit;
class CUserPrompt;

namespace ImportControl {
enum : int {
    Ok = 1,
    Cancel = 2,
    InputFile = 1025,
    Browse = 1026,
    LegendName = 1027,
    OutputFile = 1028,
};
}

class CImportTABDlg : public QDialog, public CImportTABDialog {
public:
    explicit CImportTABDlg(CUserPrompt& prompt, QWidget* parent = nullptr);

    std::optional<Result> Run(const std::string& productText) override;

    QWidget* Control(int id) const { return m_Controls.Get(id); }
    // The "..." button asks this chooser: QFileDialog unless replaced.
    void SetChooser(CFileChooser chooser) { m_Chooser = std::move(chooser); }

    // OK closes the dialog only when the choices pass the checks.
    void accept() override;

private:
    void ReadEdits();
    void ShowChoices();
    void ShowOutputName();

    CUserPrompt& m_Prompt;
    CDialogControls m_Controls;
    CFileChooser m_Chooser;
    std::unique_ptr<CImportTABRules> m_Rules;
    std::optional<Result> m_Result;
    QLineEdit* m_InputFile = nullptr;
    QComboBox* m_LegendName = nullptr;
    QLineEdit* m_OutputFile = nullptr;
};
