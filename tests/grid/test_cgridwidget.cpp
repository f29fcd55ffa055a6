// The widget with real mouse, keyboard and wheel events, the clipboard, and a
// screenshot of a filled grid.

#include "grid/widgetfixture.h"
#include "grid/widget/gridqtconvert.h"

#include <QClipboard>
#include <QDialog>
#include <QDir>
#include <QImage>
#include <QLineEdit>
#include <QScrollBar>
#include <QVBoxLayout>
#include <QWheelEvent>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>

namespace {

TEST(GridWidget, ClicksSelectAndNotify)
{
    CWidgetFixture f;
    f.Click(2, 3);
    EXPECT_EQ(f.widget.Grid().GetFocusCell(), CCellID(2, 3));
    EXPECT_TRUE(f.widget.hasFocus());
    EXPECT_EQ(f.owner.Codes(), (std::vector<std::string>{"-100@2,3", "-101@2,3", "-2@2,3"}));
    EXPECT_EQ(f.owner.m_Commands.size(), 1u);
    f.Click(4, 4, Qt::ShiftModifier);
    EXPECT_EQ(f.widget.Grid().GetSelectedCellRange(), CCellRange(2, 3, 4, 4));
    f.Click(1, 1, Qt::ControlModifier);
    EXPECT_EQ(f.widget.Grid().GetSelectedCount(), 7);
}

TEST(GridWidget, DraggingSelectsARange)
{
    CWidgetFixture f;
    QTest::mousePress(f.Viewport(), Qt::LeftButton, {}, f.Centre(1, 1));
    QTest::mouseMove(f.Viewport(), f.Centre(2, 2));
    QTest::mouseMove(f.Viewport(), f.Centre(3, 2));
    QTest::mouseRelease(f.Viewport(), Qt::LeftButton, {}, f.Centre(3, 2));
    EXPECT_EQ(f.widget.Grid().GetSelectedCellRange(), CCellRange(1, 1, 3, 2));
    EXPECT_EQ(f.widget.Grid().GetFocusCell(), CCellID(3, 2));
}

TEST(GridWidget, DraggingAColumnBorderResizesTheColumn)
{
    CWidgetFixture f;
    // Column 1 spans 60..119; its border is grabbed in the header row.
    QTest::mouseMove(f.Viewport(), QPoint(119, 10));
    EXPECT_EQ(f.widget.Grid().GetMouseMode(), CGridMouseMode::OverColumnDivider);
    EXPECT_EQ(f.Viewport()->cursor().shape(), Qt::SizeHorCursor);
    QTest::mousePress(f.Viewport(), Qt::LeftButton, {}, QPoint(119, 10));
    QTest::mouseMove(f.Viewport(), QPoint(150, 10));
    QTest::mouseRelease(f.Viewport(), Qt::LeftButton, {}, QPoint(150, 10));
    EXPECT_EQ(f.widget.Grid().GetColumnWidth(1), 90);
    EXPECT_EQ(f.owner.Codes(), std::vector<std::string>{"6025@0,1"});
    EXPECT_EQ(f.Viewport()->cursor().shape(), Qt::ArrowCursor);

    // Dragged far to the left, the column keeps one pixel.
    QTest::mousePress(f.Viewport(), Qt::LeftButton, {}, QPoint(149, 10));
    QTest::mouseMove(f.Viewport(), QPoint(5, 10));
    QTest::mouseRelease(f.Viewport(), Qt::LeftButton, {}, QPoint(5, 10));
    EXPECT_EQ(f.widget.Grid().GetColumnWidth(1), 1);

    // A double click on a border fits the column to its widest text.
    QTest::mouseDClick(f.Viewport(), Qt::LeftButton, {}, QPoint(61, 10));
    const int fitted = f.widget.Grid().GetColumnWidth(1);
    EXPECT_GT(fitted, 20);
    EXPECT_LT(fitted, 120);
}

TEST(GridWidget, KeysNavigateCopyPasteAndDelete)
{
    CWidgetFixture f;
    f.Click(1, 1);
    QTest::keyClick(&f.widget, Qt::Key_Down);
    QTest::keyClick(&f.widget, Qt::Key_Right, Qt::ShiftModifier);
    EXPECT_EQ(f.widget.Grid().GetSelectedCellRange(), CCellRange(2, 1, 2, 2));
    QTest::keyClick(&f.widget, Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(QGuiApplication::clipboard()->text(), QString("r2c1\tr2c2"));

    QGuiApplication::clipboard()->setText("x,y\nz");
    QTest::keyClick(&f.widget, Qt::Key_Down);
    QTest::keyClick(&f.widget, Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(f.widget.Grid().GetItemText(3, 2), "x");
    EXPECT_EQ(f.widget.Grid().GetItemText(3, 3), "y");
    EXPECT_EQ(f.widget.Grid().GetItemText(4, 2), "z");

    QTest::keyClick(&f.widget, Qt::Key_Delete);
    EXPECT_EQ(f.widget.Grid().GetItemText(3, 2), "");

    // Text that is not UTF-8 is shown as Windows-1252.
    f.widget.Grid().SetItemText(1, 1, "caf\xE9");
    f.widget.Grid().SetSelectedRange(1, 1, 1, 1);
    QTest::keyClick(&f.widget, Qt::Key_Insert, Qt::ControlModifier);
    EXPECT_EQ(QGuiApplication::clipboard()->text(), QString::fromUtf8("caf\xC3\xA9"));

    QTest::keyClick(&f.widget, Qt::Key_A, Qt::ControlModifier);
    EXPECT_EQ(f.widget.Grid().GetSelectedCount(), 100);
}

TEST(GridWidget, TabWrapsRowsAndLeavesTheGridAtTheLastCell)
{
    CGridAboveLineEdit w(2, 2, 300, 250);
    CWidgetFixture& f = w.f;
    QLineEdit* after = w.below;
    f.Click(1, 2);
    QTest::keyClick(&f.widget, Qt::Key_Tab);
    EXPECT_EQ(f.widget.Grid().GetFocusCell(), CCellID(2, 1));
    EXPECT_TRUE(f.widget.hasFocus());
    QTest::keyClick(&f.widget, Qt::Key_Tab);
    EXPECT_EQ(f.widget.Grid().GetFocusCell(), CCellID(2, 2));
    QApplication::processEvents();
    EXPECT_TRUE(f.widget.hasFocus());
    QTest::keyPress(&f.widget, Qt::Key_Tab);
    EXPECT_EQ(f.widget.Grid().GetFocusCell(), CCellID(2, 2));
    EXPECT_TRUE(after->hasFocus());
}

void Wheel(QWidget* viewport, int delta)
{
    QWheelEvent event(QPointF(100, 100), viewport->mapToGlobal(QPointF(100, 100)), QPoint(), QPoint(0, delta),
                      Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(viewport, &event);
}

TEST(GridWidget, WheelAndScrollBarArrowsMoveByWholeRows)
{
    CWidgetFixture f(50, 3);
    ASSERT_EQ(QApplication::wheelScrollLines(), 3);
    CGridCtrl& grid = f.widget.Grid();
    Wheel(f.Viewport(), -120);
    EXPECT_EQ(grid.GetTopleftNonFixedCell().row, 4);
    EXPECT_EQ(f.widget.verticalScrollBar()->value(), 66);
    // A touchpad sends the notch in eight parts.
    for (int i = 0; i < 8; ++i)
        Wheel(f.Viewport(), -15);
    EXPECT_EQ(grid.GetTopleftNonFixedCell().row, 7);
    f.widget.verticalScrollBar()->setValue(22 * 10);
    EXPECT_EQ(grid.GetTopleftNonFixedCell().row, 11);

    // Rows of 25 pixels: every arrow click moves one row, either way.
    for (int r = 1; r <= 50; ++r)
        grid.SetRowHeight(r, 25);
    grid.SetScrollPos(true, 0);
    QScrollBar* bar = f.widget.verticalScrollBar();
    for (int click = 1; click <= 12; ++click) {
        bar->triggerAction(QAbstractSlider::SliderSingleStepAdd);
        EXPECT_EQ(grid.GetTopleftNonFixedCell().row, 1 + click);
        EXPECT_EQ(bar->value(), 25 * click);
    }
    bar->triggerAction(QAbstractSlider::SliderSingleStepSub);
    EXPECT_EQ(grid.GetTopleftNonFixedCell().row, 12);
    // Columns of differing widths step one column at a time too.
    grid.SetColumnCount(12);
    grid.SetColumnWidth(2, 130);
    f.widget.horizontalScrollBar()->triggerAction(QAbstractSlider::SliderSingleStepAdd);
    EXPECT_EQ(grid.GetTopleftNonFixedCell().col, 2);
    f.widget.horizontalScrollBar()->triggerAction(QAbstractSlider::SliderSingleStepAdd);
    EXPECT_EQ(grid.GetTopleftNonFixedCell().col, 3);
    EXPECT_EQ(f.widget.horizontalScrollBar()->value(), 190);
}

TEST(GridWidget, SizingARowOrColumnUpdatesTheScrollBars)
{
    CWidgetFixture f(5, 3); // everything fits: no bars
    CGridCtrl& grid = f.widget.Grid();
    EXPECT_EQ(f.widget.verticalScrollBar()->maximum(), 0);
    grid.SetRowHeight(3, 600);
    EXPECT_GT(f.widget.verticalScrollBar()->maximum(), 0);
    grid.SetColumnWidth(2, 900);
    EXPECT_GT(f.widget.horizontalScrollBar()->maximum(), 0);
    grid.SetRowHeight(3, 22);
    EXPECT_EQ(f.widget.verticalScrollBar()->maximum(), 0);
}

TEST(GridWidget, ScrollingEndsAnOpenEditIntoItsOwnCell)
{
    for (bool byWheel : {true, false}) {
        CWidgetFixture f(50, 3);
        f.Click(2, 2);
        QTest::keyClicks(&f.widget, "typed");
        ASSERT_NE(f.widget.Editor(), nullptr);
        if (byWheel)
            Wheel(f.Viewport(), -120);
        else
            f.widget.verticalScrollBar()->setValue(22 * 5);
        CWidgetFixture::Settle();
        EXPECT_EQ(f.widget.Editor(), nullptr);
        EXPECT_EQ(f.widget.Grid().GetItemText(2, 2), "typed");
        EXPECT_EQ(f.owner.Count(GridNotifyEndEdit), 1);
        EXPECT_GT(f.widget.Grid().GetTopleftNonFixedCell().row, 2);
        EXPECT_TRUE(f.widget.hasFocus());
    }
}

TEST(GridWidget, EscReachesTheDialogUnlessAnEditTakesIt)
{
    CAppFirst app;
    QDialog dialog;
    auto* layout = new QVBoxLayout(&dialog);
    CWidgetFixture f(5, 3, &dialog);
    layout->addWidget(&f.widget);
    dialog.resize(400, 300);
    CWidgetFixture::Show(&dialog);
    f.Click(2, 2);
    QTest::keyClick(&f.widget, Qt::Key_5);
    ASSERT_NE(f.widget.Editor(), nullptr);
    QTest::keyClick(f.widget.Editor(), Qt::Key_Escape); // ends the edit only
    CWidgetFixture::Settle();
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_EQ(f.widget.Editor(), nullptr);
    QTest::keyClick(&f.widget, Qt::Key_Escape);
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(dialog.result(), QDialog::Rejected);
}

TEST(GridWidget, ScreenshotOfAFilledGrid)
{
    CWidgetFixture f(30, 6);
    CGridCtrl& grid = f.widget.Grid();
    const char* heads[] = {"Row", "From (>=)", "To (<)", "Label", "Colour", "Pattern", "Comment"};
    for (int c = 0; c <= 6; ++c)
        grid.SetItemText(0, c, heads[c]);
    grid.SetColumnWidth(0, 36);
    grid.SetColumnWidth(3, 90);
    grid.SetColumnWidth(6, 0);
    for (int r = 1; r <= 30; ++r) {
        grid.SetItemText(r, 0, std::to_string(r));
        grid.SetItemText(r, 1, std::to_string(r * 10));
        grid.SetItemText(r, 2, std::to_string(r * 10 + 10));
        grid.SetItemText(r, 3, r % 3 ? "Sandstone" : "A label that is far too long");
        grid.SetItemFormat(r, 1, GridText::Right | GridText::DefaultFormat);
        grid.SetItemFormat(r, 2, GridText::Right | GridText::DefaultFormat);
        grid.GetCell(r, 1)->SetNumeric(true);
    }
    grid.SetItemBkColour(3, 4, GridRGB(200, 40, 40));
    grid.SortItems(1, true);
    f.Click(4, 2);
    f.Click(6, 3, Qt::ShiftModifier);
    QApplication::processEvents();

    const QImage shot = f.widget.grab().toImage();
    if (const char* out = std::getenv("TESSARIN_TEST_OUTPUT")) {
        QDir().mkpath(out);
        EXPECT_TRUE(shot.save(QString::fromLocal8Bit(out) + "/grid_widget.png"));
    }
    const QPoint origin = f.Viewport()->mapTo(&f.widget, QPoint(0, 0));
    auto pixel = [&](int x, int y) { return GridFromQColor(shot.pixelColor(origin + QPoint(x, y))); };
    const CGridSystemColours colours = f.widget.SystemColours();
    // Column 1 starts at 36 and column 2 at 96; row 5 starts at 22 + 4 * 22.
    EXPECT_EQ(pixel(100, 113), colours.highlight);        // inside the selection
    EXPECT_EQ(pixel(40, 113), colours.window);            // outside it
    EXPECT_EQ(pixel(95, 113), GridRGB(192, 192, 192));    // a vertical grid line
    EXPECT_EQ(pixel(4, 3), colours.face);                 // the corner header
    EXPECT_EQ(pixel(250, 75), GridRGB(200, 40, 40));      // a cell of its own colour
    // The sort mark right in the header of column 1 (36..95) is solid, in
    // the text colour, and about as tall as the text.
    int markPixels = 0, top = 99, bottom = -1;
    for (int y = 1; y < 21; ++y)
        for (int x = 84; x < 95; ++x)
            if (pixel(x, y) == colours.text) {
                ++markPixels;
                top = std::min(top, y);
                bottom = std::max(bottom, y);
            }
    EXPECT_GE(markPixels, 30);
    EXPECT_GE(bottom - top + 1, f.widget.fontMetrics().height() - 6);
}

} // namespace
