#include "pickers/cpatternchooserdlg.h"

#include "grid/widget/cqtgridpainter.h"
#include "grid/widget/gridqtconvert.h"

#include <QCloseEvent>
#include <QFrame>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <QWheelEvent>

namespace {
// The window in pixels. The frame sits where a click, measured from the
// window's corner, lands on the sample drawn under it: its left edge 5 pixels
// short of a sample width, its top 11.
constexpr int kWidth = 316;
constexpr int kHeight = 300;
const QRect kFrame(28, 22, 271, 274);
const QRect kBar(298, 29, 15, 268);
} // namespace

CPatternChooserDlg::CPatternChooserDlg(int x, int y, const std::string& folder, int context1, int context2,
                                       const CPatternTable* patterns, int current, QWidget* owner)
    : QDialog(owner, Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowCloseButtonHint), m_Patterns(patterns),
      m_Context1(context1), m_Context2(context2)
{
    if (!m_Patterns) {
        m_Own = std::make_unique<CPatternTable>();
        m_Own->Load(folder);
        m_Patterns = m_Own.get();
    }
    m_Logic = std::make_unique<CPatternChooserLogic>(*m_Patterns, current);

    setAttribute(Qt::WA_DeleteOnClose);
    setModal(false);
    setWindowTitle(QString());
    setFixedSize(kWidth, kHeight);

    m_Frame = new QFrame(this);
    m_Frame->setObjectName(QStringLiteral("patternFrame"));
    m_Frame->setGeometry(kFrame);
    m_Frame->setFrameShape(QFrame::NoFrame);
    // The block is painted by the window itself; the frame only marks the place.
    m_Frame->setAttribute(Qt::WA_TransparentForMouseEvents);

    m_Bar = new QScrollBar(Qt::Vertical, this);
    m_Bar->setObjectName(QStringLiteral("patternScrollBar"));
    m_Bar->setGeometry(kBar);
    m_Bar->setRange(0, CPatternChooserLogic::LargestScroll(m_Logic->Rows()));
    m_Bar->setPageStep(CPatternChooserLogic::Side);
    m_Bar->setValue(0);
    connect(m_Bar, &QScrollBar::actionTriggered, this, &CPatternChooserDlg::Scrolled);
    // The bar's own wheel steps would move several rows a notch; over the bar
    // the wheel moves one, as over the samples.
    m_Bar->installEventFilter(this);

    move(x, y);
    show();
    // Esc must reach it at once, though a tool window is not always activated by showing it.
    activateWindow();
}

CGridRect CPatternChooserDlg::FrameRect() const
{
    const QRect r = m_Frame->geometry();
    return {r.left(), r.top(), r.left() + r.width(), r.top() + r.height()};
}

void CPatternChooserDlg::Scrolled(int action)
{
    using S = CPatternChooserLogic::Scroll;
    bool moved = false;
    switch (action) {
    case QAbstractSlider::SliderSingleStepSub: moved = m_Logic->ScrollBy(S::LineUp); break;
    case QAbstractSlider::SliderSingleStepAdd: moved = m_Logic->ScrollBy(S::LineDown); break;
    case QAbstractSlider::SliderPageStepSub: moved = m_Logic->ScrollBy(S::PageUp); break;
    case QAbstractSlider::SliderPageStepAdd: moved = m_Logic->ScrollBy(S::PageDown); break;
    // The thumb, and the bar's own "Top"/"Bottom" and Home/End, put the bar
    // where the samples must follow.
    case QAbstractSlider::SliderMove:
    case QAbstractSlider::SliderToMinimum:
    case QAbstractSlider::SliderToMaximum: moved = m_Logic->ScrollBy(S::Thumb, m_Bar->sliderPosition()); break;
    default: return;
    }
    ShowScroll(moved);
}

void CPatternChooserDlg::ShowScroll(bool moved)
{
    // The bar shows the chooser's position, whatever the slider would have done itself.
    m_Bar->setSliderPosition(m_Logic->ScrollPos());
    if (moved)
        update();
}

void CPatternChooserDlg::Wheeled(QWheelEvent* event)
{
    using S = CPatternChooserLogic::Scroll;
    m_WheelRest += event->angleDelta().y();
    bool moved = false;
    // Turning the wheel away from the user (a positive delta) shows earlier rows.
    for (; m_WheelRest >= 120; m_WheelRest -= 120)
        moved = m_Logic->ScrollBy(S::LineUp) || moved;
    for (; m_WheelRest <= -120; m_WheelRest += 120)
        moved = m_Logic->ScrollBy(S::LineDown) || moved;
    ShowScroll(moved);
    event->accept();
}

void CPatternChooserDlg::wheelEvent(QWheelEvent* event)
{
    Wheeled(event);
}

bool CPatternChooserDlg::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_Bar && event->type() == QEvent::Wheel) {
        Wheeled(static_cast<QWheelEvent*>(event));
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

void CPatternChooserDlg::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    CQtGridPainter surface(painter);
    m_Logic->Paint(surface, FrameRect(), GridFromQColor(palette().color(QPalette::Window)), GridFromQFont(font()));
    // A window system may give the tool window no border of its own; without
    // one the chooser would merge into the spreadsheet under it.
    painter.setPen(palette().color(QPalette::Shadow));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
}

void CPatternChooserDlg::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton)
        return;
    const QPoint at = event->position().toPoint();
    const int pattern = m_Logic->PatternAt({at.x(), at.y()}, FrameRect());
    if (pattern < 0)
        return;
    m_Logic->Choose(pattern);
    m_Finished = true;
    emit patternChosen(pattern, m_Context1, m_Context2);
    emit closed();
    accept();
}

void CPatternChooserDlg::Finish()
{
    if (m_Finished)
        return;
    m_Finished = true;
    emit closed();
}

void CPatternChooserDlg::reject()
{
    Finish();
    QDialog::reject();
}

void CPatternChooserDlg::closeEvent(QCloseEvent* event)
{
    Finish();
    QDialog::closeEvent(event);
}
