// The widget with real mouse, keyboard and wheel events, the clipboard, and a
// screenshot of a filled grid.

#include "grid/widgetfixture.h"
#include "grid/widget/gridqtconvert.h"
#include "support/testfiles.h"

#include <QClipboard>
#include <QDialog>
#include <QImage>
#include <QScrollBar>
#include <QWheelEvent>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>

namespace {

TEST(GridWidget, MouseEventsReachTheGridWithTheirModifiers)
{
    CWidgetFixture f;
    CGridCtrl& grid = f.widget.Grid();
    QTest::mousePress(f.Viewport(), Qt::LeftButton, {}, f.Centre(1, 1));
    QTest::mouseMove(f.Viewport(), f.Centre(2, 2));
    QTest::mouseMove(f.Viewport(), f.Centre(3, 2));
    QTest::mouseRelease(f.Viewport(), Qt::LeftButton, {}, f.Centre(3, 2));
    EXPECT_EQ(grid.GetSelectedCellRange(), CCellRange(1, 1, 3, 2));
    f.Click(2, 3);
    EXPECT_TRUE(f.widget.hasFocus());
    f.Click(4, 4, Qt::ShiftModifier);
    f.Click(1, 1, Qt::ControlModifier);
    EXPECT_EQ(Nums(grid.GetSelectedCellRange().minRow, grid.GetSelectedCount()), "1 7");

    // Column 1 spans 60..119; its border is grabbed in the header row.
    QTest::mouseMove(f.Viewport(), QPoint(119, 10));
    EXPECT_EQ(f.Viewport()->cursor().shape(), Qt::SizeHorCursor);
    QTest::mousePress(f.Viewport(), Qt::LeftButton, {}, QPoint(119, 10));
    QTest::mouseMove(f.Viewport(), QPoint(150, 10));
    QTest::mouseRelease(f.Viewport(), Qt::LeftButton, {}, QPoint(150, 10));
    EXPECT_EQ(grid.GetColumnWidth(1), 90);
    EXPECT_EQ(f.Viewport()->cursor().shape(), Qt::ArrowCursor);
    // A double click on a border fits the column to its widest text.
    QTest::mouseDClick(f.Viewport(), Qt::LeftButton, {}, QPoint(149, 10));
    EXPECT_TRUE(grid.GetColumnWidth(1) > 20 && grid.GetColumnWidth(1) < 90) << grid.GetColumnWidth(1);
}

TEST(GridWidget, KeysNavigateCopyPasteAndDelete)
{
    CWidgetFixture f;
    CGridCtrl& grid = f.widget.Grid();
    f.Click(1, 1);
    QTest::keyClick(&f.widget, Qt::Key_Down);
    QTest::keyClick(&f.widget, Qt::Key_Right, Qt::ShiftModifier);
    EXPECT_EQ(grid.GetSelectedCellRange(), CCellRange(2, 1, 2, 2));
    QTest::keyClick(&f.widget, Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(QGuiApplication::clipboard()->text(), QString("r2c1\tr2c2"));
    QGuiApplication::clipboard()->setText("x,y\nz");
    QTest::keyClick(&f.widget, Qt::Key_Down);
    QTest::keyClick(&f.widget, Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(grid.GetItemText(3, 2) + grid.GetItemText(3, 3) + grid.GetItemText(4, 2), "xyz");
    QTest::keyClick(&f.widget, Qt::Key_Delete);
    EXPECT_EQ(grid.GetItemText(3, 2), "");
    // Text that is not UTF-8 is shown as Windows-1252.
    grid.SetItemText(1, 1, "caf\xE9");
    grid.SetSelectedRange(1, 1, 1, 1);
    QTest::keyClick(&f.widget, Qt::Key_Insert, Qt::ControlModifier);
    EXPECT_EQ(QGuiApplication::clipboard()->text(), QString::fromUtf8("caf\xC3\xA9"));
    QTest::keyClick(&f.widget, Qt::Key_A, Qt::ControlModifier);
    EXPECT_EQ(grid.GetSelectedCount(), 100);

    CGridAboveLineEdit w(2, 2, 300, 250); // Tab wraps rows, then leaves at the last cell
    w.f.Click(1, 2);
    QTest::keyClick(&w.f.widget, Qt::Key_Tab);
    EXPECT_EQ(w.f.widget.Grid().GetFocusCell(), CCellID(2, 1));
    QTest::keyClick(&w.f.widget, Qt::Key_Tab);
    QApplication::processEvents();
    EXPECT_TRUE(w.f.widget.hasFocus());
    QTest::keyPress(&w.f.widget, Qt::Key_Tab);
    EXPECT_EQ(w.f.widget.Grid().GetFocusCell(), CCellID(2, 2));
    EXPECT_TRUE(w.below->hasFocus());
}

void Wheel(QWidget* viewport, int delta)
{
    QWheelEvent event(QPointF(100, 100), viewport->mapToGlobal(QPointF(100, 100)), QPoint(), QPoint(0, delta),
                      Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(viewport, &event);
}

TEST(GridWidget, WheelAndScrollBarsMoveByWholeRowsAndEndAnEdit)
{
    CWidgetFixture f(50, 3);
    ASSERT_EQ(QApplication::wheelScrollLines(), 3);
    CGridCtrl& grid = f.widget.Grid();
    QScrollBar* bar = f.widget.verticalScrollBar();
    auto where = [&] { return Nums(grid.GetTopleftNonFixedCell().row, bar->value()); };
    Wheel(f.Viewport(), -120);
    EXPECT_EQ(where(), "4 66");
    for (int i = 0; i < 8; ++i) // a touchpad sends the notch in eight parts
        Wheel(f.Viewport(), -15);
    EXPECT_EQ(where(), "7 132");
    bar->setValue(22 * 10);
    EXPECT_EQ(where(), "11 220");
    for (int r = 1; r <= 50; ++r) // rows of 25 pixels: every arrow click moves one row
        grid.SetRowHeight(r, 25);
    grid.SetScrollPos(true, 0);
    for (int click = 1; click <= 12; ++click) {
        bar->triggerAction(QAbstractSlider::SliderSingleStepAdd);
        EXPECT_EQ(where(), Nums(1 + click, 25 * click));
    }
    bar->triggerAction(QAbstractSlider::SliderSingleStepSub);
    EXPECT_EQ(where(), "12 275");
    grid.SetColumnCount(12); // columns of differing widths step one at a time too
    grid.SetColumnWidth(2, 130);
    QScrollBar* across = f.widget.horizontalScrollBar();
    across->triggerAction(QAbstractSlider::SliderSingleStepAdd);
    EXPECT_EQ(grid.GetTopleftNonFixedCell().col, 2);
    across->triggerAction(QAbstractSlider::SliderSingleStepAdd);
    EXPECT_EQ(Nums(grid.GetTopleftNonFixedCell().col, across->value()), "3 190");

    // Scrolling ends an open edit into its own cell (the scroll bars move the grid as the wheel does).
    CWidgetFixture e(50, 3);
    e.Click(2, 2);
    QTest::keyClicks(&e.widget, "typed");
    ASSERT_NE(e.widget.Editor(), nullptr);
    Wheel(e.Viewport(), -120);
    CWidgetFixture::Settle();
    EXPECT_EQ(Nums(e.widget.Editor() == nullptr, e.owner.Count(GridNotifyEndEdit), e.widget.hasFocus()) + " " +
                  e.widget.Grid().GetItemText(2, 2),
              "1 1 1 typed");
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
    EXPECT_TRUE(dialog.isVisible() && f.widget.Editor() == nullptr);
    QTest::keyClick(&f.widget, Qt::Key_Escape);
    EXPECT_TRUE(!dialog.isVisible() && dialog.result() == QDialog::Rejected);
}

TEST(GridWidget, ScreenshotOfAFilledGrid)
{
    CWidgetFixture f(30, 6);
    CGridCtrl& grid = f.widget.Grid();
    int c = 0;
    for (const char* head : {"Row", "From (>=)", "To (<)", "Label", "Colour", "Pattern", "Comment"})
        grid.SetItemText(0, c++, head);
    grid.SetColumnWidth(0, 36);
    grid.SetColumnWidth(3, 90);
    grid.SetColumnWidth(6, 0);
    for (int r = 1; r <= 30; ++r) {
        grid.SetItemText(r, 1, std::to_string(r * 10));
        grid.SetItemText(r, 3, r % 3 ? "Sandstone" : "A label that is far too long");
        grid.SetItemFormat(r, 1, GridText::Right | GridText::DefaultFormat);
        grid.GetCell(r, 1)->SetNumeric(true);
    }
    grid.SetItemBkColour(3, 4, GridRGB(200, 40, 40));
    grid.SortItems(1, true);
    f.Click(4, 2);
    f.Click(6, 3, Qt::ShiftModifier);
    QApplication::processEvents();
    const QImage shot = f.widget.grab().toImage();
    EXPECT_TRUE(shot.save(QString::fromStdString(TestOutputDir() + "/grid_widget.png")));
    const QPoint origin = f.Viewport()->mapTo(&f.widget, QPoint(0, 0));
    auto pixel = [&](int x, int y) { return GridFromQColor(shot.pixelColor(origin + QPoint(x, y))); };
    const CGridSystemColours colours = f.widget.SystemColours();
    // Column 1 starts at 36 and column 2 at 96; row 5 starts at 22 + 4 * 22: inside the selection,
    // outside it, a vertical grid line, the corner header, a cell of its own colour.
    EXPECT_EQ(Nums(pixel(100, 113), pixel(40, 113), pixel(95, 113), pixel(4, 3), pixel(250, 75)),
              Nums(colours.highlight, colours.window, GridRGB(192, 192, 192), colours.face, GridRGB(200, 40, 40)));
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
    EXPECT_TRUE(markPixels >= 30 && bottom - top + 1 >= f.widget.fontMetrics().height() - 6) << markPixels;
}

} // namespace
