#include "grid/widget/cgridwidget.h"

#include "grid/widget/cinplaceedit.h"
#include "grid/widget/cqtgridpainter.h"
#include "grid/widget/gridqtconvert.h"

#include <QApplication>
#include <QClipboard>
#include <QCursor>
#include <QFontMetrics>
#include <QKeyEvent>
#include <QKeySequence>
#include <QMimeData>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QScrollBar>
#include <QWheelEvent>

CGridWidget::CGridWidget(QWidget* parent, std::unique_ptr<CGridCtrl> grid)
    : QAbstractScrollArea(parent), m_grid(grid ? std::move(grid) : std::make_unique<CGridCtrl>())
{
    setFocusPolicy(Qt::StrongFocus);
    viewport()->setMouseTracking(true);
    viewport()->setAttribute(Qt::WA_OpaquePaintEvent);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    m_autoScrollTimer.callOnTimeout(this, [this] { m_grid->OnTimer(CGridCtrl::kAutoScrollTimerId); });
    m_grid->SetWheelScrollLines(static_cast<unsigned>(QApplication::wheelScrollLines()));
    // An arrow of a scroll bar moves by one row or column, whatever its size;
    // a fixed pixel step would leave some clicks without a visible move.
    for (QScrollBar* bar : {horizontalScrollBar(), verticalScrollBar()}) {
        const bool vertical = bar == verticalScrollBar();
        connect(bar, &QAbstractSlider::actionTriggered, this, [this, bar, vertical](int action) {
            if (action != QAbstractSlider::SliderSingleStepAdd && action != QAbstractSlider::SliderSingleStepSub)
                return;
            m_grid->ScrollLines(vertical, action == QAbstractSlider::SliderSingleStepAdd ? 1 : -1);
            // The bar applies its pending position after this signal.
            bar->setSliderPosition(m_grid->GetScrollPos(vertical));
        });
    }
    m_grid->SetView(this);
}

CGridWidget::~CGridWidget()
{
    if (CInPlaceEdit* editor = Editor())
        editor->Detach();
    if (m_busyCursor)
        QApplication::restoreOverrideCursor();
    m_grid->SetView(nullptr);
}

CInPlaceEdit* CGridWidget::Editor() const
{
    return static_cast<CInPlaceEdit*>(m_editor.data());
}

// ---------------------------------------------------------------- CGridView

CGridSize CGridWidget::ClientSize() const
{
    return {viewport()->width(), viewport()->height()};
}

void CGridWidget::SetScrollBars(int hMax, int hPage, int hPos, int vMax, int vPage, int vPos)
{
    m_settingScrollBars = true;
    QScrollBar* h = horizontalScrollBar();
    h->setRange(0, hMax);
    h->setPageStep(hPage);
    h->setValue(hPos);
    QScrollBar* v = verticalScrollBar();
    v->setRange(0, vMax);
    v->setPageStep(vPage);
    v->setValue(vPos);
    m_settingScrollBars = false;
}

void CGridWidget::scrollContentsBy(int, int)
{
    if (m_settingScrollBars)
        return;
    m_grid->SetScrollPos(false, horizontalScrollBar()->value());
    m_grid->SetScrollPos(true, verticalScrollBar()->value());
    viewport()->update();
}

void CGridWidget::InvalidateAll()
{
    viewport()->update();
}

void CGridWidget::InvalidateRect(const CGridRect& rect)
{
    viewport()->update(QRect(rect.left, rect.top, rect.Width(), rect.Height()));
}

void CGridWidget::UpdateNow()
{
    viewport()->repaint();
}

CGridPoint CGridWidget::PointerPosition() const
{
    const QPoint p = viewport()->mapFromGlobal(QCursor::pos());
    return {p.x(), p.y()};
}

void CGridWidget::SetCursorShape(CGridCursor cursor)
{
    if (cursor == CGridCursor::Busy) {
        if (!m_busyCursor)
            QApplication::setOverrideCursor(Qt::WaitCursor);
        m_busyCursor = true;
        return;
    }
    if (m_busyCursor) {
        QApplication::restoreOverrideCursor();
        m_busyCursor = false;
    }
    switch (cursor) {
    case CGridCursor::SizeWE:
        viewport()->setCursor(Qt::SizeHorCursor);
        break;
    case CGridCursor::SizeNS:
        viewport()->setCursor(Qt::SizeVerCursor);
        break;
    default:
        viewport()->unsetCursor();
        break;
    }
}

