// Table operations, selection bookkeeping, geometry and scrolling.

#include "grid/gridscript.h"

namespace {

using gridscript::Check;

TEST(GridTable, CountsFixedBandsAndCellKinds)
{
    // States: 16 fixed, 32 fixed row, 64 fixed column: cells that join or leave a band say so.
    Check(-1, 0, {400, 300},
          {{"fixedrows 2; size; cols 3; rows 4; fixedrows 3; st 2,1; fixedcols 1; fixedrows 1; st 1,1; st 1,0; st 0,0",
            "size 2 0 | 1 | 1 | st48 | st0 | st80 | st112"}});
    // A focus row falling outside takes the focus; a row count below the fixed band shrinks the band.
    Check(
        4, 3, {400, 300},
        {{"unmod; focus 4,3; rows 3; state; col 1; modified 1,1; cols 6; rows -1; settext 99,0 x; st 0,5; get 0,5; get "
          "99,0; rows 0; fixed",
          "1 | focus -1,-1 sel 3,4--1,-1/0 | r1c1 r2c1  | mod 1 0 | 1 | 0 | 0 | st48 |  |  | 1 | fixed 0 1"}});
}

TEST(GridTable, InsertAndDeleteRowsKeepFocusAndSelectionRight)
{
    // States: 1 focused, 2 selected. An insert at the focus row's index goes above it; -1 appends.
    Check(
        4, 3, {400, 300},
        {{"focus 3,2; sel 3,2 3,2; unmod; insert 2 new; state; col 2; get 2,0; get 2,1; modified 1,1; st 4,2; insert 4 "
          "again; state; get 5,2; append tail; insert 0 no; insert 99 no; insert -2 no; size; get 7,0",
          "2 | focus 4,2 sel 4,2-4,2/1 | r1c2  r2c2 r3c2 r4c2  | new |  | mod 1 0 | st3 | 4 | focus 5,2 sel "
          "5,2-5,2/1 | r3c2 | 7 | -1 | -1 | -1 | size 8 4 | tail"},
         {"focus 2,2; sel 1,1 3,3; delete 2; state; col 1; st 2,2; delete 0; delete 4; fixed",
          "1 | focus -1,-1 sel 4,4--1,-1/0 | r1c1 r3c1 r4c1  | st0 | 1 | 0 | fixed 0 1"}});
    Check(-1, 0, {400, 300}, {{"append only; size; get 0,0", "0 | size 1 1 | only"}});
}

TEST(GridTable, HeaderOnlyGridTakesEveryInputWithoutHarm)
{
    // An empty legend's sheet: one fixed row, with no data row for the keys to go to.
    Check(0, 3, {400, 300},
          {{"focus 0,2; focus 5,1; focus 0,9; state; st 0,2; keys Home+ctrl Home End+ctrl PageDown Down; wheel -120; "
            "lines v 2; all; clip a\tb; focus -1,-1; paste; vpos; count; get 0,1",
            "focus 0,2 sel 1,4--1,-1/0 | st49 | 0,2 0,2 0,3 0,3 0,3 | v 0 | count 0 | r0c1"}});
}

TEST(GridSelection, StateFlagsAndRanges)
{
    // Selected cells list in column-major order; a merged range keeps what was there.
    Check(20, 5, {300, 120},
          {{"flag 2,3 2; flag 3,1 10; selected; range; flag 2,3 0; selected; editable 3,1; editable 2,3; reset; "
            "state; sel 0,0 1,2; state; sel -1,-1 -1,-1; count; sel 2,2 3,3; merge 3,3 3,3; selected",
            "3,1 2,3  | 2,1-3,3 | 3,1  | editable 0 | editable 1 | focus -1,-1 sel 21,6--1,-1/0 | focus -1,-1 sel "
            "1,1-1,2/2 | count 0 | 2,2 3,2 2,3 "},
           {"sel 15,1 20,5; count; noedit; editable 2,3", "count 30 | editable 0"}});
}

TEST(GridGeometry, HitTestingFollowsSizesScrollingAndHiddenColumns)
{
    // Scrolled to 75 across, not on a border: the next column starts the view.
    Check(40, 10, {300, 200},
          {{"hit 10,10; hit 60,25; hit 99,39; hit 100,40; colw 2 0; hit 100,40; colw 2 50; scroll v 100; scroll h "
            "75; top; hit 60,25; hit 10,25; hit 60,5; rect 5,3; rect 7,4",
            "0,0 | 1,1 | 1,1 | 2,2 | 2,3 | top 6 3 | 6,3 | 6,0 | 0,3 | 0 0 0 0 0 | 1 100 40 149 59"}});
    Check(2, 2, {400, 300}, {{"hit 200,10; hit 60,100", "0,-1 | -1,1"}});
}

TEST(GridGeometry, EnsureVisibleScrollsTheCellFullyIntoView)
{
    // Row 15 ends at the bottom (rows 7..15 fill the 180 pixels), column 8 at the right.
    Check(40, 10, {300, 200},
          {{"vis 9,5; vis 10,1; ensure 15,8; top; rect 15,8; ensure 2,1; top; vmax",
            "vis 1 | vis 0 | top 7 4 | 1 250 180 299 199 | top 2 1 | vmax 620 250"}});
}

TEST(GridGeometry, WheelScrollsLinesOrPagesAndKeepsWhatIsShortOfALine)
{
    // Three lines a notch: a touchpad's notch in eight parts still scrolls three lines in all.
    Check(100, 3, {300, 220},
          {{"wheels -120 -240 60 100 -15 -15 -15 -15 -15 -15 -15 -15; pagewheel; wheels -120 -60 -60 2400",
            "4 10 9 6 6 6 7 7 7 8 8 9 | 19 19 29 1"},
           // Turning back drops what was kept from the other way.
           {"wheels -120 60 -40", "4 3 4"}});
}

TEST(GridGeometry, EverySizeChangeKeepsTheScrollRangesCurrent)
{
    // 11 rows of 20 and 6 columns of 50 fit; the scroll ranges are what is beyond the client area.
    Check(10, 5, {400, 300},
          {{"rowh 5 200; vmax; colw 2 250; vmax; colw 2 0; vmax; insert 3 new; vmax; delete 5; vmax; rows 40; vmax; "
            "cols 12; vmax; autocol 1; vmax; autorow 1; vmax; sort 1 -; vmax; rows 3; vmax; cols 2; vmax",
            "vmax 100 0 | vmax 100 100 | vmax 100 0 | 3 | vmax 121 0 | 1 | vmax 101 0 | 1 | vmax 710 0 | 1 | vmax 710 "
            "438 | 1 | vmax 710 437 | 1 | vmax 718 437 | vmax 718 437 | 1 | vmax 0 437 | 1 | vmax 0 0"}});
}

TEST(GridGeometry, AutoSizeUsesTextExtentPlusMargins)
{
    // 13 * 7 = 91 wide plus margins of 7 a side; a sorted header makes room for its triangle.
    Check(3, 2, {400, 300},
          {{"text 2,1 a longer text; autocol 1; w 1; autocol 1 1; w 1; sort 1 +; autocol 1 1; w 1; colw 2 0; autocol "
            "2; autocol 7; autorow 1; w 2; h 1",
            "1 | w105 | 1 | w42 | 1 | w56 | 0 | 0 | 1 | w0 | h28"}});
}

// Windows the owner opens beside a cell are placed from its screen rectangle.
TEST(GridScreenGeometry, CellScreenRectIsTheClientRectOnTheScreen)
{
    Check(30, 5, {400, 100},
          {{"scroll v 40; screen 0,0; screen 3,1; screen 6,5; screen 1,1; screen 7,1",
            "1 1000 700 1049 719 | 1 1050 720 1099 739 | 1 1250 780 1299 799 | 0 0 0 0 0 | 0 0 0 0 0"}});
}

} // namespace
