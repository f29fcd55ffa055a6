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
    const CGridFont& GetFont() const override { return m_font; }

    void SetWidth(int width) { m_size.cx = width; }
    int GetWidth() const { return m_size.cx; }
    void SetHeight(int height) { m_size.cy = height; }
    int GetHeight() const { return m_size.cy; }

private:
    CGridFont m_font;
    CGridSize m_size{30, 10};
};
