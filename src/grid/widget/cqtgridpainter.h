#pragma once
// Draws grid cells with a QPainter.

#include "grid/cgridpainter.h"

#include <QFont>
#include <QFontMetrics>
#include <QPainter>
#include <QRegion>

#include <optional>
#include <utility>
#include <vector>

class CQtGridPainter : public CGridPainter {
public:
    explicit CQtGridPainter(QPainter& painter);

    void FillRect(const CGridRect& rect, uint32_t colour) override;
    void FrameRect(const CGridRect& rect, uint32_t colour) override;
    void DrawLine(int x1, int y1, int x2, int y2, uint32_t colour) override;
    void DrawText(const CGridRect& rect, const std::string& text, uint32_t format, uint32_t colour,
                  const CGridFont& font) override;
    CGridSize TextExtent(const CGridFont& font, const std::string& text) override;
    void FillPattern(const CGridRect& rect, const CGridBitmap& pattern, uint32_t foreground,
                     std::optional<uint32_t> background) override;
    void DrawPolyline(const std::vector<CGridPoint>& points, int width, uint32_t colour) override;
    void FillPolygon(const std::vector<CGridPoint>& points, uint32_t fill, std::optional<uint32_t> outline) override;
    void PushClip(const CGridRect& rect) override;
    void PopClip() override;

private:
    // Most cells share a font; converting it once per paint keeps painting cheap.
    const QFontMetrics& UseFont(const CGridFont& font);
    void UsePen(uint32_t colour);

    QPainter& m_Painter;
    std::optional<CGridFont> m_CurrentFont;
    QFont m_QFont;
    std::optional<QFontMetrics> m_Metrics;
    std::optional<uint32_t> m_PenColour;
    // The clip in force before each push: whether there was one, and its region.
    std::vector<std::pair<bool, QRegion>> m_ClipStack;
};
