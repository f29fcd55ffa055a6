#pragma once
// A general spreadsheet control without a window: cell storage with fixed
// header bands, selection, navigation, the editing protocol, clipboard text
// and sorting. The window system reaches it through input calls (OnKeyDown,
// OnLButtonDown, ...) and OnDraw, and it reaches the window system through a
// CGridView. Owners hear from it through a CGridOwner.

#include "grid/cgridaxis.h"
#include "grid/cgridcellbase.h"
#include "grid/cgriddefaultcell.h"
#include "grid/cgridowner.h"
#include "grid/cgridpainter.h"
#include "grid/cgridselection.h"
#include "grid/cgridview.h"
#include "grid/gridtypes.h"

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <type_traits>
#include <vector>

class CGridCtrl {
public:
    using CellFactory = std::function<std::unique_ptr<CGridCellBase>()>;
    using CompareFunction = std::function<int(const CGridCellBase&, const CGridCellBase&, intptr_t param)>;
    using SelectionKey = CGridSelection::Key;
    using SelectionMap = CGridSelection::Map;

    static constexpr int kInPlaceEditId = 8;
    static constexpr int kAutoScrollTimerId = 513;
    static constexpr unsigned kWheelPageScroll = 0xFFFFFFFFu;

    CGridCtrl();
    CGridCtrl(const CGridCtrl&) = delete;
    CGridCtrl& operator=(const CGridCtrl&) = delete;
    virtual ~CGridCtrl();

    // --- attachment ---
    void SetView(CGridView* view);
    CGridView* GetView() const { return m_view; }
    void SetOwner(CGridOwner* owner) { m_owner = owner; }
    void SetControlId(int id) { m_id = id; }
    int GetControlId() const { return m_id; }

    // --- table ---
    int GetRowCount() const { return m_rows.Count(); }
    int GetColumnCount() const { return m_cols.Count(); }
    int GetFixedRowCount() const { return m_rows.Fixed(); }
    int GetFixedColumnCount() const { return m_cols.Fixed(); }
    bool SetRowCount(int rows);
    bool SetColumnCount(int cols);
    bool SetFixedRowCount(int fixedRows);
    bool SetFixedColumnCount(int fixedCols);
    int InsertRow(const std::string& heading, int row = -1);
    bool DeleteRow(int row);
    bool DeleteAllItems();

    bool IsValid(int row, int col) const
    {
        return row >= 0 && row < GetRowCount() && col >= 0 && col < GetColumnCount();
    }
    bool IsValid(const CCellID& cell) const { return IsValid(cell.row, cell.col); }
    CGridCellBase* GetCell(int row, int col) const;

    std::string GetItemText(int row, int col) const;
    bool SetItemText(int row, int col, const std::string& text);
    uint32_t GetItemState(int row, int col) const;
    bool SetItemState(int row, int col, uint32_t state);
    bool SetItemBkColour(int row, int col, uint32_t colour);
    bool SetItemFgColour(int row, int col, uint32_t colour);
    bool SetItemFormat(int row, int col, uint32_t format);
    bool SetItemData(int row, int col, int32_t data);
    int32_t GetItemData(int row, int col) const;

    int GetRowHeight(int row) const;
    int GetColumnWidth(int col) const;
    bool SetRowHeight(int row, int height);
    bool SetColumnWidth(int col, int width);
    bool AutoSizeColumn(int col, int style = 0);
    bool AutoSizeRow(int row);
    int GetFixedRowHeight() const;
    int GetFixedColumnWidth() const;
    int GetVirtualWidth() const;
    int GetVirtualHeight() const;

    // --- cells and defaults ---
    // Cells of the given class are made for every new row and column.
    template <class T>
    void SetCellType()
    {
        static_assert(std::is_base_of_v<CGridCellBase, T>, "grid cells derive from CGridCellBase");
        m_cellFactory = [] { return std::unique_ptr<CGridCellBase>(new T); };
    }
    // Refused (false) for an empty factory.
    bool SetCellFactory(CellFactory factory);
    CGridDefaultCell& GetDefaultCell(bool fixedRow, bool fixedCol);
    const CGridDefaultCell& GetDefaultCell(bool fixedRow, bool fixedCol) const;

