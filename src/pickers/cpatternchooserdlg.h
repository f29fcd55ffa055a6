#pragma once
// The pattern chooser: a small modeless window with a scrollable block of
// 8 x 8 pattern samples; a click on one reports it and closes the window.
// The block is drawn by CPatternChooserLogic through the grid's painter, so a
// sample looks exactly like the spreadsheet's pattern cell.

#include "pickers/core/cpatternchooserlogic.h"
#include "pickers/core/cpatterntable.h"

#include <QDialog>

#include <memory>
#include <string>

class QFrame;
class QScrollBar;

class CPatternChooserDlg : public QDialog {
    Q_OBJECT
public:
    // With no table the chooser reads the folder into one of its own for the
    // time it is open; the owner's table is shared, so its folder is read
    // only once. The window shows itself at (x, y) on the screen.
    CPatternChooserDlg(int x, int y, const std::string& folder, int context1, int context2,
                       const CPatternTable* patterns, int current, QWidget* owner);

    const CPatternChooserLogic& Logic() const { return *m_Logic; }
    QFrame* Frame() const { return m_Frame; }
    QScrollBar* ScrollBar() const { return m_Bar; }
    // The frame's rectangle in the window's coordinates.
    CGridRect FrameRect() const;

signals:
    // A click on a sample: the pattern and the two context values, then closed().
    void patternChosen(int pattern, int context1, int context2);
    // Always the last word, with or without a choice.
    void closed();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void reject() override;
    void closeEvent(QCloseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void Scrolled(int action);
    // One row a notch of 120; finer wheels add up to whole notches.
    void Wheeled(QWheelEvent* event);
    void ShowScroll(bool moved);
    void Finish();

    std::unique_ptr<CPatternTable> m_Own;
    const CPatternTable* m_Patterns;
    std::unique_ptr<CPatternChooserLogic> m_Logic;
    int m_Context1;
    int m_Context2;
    QFrame* m_Frame;
    QScrollBar* m_Bar;
    int m_WheelRest = 0;
    bool m_Finished = false;
};
