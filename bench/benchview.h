#pragma once
// A window system that knows only its size: painting and filling a grid need
// nothing more. Text is measured by a fixed advance when one is given, so that
// the figures do not depend on the fonts installed.

#include "grid/cgridview.h"

class CBenchView : public CGridView {
public:
    CBenchView(int width, int height, int charWidth = 0) : m_Size{width, height}, m_CharWidth(charWidth) {}
    CGridSize ClientSize() const override { return m_Size; }
    void SetScrollBars(int, int, int, int, int, int) override {}
    void InvalidateAll() override {}
    void InvalidateRect(const CGridRect&) override {}
    void UpdateNow() override {}
    void SetPointerCapture(bool) override {}
    bool HasPointerCapture() const override { return false; }
    CGridPoint PointerPosition() const override { return {}; }
    void SetCursorShape(CGridCursor) override {}
    void TakeFocus() override {}
    CGridPoint MapToGlobal(CGridPoint point) const override { return point; }
    void ShowSizingLine(std::optional<CGridRect>) override {}
    void StartTimer(int, int) override {}
    void StopTimer(int) override {}
    std::optional<std::string> ClipboardText() override { return std::nullopt; }
    void SetClipboardText(const std::string&) override {}
    std::optional<CGridSize> MeasureText(const CGridFont&, const std::string& text) override
    {
        if (m_CharWidth <= 0)
            return std::nullopt;
        return CGridSize{static_cast<int>(text.size()) * m_CharWidth, 14};
    }
    CGridFont MessageFont() const override { return CGridFont{}; }
    CGridSystemColours SystemColours() const override { return CGridSystemColours{}; }
    CGridInPlaceEditor* CreateInPlaceEdit(const CGridEditRequest&) override { return nullptr; }

private:
    CGridSize m_Size;
    int m_CharWidth;
};