CGridPoint CGridWidget::MapToGlobal(CGridPoint point) const
{
    // The grid's client area is the viewport, inside the frame and scroll bars.
    const QPoint global = viewport()->mapToGlobal(QPoint(point.x, point.y));
    return {global.x(), global.y()};
}

void CGridWidget::TakeFocus()
{
    setFocus(Qt::MouseFocusReason);
}

void CGridWidget::ShowSizingLine(std::optional<CGridRect> line)
{
    if (m_sizingLine)
        viewport()->update(*m_sizingLine);
    m_sizingLine.reset();
    if (line) {
        m_sizingLine = QRect(line->left, line->top, line->Width(), line->Height());
        viewport()->update(*m_sizingLine);
    }
}

void CGridWidget::StartTimer(int, int milliseconds)
{
    m_autoScrollTimer.start(milliseconds);
}

void CGridWidget::StopTimer(int)
{
    m_autoScrollTimer.stop();
}

std::optional<std::string> CGridWidget::ClipboardText()
{
    const QMimeData* data = QGuiApplication::clipboard()->mimeData();
    if (!data || !data->hasText())
        return std::nullopt;
    return GridFromQString(data->text());
}

void CGridWidget::SetClipboardText(const std::string& text)
{
    // Plain text only, as every spreadsheet accepts.
    auto* data = new QMimeData;
    data->setText(GridToQString(text));
    QGuiApplication::clipboard()->setMimeData(data);
}

std::optional<CGridSize> CGridWidget::MeasureText(const CGridFont& font, const std::string& text)
{
    const QFontMetrics metrics(GridToQFont(font));
    return CGridSize{metrics.horizontalAdvance(GridToQString(text)), metrics.height()};
}

CGridFont CGridWidget::MessageFont() const
{
    return GridFromQFont(QApplication::font("QMessageBox"));
}

CGridSystemColours CGridWidget::SystemColours() const
{
    const QPalette& p = palette();
    CGridSystemColours colours;
    colours.text = GridFromQColor(p.color(QPalette::WindowText));
    colours.window = GridFromQColor(p.color(QPalette::Base));
    colours.face = GridFromQColor(p.color(QPalette::Button));
    colours.shadow = GridFromQColor(p.color(QPalette::Mid));
    colours.highlight = GridFromQColor(p.color(QPalette::Highlight));
    colours.highlightText = GridFromQColor(p.color(QPalette::HighlightedText));
    colours.light3d = GridFromQColor(p.color(QPalette::Light));
    colours.darkShadow3d = GridFromQColor(p.color(QPalette::Dark));
    return colours;
}

CGridInPlaceEditor* CGridWidget::CreateInPlaceEdit(const CGridEditRequest& request)
{
    auto* editor = new CInPlaceEdit(this, request);
    m_editor = editor;
    return editor;
}

QSize CGridWidget::sizeHint() const
{
    return {400, 300};
}

// ---------------------------------------------------------------- events

void CGridWidget::paintEvent(QPaintEvent*)
{
    QPainter painter(viewport());
    CQtGridPainter gridPainter(painter);
    m_grid->OnDraw(gridPainter);
    if (m_sizingLine) {
        painter.setCompositionMode(QPainter::CompositionMode_Difference);
        painter.fillRect(*m_sizingLine, Qt::white);
    }
}

void CGridWidget::resizeEvent(QResizeEvent* event)
{
    QAbstractScrollArea::resizeEvent(event);
    m_grid->OnSize();
}

