#include "pickers/ccolourpopup.h"

#include "grid/widget/gridqtconvert.h"
#include "platform/cstringtable.h"

#include <QCloseEvent>
#include <QColorDialog>
#include <QGuiApplication>
#include <QHelpEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>
#include <QToolTip>

namespace {
// The width of a raised window edge on the platforms the palette was laid out for.
constexpr int kMargin = 2;

QRect ToQRect(const CGridRect& r)
{
    return {r.left, r.top, r.Width(), r.Height()};
}

CGridSize Extent(const QFontMetrics& metrics, const QString& text)
{
    return text.isEmpty() ? CGridSize{} : CGridSize{metrics.horizontalAdvance(text), metrics.height()};
}

// A one-pixel edge: `topLeft` along the top and left sides, `bottomRight` along the others.
void Edge(QPainter& painter, const QRect& r, const QColor& topLeft, const QColor& bottomRight)
{
    painter.setPen(topLeft);
    painter.drawLine(r.left(), r.bottom(), r.left(), r.top());
    painter.drawLine(r.left(), r.top(), r.right(), r.top());
    painter.setPen(bottomRight);
    painter.drawLine(r.right(), r.top() + 1, r.right(), r.bottom());
    painter.drawLine(r.left() + 1, r.bottom(), r.right(), r.bottom());
}
} // namespace

CColourPopupLogic::Setup CColourPopup::MakeSetup(uint32_t colour, QWidget* owner, bool offerTransparent,
                                                 const QString& defaultText, const QString& customText, QPoint at,
                                                 const QFont& font)
{
    const QFontMetrics metrics(font);
    CColourPopupLogic::Setup s;
    s.initial = colour;
    s.offerTransparent = offerTransparent;
    s.hasDefault = !defaultText.isEmpty();
    s.hasCustom = !customText.isEmpty();
    s.defaultText = Extent(metrics, defaultText);
    s.customText = Extent(metrics, customText);
    s.margin = kMargin;
    s.at = {at.x(), at.y()};
    QScreen* screen = owner && owner->screen() ? owner->screen() : QGuiApplication::primaryScreen();
    if (screen) {
        const QRect all = screen->virtualGeometry();
        s.screen = {all.left(), all.top(), all.left() + all.width(), all.top() + all.height()};
    } else {
        s.screen = {0, 0, 1 << 20, 1 << 20};
    }
    s.ownerHeight = owner ? owner->frameGeometry().height() : 0;
    return s;
}

CColourPopup::CColourPopup(uint32_t colour, QWidget* owner, bool offerTransparent, const QString& defaultText,
                           const QString& customText, QPoint at)
    : QWidget(owner, Qt::Popup | Qt::FramelessWindowHint), m_DefaultText(defaultText), m_CustomText(customText),
      m_TransparentText(QString::fromStdString(CStringTable::Load(Str::Transparent))),
      m_Logic(MakeSetup(colour, owner, offerTransparent, defaultText, customText, at, font()))
{
    setAttribute(Qt::WA_DeleteOnClose);
    setMouseTracking(true);
    setFocusPolicy(Qt::StrongFocus);
    setAutoFillBackground(true);
    setBackgroundRole(QPalette::Button);
    const CGridRect& w = m_Logic.Window();
    setGeometry(w.left, w.top, w.Width(), w.Height());
    show();
    setFocus(Qt::PopupFocusReason);
}

QString CColourPopup::ToolTipAt(QPoint client) const
{
    const int box = BoxAt(client);
    return box >= 0 ? QString::fromUtf8(PopupColours()[static_cast<size_t>(box)].name) : QString();
}

void CColourPopup::PaintBox(QPainter& painter, const QRect& rect, bool hot, bool chosen)
{
    const QPalette& p = palette();
    painter.fillRect(rect, chosen && !hot ? p.color(QPalette::Light) : p.color(QPalette::Button));
    if (hot)
        Edge(painter, rect, p.color(QPalette::Light), p.color(QPalette::Dark));
    else if (chosen)
        Edge(painter, rect, p.color(QPalette::Dark), p.color(QPalette::Light));
}

