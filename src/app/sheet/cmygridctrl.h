#pragma once
// The legend spreadsheet: the grid control specialised for the rows of a
// legend. It fills itself from a legend, writes typed cells back, opens the
// choosers for the style cells through the main window and applies their
// results, and draws the colour, pattern and line style cells.
//
// Every change of the legend goes through the change function its owner
// gives (the editor's ChangeLegend), and each change touches only the legend
// it is handed, so undo can wrap it. The spreadsheet keeps no pointer to the
// legend: the style cells draw from their item data.

#include "app/sheet/cchooserhost.h"
#include "app/sheet/clinestylesampler.h"
#include "pickers/core/cpatterntable.h"
#include "app/sheet/sheetcolumns.h"
#include "grid/cgridctrl.h"
#include "legend/cllegend.h"
#include "platform/cnumberformat.h"

#include <cstdint>
#include <functional>
#include <string>

class CMyGridCtrl : public CGridCtrl, private CGridOwner {
public:
    using LegendChange = std::function<void(CLLLegend&)>;
    using ChangeFunction = std::function<void(const LegendChange&)>;

    static constexpr int RowHeight = 25;
    // The cell text and item data of a transparent colour.
    static constexpr int32_t TransparentNumber = INT32_MIN;

    CMyGridCtrl();

    // --- wiring ---
    void SetChangeFunction(ChangeFunction change) { m_Change = std::move(change); }
    // Marks the legend modified without a change (the commands that do so on purpose).
    void SetMarkModifiedFunction(std::function<void()> mark) { m_MarkModified = std::move(mark); }
    void MarkModified()
    {
        if (m_MarkModified)
            m_MarkModified();
    }
    // Hears the grid's notifications and commands after the spreadsheet has
    // handled what it must (the end of typing, sorting).
    void SetNotifyTarget(CGridOwner* target) { m_Target = target; }
    void SetChooserHost(CChooserHost* host) { m_Choosers = host; }
    void SetLineStyleSampler(CLineStyleSampler* sampler) { m_Sampler = sampler; }
    void SetQuarvexOrStrativ(bool on) { m_QuarvexOrStrativ = on; }
    void SetEditMode(bool on) { m_EditMode = on; }
    void SetAutoPopulate(bool on) { m_AutoPopulate = on; }
    bool GetAutoPopulate() const { return m_AutoPopulate; }
    void SetPatternFolder(const std::string& folder) { m_PatternFolder = folder; }
    void SetPenFile(const std::string& path) { m_PenFile = path; }
    // Reads the pattern bitmaps of the folder (again); returns the number loaded.
    int ReloadPatterns(const std::string& folder);
    CPatternTable& Patterns() { return m_Patterns; }
    const CPatternTable& Patterns() const { return m_Patterns; }

    // --- legend ---
    // Rebuilds every row and column; a read-only file leaves the spreadsheet
    // closed to edits.
    void FillFromLegend(const CLLLegend& legend, bool readOnly = false);
    void ClearSheet();
    // Stores the texts of spreadsheet row `row` into its legend row; (-1, -1)
    // empties the legend's rows and appends every spreadsheet row in the
    // order shown.
    void WriteBack(int row, int col);
    // Sorted by "Row" ascending, or not sorted: the row commands may run.
    bool IsRowOrder() const;
    // Hands a change of the legend to the owner's change function, for the
    // commands that act on whole rows.
    void ChangeLegend(const LegendChange& change) { Change(change); }
    // Shows a legend row in spreadsheet row `row` (legend row row - 1), as a
    // fill does: its texts, height, owner, the chooser cells closed and the
    // integer columns marked numeric, so that a sort puts 10 after 9.
    void ShowLegendRow(int row, const CLLRow& values);
    // Shows the style members of a legend row in the five chooser cells.
    void ShowStyle(int row, const CLLRow& values);
    const CSheetColumns& Columns() const { return m_Columns; }
    int32_t DataType() const { return m_DataType; }
    bool IsNumeric() const { return m_DataType != DataText; }

    // --- cell texts ---
    // "%g", then the user's thousands separator for ',' and decimal separator
    // for the last '.'.
    static std::string FormatRange(double value, const CNumberSeparators& separators);
    static int32_t ColourNumber(const CGColor& colour, bool transparent);
    static std::string FormatColour(const CGColor& colour, bool transparent);

    // --- the style cells ---
    // Any click on a row first closes an open pattern or line style chooser;
    // a click on a style cell then opens its chooser.
    void OnCellClick(int row, int col);
    // An open chooser writes to the row it was opened for, so it must not
    // outlive a change that moves the rows (a sort, a row command, another
    // legend, other patterns).
    void CloseChoosers();
    // The colour picker's result: 0x00BBGGRR, or -1 for transparent.
    void ColourChosen(int32_t colour, int col);
    void PatternChosen(int32_t pattern);
    void LineStyleChosen(int32_t style);
    // Draws a cell of the Fg, Bg, Pattern, LCol or LStyle column below the
    // heading; false for any other cell, which draws as a plain grid cell.
    bool DrawStyleCell(CGridPainter& painter, int row, int col, const CGridRect& rect,
                       bool focused);

    // The sort order of two texts of column `col`: From/To and LThick texts
    // that are both numbers, read as write-back reads them, by value; any
    // other pair byte-wise. -1, 0 or 1.
    int CompareTexts(const std::string& a, const std::string& b, int col) const;

    // The user finished typing in a cell.
    void EndOfTyping(int row, int col);

private:
    int OnGridNotify(const CGridNotification& notification) override;
    void OnGridCommand(int controlId, int code) override;
    void OnGridSorted(int controlId, int column, bool ascending) override;
    CGridEditAction OnGridEditRequest(int controlId, int row, int col, CGridEditTrigger trigger,
                                      unsigned character) override;

    void Change(const LegendChange& change);
    // A chooser's result for the row it was opened for: `edit` changes the
    // legend row (false: nothing to change); the row's style cells follow.
    void ChangeChooserRow(const std::function<bool(CLLRow&)>& edit);
    void CloseChooserCells(int row);
    // The row's texts as a legend row, with the user's separators.
    CLLRow ParseRow(int row) const;
    void SetNumberCell(int row, int col, int32_t number);
    // The row and column a chooser result is for.
    int ResultRow() const;

    CSheetColumns m_Columns;
    int32_t m_DataType = DataNumericContinuous;
    CNumberSeparators m_Separators;
    ChangeFunction m_Change;
    std::function<void()> m_MarkModified;
    CGridOwner* m_Target = nullptr;
    CChooserHost* m_Choosers = nullptr;
    CLineStyleSampler* m_Sampler = nullptr;
    CPatternTable m_Patterns;
    std::string m_PatternFolder;
    std::string m_PenFile;
    bool m_QuarvexOrStrativ = false;
    bool m_EditMode = false;
    bool m_AutoPopulate = false;
    int m_ChooserRow = -1;
};
