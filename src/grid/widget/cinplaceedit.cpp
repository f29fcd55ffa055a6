#include "grid/widget/cinplaceedit.h"

#include "grid/widget/cgridwidget.h"
#include "grid/widget/gridqtconvert.h"

#include <QFocusEvent>
#include <QKeyEvent>

#include <algorithm>

CInPlaceEdit::CInPlaceEdit(CGridWidget* grid, const CGridEditRequest& request)
    : QLineEdit(grid->viewport()), m_grid(grid), m_initialText(GridToQString(request.text)), m_row(request.row),
      m_col(request.col), m_exitOnArrows(request.key != GridKey::MouseStart)
{
    setGeometry(request.rect.left, request.rect.top, request.rect.right - request.rect.left,
                request.rect.bottom - request.rect.top);
    // The box sits inside the cell, so the usual inner padding would hide the text.
    setTextMargins(0, 0, 0, 0);
    setStyleSheet(QStringLiteral("QLineEdit { padding: 0px; border: 1px solid palette(shadow); }"));
    setFont(GridToQFont(grid->Grid().GetDefaultCell(false, false).GetFont()));
    switch (request.align) {
    case CGridEditRequest::Align::Right:
        setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        break;
    case CGridEditRequest::Align::Center:
        setAlignment(Qt::AlignHCenter | Qt::AlignVCenter);
        break;
    default:
        setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
        break;
    }
    setText(m_initialText);
    show();
    setFocus(Qt::OtherFocusReason);

    const unsigned key = request.key;
    if (key == GridKey::MouseStart || key == GridKey::Return) {
        end(false);
    } else if (key == GridKey::Backspace) {
        end(false);
        backspace();
    } else if (key == GridKey::Tab || key == GridKey::Space || GridKey::IsNavigation(key)) {
        selectAll();
    } else {
        // The first typed character replaces the text.
        selectAll();
        TypeKey(key);
    }
}

void CInPlaceEdit::SendKey(unsigned key)
{
    TypeKey(key);
}

void CInPlaceEdit::TypeKey(unsigned key)
{
    if (key == GridKey::Backspace) {
        backspace();
    } else if (key >= 32 && key < GridKey::Base && key != 127) {
        const char32_t c = key;
        insert(QString::fromUcs4(&c, 1));
        Grow();
    }
}

bool CInPlaceEdit::event(QEvent* event)
{
    // Tab ends the edit instead of moving the focus along the dialog.
    if (event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Tab || key->key() == Qt::Key_Backtab) {
            keyPressEvent(key);
            return true;
        }
    }
    if (event->type() == QEvent::ShortcutOverride) {
        // Every key belongs to the box while it is open.
        event->accept();
        return true;
    }
    return QLineEdit::event(event);
}

void CInPlaceEdit::keyPressEvent(QKeyEvent* event)
{
    const unsigned modifiers = GridModifiersFromQt(event->modifiers());
    const bool ctrl = (modifiers & GridModifier::Ctrl) != 0;
    switch (event->key()) {
    case Qt::Key_PageUp:
    case Qt::Key_PageDown:
    case Qt::Key_Up:
    case Qt::Key_Down:
    case Qt::Key_Left:
    case Qt::Key_Right:
        if (m_exitOnArrows || ctrl) {
            ReturnToGrid(GridKeyFromQt(event->key()), modifiers);
            return;
        }
        break;
    case Qt::Key_Tab:
        ReturnToGrid(GridKey::Tab, modifiers);
        return;
    case Qt::Key_Backtab:
        ReturnToGrid(GridKey::Tab, modifiers | GridModifier::Shift);
        return;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        ReturnToGrid(GridKey::Return, modifiers);
        return;
    case Qt::Key_Escape:
        setText(m_initialText);
        ReturnToGrid(GridKey::Escape, modifiers);
        return;
    default:
        break;
    }
    QLineEdit::keyPressEvent(event);
    Grow();
}

void CInPlaceEdit::ReturnToGrid(unsigned key, unsigned modifiers)
{
    m_lastChar = key;
    m_lastModifiers = modifiers;
    // Losing the focus is what ends the edit.
    m_grid->setFocus(Qt::OtherFocusReason);
    if (!m_alreadyEnding)
        Finish();
}

void CInPlaceEdit::Grow()
{
    const int needed = fontMetrics().horizontalAdvance(text() + QStringLiteral("  "));
    if (needed <= width())
        return;
    const int limit = m_grid->viewport()->width();
    const int right = std::min(x() + needed, limit);
    if (right - x() > width())
        resize(right - x(), height());
}

void CInPlaceEdit::Abandon()
{
    if (m_alreadyEnding || m_detached)
        return;
    m_detached = true;
    if (hasFocus())
        m_grid->setFocus(Qt::OtherFocusReason);
    hide();
    deleteLater();
}

void CInPlaceEdit::focusOutEvent(QFocusEvent* event)
{
    QLineEdit::focusOutEvent(event);
    // The box's own edit menu (right button) takes the focus for a moment
    // and gives it back, and so does a switch to another window: the edit
    // goes on. It ends when the focus moves on inside the window.
    if (event->reason() == Qt::PopupFocusReason || event->reason() == Qt::ActiveWindowFocusReason)
        return;
    Finish();
}

void CInPlaceEdit::Finish()
{
    // Closing the box loses the focus a second time; only the first counts.
    if (m_alreadyEnding || m_detached)
        return;
    m_alreadyEnding = true;
    const std::string finalText = GridFromQString(text());
    if (hasFocus())
        m_grid->setFocus(Qt::OtherFocusReason);
    hide();
    deleteLater();
    m_grid->Grid().OnEndInPlaceEdit(m_row, m_col, finalText, m_lastChar, m_lastModifiers);
}
