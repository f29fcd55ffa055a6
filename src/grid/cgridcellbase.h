#pragma once
// The behaviour every grid cell shares: the state word, the numeric sort flag,
// drawing, measuring and the editing and pointer hooks. Storage of text and
// formatting is left to the derived classes.

#include "grid/cgridinplaceeditor.h"
#include "grid/cgridpainter.h"
#include "grid/gridtypes.h"

#include <cstdint>
#include <string>

class CGridCtrl;

class CGridCellBase {
public:
    CGridCellBase() = default;
    CGridCellBase(const CGridCellBase&) = delete;
    CGridCellBase& operator=(const CGridCellBase&) = delete;
    virtual ~CGridCellBase() = default;

    virtual void SetText(const std::string& text) = 0;
    virtual const std::string& GetText() const = 0;
    virtual void SetImage(int image) = 0;
    virtual int GetImage() const = 0;
    virtual void SetData(int32_t param) = 0;
    virtual int32_t GetData() const = 0;
    virtual void SetFormat(uint32_t format) = 0;
    virtual uint32_t GetFormat() const = 0;
    virtual void SetTextClr(uint32_t colour) = 0;
    virtual uint32_t GetTextClr() const = 0;
    virtual void SetBackClr(uint32_t colour) = 0;
    virtual uint32_t GetBackClr() const = 0;
    virtual void SetClr(uint32_t colour) = 0; // the third colour
    virtual uint32_t GetClr() const = 0;
    // nullptr goes back to the default cell's font.
    virtual void SetFont(const CGridFont* font) = 0;
    virtual const CGridFont& GetFont() const = 0;
    virtual void SetMargin(int margin) = 0;
    virtual int GetMargin() const = 0;

    virtual void SetState(uint32_t state) { m_state = state; }
    uint32_t GetState() const { return m_state; }
    bool IsFixed() const { return (m_state & GridState::Fixed) != 0; }
    bool IsFixedRow() const { return (m_state & GridState::FixedRow) != 0; }
    bool IsFixedCol() const { return (m_state & GridState::FixedCol) != 0; }
    bool IsFocused() const { return (m_state & GridState::Focused) != 0; }
    bool IsSelected() const { return (m_state & GridState::Selected) != 0; }
    bool IsReadOnly() const { return (m_state & GridState::ReadOnly) != 0; }

    void SetNumeric(bool numeric) { m_numeric = numeric; }
    bool IsNumeric() const { return m_numeric; }

    void SetGrid(CGridCtrl* grid) { m_grid = grid; }
    CGridCtrl* GetGrid() const { return m_grid; }
    // The cell whose values stand in for "take the default"; none for a default cell.
    virtual const CGridCellBase* GetDefaultCell() const;

    virtual void Reset();

    // Paints the cell into rect (the cell's area up to and including its grid line).
    virtual bool Draw(CGridPainter& painter, int row, int col, CGridRect rect, bool eraseBkgnd);
    virtual bool GetTextRect(CGridRect& rect) const;
    virtual CGridSize GetTextExtent(const std::string& text) const;
    // Text extent plus twice the margin; what auto-sizing fits the row or column to.
    virtual CGridSize GetCellExtent() const;

    virtual bool Edit(int row, int col, CGridRect rect, CGridPoint point, int controlId, unsigned key);
    virtual bool IsEditing() const { return false; }
    virtual CGridInPlaceEditor* GetEditWnd() const { return nullptr; }
    virtual void EndEdit() {}
    virtual bool ValidateEdit(const std::string& text);
    virtual void OnEndEdit() {}

    virtual void OnClickDown(CGridPoint point);
    virtual void OnClick(CGridPoint point);
    virtual void OnDblClick(CGridPoint point);
    virtual void OnRClick(CGridPoint point);
    virtual void OnMouseOver();
    // Called when rows are renumbered (insertion, deletion, sorting).
    virtual void SetCoords(int row, int col);

protected:
    uint32_t m_state = 0;
    bool m_numeric = false;
    CGridCtrl* m_grid = nullptr;
};
