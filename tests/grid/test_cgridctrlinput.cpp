// Keyboard navigation, character input, the mouse modes and the wheel/timer.

#include "grid/gridscript.h"

namespace {

using gridscript::Check;

TEST(GridKeyboard, ArrowsTabPagesHomeAndEnd)
{
    // Arrows and Tab skip hidden lines and wrap; Tab leaves the grid at its ends ('!': not handled).
    Check(5, 5, {400, 300},
          {{"rowh 3 0; colw 3 0; focus 2,2; keys Down Right Up Up Up Left Left Left End+ctrl Down Right Q; range",
            "4,2 4,4 2,4 1,4 1,4 1,2 1,1 1,1 5,5 5,5 5,5 5,5! | 5,5-5,5"},
           {"keys Down", "-1,-1!"},
           // Shift+Tab sets the selection start like Tab does: one cell selected.
           {"colw 1 0; colw 4 0; colw 5 0; focus 1,3; keys Tab Tab Tab+shift Tab+shift; range; focus 5,3; keys Tab; "
            "focus 1,2; keys Tab+shift",
            "2,2 2,3 2,2 1,3 | 1,3-1,3 | 5,3! | 1,2!"}});
    // Ten rows a page; the view stops at row 41.
    Check(50, 3, {300, 220},
          {{"focus 3,1; keyst PageDown PageDown PageDown PageDown PageDown PageUp; scroll v 0; focus 5,1; keyst "
            "PageUp; scroll v 0; focus 10,1; keyst Down; scroll v 0; focus 2,1; keyst Up",
            "13,1/11 23,1/21 33,1/31 43,1/41 50,1/41 40,1/31 | 1,1/1 | 11,1/2 | 1,1/1"}});
    Check(30, 12, {300, 220},
          {{"colw 1 0; colw 12 0; rowh 30 0; focus 5,5; keys End; hpos; keys Home; hpos; keys End+ctrl; vis 29,11; "
            "keys Home+ctrl; top",
            "5,11 | h 250/250 | 5,2 | h 0/250 | 29,11 | vis 1 | 1,2 | top 1 1"}});
}

TEST(GridKeyboard, ShiftExtendsFromTheSelectionStartAndMovesNotify)
{
    Check(5, 5, {400, 300},
          {{"focus 2,2; key Right; state; key Down shift; state; key Down shift; state; key Left shift; state; key Up; "
            "state; codes",
            "focus 2,3 sel 2,3-2,3/1 | focus 3,3 sel 2,3-3,3/2 | focus 4,3 sel 2,3-4,3/3 | focus 4,2 sel 2,2-4,3/6 | "
            "focus 3,2 sel 3,2-3,2/1 | -101@3,3 -101@4,3 -101@3,2"}});
}

TEST(GridCharacters, TypingStartsAnEditUnlessCtrlEscOrHandledTab)
{
    // Only the plain '7' opens; the '8' goes to the open editor.
    Check(3, 3, {400, 300},
          {{"focus 1,1; char 7 ctrl; char Esc; char Tab; char 7; char 8; editors; typed", "1: 1,1 key 55 | 56 r1c1"}});
}

TEST(GridMouse, ClicksSelectFocusNotifyAndEdit)
{
    Check(6, 6, {400, 300},
          {{"click 2,3; state; codes; cmds; timers",
            "focus 2,3 sel 2,3-2,3/1 | -100@2,3 -101@2,3 -2@2,3 | 1008:0 taken 1 0 | timers"},
           // Shift extends from the same anchor, Ctrl adds a cell or a block or takes a selected one out.
           {"down @1,1; timers; move @3,2; up @3,2; count; ft; timers; down @4,4 shift; up @4,4; count; down @6,6 "
            "ctrl; up @6,6; count; down @6,1 ctrl; move @6,3; up @6,3; count; ft; down @2,2 ctrl; up @2,2; count; "
            "click 5,5; count; timers",
            "timers 513:25 | count 6 | 3,2/1 | timers | count 16 | count 17 | count 20 | 6,3/1 | count 19 | count 1 | "
            "timers"},
           // A click inside an earlier selection moves the focus there; a second one edits it.
           {"click 2,2; click 4,4 shift; clear; click 3,3; state; codes; click 3,3; editors",
            "focus 3,3 sel 3,3-3,3/1 | -100@3,3 -101@3,3 -2@3,3 | 1: 3,3 key 1"},
           // The edit opens at release; with Ctrl, or on a read-only cell, the click selects.
           {"click 2,2; clear; down @2,2; mode; editors; up @2,2; editors; mode; codes; end; click 2,2 ctrl; click 2,2 "
            "ctrl; ro 2,2; click 2,2; editors",
            "mode 10 | 0 | 1: 2,2 key 1 | mode 0 | -105@2,2 | 1: 2,2 key 1"},
           {"click 0,2; range; click 0,4 shift; range; click 3,0; range; click 0,0; range; count",
            "1,2-6,2 | 1,2-6,4 | 3,1-3,6 | 1,1-6,6 | count 36"}});
}

TEST(GridMouse, DraggingBordersResizesColumnsAndRows)
{
    // Column 2's right border is at x = 150; a hidden column 2 at border 100 is dragged open again.
    Check(3, 3, {400, 300},
          {{"hover 149,10; mode; down 149,10; move 180,12; mode; up 180,12; mode; w 2; codes",
            "mode 8 | mode 9 | mode 0 | w80 | 6025@0,2"},
           {"down 151,10; mode; move 20,10; up 20,10; w 2; n 6025", "mode 9 | w1 | n1"},
           {"down 149,10; mode; move 149,10; up 149,10; w 3; n 6025; w 2", "mode 9 | w50 | n0 | w50"},
           {"down 201,10; mode; move 230,10; up 230,10; w 3; n 6025; w 2", "mode 9 | w80 | n1 | w50"},
           {"colw 2 0; down 101,10; mode; move 130,10; up 130,10; w 1; n 6025; w 2", "mode 9 | w50 | n1 | w30"},
           // The right button during a drag ends it; rows size from the fixed column.
           {"down 149,10; move 180,12; rup 180,12; mode; up 180,12; w 2; down 20,59; mode; up 20,70; h 2; n 6025; "
            "hover 20,89; mode",
            "mode 0 | w50 | mode 7 | h30 | n0 | mode 6"}});
}

TEST(GridMouse, DoubleAndRightClicksAutoScrollAndSortOnClick)
{
    // A double click on a border fits the column (84 + 2 * 7); on a fixed cell it opens no edit.
    Check(
        3, 3, {400, 300},
        {{"text 2,1 twelve chars; dbl 99,10; w 1; clear; dbl @2,2; editors; dbl @2,0; rup @2,0; ft; rup 390,290; codes",
          "w98 | 1: 2,2 key 1 | 2,1/1 | -105@2,2 -3@2,2 -3@2,0 -5@2,0 -5@-1,-1"},
         // The column is selected; a second click on the same header flips the order.
         {"sortclick; text 1,1 b; text 2,1 c; text 3,1 a; click 0,1; sorted; range; click 0,1; sorted; click 0,2; "
          "sorted; range",
          "1+ a b c  | 1,1-3,1 | 1- c b a  | 2+ b c a  | 1,2-3,2"}});
    // A window squeezed to nothing still steps the focus and clamps into no cell.
    Check(50, 3, {300, 220},
          {{"down @8,1; pointer 60,260; timer; ft; timer; ft; timer; ft; state; up 60,219; timers; down @5,1; client "
            "0,0; pointer 60,10; timer; state",
            "9,1/1 | 10,1/1 | 11,1/2 | focus 11,1 sel 8,1-11,1/4 | timers | focus 6,2 sel 5,1-5,1/1"}});
}

} // namespace
