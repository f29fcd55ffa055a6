// The in-place editor with real key events: first-key rules, leaving by
// arrows, Tab and Esc, growth, the edit menu and a single end-of-edit report.

#include "grid/widgetfixture.h"
#include "grid/widget/gridqtconvert.h"

#include <QContextMenuEvent>
#include <QMenu>
#include <QTimer>

#include <gtest/gtest.h>

namespace {

struct CEditFixture : CWidgetFixture {
    CEditFixture()
    {
        widget.Grid().SetItemText(2, 2, "12");
        Click(2, 2);
        owner.Clear();
    }
    CInPlaceEdit* Open(Qt::Key key)
    {
        QTest::keyClick(&widget, key);
        return widget.Editor();
    }
    void Close(Qt::Key key)
    {
        QTest::keyClick(widget.Editor(), key);
        Settle();
    }
};

TEST(InPlaceEdit, TheFirstKeyDecidesTheStartingTextAndWhatArrowsDo)
{
    // The key that opens the editor; its text, caret and selection; whether arrows leave it.
    const std::pair<Qt::Key, std::string> cases[] = {
        {Qt::Key_7, "7 1 0 1"}, {Qt::Key_F2, "12 2 0 0"}, {Qt::Key_Backspace, "1 1 0 1"}}; // deletes the last character
    for (const auto& [key, state] : cases) {
        CEditFixture f;
        CInPlaceEdit* editor = f.Open(key);
        ASSERT_NE(editor, nullptr) << state;
        EXPECT_EQ(editor->text().toStdString() + " " +
                      Nums(editor->cursorPosition(), editor->hasSelectedText(), editor->ExitOnArrows(), editor->Row(),
                           editor->Col()),
                  state + " 2 2");
    }
    CEditFixture f;
    f.Click(2, 2); // the focus cell again: edit at release, caret at the end
    ASSERT_NE(f.widget.Editor(), nullptr);
    EXPECT_EQ(f.widget.Editor()->cursorPosition(), 2);
    f.Close(Qt::Key_Return);
    EXPECT_EQ(f.owner.Codes(), "-105@2,2");

    f.Open(Qt::Key_9); // Esc restores and reports nothing
    f.Close(Qt::Key_Escape);
    EXPECT_EQ(f.widget.Grid().GetItemText(2, 2), "12");
    f.Open(Qt::Key_7);
    f.Close(Qt::Key_Return);
    EXPECT_EQ(f.widget.Grid().GetItemText(2, 2) + " " + f.owner.Codes(), "7 -105@2,2 -105@2,2 -105@2,2 -106@2,2=7");
    EXPECT_TRUE(f.widget.Editor() == nullptr && f.widget.hasFocus());
}

TEST(InPlaceEdit, LeavingKeysMoveOnAndKeepEditing)
{
    CEditFixture f;
    f.Open(Qt::Key_5);
    QTest::keyClick(f.widget.Editor(), Qt::Key_Left);
    EXPECT_EQ(f.widget.Grid().GetItemText(2, 2) + Nums(f.widget.Grid().GetFocusCell().col), "51");
    ASSERT_NE(f.widget.Editor(), nullptr); // editing goes on with the new cell's text selected
    EXPECT_EQ(f.widget.Editor()->selectedText(), QString("r2c1"));
    QTest::keyClick(f.widget.Editor(), Qt::Key_Tab);
    EXPECT_EQ(f.widget.Grid().GetFocusCell(), CCellID(2, 2));
    QTest::keyClicks(f.widget.Editor(), "4");
    QTest::keyClick(f.widget.Editor(), Qt::Key_Backtab, Qt::ShiftModifier);
    EXPECT_EQ(f.widget.Grid().GetItemText(2, 2) + Nums(f.widget.Grid().GetFocusCell().col), "41");
    f.Close(Qt::Key_Escape);

    CInPlaceEdit* clicked = f.Open(Qt::Key_F2); // arrows move the caret in an edit opened so
    QTest::keyClick(clicked, Qt::Key_Left);
    EXPECT_TRUE(f.widget.Editor() == clicked && clicked->cursorPosition() == 3);
    QTest::keyClick(clicked, Qt::Key_Right, Qt::ControlModifier);
    EXPECT_EQ(f.widget.Grid().GetFocusCell(), CCellID(2, 2));

    for (Qt::Key key : {Qt::Key_Tab, Qt::Key_Down}) { // at the last cell the edit just ends
        CWidgetFixture l(3, 3);
        l.Click(3, 3);
        QTest::keyClick(&l.widget, Qt::Key_4);
        ASSERT_NE(l.widget.Editor(), nullptr);
        QTest::keyClick(l.widget.Editor(), key);
        CWidgetFixture::Settle();
        const CCellID focus = l.widget.Grid().GetFocusCell();
        EXPECT_EQ(l.widget.Grid().GetItemText(3, 3) + Nums(l.widget.Editor() == nullptr, focus.row, focus.col),
                  "41 3 3")
            << key;
    }
}

TEST(InPlaceEdit, RightClickShowsTheEditMenuAndTheEditGoesOn)
{
    CEditFixture f;
    CInPlaceEdit* editor = f.Open(Qt::Key_F2);
    ASSERT_NE(editor, nullptr);
    QTest::keyClicks(editor, "34");
    bool menuShown = false;
    // The menu runs its own loop; look at it from there and close it.
    QTimer::singleShot(0, [&] {
        if (QWidget* popup = QApplication::activePopupWidget()) {
            menuShown = qobject_cast<QMenu*>(popup) != nullptr;
            popup->close();
        }
    });
    // The press and release, and the menu request the window system makes of them.
    QTest::mousePress(editor, Qt::RightButton, {}, QPoint(5, 5));
    QContextMenuEvent request(QContextMenuEvent::Mouse, QPoint(5, 5), editor->mapToGlobal(QPoint(5, 5)));
    QApplication::sendEvent(editor, &request);
    QTest::mouseRelease(editor, Qt::RightButton, {}, QPoint(5, 5));
    QApplication::processEvents();
    CWidgetFixture::Settle();
    ASSERT_TRUE(menuShown && f.widget.Editor() == editor);
    EXPECT_EQ(f.owner.Count(GridNotifyEndEdit), 0);
    QTest::keyClick(editor, Qt::Key_Return);
    EXPECT_EQ(f.widget.Grid().GetItemText(2, 2), "1234");
}

TEST(InPlaceEdit, GrowsWithItsTextUpToTheGridsRightEdgeInTheGridsFont)
{
    CEditFixture f;
    CGridFont own;
    own.faceName = "Own Face";
    own.height = -31;
    f.widget.Grid().GetCell(2, 2)->SetFont(&own);
    CInPlaceEdit* editor = f.Open(Qt::Key_F2);
    ASSERT_NE(editor, nullptr);
    const QFont gridFont = GridToQFont(f.widget.Grid().GetDefaultCell(false, false).GetFont());
    EXPECT_TRUE(editor->font().pixelSize() == gridFont.pixelSize() && editor->font().pixelSize() != 31);
    const int startWidth = editor->width();
    EXPECT_EQ(editor->x(), 120);
    QTest::keyClicks(editor, "abc");
    EXPECT_EQ(editor->width(), startWidth); // still fits
    while (editor->width() == startWidth)   // once it grows: the text and two spaces
        QTest::keyClick(editor, Qt::Key_W);
    EXPECT_EQ(editor->width(), editor->fontMetrics().horizontalAdvance(editor->text() + QStringLiteral("  ")));
    QTest::keyClicks(editor, " and a good deal more text than any cell holds");
    EXPECT_EQ(editor->x() + editor->width(), f.widget.viewport()->width());
}

TEST(InPlaceEdit, EndsExactlyOnceOnFocusLossAndSilentlyWhenItsRowGoes)
{
    CGridAboveLineEdit w(5, 3, 400, 300);
    CWidgetFixture& f = w.f;
    f.Click(2, 2);
    QTest::keyClick(&f.widget, Qt::Key_8);
    ASSERT_NE(f.widget.Editor(), nullptr);
    f.owner.Clear();
    w.below->setFocus();
    CWidgetFixture::Settle();
    EXPECT_EQ(f.widget.Grid().GetItemText(2, 2) + " " + f.owner.Codes(), "8 -106@2,2=8");
    EXPECT_TRUE(f.widget.Editor() == nullptr && !f.widget.Grid().GetCell(2, 2)->IsEditing());

    CEditFixture r;
    r.Open(Qt::Key_F2);
    r.widget.Grid().SetRowCount(2); // the edited row is gone
    CWidgetFixture::Settle();
    EXPECT_EQ(Nums(r.widget.Editor() == nullptr, r.owner.Count(GridNotifyEndEdit), r.widget.hasFocus()), "1 0 1");
    r.widget.Grid().SetRowCount(5);
    EXPECT_EQ(r.widget.Grid().GetItemText(2, 2), "");
}

} // namespace
