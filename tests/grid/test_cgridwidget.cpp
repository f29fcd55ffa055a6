// The widget with real mouse, keyboard and wheel events, the clipboard, and a
// screenshot of a filled grid.

#include "grid/widgetscript.h"
#include "grid/widget/gridqtconvert.h"
#include "support/testfiles.h"

#include <QDialog>
#include <QImage>

namespace {

using widgetscript::Play;

TEST(GridWidget, MouseEventsReachTheGridWithTheirModifiers)
{
    // Column 1 spans 60..119: a double click on its border fits it to its widest text.
    CWidgetFixture f;
    EXPECT_EQ(Play(f, "press @1,1; move @2,2; move @3,2; release @3,2; range; click 2,3; hasfocus; click 4,4 shift; "
                      "click 1,1 ctrl; range; count; dclick 119,10"),
              "1,1-3,2 | has focus 1 | 1,1-4,4 | count 7");
    EXPECT_TRUE(f.widget.Grid().GetColumnWidth(1) > 20 && f.widget.Grid().GetColumnWidth(1) < 60);
}

TEST(GridWidget, KeysNavigateCopyPasteAndDelete)
{
    // Text that is not UTF-8 is shown as Windows-1252.
    CWidgetFixture f;
    EXPECT_EQ(Play(f, "click 1,1; key Down; key Right shift; range; key C ctrl; clip; setclip x,y\nz; key Down; key V "
                      "ctrl; get 3,2; get 3,3; get 4,2; key Delete; get 3,2; text 1,1 caf\xE9; sel 1,1 1,1; key "
                      "Insert ctrl; clip; key A ctrl; count"),
              "2,1-2,2 | r2c1\tr2c2 | x | y | z |  | caf\xC3\xA9 | count 100");

    CGridAboveLineEdit w(2, 2, 300, 250); // Tab wraps rows, then leaves at the last cell
    EXPECT_EQ(Play(w.f, "click 1,2; key Tab; focus; key Tab; events; hasfocus"), "focus 2,1 | has focus 1");
    QTest::keyPress(&w.f.widget, Qt::Key_Tab);
    EXPECT_EQ(Play(w.f, "focus") + Nums(w.below->hasFocus()), "focus 2,21");
}

TEST(GridWidget, WheelAndScrollBarsMoveByWholeRows)
{
    // The top row (or left column) and the bar's value: every arrow click moves one line.
    CWidgetFixture f(50, 3);
    ASSERT_EQ(QApplication::wheelScrollLines(), 3);
    EXPECT_EQ(Play(f, "wheel -120; where; setbar 220; where; step v + 2; step v - 1; cols 12; step h + 2"),
              "4 66 | 11 220 | 12 242 13 264 | 12 242 | 2 60 3 120");
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
    EXPECT_EQ(Play(f, "click 2,2; key 5; editor; ekey Esc; settle; editor"), "5 1 0 1 2 2 | no editor");
    EXPECT_TRUE(dialog.isVisible()); // the editor took that Esc
    QTest::keyClick(&f.widget, Qt::Key_Escape);
    EXPECT_TRUE(!dialog.isVisible() && dialog.result() == QDialog::Rejected);
}

TEST(GridWidget, ScreenshotOfAFilledGrid)
{
    CWidgetFixture f(30, 6);
    CGridCtrl& grid = f.widget.Grid();
    grid.SetColumnWidth(0, 36);
    grid.SetColumnWidth(3, 90);
    grid.SetItemBkColour(3, 4, GridRGB(200, 40, 40));
    f.Click(4, 2);
    f.Click(6, 3, Qt::ShiftModifier);
    QApplication::processEvents();
    const QImage shot = f.widget.grab().toImage();
    EXPECT_TRUE(shot.save(QString::fromStdString(TestOutputDir() + "/grid_widget.png")));
    const QPoint origin = f.Viewport()->mapTo(&f.widget, QPoint(0, 0));
    auto pixel = [&](int x, int y) { return GridFromQColor(shot.pixelColor(origin + QPoint(x, y))); };
    const CGridSystemColours colours = f.widget.SystemColours();
    // Column 1 starts at 36 and column 2 at 96; row 5 starts at 22 + 4 * 22: inside the selection,
    // outside it, a vertical grid line, the corner, row 5 and column 2 headers, a cell of its own colour.
    EXPECT_EQ(Nums(pixel(100, 113), pixel(90, 113), pixel(95, 113), pixel(4, 3), pixel(4, 113), pixel(100, 3),
                   pixel(250, 75)),
              Nums(colours.highlight, colours.window, GridRGB(192, 192, 192), colours.face, colours.face, colours.face,
                   GridRGB(200, 40, 40)));
}

} // namespace
