#pragma once
// The drawing surface a cell paints on. The widget implements it over a
// QPainter; tests record the calls.

#include "grid/gridtypes.h"

#include <string>

class CGridPainter {
public:
    virtual ~CGridPainter() = default;

    // Fills [left, right) x [top, bottom).
    virtual void FillRect(const CGridRect& rect, uint32_t colour) = 0;
    // A one-pixel outline just inside the rectangle.
    virtual void FrameRect(const CGridRect& rect, uint32_t colour) = 0;
    // A one-pixel line from (x1, y1) to (x2, y2), both ends drawn.
    virtual void DrawLine(int x1, int y1, int x2, int y2, uint32_t colour) = 0;
    // Text in the rectangle with GridText flags.
    virtual void DrawText(const CGridRect& rect, const std::string& text, uint32_t format, uint32_t colour,
                          const CGridFont& font) = 0;
    virtual CGridSize TextExtent(const CGridFont& font, const std::string& text) = 0;
};