    // --- focus and selection ---
    CCellID GetFocusCell() const { return m_focusCell; }
    void SetFocusCell(int row, int col);
    void SetFocusCell(const CCellID& cell) { SetFocusCell(cell.row, cell.col); }
    void SetSelectedRange(int minRow, int minCol, int maxRow, int maxCol, bool forceRepaint = false,
                          bool select = true);
    void SetSelectedRange(const CCellRange& range, bool forceRepaint = false, bool select = true)
    {
        SetSelectedRange(range.minRow, range.minCol, range.maxRow, range.maxCol, forceRepaint, select);
    }
    void ResetSelectedRange();
    CCellRange GetSelectedCellRange() const;
    int GetSelectedCount() const { return m_selection.Count(); }
    const SelectionMap& GetSelectedCells() const { return m_selection.Cells(); }
    const SelectionMap& GetPreviousSelection() const { return m_selection.Previous(); }
    bool IsCellSelected(int row, int col) const;
    bool IsCellEditable(int row, int col) const;
    bool IsCellFixed(int row, int col) const { return row < m_rows.Fixed() || col < m_cols.Fixed(); }
    static SelectionKey MakeKey(int row, int col) { return CGridSelection::MakeKey(row, col); }
    CCellID GetSelectionStartCell() const { return m_selection.Start(); }
    CCellID GetLeftClickDownCell() const { return m_clickDownCell; }
    CGridMouseMode GetMouseMode() const { return m_mouseMode; }

    // --- geometry ---
    CCellID GetTopleftNonFixedCell(bool forceRecalculation = false);
    bool GetCellOrigin(int row, int col, CGridPoint& origin);
    bool GetCellRect(int row, int col, CGridRect& rect);
    bool GetTextRect(int row, int col, CGridRect& rect);
    // The cell's rectangle in global screen coordinates, for windows opened
    // beside a cell; false without a view or when the cell is not on screen.
    bool GetCellScreenRect(int row, int col, CGridRect& rect);
    CCellID GetCellFromPt(CGridPoint point, bool allowFixedCellCheck = true);
    CCellRange GetVisibleNonFixedCellRange();
    bool IsCellVisible(int row, int col);
    void EnsureVisible(int row, int col);

    // --- scrolling (positions in pixels of the non-fixed area) ---
    int GetScrollPos(bool vertical) const { return vertical ? m_vScrollPos : m_hScrollPos; }
    int GetScrollLimit(bool vertical) const;
    void SetScrollPos(bool vertical, int pos);
    void ScrollLines(bool vertical, int lines); // positive: down / right
    void ScrollPages(bool vertical, int pages);
    void ResetScrollBars();

    // --- settings ---
    void SetEditable(bool editable) { m_editable = editable; }
    bool IsEditable() const { return m_editable; }
    void SetModified(bool modified = true) { m_modified = modified; }
    void SetModified(int row, int col);
    bool GetModified() const { return m_modified; }
    void SetListMode(bool list) { m_listMode = list; }
    bool GetListMode() const { return m_listMode; }
    void SetSingleRowSelection(bool on) { m_singleRowSelection = on; }
    void SetSingleColSelection(bool on) { m_singleColumnSelection = on; }
    void EnableSelection(bool on)
    {
        ResetSelectedRange();
        m_selectionEnabled = on;
    }
    bool IsSelectable() const { return m_selectionEnabled; }
    void SetFixedRowSelection(bool on) { m_fixedRowSelection = on; }
    void SetFixedColumnSelection(bool on) { m_fixedColumnSelection = on; }
    void SetSortOnClick(bool on) { m_sortOnClick = on; }
    bool GetSortOnClick() const { return m_sortOnClick; }
    void SetHandleTabKey(bool on) { m_handleTabKey = on; }
    bool GetHandleTabKey() const { return m_handleTabKey; }
    void SetDoubleBuffering(bool on) { m_doubleBuffer = on; }
    void SetColumnResize(bool on) { m_allowColumnResize = on; }
    void SetRowResize(bool on) { m_allowRowResize = on; }
    void EnableHiddenColUnhide(bool allowHide) { m_allowColumnHide = allowHide; }
    void EnableHiddenRowUnhide(bool allowHide) { m_allowRowHide = allowHide; }
    void SetTrackFocusCell(bool on) { m_trackFocusCell = on; }
    bool GetTrackFocusCell() const { return m_trackFocusCell; }
    void SetFrameFocusCell(bool on) { m_frameFocus = on; }
    bool GetFrameFocusCell() const { return m_frameFocus; }
    void SetAutoSizeStyle(int style) { m_autoSizeStyle = style; }
    void SetPasteTabOnly(int tabOnly) { m_pasteTabOnly = tabOnly; }
    void SetShadeOddRows(bool on) { m_shadeOddRows = on; }
    bool GetShadeOddRows() const { return m_shadeOddRows; }
    void SetGridLines(int lines) { m_gridLines = lines; }
    int GetGridLines() const { return m_gridLines; }
    void SetGridLineColor(uint32_t colour) { m_gridLineColour = colour; }
    void SetGridBkColor(uint32_t colour) { m_gridBackColour = colour; }
    uint32_t GetGridBkColor() const { return m_gridBackColour; }
    void SetAutoScrollInterval(int ms) { m_autoScrollInterval = ms; }
    void SetResizeCaptureRange(int pixels) { m_resizeCaptureRange = pixels; }
    void SetWheelScrollLines(unsigned lines)
    {
        m_wheelLines = lines;
        m_wheelRemainder = 0;
    }
    unsigned GetWheelScrollLines() const { return m_wheelLines; }
    void SetRedraw(bool allowDraw);
    bool GetRedraw() const { return m_allowDraw; }
    void SetSystemColours(const CGridSystemColours& colours);
    const CGridSystemColours& GetSystemColours() const { return m_systemColours; }

