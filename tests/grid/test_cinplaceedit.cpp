// The in-place editor with real key events: first-key rules, leaving by
// arrows, Tab and Esc, the edit menu and a single end-of-edit report.

#include "grid/widgetscript.h"

#include <QFocusEvent>

namespace {

using widgetscript::Play;

struct CEditFixture : CWidgetFixture {
    CEditFixture()
    {
        widget.Grid().SetItemText(2, 2, "12");
        Click(2, 2);
        owner.Clear();
    }
};

TEST(InPlaceEdit, TheFirstKeyDecidesTheStartingTextAndWhatArrowsDo)
{
    // The editor shows its text, caret, selection, whether arrows leave it, and its cell.
    // Backspace deletes the last character. A click on the focus cell again edits at the
    // release, caret at the end. Esc restores and reports nothing.
    const gridscript::Case cases[] = {
        {"key 7; editor", "7 1 0 1 2 2"},
        {"key F2; editor", "12 2 0 0 2 2"},
        {"key Backspace; editor", "1 1 0 1 2 2"},
        {"click 2,2; editor; ekey Return; settle; codes; key 9; ekey Esc; settle; get 2,2; key 7; ekey Return; "
         "settle; get 2,2; codes; editor; hasfocus",
         "12 2 0 0 2 2 | -105@2,2 | 12 | 7 | -105@2,2 -105@2,2 -105@2,2 -106@2,2=7 | no editor | has focus 1"},
        // Arrows and Tab leave the cell and editing goes on with the new cell's text selected; in an
        // edit opened by F2 arrows move the caret, and Ctrl+arrows leave.
        {"key 5; ekey Left; get 2,2; focus; selected; ekey Tab; focus; type 4; ekey Backtab shift; get 2,2; focus; "
         "ekey "
         "Esc; settle; key F2; ekey Left; editor; ekey Right ctrl; focus",
         "5 | focus 2,1 | r2c1 | focus 2,2 | 4 | focus 2,1 | r2c1 3 0 0 2 1 | focus 2,2"},
    };
    for (const auto& [script, expected] : cases) {
        CEditFixture f;
        EXPECT_EQ(Play(f, script), expected) << script;
    }
    CWidgetFixture l(3, 3); // at the last cell the edit just ends
    EXPECT_EQ(Play(l, "click 3,3; key 4; ekey Down; settle; get 3,3; editor; focus"), "4 | no editor | focus 3,3");
}

TEST(InPlaceEdit, FocusLentToItsMenuOrAnotherWindowKeepsTheEditOpen)
{
    // The box's own edit menu (right button) takes the focus for a moment, as a window switch does.
    CEditFixture f;
    QTest::keyClick(&f.widget, Qt::Key_F2);
    CInPlaceEdit* editor = f.widget.Editor();
    for (Qt::FocusReason reason : {Qt::PopupFocusReason, Qt::ActiveWindowFocusReason}) {
        QFocusEvent out(QEvent::FocusOut, reason);
        QApplication::sendEvent(editor, &out);
    }
    CWidgetFixture::Settle();
    ASSERT_EQ(f.widget.Editor(), editor);
    QTest::keyClicks(editor, "34");
    QTest::keyClick(editor, Qt::Key_Return);
    EXPECT_EQ(f.widget.Grid().GetItemText(2, 2) + f.owner.Codes(), "1234-105@2,2 -106@2,2=1234");
}

TEST(InPlaceEdit, EndsExactlyOnceOnFocusLossAndSilentlyWhenItsRowGoes)
{
    CGridAboveLineEdit w(5, 3, 400, 300);
    Play(w.f, "click 2,2; key 8; clear");
    w.below->setFocus();
    EXPECT_EQ(Play(w.f, "settle; get 2,2; codes; editor") + Nums(w.f.widget.Grid().GetCell(2, 2)->IsEditing()),
              "8 | -106@2,2=8 | no editor0");

    CEditFixture r; // the edited row goes
    EXPECT_EQ(Play(r, "key F2; rows 2; settle; editor; codes; hasfocus; rows 5; get 2,2"),
              "no editor | -105@2,2 | has focus 1 | ");
}

} // namespace
