#pragma once
// The drawing surface a cell paints on. The widget implements it over a
// QPainter; tests record the calls.

#include "grid/gridbitmap.h"
#include "grid/gridtypes.h"

#include <optional>
#include <string>
#include <vector>

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

    // Fills [left, right) x [top, bottom) with a monochrome pattern, tiled
    // with the pattern's pixel (0, 0) on the rectangle's top-left corner, so a
    // cell shows the same picture wherever it is scrolled to. Set bits take
    // `foreground`; clear bits take `background`, or keep what is underneath
    // when there is none. An empty pattern fills nothing.
    virtual void FillPattern(const CGridRect& rect, const CGridBitmap& pattern, uint32_t foreground,
                             std::optional<uint32_t> background) = 0;
    // Connected straight lines through the points. Width 0 or 1 is a one-pixel
    // line with both ends drawn; a wider pen has flat ends, is centred on the
    // points across the line and covers [first, last) along it.
    virtual void DrawPolyline(const std::vector<CGridPoint>& points, int width, uint32_t colour) = 0;
    // Fills the polygon's inside (the pixels whose centres lie inside it) and,
    // when asked, draws its one-pixel outline through the points on top.
    virtual void FillPolygon(const std::vector<CGridPoint>& points, uint32_t fill,
                             std::optional<uint32_t> outline) = 0;
    // Limits drawing to the rectangle, within any clip pushed before it, until
    // the matching PopClip. A pop without a push does nothing.
    virtual void PushClip(const CGridRect& rect) = 0;
    virtual void PopClip() = 0;
};
