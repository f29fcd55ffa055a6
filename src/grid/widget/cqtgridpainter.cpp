#include "grid/widget/cqtgridpainter.h"

#include "grid/widget/gridqtconvert.h"

#include <QImage>
#include <QPolygon>

#include <algorithm>

CQtGridPainter::CQtGridPainter(QPainter& painter) : m_Painter(painter) {}

void CQtGridPainter::FillRect(const CGridRect& rect, uint32_t colour)
{
    if (rect.IsEmpty())
        return;
    m_Painter.fillRect(QRect(rect.left, rect.top, rect.Width(), rect.Height()), GridToQColor(colour));
}

void CQtGridPainter::FrameRect(const CGridRect& rect, uint32_t colour)
{
    if (rect.IsEmpty())
        return;
    UsePen(colour);
    m_Painter.setBrush(Qt::NoBrush);
    m_Painter.drawRect(QRect(rect.left, rect.top, rect.Width() - 1, rect.Height() - 1));
}

void CQtGridPainter::DrawLine(int x1, int y1, int x2, int y2, uint32_t colour)
{
    UsePen(colour);
    m_Painter.drawLine(x1, y1, x2, y2);
}

void CQtGridPainter::UsePen(uint32_t colour)
{
    if (m_PenColour == colour)
        return;
    m_PenColour = colour;
    m_Painter.setPen(QPen(GridToQColor(colour), 0));
}

const QFontMetrics& CQtGridPainter::UseFont(const CGridFont& font)
{
    if (!m_CurrentFont || !(*m_CurrentFont == font)) {
        m_CurrentFont = font;
        m_QFont = GridToQFont(font);
        m_Painter.setFont(m_QFont);
        m_Metrics.emplace(m_QFont, m_Painter.device());
    }
    return *m_Metrics;
}

void CQtGridPainter::DrawText(const CGridRect& rect, const std::string& text, uint32_t format, uint32_t colour,
                              const CGridFont& font)
{
    if (rect.IsEmpty() || text.empty())
        return;
    const QFontMetrics& metrics = UseFont(font);
    UsePen(colour);
    int flags = 0;
    if (format & GridText::Right)
        flags |= Qt::AlignRight;
    else if (format & GridText::Center)
        flags |= Qt::AlignHCenter;
    else
        flags |= Qt::AlignLeft;
    const bool singleLine = (format & GridText::SingleLine) != 0;
    if (singleLine && (format & GridText::VCenter))
        flags |= Qt::AlignVCenter;
    else if (singleLine && (format & GridText::Bottom))
        flags |= Qt::AlignBottom;
    else
        flags |= Qt::AlignTop;
    if (!singleLine && (format & GridText::WordBreak))
        flags |= Qt::TextWordWrap;

    const QRect box(rect.left, rect.top, rect.Width(), rect.Height());
    QString shown = GridToQString(text);
    if (!singleLine) {
        m_Painter.drawText(box, flags, shown);
        return;
    }
    // One line: place it by hand. The general rectangle layout costs several
    // times more and a repaint draws hundreds of cells.
    shown.replace(QLatin1Char('\n'), QLatin1Char(' '));
    // Measuring shapes the text once more; skip it when even the widest
    // glyphs would fit and the text starts at the left edge anyway.
    const bool surelyFits = shown.size() * metrics.maxWidth() <= box.width();
    const bool leftAligned = !(flags & (Qt::AlignRight | Qt::AlignHCenter));
    int width = (surelyFits && leftAligned) ? 0 : metrics.horizontalAdvance(shown);
    if ((format & GridText::EndEllipsis) && width > box.width()) {
        shown = metrics.elidedText(shown, Qt::ElideRight, box.width());
        width = metrics.horizontalAdvance(shown);
    }
    int x = box.left();
    if (flags & Qt::AlignRight)
        x = box.right() + 1 - width;
    else if (flags & Qt::AlignHCenter)
        x = box.left() + (box.width() - width) / 2;
    int y = box.top() + metrics.ascent();
    if (flags & Qt::AlignVCenter)
        y = box.top() + (box.height() - metrics.height()) / 2 + metrics.ascent();
    else if (flags & Qt::AlignBottom)
        y = box.bottom() + 1 - metrics.descent();
    const bool overflows = width > box.width() || metrics.height() > box.height();
    if (overflows) {
        m_Painter.save();
        m_Painter.setClipRect(box, Qt::IntersectClip);
    }
    m_Painter.drawText(QPoint(x, y), shown);
    if (overflows)
        m_Painter.restore();
}

