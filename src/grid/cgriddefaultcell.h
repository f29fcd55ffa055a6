#pragma once
// Holds the defaults for one kind of cell (normal, fixed row, fixed column,
// both) and the size new rows and columns get.

#include "grid/cgridcell.h"

class CGridDefaultCell : public CGridCell {
public:
    CGridDefaultCell();

    const CGridCellBase* GetDefaultCell() const override { return nullptr; }

    // Also derives the margin and the default size from the font; see SetFont.
    void SetFont(const CGridFont* font) override;
    const CGridFont& GetFont() const override { return m_Font; }

    void SetWidth(int width) { m_Size.cx = width; }
    int GetWidth() const { return m_Size.cx; }
    void SetHeight(int height) { m_Size.cy = height; }
    int GetHeight() const { return m_Size.cy; }

private:
    CGridFont m_Font;
    CGridSize m_Size{30, 10};
};
