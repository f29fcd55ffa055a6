#pragma once
// What the editor's main window shows, as the flow drives it. The window
// implements this; the flow never touches a widget.

#include "storage/legendfiles.h"

#include <string>
#include <vector>

class CLLLegend;

class CEditorView {
public:
    virtual ~CEditorView() = default;

    // The four header fields: legend name, file name, description, data type text.
    virtual void SetHeader(const std::string& name, const std::string& fileName,
                           const std::string& description, const std::string& dataType) = 0;
    // The text the user has in the description field now.
    virtual std::string Description() const = 0;
    virtual void ShowReadOnly(bool readOnly) = 0;
    // The name and description fields, the row and interpolation buttons and
    // "Save"; "Save As..." stays enabled whatever this says.
    virtual void EnableEditing(bool enable) = 0;
    virtual void EnableAutoPopulate(bool enable) = 0;
    virtual void FillSpreadsheet(const CLLLegend& legend) = 0;
    virtual void ClearSpreadsheet() = 0;
    virtual void SetListItems(const std::vector<CLegendListItem>& items) = 0;
    // -1 selects nothing.
    virtual void SelectListItem(int index) = 0;
    // Finishes a cell still being typed in, handing its text to the flow's
    // ChangeLegend like any other edit, so that a save sees it.
    virtual void CommitPendingEdits() = 0;
    // Closes a cell still being typed in without keeping its text.
    virtual void CancelPendingEdits() = 0;
    // The pattern folder changed: the spreadsheet's pattern bitmaps are read again.
    virtual void ReloadPatterns(const std::string& patternFolder) = 0;
};