CGridSize CQtGridPainter::TextExtent(const CGridFont& font, const std::string& text)
{
    const QFontMetrics& metrics = UseFont(font);
    return {metrics.horizontalAdvance(GridToQString(text)), metrics.height()};
}

void CQtGridPainter::FillPattern(const CGridRect& rect, const CGridBitmap& pattern, uint32_t foreground,
                                 std::optional<uint32_t> background)
{
    if (rect.IsEmpty() || pattern.IsEmpty())
        return;
    QImage tile(pattern.Width(), pattern.Height(), QImage::Format_ARGB32_Premultiplied);
    const QRgb set = GridToQColor(foreground).rgba();
    // A clear bit without a background is fully transparent, so that drawing
    // the tile over the cell leaves those pixels as they were.
    const QRgb clear = background ? GridToQColor(*background).rgba() : qRgba(0, 0, 0, 0);
    for (int y = 0; y < pattern.Height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(tile.scanLine(y));
        for (int x = 0; x < pattern.Width(); ++x)
            line[x] = pattern.Bit(x, y) ? set : clear;
    }
    const QPoint oldOrigin = m_Painter.brushOrigin();
    m_Painter.setBrushOrigin(rect.left, rect.top);
    m_Painter.fillRect(QRect(rect.left, rect.top, rect.Width(), rect.Height()), QBrush(tile));
    m_Painter.setBrushOrigin(oldOrigin);
}

void CQtGridPainter::DrawPolyline(const std::vector<CGridPoint>& points, int width, uint32_t colour)
{
    if (points.empty())
        return;
    if (width <= 1) {
        UsePen(colour);
        // A line that goes nowhere still has both ends drawn: its one pixel
        // (a cosmetic pen draws nothing for it otherwise).
        const bool onePoint = std::all_of(points.begin(), points.end(),
                                          [&](const CGridPoint& p) { return p == points[0]; });
        if (onePoint) {
            m_Painter.drawPoint(points[0].x, points[0].y);
            return;
        }
        QPolygon line;
        for (const CGridPoint& p : points)
            line << QPoint(p.x, p.y);
        m_Painter.drawPolyline(line);
        return;
    }
    QPolygon line;
    for (const CGridPoint& p : points)
        line << QPoint(p.x, p.y);
    m_PenColour.reset();
    m_Painter.setPen(QPen(GridToQColor(colour), width, Qt::SolidLine, Qt::FlatCap, Qt::MiterJoin));
    m_Painter.drawPolyline(line);
}

void CQtGridPainter::FillPolygon(const std::vector<CGridPoint>& points, uint32_t fill, std::optional<uint32_t> outline)
{
    if (points.size() < 3)
        return;
    QPolygon shape;
    for (const CGridPoint& p : points)
        shape << QPoint(p.x, p.y);
    m_PenColour.reset();
    m_Painter.setPen(Qt::NoPen);
    m_Painter.setBrush(GridToQColor(fill));
    m_Painter.drawPolygon(shape);
    m_Painter.setBrush(Qt::NoBrush);
    if (outline) {
        UsePen(*outline);
        m_Painter.drawPolygon(shape);
    }
}

void CQtGridPainter::PushClip(const CGridRect& rect)
{
    m_ClipStack.emplace_back(m_Painter.hasClipping(), m_Painter.clipRegion());
    const QRect box(rect.left, rect.top, std::max(0, rect.Width()), std::max(0, rect.Height()));
    if (m_Painter.hasClipping())
        m_Painter.setClipRect(box, Qt::IntersectClip);
    else
        m_Painter.setClipRect(box, Qt::ReplaceClip);
}

void CQtGridPainter::PopClip()
{
    if (m_ClipStack.empty())
        return;
    auto [hadClip, region] = std::move(m_ClipStack.back());
    m_ClipStack.pop_back();
    if (hadClip)
        m_Painter.setClipRegion(region, Qt::ReplaceClip);
    else
        m_Painter.setClipping(false);
}