void CColourPopup::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    const QPalette& p = palette();
    const int hot = m_Logic.Hot();
    const int chosen = m_Logic.Chosen();
    using L = CColourPopupLogic;

    if (!m_DefaultText.isEmpty()) {
        const QRect r = ToQRect(m_Logic.DefaultRect());
        const bool isHot = hot == L::DefaultBox, isChosen = chosen == L::DefaultBox;
        painter.fillRect(r, p.color(QPalette::Button));
        if (isChosen && !isHot)
            painter.fillRect(r.adjusted(1, 1, -1, -1), p.color(QPalette::Midlight));
        painter.setPen(p.color(QPalette::Dark));
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(r.adjusted(2 * kMargin, 2 * kMargin, -2 * kMargin - 1, -2 * kMargin - 1));
        if (isHot)
            Edge(painter, r, p.color(QPalette::Light), p.color(QPalette::Dark));
        else if (isChosen)
            Edge(painter, r, p.color(QPalette::Dark), p.color(QPalette::Light));
        painter.setPen(p.color(QPalette::ButtonText));
        painter.drawText(r, Qt::AlignCenter | Qt::TextSingleLine, m_DefaultText);
    }

    for (int i = 0; i < static_cast<int>(PopupColours().size()); ++i) {
        const QRect r = ToQRect(m_Logic.ColourBoxRect(i));
        PaintBox(painter, r, hot == i, chosen == i);
        const QRect swatch = r.adjusted(kMargin + 1, kMargin + 1, -kMargin - 1, -kMargin - 1);
        painter.fillRect(swatch, GridToQColor(PopupColours()[static_cast<size_t>(i)].colour));
        painter.setPen(p.color(QPalette::Dark));
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(swatch.adjusted(0, 0, -1, -1));
    }

    if (!m_CustomText.isEmpty()) {
        const QRect r = ToQRect(m_Logic.CustomRect());
        // The line that sets the bottom box apart from the colours.
        const int y = r.top() - kMargin;
        painter.setPen(p.color(QPalette::Dark));
        painter.drawLine(2 * kMargin, y, width() - 2 * kMargin - 1, y);
        painter.setPen(p.color(QPalette::Light));
        painter.drawLine(2 * kMargin, y + 1, width() - 2 * kMargin - 1, y + 1);
        if (m_Logic.OffersTransparent()) {
            const QRect custom = ToQRect(m_Logic.CustomHalf());
            const QRect transparent = ToQRect(m_Logic.TransparentHalf());
            painter.fillRect(r, p.color(QPalette::Button));
            PaintBox(painter, transparent, hot == L::TransparentBox, chosen == L::TransparentBox);
            PaintBox(painter, custom, hot == L::CustomBox, chosen == L::CustomBox);
            painter.setPen(p.color(QPalette::ButtonText));
            // The halves are narrow; a word a little wider than its half may
            // reach past the split rather than lose its first and last letters.
            painter.drawText(custom, Qt::AlignCenter | Qt::TextSingleLine | Qt::TextDontClip, m_CustomText);
            painter.drawText(transparent, Qt::AlignCenter | Qt::TextSingleLine | Qt::TextDontClip, m_TransparentText);
        } else {
            PaintBox(painter, r, hot == L::CustomBox, chosen == L::CustomBox);
            painter.setPen(p.color(QPalette::ButtonText));
            painter.drawText(r, Qt::AlignCenter | Qt::TextSingleLine, m_CustomText);
        }
    }

    // A raised frame around the whole pop-up: outer and inner edge.
    const QRect all = rect();
    Edge(painter, all, p.color(QPalette::Midlight), p.color(QPalette::Shadow));
    Edge(painter, all.adjusted(1, 1, -1, -1), p.color(QPalette::Light), p.color(QPalette::Dark));
}

void CColourPopup::Moved(bool changed)
{
    if (!changed)
        return;
    update();
    emit selChange(m_Logic.SelChangeColour());
}

void CColourPopup::mouseMoveEvent(QMouseEvent* event)
{
    const QPoint at = event->position().toPoint();
    Moved(m_Logic.PointerAt({at.x(), at.y()}));
}

void CColourPopup::mousePressEvent(QMouseEvent* event)
{
    // A press anywhere, even outside, waits for its release, which decides.
    event->accept();
}

void CColourPopup::mouseReleaseEvent(QMouseEvent* event)
{
    // Only the left button chooses; another button's release is no choice.
    if (event->button() != Qt::LeftButton)
        return;
    const QPoint at = event->position().toPoint();
    Moved(m_Logic.PointerAt({at.x(), at.y()}));
    End(rect().contains(at));
}

void CColourPopup::keyPressEvent(QKeyEvent* event)
{
    using K = CColourPopupLogic::Key;
    switch (event->key()) {
    case Qt::Key_Left: Moved(m_Logic.Press(K::Left)); break;
    case Qt::Key_Right: Moved(m_Logic.Press(K::Right)); break;
    case Qt::Key_Up: Moved(m_Logic.Press(K::Up)); break;
    case Qt::Key_Down: Moved(m_Logic.Press(K::Down)); break;
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Space: End(true); break;
    case Qt::Key_Escape: End(false); break;
    default: QWidget::keyPressEvent(event); return;
    }
    event->accept();
}

void CColourPopup::closeEvent(QCloseEvent* event)
{
    // Closed from outside (another window took the focus): a cancel.
    if (!m_Ended)
        End(false);
    event->accept();
}

bool CColourPopup::event(QEvent* event)
{
    if (event->type() == QEvent::ToolTip) {
        auto* help = static_cast<QHelpEvent*>(event);
        const QString tip = ToolTipAt(help->pos());
        if (tip.isEmpty())
            QToolTip::hideText();
        else
            QToolTip::showText(help->globalPos(), tip, this, ToQRect(m_Logic.ColourBoxRect(BoxAt(help->pos()))));
        return true;
    }
    return QWidget::event(event);
}

std::optional<uint32_t> CColourPopup::AskCustomColour()
{
    QColorDialog dialog(GridToQColor(m_Logic.Initial()), parentWidget());
    dialog.setOptions(QColorDialog::DontUseNativeDialog);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return GridFromQColor(dialog.currentColor());
}

void CColourPopup::End(bool ok)
{
    if (m_Ended)
        return;
    m_Ended = true;
    // Out of the way first: the pop-up holds the pointer, which the colour
    // dialog needs.
    hide();
    CColourPopupLogic::Ending ending = m_Logic.End(ok);
    if (ending == CColourPopupLogic::Ending::AskCustom)
        ending = m_Logic.CustomAnswer(AskCustomColour());
    if (ending == CColourPopupLogic::Ending::Ok)
        emit selEndOK(m_Logic.ChosenColour(), m_Tag);
    else
        emit selEndCancel(m_Logic.ChosenColour(), m_Tag);
    close();
}
