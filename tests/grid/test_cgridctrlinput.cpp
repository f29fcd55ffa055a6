// Keyboard navigation, character input, the mouse modes and the wheel/timer.

#include "grid/gridfakes.h"

#include <gtest/gtest.h>

namespace {

using namespace GridKey;

TEST(GridKeyboard, ArrowsSkipHiddenRowsAndColumnsAndStayOutOfFixedBands)
{
    CGridFixture f(5, 5);
    f.grid.SetRowHeight(3, 0);
    f.grid.SetColumnWidth(3, 0);
    f.grid.SetFocusCell(2, 2);
    EXPECT_TRUE(f.grid.OnKeyDown(Down, 0));
    EXPECT_EQ(f.grid.GetFocusCell(), CCellID(4, 2));
    EXPECT_TRUE(f.grid.OnKeyDown(Right, 0));
    EXPECT_EQ(f.grid.GetFocusCell(), CCellID(4, 4));
    EXPECT_TRUE(f.grid.OnKeyDown(Up, 0));
    EXPECT_EQ(f.grid.GetFocusCell(), CCellID(2, 4));
    f.grid.OnKeyDown(Up, 0);
    f.grid.OnKeyDown(Up, 0);
    EXPECT_EQ(f.grid.GetFocusCell(), CCellID(1, 4));
    f.grid.OnKeyDown(Left, 0);
    f.grid.OnKeyDown(Left, 0);
    f.grid.OnKeyDown(Left, 0);
    EXPECT_EQ(f.grid.GetFocusCell(), CCellID(1, 1));
    f.grid.SetFocusCell(5, 5);
    EXPECT_TRUE(f.grid.OnKeyDown(Down, 0)); // nowhere to go: handled, stays
    EXPECT_EQ(f.grid.GetFocusCell(), CCellID(5, 5));
    EXPECT_EQ(f.grid.GetSelectedCellRange(), CCellRange(1, 1, 1, 1)); // from the last move

    CGridFixture unfocused(3, 3);
    EXPECT_FALSE(unfocused.grid.OnKeyDown(Down, 0));
    EXPECT_FALSE(f.grid.OnKeyDown('Q', 0));
}

TEST(GridKeyboard, TabWrapsBetweenRowsAndLeavesAtTheEnds)
{
    CGridFixture f(3, 3);
    f.grid.SetColumnWidth(1, 0);
    f.grid.SetFocusCell(1, 3);
    EXPECT_TRUE(f.grid.OnKeyDown(Tab, 0));
    EXPECT_EQ(f.grid.GetFocusCell(), CCellID(2, 2)); // first visible non-fixed column
    EXPECT_TRUE(f.grid.OnKeyDown(Tab, 0));
    EXPECT_EQ(f.grid.GetFocusCell(), CCellID(2, 3));
    EXPECT_TRUE(f.grid.OnKeyDown(Tab, GridModifier::Shift));
    EXPECT_EQ(f.grid.GetFocusCell(), CCellID(2, 2));
    EXPECT_TRUE(f.grid.OnKeyDown(Tab, GridModifier::Shift));
    EXPECT_EQ(f.grid.GetFocusCell(), CCellID(1, 3)); // last column of the previous row
    // Shift+Tab sets the selection start like Tab does: one cell selected.
    EXPECT_EQ(f.grid.GetSelectedCellRange(), CCellRange(1, 3, 1, 3));

    f.grid.SetFocusCell(3, 3);
    EXPECT_FALSE(f.grid.OnKeyDown(Tab, 0));
    EXPECT_EQ(f.grid.GetFocusCell(), CCellID(3, 3));
    f.grid.SetFocusCell(1, 2);
    EXPECT_FALSE(f.grid.OnKeyDown(Tab, GridModifier::Shift));
    // Right at the last column does not wrap.
    f.grid.SetFocusCell(2, 3);
    EXPECT_TRUE(f.grid.OnKeyDown(Right, 0));
    EXPECT_EQ(f.grid.GetFocusCell(), CCellID(2, 3));
}

TEST(GridKeyboard, ShiftExtendsFromTheSelectionStartAndUpDownNotify)
{
    CGridFixture f(5, 5);
    f.grid.SetFocusCell(2, 2);
    f.grid.OnKeyDown(Right, 0);
    f.grid.OnKeyDown(Down, GridModifier::Shift);
    f.grid.OnKeyDown(Down, GridModifier::Shift);
    EXPECT_EQ(f.grid.GetSelectedCellRange(), CCellRange(2, 3, 4, 3));
    f.grid.OnKeyDown(Left, GridModifier::Shift);
    EXPECT_EQ(f.grid.GetSelectedCellRange(), CCellRange(2, 2, 4, 3));
    EXPECT_EQ(f.grid.GetSelectedCount(), 6);
    f.grid.OnKeyDown(Up, 0);
    EXPECT_EQ(f.grid.GetSelectedCellRange(), CCellRange(3, 2, 3, 2));
    EXPECT_EQ(f.owner.Codes(), (std::vector<std::string>{"-101@3,3", "-101@4,3", "-101@3,2"}));
    EXPECT_EQ(f.grid.GetMouseMode(), CGridMouseMode::Nothing);

    f.grid.SetListMode(true);
    f.grid.OnKeyDown(Down, 0);
    EXPECT_EQ(f.grid.GetSelectedCellRange(), CCellRange(4, 1, 4, 5));
}

TEST(GridKeyboard, PageKeysMoveByTheScrolledRowsOrToTheEnds)
{
    CGridFixture f(50, 3, {300, 220}); // ten rows a page
    f.grid.SetFocusCell(3, 1);
    f.grid.OnKeyDown(PageDown, 0);
    EXPECT_EQ(f.grid.GetTopleftNonFixedCell().row, 11);
    EXPECT_EQ(f.grid.GetFocusCell(), CCellID(13, 1));
    f.grid.OnKeyDown(PageDown, 0);
    f.grid.OnKeyDown(PageDown, 0);
    f.grid.OnKeyDown(PageDown, 0); // the view stops at row 41
    EXPECT_EQ(f.grid.GetTopleftNonFixedCell().row, 41);
    EXPECT_EQ(f.grid.GetFocusCell(), CCellID(43, 1));
    f.grid.OnKeyDown(PageDown, 0); // no movement left: the last row
    EXPECT_EQ(f.grid.GetFocusCell(), CCellID(50, 1));
    f.grid.OnKeyDown(PageUp, 0);
    EXPECT_EQ(f.grid.GetFocusCell(), CCellID(40, 1));
    EXPECT_EQ(f.grid.GetTopleftNonFixedCell().row, 31);
    f.grid.SetScrollPos(true, 0);
    f.grid.SetFocusCell(5, 1);
    f.grid.OnKeyDown(PageUp, 0);
    EXPECT_EQ(f.grid.GetFocusCell(), CCellID(1, 1));
}

TEST(GridKeyboard, HomeAndEndWithAndWithoutCtrl)
{
    CGridFixture f(30, 12, {300, 220});
    f.grid.SetColumnWidth(1, 0);
    f.grid.SetColumnWidth(12, 0);
    f.grid.SetRowHeight(30, 0);
    f.grid.SetFocusCell(5, 5);
    f.grid.OnKeyDown(End, 0);
    EXPECT_EQ(f.grid.GetFocusCell(), CCellID(5, 11));
    EXPECT_EQ(f.grid.GetScrollPos(false), f.grid.GetScrollLimit(false));
    f.grid.OnKeyDown(Home, 0);
    EXPECT_EQ(f.grid.GetFocusCell(), CCellID(5, 2));
    EXPECT_EQ(f.grid.GetScrollPos(false), 0);
    f.grid.OnKeyDown(End, GridModifier::Ctrl);
    EXPECT_EQ(f.grid.GetFocusCell(), CCellID(29, 11));
    EXPECT_TRUE(f.grid.IsCellVisible(29, 11));
    f.grid.OnKeyDown(Home, GridModifier::Ctrl);
    EXPECT_EQ(f.grid.GetFocusCell(), CCellID(1, 2));
    EXPECT_EQ(f.grid.GetTopleftNonFixedCell(), CCellID(1, 1));
}

TEST(GridKeyboard, MovingOutOfViewScrollsTheNewCellIn)
{
    CGridFixture f(50, 3, {300, 220});
    f.grid.SetFocusCell(10, 1);
    f.grid.OnKeyDown(Down, 0);
    EXPECT_EQ(f.grid.GetTopleftNonFixedCell().row, 2);
    EXPECT_TRUE(f.grid.IsCellVisible(11, 1));
    f.grid.SetFocusCell(2, 1);
    f.grid.OnKeyDown(Up, 0);
    EXPECT_EQ(f.grid.GetTopleftNonFixedCell().row, 1);
}

TEST(GridCharacters, TypingStartsAnEditUnlessCtrlEscOrHandledTab)
{
    CGridFixture f(3, 3);
    f.grid.SetFocusCell(1, 1);
    f.grid.OnChar('7', GridModifier::Ctrl);
    f.grid.OnChar(Escape, 0);
    f.grid.OnChar(Tab, 0);
    EXPECT_EQ(f.view.m_Editors.size(), 0u);
    f.grid.OnChar('7', 0);
    ASSERT_EQ(f.view.m_Editors.size(), 1u);
    EXPECT_EQ(f.view.LastEditor()->m_Request.key, 0x37u);
    EXPECT_EQ(f.view.LastEditor()->m_Request.text, "r1c1");
    // A second character goes to the open editor.
    f.grid.OnChar('8', 0);
    EXPECT_EQ(f.view.m_Editors.size(), 1u);
    EXPECT_EQ(f.view.LastEditor()->m_Keys, std::vector<unsigned>{'8'});
    f.grid.SetHandleTabKey(false);
    f.view.LastEditor()->EndEdit();
    f.grid.OnChar(Tab, 0);
    EXPECT_EQ(f.view.m_Editors.size(), 2u);
}

TEST(GridMouse, ClickSelectsFocusesAndNotifiesInOrder)
{
    CGridFixture f(5, 5);
    f.Click(2, 3);
    EXPECT_EQ(f.grid.GetFocusCell(), CCellID(2, 3));
    EXPECT_EQ(f.grid.GetSelectedCellRange(), CCellRange(2, 3, 2, 3));
    EXPECT_EQ(f.owner.Codes(), (std::vector<std::string>{"-100@2,3", "-101@2,3", "-2@2,3"}));
    EXPECT_EQ(f.owner.m_Commands, (std::vector<std::pair<int, int>>{{1008, 0}}));
    EXPECT_EQ(f.view.m_FocusTaken, 1);
    EXPECT_TRUE(f.view.m_Timers.empty());
    EXPECT_FALSE(f.view.m_Capture);
}

TEST(GridMouse, AClickInsideAnEarlierSelectionMovesTheFocusThere)
{
    CGridFixture f(5, 5);
    f.Click(2, 2);
    f.Click(4, 4, GridModifier::Shift);
    ASSERT_EQ(f.grid.GetSelectedCount(), 9);
    f.owner.Clear();
    f.Click(3, 3);
    EXPECT_EQ(f.grid.GetFocusCell(), CCellID(3, 3));
    EXPECT_EQ(f.grid.GetSelectedCellRange(), CCellRange(3, 3, 3, 3));
    EXPECT_EQ(f.owner.Codes(), (std::vector<std::string>{"-100@3,3", "-101@3,3", "-2@3,3"}));
    // A second click there now edits that cell, not the old focus cell.
    f.Click(3, 3);
    ASSERT_NE(f.view.LastEditor(), nullptr);
    EXPECT_EQ(f.view.LastEditor()->m_Request.row, 3);
}

TEST(GridMouse, DragShiftAndCtrlBuildSelections)
{
    CGridFixture f(6, 6);
    f.grid.OnLButtonDown(f.Centre(1, 1), 0);
    EXPECT_EQ(f.view.m_Timers.at(CGridCtrl::kAutoScrollTimerId), 25);
    f.grid.OnMouseMove(f.Centre(3, 2), true);
    EXPECT_EQ(f.grid.GetFocusCell(), CCellID(3, 2));
    f.grid.OnLButtonUp(f.Centre(3, 2));
    EXPECT_EQ(f.grid.GetSelectedCellRange(), CCellRange(1, 1, 3, 2));
    EXPECT_EQ(f.grid.GetSelectedCount(), 6);
    EXPECT_TRUE(f.view.m_Timers.empty());

    // Shift-click extends from the same anchor.
    f.Click(4, 4, GridModifier::Shift);
    EXPECT_EQ(f.grid.GetSelectedCellRange(), CCellRange(1, 1, 4, 4));
    EXPECT_EQ(f.grid.GetSelectedCount(), 16);

    // Ctrl-click adds a separate cell to what was there.
    f.Click(6, 6, GridModifier::Ctrl);
    EXPECT_EQ(f.grid.GetSelectedCount(), 17);
    EXPECT_TRUE(f.grid.IsCellSelected(6, 6));
    EXPECT_TRUE(f.grid.IsCellSelected(1, 1));
    EXPECT_FALSE(f.grid.IsCellSelected(5, 5));
    // Ctrl-drag keeps the earlier cells too.
    f.grid.OnLButtonDown(f.Centre(6, 1), GridModifier::Ctrl);
    f.grid.OnMouseMove(f.Centre(6, 3), true);
    f.grid.OnLButtonUp(f.Centre(6, 3));
    EXPECT_EQ(f.grid.GetSelectedCount(), 20);
    // Ctrl-click on a selected cell takes it out.
    f.Click(2, 2, GridModifier::Ctrl);
    EXPECT_FALSE(f.grid.IsCellSelected(2, 2));
    EXPECT_EQ(f.grid.GetSelectedCount(), 19);
    EXPECT_EQ(f.grid.GetFocusCell(), CCellID(2, 2));
    // A plain click starts over.
    f.Click(5, 5);
    EXPECT_EQ(f.grid.GetSelectedCount(), 1);
}

TEST(GridMouse, HeaderClicksSelectColumnsRowsOrAll)
{
    CGridFixture f(4, 4);
    f.Click(0, 2);
    EXPECT_EQ(f.grid.GetSelectedCellRange(), CCellRange(1, 2, 4, 2));
    f.Click(0, 4, GridModifier::Shift);
    EXPECT_EQ(f.grid.GetSelectedCellRange(), CCellRange(1, 2, 4, 4));
    f.Click(3, 0);
    EXPECT_EQ(f.grid.GetSelectedCellRange(), CCellRange(3, 1, 3, 4));
    f.Click(0, 0);
    EXPECT_EQ(f.grid.GetSelectedCount(), 16);
    f.grid.SetFixedRowSelection(false);
    f.grid.SetFixedColumnSelection(false);
    f.Click(2, 2);
    f.Click(0, 3);
    f.Click(3, 0);
    EXPECT_EQ(f.grid.GetSelectedCount(), 1);

    CGridFixture list(4, 4);
    list.grid.SetListMode(true);
    list.Click(2, 3);
    EXPECT_EQ(list.grid.GetSelectedCellRange(), CCellRange(2, 1, 2, 4));
}

TEST(GridMouse, ClickOnTheFocusCellTextStartsAnEditAtRelease)
{
    CGridFixture f(3, 3);
    f.Click(2, 2);
    f.owner.Clear();
    const CGridPoint p = f.Centre(2, 2);
    f.grid.OnLButtonDown(p, 0);
    EXPECT_EQ(f.grid.GetMouseMode(), CGridMouseMode::PrepareEdit);
    EXPECT_EQ(f.view.m_Editors.size(), 0u);
    f.grid.OnLButtonUp(p);
    ASSERT_EQ(f.view.m_Editors.size(), 1u);
    EXPECT_EQ(f.view.LastEditor()->m_Request.key, GridKey::MouseStart);
    EXPECT_EQ(f.owner.Codes(), std::vector<std::string>{"-105@2,2"});
    EXPECT_EQ(f.grid.GetMouseMode(), CGridMouseMode::Nothing);
    // With Ctrl, or on a read-only cell, the click selects instead.
    f.view.LastEditor()->EndEdit();
    f.grid.SetItemState(2, 2, f.grid.GetItemState(2, 2) | GridState::ReadOnly);
    f.Click(2, 2);
    EXPECT_EQ(f.view.m_Editors.size(), 1u);
}

TEST(GridMouse, DraggingAColumnBorderResizesAndNotifies)
{
    CGridFixture f(3, 3);
    // Column 2's right border is at x = 150, in the header row.
    f.grid.OnMouseMove({149, 10}, false);
    EXPECT_EQ(f.grid.GetMouseMode(), CGridMouseMode::OverColumnDivider);
    EXPECT_EQ(f.view.m_Cursor, CGridCursor::SizeWE);
    f.grid.OnLButtonDown({149, 10}, 0);
    EXPECT_EQ(f.grid.GetMouseMode(), CGridMouseMode::SizingColumn);
    EXPECT_EQ(f.view.m_SizingLine, (CGridRect{149, 0, 151, 300}));
    f.grid.OnMouseMove({180, 12}, true);
    EXPECT_EQ(f.view.m_SizingLine, (CGridRect{180, 0, 182, 300}));
    f.grid.OnLButtonUp({180, 12});
    EXPECT_EQ(f.grid.GetColumnWidth(2), 80);
    EXPECT_FALSE(f.view.m_SizingLine.has_value());
    EXPECT_EQ(f.owner.Codes(), std::vector<std::string>{"6025@0,2"});
    EXPECT_EQ(f.view.m_Cursor, CGridCursor::Arrow);

    // Just right of a border still grabs the column on the left; the pointer
    // cannot go left of that column's left edge.
    f.owner.Clear();
    f.grid.OnLButtonDown({181, 10}, 0);
    f.grid.OnMouseMove({20, 10}, true);
    EXPECT_EQ(f.view.m_SizingLine->left, 101);
    f.grid.OnLButtonUp({20, 10});
    EXPECT_EQ(f.grid.GetColumnWidth(2), 1);

    // Releasing where it was pressed changes nothing and says nothing.
    f.owner.Clear();
    f.grid.OnLButtonDown({149, 10}, 0);
    f.grid.OnLButtonUp({149, 10});
    EXPECT_EQ(f.grid.GetColumnWidth(3), 50);
    EXPECT_EQ(f.owner.Count(GridNotifyColumnResized), 0);

    // Past the last column's border sizes the last column.
    CGridFixture g(3, 3);
    g.grid.OnLButtonDown({201, 10}, 0);
    EXPECT_EQ(g.grid.GetMouseMode(), CGridMouseMode::SizingColumn);
    g.grid.OnLButtonUp({230, 10});
    EXPECT_EQ(g.grid.GetColumnWidth(3), 80);
}

TEST(GridMouse, RightButtonDuringABorderDragEndsItWithoutResizing)
{
    CGridFixture f(3, 3);
    f.grid.OnLButtonDown({149, 10}, 0);
    f.grid.OnMouseMove({180, 12}, true);
    ASSERT_TRUE(f.view.m_SizingLine.has_value());
    f.grid.OnRButtonUp({180, 12});
    EXPECT_FALSE(f.view.m_SizingLine.has_value()); // no inverted line left on screen
    EXPECT_EQ(f.grid.GetMouseMode(), CGridMouseMode::Nothing);
    EXPECT_EQ(f.view.m_Cursor, CGridCursor::Arrow);
    f.grid.OnLButtonUp({180, 12});
    EXPECT_EQ(f.grid.GetColumnWidth(2), 50);
    EXPECT_EQ(f.owner.Count(GridNotifyColumnResized), 0);
}

TEST(GridMouse, DraggingARowBorderResizesWithoutNotification)
{
    CGridFixture f(3, 3);
    f.grid.OnLButtonDown({20, 59}, 0); // bottom of row 2 in the fixed column
    EXPECT_EQ(f.grid.GetMouseMode(), CGridMouseMode::SizingRow);
    f.grid.OnLButtonUp({20, 70});
    EXPECT_EQ(f.grid.GetRowHeight(2), 30);
    EXPECT_EQ(f.owner.Count(GridNotifyColumnResized), 0);
    f.grid.OnMouseMove({20, 89}, false);
    EXPECT_EQ(f.grid.GetMouseMode(), CGridMouseMode::OverRowDivider);
    EXPECT_EQ(f.view.m_Cursor, CGridCursor::SizeNS);
    f.grid.SetRowResize(false);
    f.grid.OnMouseMove({20, 88}, false);
    EXPECT_EQ(f.grid.GetMouseMode(), CGridMouseMode::Nothing);
    EXPECT_EQ(f.view.m_Cursor, CGridCursor::Arrow);
}

TEST(GridMouse, ColumnsThatMayNotHideStopAtOnePixelAndSkipHiddenOnes)
{
    CGridFixture f(3, 3);
    f.grid.EnableHiddenColUnhide(false);
    f.grid.SetColumnWidth(2, 0);
    // The border at x = 100 ends both column 1 and the hidden column 2.
    f.grid.OnLButtonDown({101, 10}, 0);
    f.grid.OnLButtonUp({130, 10});
    EXPECT_EQ(f.grid.GetColumnWidth(1), 80);
    EXPECT_EQ(f.grid.GetColumnWidth(2), 0);
}

TEST(GridMouse, DoubleClickAutoSizesAtABorderAndEditsOnACell)
{
    CGridFixture f(3, 3);
    f.grid.SetItemText(2, 1, "twelve chars"); // 84 + 2 * 7
    f.grid.OnLButtonDblClk({99, 10}, 0);
    EXPECT_EQ(f.grid.GetColumnWidth(1), 98);

    f.owner.Clear();
    f.grid.OnLButtonDblClk(f.Centre(2, 2), 0);
    ASSERT_EQ(f.view.m_Editors.size(), 1u);
    EXPECT_EQ(f.view.LastEditor()->m_Request.row, 2);
    EXPECT_EQ(f.owner.Codes(), (std::vector<std::string>{"-105@2,2", "-3@2,2"}));

    f.owner.Clear();
    f.grid.OnLButtonDblClk(f.Centre(2, 0), 0); // a fixed cell: no edit
    EXPECT_EQ(f.owner.Codes(), std::vector<std::string>{"-3@2,0"});
}

TEST(GridMouse, RightClickMovesFocusIntoTheCellsAndNotifies)
{
    CGridFixture f(3, 3);
    f.grid.OnRButtonUp(f.Centre(2, 0));
    EXPECT_EQ(f.grid.GetFocusCell(), CCellID(2, 1));
    f.grid.OnRButtonUp({390, 290});
    EXPECT_EQ(f.owner.Codes(), (std::vector<std::string>{"-5@2,0", "-5@-1,-1"}));
}

TEST(GridMouse, AutoScrollTimerExtendsTheSelectionPastTheEdge)
{
    CGridFixture f(50, 3, {300, 220});
    f.grid.OnLButtonDown(f.Centre(8, 1), 0);
    f.view.m_Pointer = {60, 260}; // below the window
    f.grid.OnTimer(CGridCtrl::kAutoScrollTimerId);
    f.grid.OnTimer(CGridCtrl::kAutoScrollTimerId);
    EXPECT_EQ(f.grid.GetFocusCell(), CCellID(10, 1));
    EXPECT_EQ(f.grid.GetTopleftNonFixedCell().row, 1);
    f.grid.OnTimer(CGridCtrl::kAutoScrollTimerId);
    EXPECT_EQ(f.grid.GetFocusCell(), CCellID(11, 1));
    EXPECT_EQ(f.grid.GetTopleftNonFixedCell().row, 2);
    EXPECT_EQ(f.grid.GetSelectedCellRange(), CCellRange(8, 1, 11, 1));
    f.grid.OnLButtonUp({60, 219});
    EXPECT_TRUE(f.view.m_Timers.empty());

    // A window squeezed to nothing still steps the focus and clamps into no cell.
    f.grid.OnLButtonDown(f.Centre(5, 1), 0);
    f.view.m_Client = {0, 0};
    f.view.m_Pointer = {60, 10}; // below and right of an empty window
    f.grid.OnTimer(CGridCtrl::kAutoScrollTimerId);
    EXPECT_EQ(f.grid.GetFocusCell(), CCellID(6, 2));
    EXPECT_EQ(f.grid.GetSelectedCellRange(), CCellRange(5, 1, 5, 1));
}

TEST(GridMouse, SortOnClickSortsAndFlipsOnTheSameHeader)
{
    CGridFixture f(3, 2);
    f.grid.SetSortOnClick(true);
    f.grid.SetItemText(1, 1, "b");
    f.grid.SetItemText(2, 1, "c");
    f.grid.SetItemText(3, 1, "a");
    f.Click(0, 1);
    EXPECT_EQ(f.grid.GetSortColumn(), 1);
    EXPECT_TRUE(f.grid.GetSortAscending());
    EXPECT_EQ(f.grid.GetItemText(1, 1) + f.grid.GetItemText(2, 1) + f.grid.GetItemText(3, 1), "abc");
    EXPECT_EQ(f.grid.GetSelectedCellRange(), CCellRange(1, 1, 3, 1)); // and the column is selected
    f.Click(0, 1);
    EXPECT_FALSE(f.grid.GetSortAscending());
    EXPECT_EQ(f.grid.GetItemText(1, 1) + f.grid.GetItemText(2, 1) + f.grid.GetItemText(3, 1), "cba");
    f.Click(0, 2);
    EXPECT_TRUE(f.grid.GetSortAscending());
    EXPECT_EQ(f.grid.GetSortColumn(), 2);
}

} // namespace
