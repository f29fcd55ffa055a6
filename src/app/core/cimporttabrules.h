#pragma once
// The rules of the "Import from TAB legend file" dialog without its window: the
// chosen table and its legend names, the output file name built from them, and
// the checks of OK. The dialog forwards the user's input and shows the state.

#include "app/core/cfilechooser.h"
#include "app/core/cimporttabdialog.h"

#include <optional>
#include <string>
#include <vector>

class CUserPrompt;

class CImportTABRules {
public:
    CImportTABRules(CUserPrompt& prompt, std::string productText);

    // "...": asks for a table, starting in "LoadPath"; a chosen one is read. False on cancel.
    bool BrowseTable(const CFileChooser& choose);
    // Takes a table: remembers its folder as "LoadPath", reads its legend
    // names (selecting the first) and builds the output file name.
    void TableChosen(const std::string& path);
    // -1 for none; the output file name follows the selection.
    void SelectLegend(int index);
    // What the user typed into the output file edit.
    void SetOutputName(const std::string& name) { m_OutputName = name; }

    const std::string& TabPath() const { return m_TabPath; }
    const std::vector<std::string>& Names() const { return m_Names; }
    int Selected() const { return m_Selected; }
    bool MapCode() const { return m_MapCode; }
    const std::string& OutputName() const { return m_OutputName; }

    // OK: the first failing check shows its message and gives nothing, so the
    // dialog stays open.
    std::optional<CImportTABDialog::Result> Accept() const;

private:
    std::string SelectedName() const;

    CUserPrompt& m_Prompt;
    std::string m_ProductText;
    std::string m_TabPath;
    std::vector<std::string> m_Names;
    int m_Selected = -1;
    bool m_MapCode = false;
    std::string m_OutputName;
};
