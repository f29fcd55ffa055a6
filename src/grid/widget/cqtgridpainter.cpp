#include "grid/widget/cqtgridpainter.h"

#include "grid/widget/gridqtconvert.h"

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
