// The in-place editor with real key events: first-key rules, leaving by
// arrows, Esc, growth and a single end-of-edit report.

#include "grid/widgetfixture.h"
#include "grid/widget/gridqtconvert.h"

#include <QContextMenuEvent>
#include <QLineEdit>
#include <QMenu>
#include <QTimer>
#include <QVBoxLayout>

#include <gtest/gtest.h>

namespace {

struct CEditFixture : CWidgetFixture {
    CEditFixture()
    {
        widget.Grid().SetItemText(2, 2, "12");
        Click(2, 2);
        owner.Clear();
    }
};

TEST(InPlaceEdit, TypingADigitReplacesTheText)
{
    CEditFixture f;
    QTest::keyClick(&f.widget, Qt::Key_7);
    CInPlaceEdit* editor = f.widget.Editor();
    ASSERT_NE(editor, nullptr);
    EXPECT_EQ(editor->text(), QString("7"));
    EXPECT_EQ(editor->Row(), 2);
    EXPECT_EQ(editor->Col(), 2);
    EXPECT_TRUE(editor->ExitOnArrows());
    QTest::keyClick(editor, Qt::Key_Return);
    EXPECT_EQ(f.widget.Grid().GetItemText(2, 2), "7");
    EXPECT_EQ(f.owner.Codes(), (std::vector<std::string>{"-105@2,2", "-106@2,2=7"}));
    CWidgetFixture::Settle();
    EXPECT_EQ(f.widget.Editor(), nullptr);
    EXPECT_TRUE(f.widget.hasFocus());
}

TEST(InPlaceEdit, F2AndClickStartWithTheCaretAfterTheText)
{
    CEditFixture f;
    QTest::keyClick(&f.widget, Qt::Key_F2);
    CInPlaceEdit* editor = f.widget.Editor();
    ASSERT_NE(editor, nullptr);
    EXPECT_EQ(editor->text(), QString("12"));
    EXPECT_EQ(editor->cursorPosition(), 2);
    EXPECT_FALSE(editor->hasSelectedText());
    EXPECT_FALSE(editor->ExitOnArrows());
    QTest::keyClick(editor, Qt::Key_Escape);
    CWidgetFixture::Settle();

    f.Click(2, 2); // the focus cell again: edit at release
    editor = f.widget.Editor();
    ASSERT_NE(editor, nullptr);
    EXPECT_EQ(editor->text(), QString("12"));
    EXPECT_EQ(editor->cursorPosition(), 2);

    // Backspace as the first key deletes the last character.
    QTest::keyClick(editor, Qt::Key_Return);
    CWidgetFixture::Settle();
    QTest::keyClick(&f.widget, Qt::Key_Backspace);
    ASSERT_NE(f.widget.Editor(), nullptr);
    EXPECT_EQ(f.widget.Editor()->text(), QString("1"));
}

TEST(InPlaceEdit, EscRestoresAndReportsNoChange)
{
    CEditFixture f;
    QTest::keyClicks(&f.widget, "99");
    ASSERT_NE(f.widget.Editor(), nullptr);
    EXPECT_EQ(f.widget.Editor()->text(), QString("99"));
    QTest::keyClick(f.widget.Editor(), Qt::Key_Escape);
    EXPECT_EQ(f.widget.Grid().GetItemText(2, 2), "12");
    EXPECT_EQ(f.owner.Count(GridNotifyEndEdit), 0);
    EXPECT_FALSE(f.widget.Grid().GetModified() && (f.widget.Grid().GetItemState(2, 2) & GridState::Modified));
}

TEST(InPlaceEdit, ArrowsLeaveATypedEditButMoveTheCaretInAClickedOne)
{
    CEditFixture f;
    QTest::keyClick(&f.widget, Qt::Key_5);
    QTest::keyClick(f.widget.Editor(), Qt::Key_Left);
    EXPECT_EQ(f.widget.Grid().GetItemText(2, 2), "5");
    EXPECT_EQ(f.widget.Grid().GetFocusCell(), CCellID(2, 1));
    // Editing goes on in the new cell with its text selected.
    CInPlaceEdit* next = f.widget.Editor();
    ASSERT_NE(next, nullptr);
    EXPECT_EQ(next->Col(), 1);
    EXPECT_EQ(next->selectedText(), QString("r2c1"));
    QTest::keyClick(next, Qt::Key_Escape);
    CWidgetFixture::Settle();

    QTest::keyClick(&f.widget, Qt::Key_F2);
    CInPlaceEdit* clicked = f.widget.Editor();
    ASSERT_NE(clicked, nullptr);
    QTest::keyClick(clicked, Qt::Key_Left);
    EXPECT_EQ(f.widget.Editor(), clicked);
    EXPECT_EQ(clicked->cursorPosition(), 3);
    QTest::keyClick(clicked, Qt::Key_Right, Qt::ControlModifier);
    EXPECT_EQ(f.widget.Grid().GetFocusCell(), CCellID(2, 2));
}

TEST(InPlaceEdit, TabEndsTheEditAndContinuesInTheNextCell)
{
    CEditFixture f;
    QTest::keyClick(&f.widget, Qt::Key_3);
    QTest::keyClick(f.widget.Editor(), Qt::Key_Tab);
    EXPECT_EQ(f.widget.Grid().GetItemText(2, 2), "3");
    EXPECT_EQ(f.widget.Grid().GetFocusCell(), CCellID(2, 3));
    ASSERT_NE(f.widget.Editor(), nullptr);
    EXPECT_EQ(f.widget.Editor()->Col(), 3);
    QTest::keyClicks(f.widget.Editor(), "4");
    QTest::keyClick(f.widget.Editor(), Qt::Key_Backtab, Qt::ShiftModifier);
    EXPECT_EQ(f.widget.Grid().GetItemText(2, 3), "4");
    EXPECT_EQ(f.widget.Grid().GetFocusCell(), CCellID(2, 2));
}

TEST(InPlaceEdit, TabOrDownAtTheLastCellEndsTheEdit)
{
    for (Qt::Key key : {Qt::Key_Tab, Qt::Key_Down}) {
        CWidgetFixture f(3, 3);
        f.Click(3, 3);
        QTest::keyClick(&f.widget, Qt::Key_4);
        ASSERT_NE(f.widget.Editor(), nullptr);
        QTest::keyClick(f.widget.Editor(), key);
        CWidgetFixture::Settle();
        EXPECT_EQ(f.widget.Grid().GetItemText(3, 3), "4");
        EXPECT_EQ(f.widget.Editor(), nullptr) << key;
        EXPECT_EQ(f.widget.Grid().GetFocusCell(), CCellID(3, 3));
    }
}

TEST(InPlaceEdit, RightClickShowsTheEditMenuAndTheEditGoesOn)
{
    CEditFixture f;
    QTest::keyClick(&f.widget, Qt::Key_F2);
    CInPlaceEdit* editor = f.widget.Editor();
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
    EXPECT_TRUE(menuShown);
    ASSERT_EQ(f.widget.Editor(), editor);
    EXPECT_EQ(f.owner.Count(GridNotifyEndEdit), 0);
    EXPECT_EQ(f.widget.Grid().GetItemText(2, 2), "12");
    QTest::keyClick(editor, Qt::Key_Return);
    EXPECT_EQ(f.widget.Grid().GetItemText(2, 2), "1234");
}

TEST(InPlaceEdit, LongTextWidensTheBoxUpToTheGridsRightEdge)
{
    CEditFixture f;
    QTest::keyClick(&f.widget, Qt::Key_F2);
    CInPlaceEdit* editor = f.widget.Editor();
    ASSERT_NE(editor, nullptr);
    const int startWidth = editor->width();
    EXPECT_EQ(editor->x(), 120);
    QTest::keyClicks(editor, "abc");
    EXPECT_EQ(editor->width(), startWidth); // still fits
    // Once it grows, the box is exactly as wide as the text and two spaces.
    while (editor->width() == startWidth)
        QTest::keyClick(editor, Qt::Key_W);
    EXPECT_EQ(editor->width(), editor->fontMetrics().horizontalAdvance(editor->text() + QStringLiteral("  ")));
    QTest::keyClicks(editor, " and a good deal more text than any cell holds");
    EXPECT_GT(editor->width(), startWidth);
    EXPECT_EQ(editor->x() + editor->width(), f.widget.viewport()->width());
}

TEST(InPlaceEdit, TakesTheGridsFontAndClosesSilentlyWhenItsRowGoes)
{
    CEditFixture f;
    CGridFont own;
    own.faceName = "Own Face";
    own.height = -31;
    f.widget.Grid().GetCell(2, 2)->SetFont(&own);
    QTest::keyClick(&f.widget, Qt::Key_F2);
    CInPlaceEdit* editor = f.widget.Editor();
    ASSERT_NE(editor, nullptr);
    const QFont gridFont = GridToQFont(f.widget.Grid().GetDefaultCell(false, false).GetFont());
    EXPECT_EQ(editor->font().pixelSize(), gridFont.pixelSize());
    EXPECT_NE(editor->font().pixelSize(), 31);

    f.widget.Grid().SetRowCount(2); // the edited row is gone
    CWidgetFixture::Settle();
    EXPECT_EQ(f.widget.Editor(), nullptr);
    EXPECT_EQ(f.owner.Count(GridNotifyEndEdit), 0);
    EXPECT_TRUE(f.widget.hasFocus());
    f.widget.Grid().SetRowCount(5);
    EXPECT_EQ(f.widget.Grid().GetItemText(2, 2), "");
}

TEST(InPlaceEdit, FocusLossEndsTheEditExactlyOnce)
{
    CGridAboveLineEdit w(5, 3, 400, 300);
    CWidgetFixture& f = w.f;
    QLineEdit* other = w.below;
    f.widget.Grid().SetItemText(2, 2, "12");
    f.Click(2, 2);
    QTest::keyClick(&f.widget, Qt::Key_8);
    ASSERT_NE(f.widget.Editor(), nullptr);
    f.owner.Clear();
    other->setFocus();
    CWidgetFixture::Settle();
    EXPECT_EQ(f.widget.Grid().GetItemText(2, 2), "8");
    EXPECT_EQ(f.owner.Codes(), std::vector<std::string>{"-106@2,2=8"});
    EXPECT_EQ(f.widget.Editor(), nullptr);
    EXPECT_FALSE(f.widget.Grid().GetCell(2, 2)->IsEditing());
}

} // namespace