    // --- sorting ---
    int GetSortColumn() const { return m_sortColumn; }
    bool GetSortAscending() const { return m_sortAscending; }
    void SetCompareFunction(CompareFunction compare) { m_compare = std::move(compare); }
    bool SortItems(int col, bool ascending, intptr_t param = 0);

    // --- drawing ---
    void Refresh();
    bool RedrawCell(int row, int col);
    virtual void OnDraw(CGridPainter& painter);

    // --- input from the window system; each returns whether it acted ---
    bool OnKeyDown(unsigned key, unsigned modifiers);
    void OnChar(unsigned character, unsigned modifiers);
    void OnLButtonDown(CGridPoint point, unsigned modifiers);
    void OnMouseMove(CGridPoint point, bool leftButtonDown);
    void OnLButtonUp(CGridPoint point);
    void OnLButtonDblClk(CGridPoint point, unsigned modifiers);
    void OnRButtonUp(CGridPoint point);
    void OnMouseWheel(int delta);
    void OnTimer(int id);
    void OnSize();
    void OnCaptureLost();
    // The in-place editor has finished; endKey is the key that closed it.
    void OnEndInPlaceEdit(int row, int col, const std::string& text, unsigned endKey, unsigned modifiers);

    // --- command state ---
    bool CanCopy() const;
    bool CanCut() const;
    bool CanPaste();
    bool CanSelectAll() const { return m_selectionEnabled; }

    // --- overridable operations ---
    virtual void CutSelectedText();
    virtual std::optional<std::string> CopyTextFromGrid();
    virtual bool PasteTextToGrid(CCellID cell, const std::string& text);
    virtual void OnEditCut();
    virtual void OnEditCopy();
    virtual void OnEditPaste();
    virtual void OnEditSelectAll();
    virtual void OnFixedColumnClick(CCellID cell);
    virtual void OnFixedRowClick(CCellID cell);
    virtual void OnEditCell(int row, int col, CGridPoint point, unsigned key);
    virtual void OnEndEditCell(int row, int col, const std::string& text);
    virtual bool ValidateEdit(int row, int col, const std::string& text);
    virtual void EndEditing();
    virtual std::unique_ptr<CGridCellBase> CreateCell(int row, int col);
    virtual void DestroyCell(int row, int col);

    // The validated text change of Delete, cut and paste; true when the text changed.
    bool ValidateAndModifyCellContents(int row, int col, const std::string& text);

    static int CompareNumeric(const CGridCellBase& a, const CGridCellBase& b);
    static int CompareText(const CGridCellBase& a, const CGridCellBase& b);

protected:
    int SendNotify(int code, int row, int col, const std::string& text = {});
    void SelectAllCells();
    void SelectColumns(CCellID cell, bool forceRedraw = false, bool select = true);
    void SelectRows(CCellID cell, bool forceRedraw = false, bool select = true);
    void SelectCells(CCellID cell, bool forceRedraw = false, bool select = true);
    void OnSelecting(CCellID cell);

private:
    using Row = std::vector<std::unique_ptr<CGridCellBase>>;

