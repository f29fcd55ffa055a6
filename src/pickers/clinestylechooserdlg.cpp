#include "pickers/clinestylechooserdlg.h"

#include "grid/widget/cqtgridpainter.h"

#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>

namespace {

// The frame control the samples are painted in; clicks go to the chooser.
class CSampleArea : public QWidget {
public:
    CSampleArea(const CLineStyleChooser& flow, QWidget* parent) : QWidget(parent), m_Flow(flow)
    {
        setAttribute(Qt::WA_TransparentForMouseEvents);
        setObjectName(QStringLiteral("samples"));
    }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter painter(this);
        CQtGridPainter surface(painter);
        m_Flow.Paint(surface, {0, 0, width(), height()});
    }

private:
    const CLineStyleChooser& m_Flow;
};

} // namespace

CLineStyleChooserDlg::CLineStyleChooserDlg(int x, int y, const std::string& penFile, int context1,
                                           int context2, int32_t currentStyle, CUserPrompt& prompt,
                                           QWidget* owner)
    : QDialog(owner, Qt::Tool | Qt::FramelessWindowHint), m_Flow(penFile, currentStyle),
      m_Prompt(prompt), m_Context1(context1), m_Context2(context2)
{
    setAttribute(Qt::WA_DeleteOnClose);
    setObjectName(QStringLiteral("lineStyleChooser"));
    setFixedSize(ClientWidth, ClientHeight);
    m_Frame = new CSampleArea(m_Flow, this);
    m_Frame->setGeometry(3, 0, 231, 158);
    m_Frame->setProperty("controlId", FrameId);
    m_Bar = new QScrollBar(Qt::Vertical, this);
    m_Bar->setObjectName(QStringLiteral("scrollBar"));
    m_Bar->setProperty("controlId", ScrollBarId);
    m_Bar->setGeometry(237, 8, 15, 151);
    m_Bar->setPageStep(LineStyleGrid::VisibleRows);
    m_Bar->setRange(0, 0);
    connect(m_Bar, &QScrollBar::actionTriggered, this, &CLineStyleChooserDlg::OnScrollAction);
    move(x, y);
}

bool CLineStyleChooserDlg::Open()
{
    if (!m_Flow.Open(m_Prompt)) {
        emit closed();
        QDialog::reject();
        return false;
    }
    m_Bar->setRange(0, m_Flow.LargestScroll());
    m_Bar->setValue(0);
    show();
    activateWindow();
    setFocus();
    return true;
}

void CLineStyleChooserDlg::reject()
{
    emit closed();
    QDialog::reject();
}

void CLineStyleChooserDlg::mouseReleaseEvent(QMouseEvent* event)
{
    const QPoint at = event->position().toPoint();
    if (event->button() != Qt::LeftButton || !m_Frame->geometry().contains(at))
        return QDialog::mouseReleaseEvent(event);
    const std::optional<int32_t> style = m_Flow.Click(at.x(), at.y());
    if (!style)
        return;
    emit lineStyleChosen(*style, m_Context1, m_Context2);
    accept();
}

void CLineStyleChooserDlg::OnScrollAction(int action)
{
    using Scroll = CLineStyleChooser::EScroll;
    switch (action) {
    case QAbstractSlider::SliderSingleStepSub: m_Flow.Scroll(Scroll::LineUp); break;
    case QAbstractSlider::SliderSingleStepAdd: m_Flow.Scroll(Scroll::LineDown); break;
    case QAbstractSlider::SliderPageStepSub: m_Flow.Scroll(Scroll::PageUp); break;
    case QAbstractSlider::SliderPageStepAdd: m_Flow.Scroll(Scroll::PageDown); break;
    default: m_Flow.Scroll(Scroll::Thumb, m_Bar->sliderPosition()); break; // dragged, or to an end
    }
    // The bar takes its position from here once this action is over.
    m_Bar->setSliderPosition(m_Flow.ScrollPos());
    m_Frame->update();
}
