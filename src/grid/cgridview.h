#pragma once
// What a window system does for the grid. The widget implements this; headless
// tests use a fake with a fixed client size and a string clipboard.

#include "grid/cgridinplaceeditor.h"
#include "grid/gridtypes.h"

#include <optional>
#include <string>

class CGridView {
public:
    virtual ~CGridView() = default;

    virtual CGridSize ClientSize() const = 0;
    // Ranges are 0..max with the given page; max 0 hides the bar.
    virtual void SetScrollBars(int hMax, int hPage, int hPos, int vMax, int vPage, int vPos) = 0;

    virtual void InvalidateAll() = 0;
    virtual void InvalidateRect(const CGridRect& rect) = 0;
    // Paints what is invalid right away instead of at the next event loop turn.
    virtual void UpdateNow() = 0;

    virtual void SetPointerCapture(bool capture) = 0;
    virtual bool HasPointerCapture() const = 0;
    virtual CGridPoint PointerPosition() const = 0;
    virtual void SetCursorShape(CGridCursor cursor) = 0;
    virtual void TakeFocus() = 0;
    // A point of the client area in global screen coordinates.
    virtual CGridPoint MapToGlobal(CGridPoint point) const = 0;
    // The inverted line shown while a column or row border is dragged; none hides it.
    virtual void ShowSizingLine(std::optional<CGridRect> line) = 0;

    virtual void StartTimer(int id, int milliseconds) = 0;
    virtual void StopTimer(int id) = 0;

    virtual std::optional<std::string> ClipboardText() = 0;
    virtual void SetClipboardText(const std::string& text) = 0;

    // Extent of the text in the font on the screen; none when it cannot be measured.
    virtual std::optional<CGridSize> MeasureText(const CGridFont& font, const std::string& text) = 0;
    virtual CGridFont MessageFont() const = 0;
    virtual CGridSystemColours SystemColours() const = 0;

    virtual CGridInPlaceEditor* CreateInPlaceEdit(const CGridEditRequest& request) = 0;
};