    void ResetTopLeft() { m_topLeft = CCellID(); }
    void RenumberRows(int fromRow);
    void FixBandFlags(int oldFixedRows, int oldFixedCols);
    bool RedrawCellIfVisible(int row, int col, bool forceRepaint = false);
    bool MouseOperationInProgress() const;
    // OverColumnDivider, OverRowDivider or Nothing for a pointer at point.
    CGridMouseMode DividerAt(CGridPoint point);
    void EnterDividerMode(CGridMouseMode mode);
    bool OverResizeBorder(bool vertical, CGridPoint point);
    int LineBeforeBorder(bool vertical, CGridPoint point, int& start);
    CGridPoint Confine(CGridPoint point) const;
    bool BeginSizing(CGridPoint point);
    void ShowSizingLine(CGridPoint point);
    bool SortItemsRange(int col, bool ascending, intptr_t param, int low, int high);
    void SwapRows(int a, int b);
    bool StoreEditedText(int row, int col, CGridCellBase* cell, const std::string& text);
    CCellID FindCell(const CGridCellBase* cell) const;
    // Where the focus goes from `from` one step along the rows (vertical) or
    // the columns, step +1 or -1: the next row or column that way with a size
    // above 0, never back into the fixed band; `from` when there is none. A
    // page step scrolls a page first and moves as many lines as the view did,
    // or to the far end when the view could not move.
    CCellID NextVisibleCell(CCellID from, bool vertical, int step, bool page);
    // Asks the owner how an edit of the cell starts, and opens the text
    // editor (OnEditCell) when that is the answer.
    void RequestEdit(int row, int col, CGridPoint point, unsigned key, CGridEditTrigger trigger);
    const CGridAxis& Axis(bool vertical) const { return vertical ? m_rows : m_cols; }
    int& ScrollPosition(bool vertical) { return vertical ? m_vScrollPos : m_hScrollPos; }
    // The extent of the scrolled part of the client, across rows or columns.
    int PageExtent(bool vertical) const;

    CGridView* m_view = nullptr;
    CGridOwner* m_owner = nullptr;
    int m_id = 0;

    std::vector<Row> m_rowData;
    CGridAxis m_rows; // heights
    CGridAxis m_cols; // widths
    CGridDefaultCell m_defaultCell;
    CGridDefaultCell m_fixedRowDefault;
    CGridDefaultCell m_fixedColumnDefault;
    CGridDefaultCell m_fixedCornerDefault;
    CellFactory m_cellFactory;

    CGridSelection m_selection;
    CCellID m_focusCell;
    CCellID m_clickDownCell;
    CCellID m_topLeft;
    CGridMouseMode m_mouseMode = CGridMouseMode::Nothing;
    CGridPoint m_lastMousePoint;
    CGridPoint m_clickDownPoint;
    bool m_leftButtonDown = false;
    std::optional<CGridRect> m_confineRect;

    int m_hScrollPos = 0;
    int m_vScrollPos = 0;

    int m_gridLines = GridLines::Both;
    bool m_editable = true;
    bool m_modified = false;
    bool m_listMode = false;
    bool m_singleRowSelection = false;
    bool m_singleColumnSelection = false;
    bool m_allowDraw = true;
    bool m_selectionEnabled = true;
    bool m_fixedRowSelection = true;
    bool m_fixedColumnSelection = true;
    bool m_sortOnClick = false;
    bool m_handleTabKey = true;
    bool m_doubleBuffer = true;
    bool m_allowColumnHide = true;
    bool m_allowRowHide = true;
    bool m_trackFocusCell = true;
    bool m_frameFocus = true;
    int m_autoSizeStyle = 3;
    int m_pasteTabOnly = 0;
    bool m_shadeOddRows = false;
    int m_autoScrollInterval = 25;
    int m_resizeCaptureRange = 3;
    bool m_allowRowResize = true;
    bool m_allowColumnResize = true;
    unsigned m_wheelLines = 3;
    int64_t m_wheelRemainder = 0; // wheel delta times lines, short of a whole line
    int m_sortColumn = -1;
    bool m_sortAscending = true;
    CompareFunction m_compare;
    CGridSystemColours m_systemColours;
    uint32_t m_gridBackColour;
    uint32_t m_gridLineColour = GridRGB(192, 192, 192);
    bool m_inSize = false;
    bool m_timerRunning = false;
    // The cell whose in-place editor is open, so that its report finds it
    // even after sorting or insertion moved it.
    CGridCellBase* m_editCell = nullptr;
    // Cells whose owner is being told of a change; DestroyCell clears an
    // entry, so an owner that rebuilds the table from its reply is safe.
    std::vector<CGridCellBase*> m_watchedCells;
};