bool CGridWidget::event(QEvent* event)
{
    if (event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        const bool tab = key->key() == Qt::Key_Tab || key->key() == Qt::Key_Backtab;
        if (tab && !(key->modifiers() & (Qt::ControlModifier | Qt::AltModifier)) && m_grid->GetHandleTabKey()) {
            keyPressEvent(key);
            if (!key->isAccepted()) {
                focusNextPrevChild(key->key() == Qt::Key_Tab && !(key->modifiers() & Qt::ShiftModifier));
                // Accepted, or the parent would move the focus a second time.
                key->accept();
            }
            return true;
        }
    }
    if (event->type() == QEvent::ShortcutOverride) {
        // The grid's own edit keys win over menu shortcuts while it has the focus.
        auto* key = static_cast<QKeyEvent*>(event);
        const bool ctrl = key->modifiers() & Qt::ControlModifier;
        const bool shift = key->modifiers() & Qt::ShiftModifier;
        const int k = key->key();
        if ((ctrl && (k == Qt::Key_C || k == Qt::Key_X || k == Qt::Key_V || k == Qt::Key_A || k == Qt::Key_Insert)) ||
            (shift && k == Qt::Key_Insert) || k == Qt::Key_Delete || k == Qt::Key_F2) {
            event->accept();
            return true;
        }
    }
    return QAbstractScrollArea::event(event);
}

void CGridWidget::keyPressEvent(QKeyEvent* event)
{
    unsigned modifiers = GridModifiersFromQt(event->modifiers());
    unsigned key = GridKeyFromQt(event->key());
    if (event->key() == Qt::Key_Backtab)
        modifiers |= GridModifier::Shift;
    // The platform's own spellings of the edit commands (Shift+Delete, ...).
    if (event->matches(QKeySequence::Copy)) {
        key = 'C';
        modifiers = GridModifier::Ctrl;
    } else if (event->matches(QKeySequence::Cut)) {
        key = 'X';
        modifiers = GridModifier::Ctrl;
    } else if (event->matches(QKeySequence::Paste)) {
        key = 'V';
        modifiers = GridModifier::Ctrl;
    } else if (event->matches(QKeySequence::SelectAll)) {
        key = 'A';
        modifiers = GridModifier::Ctrl;
    } else if (key == 0 && (modifiers & GridModifier::Ctrl) && event->key() >= Qt::Key_A &&
               event->key() <= Qt::Key_Z) {
        key = 'A' + static_cast<unsigned>(event->key() - Qt::Key_A);
    }
    if (key != 0 && m_grid->OnKeyDown(key, modifiers)) {
        event->accept();
        return;
    }
    if (key == GridKey::Tab) {
        event->ignore();
        return;
    }
    // Esc with nothing being edited belongs to the dialog around the grid
    // (an open editor takes its own Esc first).
    const QString text = event->text();
    if (!text.isEmpty() && !(modifiers & GridModifier::Ctrl) && key == 0 && event->key() != Qt::Key_Escape) {
        for (char32_t c : text.toUcs4())
            m_grid->OnChar(static_cast<unsigned>(c), modifiers);
        event->accept();
        return;
    }
    QAbstractScrollArea::keyPressEvent(event);
}

CGridPoint CGridWidget::Point(const QMouseEvent* event)
{
    const QPoint p = event->position().toPoint();
    return {p.x(), p.y()};
}

void CGridWidget::mousePressEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton)
        m_grid->OnLButtonDown(Point(event), GridModifiersFromQt(event->modifiers()));
    event->accept();
}

void CGridWidget::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton)
        m_grid->OnLButtonUp(Point(event));
    else if (event->button() == Qt::RightButton)
        m_grid->OnRButtonUp(Point(event));
    event->accept();
}

void CGridWidget::mouseMoveEvent(QMouseEvent* event)
{
    m_grid->OnMouseMove(Point(event), (event->buttons() & Qt::LeftButton) != 0);
    event->accept();
}

void CGridWidget::mouseDoubleClickEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton)
        m_grid->OnLButtonDblClk(Point(event), GridModifiersFromQt(event->modifiers()));
    event->accept();
}

void CGridWidget::wheelEvent(QWheelEvent* event)
{
    const int delta = event->angleDelta().y();
    if (delta != 0)
        m_grid->OnMouseWheel(delta);
    event->accept();
}

void CGridWidget::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::PaletteChange)
        m_grid->SetSystemColours(SystemColours());
    QAbstractScrollArea::changeEvent(event);
}
