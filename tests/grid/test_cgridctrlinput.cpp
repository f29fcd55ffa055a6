// Keyboard navigation, character input, the mouse modes and the wheel/timer.

#include "grid/gridfakes.h"

#include <gtest/gtest.h>

namespace {

using namespace GridKey;
constexpr unsigned kShift = GridModifier::Shift, kCtrl = GridModifier::Ctrl;

// A key, its modifiers, and the focus cell after it.
struct KeyStep {
    unsigned key, mods;
    CCellID focus;
};

void Press(CGridFixture& f, std::initializer_list<KeyStep> steps)
{
    for (const KeyStep& s : steps) {
        f.grid.OnKeyDown(s.key, s.mods);
        EXPECT_EQ(f.grid.GetFocusCell(), s.focus) << "key " << (s.key - Base) << " mods " << s.mods;
    }
}

TEST(GridKeyboard, ArrowsAndTabSkipHiddenLinesStayOutOfFixedBandsAndWrap)
{
    CGridFixture f(5, 5);
    f.grid.SetRowHeight(3, 0);
    f.grid.SetColumnWidth(3, 0);
    f.grid.SetFocusCell(2, 2);
    Press(f, {{Down, 0, {4, 2}}, {Right, 0, {4, 4}}, {Up, 0, {2, 4}}, {Up, 0, {1, 4}}, {Up, 0, {1, 4}},
              {Left, 0, {1, 2}}, {Left, 0, {1, 1}}, {Left, 0, {1, 1}}, {End, kCtrl, {5, 5}}, {Down, 0, {5, 5}},
              {Right, 0, {5, 5}}});
    EXPECT_EQ(f.grid.GetSelectedCellRange(), CCellRange(5, 5, 5, 5));
    CGridFixture unfocused(3, 3); // nowhere to go is handled; an unknown key or no focus is not
    EXPECT_EQ(Nums(f.grid.OnKeyDown(Down, 0), f.grid.OnKeyDown('Q', 0), unfocused.grid.OnKeyDown(Down, 0)), "1 0 0");

    CGridFixture t(3, 3);
    t.grid.SetColumnWidth(1, 0);
    t.grid.SetFocusCell(1, 3);
    Press(t, {{Tab, 0, {2, 2}}, {Tab, 0, {2, 3}}, {Tab, kShift, {2, 2}}, {Tab, kShift, {1, 3}}});
    // Shift+Tab sets the selection start like Tab does: one cell selected.
    EXPECT_EQ(t.grid.GetSelectedCellRange(), CCellRange(1, 3, 1, 3));
    t.grid.SetFocusCell(3, 3); // leaves the grid at the ends
    EXPECT_FALSE(t.grid.OnKeyDown(Tab, 0));
    EXPECT_EQ(t.grid.GetFocusCell(), CCellID(3, 3));
    t.grid.SetFocusCell(1, 2);
    EXPECT_FALSE(t.grid.OnKeyDown(Tab, kShift));
}

TEST(GridKeyboard, ShiftExtendsFromTheSelectionStartAndMovesNotify)
{
    CGridFixture f(5, 5);
    f.grid.SetFocusCell(2, 2);
    // Key, modifiers; the state after.
    const std::tuple<unsigned, unsigned, const char*> steps[] = {
        {Right, 0, "focus 2,3 sel 2,3-2,3/1"},     {Down, kShift, "focus 3,3 sel 2,3-3,3/2"},
        {Down, kShift, "focus 4,3 sel 2,3-4,3/3"}, {Left, kShift, "focus 4,2 sel 2,2-4,3/6"},
        {Up, 0, "focus 3,2 sel 3,2-3,2/1"},
    };
    for (const auto& [key, mods, state] : steps) {
        f.grid.OnKeyDown(key, mods);
        EXPECT_EQ(f.State(), state);
    }
    EXPECT_EQ(f.owner.Codes(), "-101@3,3 -101@4,3 -101@3,2");
    f.grid.SetListMode(true);
    f.grid.OnKeyDown(Down, 0);
    EXPECT_EQ(f.State(), "focus 4,2 sel 4,1-4,5/5");
}

TEST(GridKeyboard, PageHomeAndEndMoveAndScrollTheNewCellIn)
{
    CGridFixture f(50, 3, {300, 220}); // ten rows a page
    f.grid.SetFocusCell(3, 1);
    // Focus set first (-1: kept), the key; the focus and the top row after it.
    const std::tuple<int, unsigned, int, int> steps[] = {
        {-1, PageDown, 13, 11}, {-1, PageDown, 23, 21}, {-1, PageDown, 33, 31},
        {-1, PageDown, 43, 41}, // the view stops at row 41
        {-1, PageDown, 50, 41}, // no movement left: the last row
        {-1, PageUp, 40, 31},   {5, PageUp, 1, 1}, {10, Down, 11, 2}, {2, Up, 1, 1},
    };
    for (auto [from, key, focus, top] : steps) {
        if (from > 0) {
            f.grid.SetScrollPos(true, 0);
            f.grid.SetFocusCell(from, 1);
        }
        f.grid.OnKeyDown(key, 0);
        EXPECT_EQ(Nums(f.grid.GetFocusCell().row, f.grid.GetFocusCell().col, f.grid.GetTopleftNonFixedCell().row),
                  Nums(focus, 1, top));
    }
    CGridFixture h(30, 12, {300, 220});
    h.grid.SetColumnWidth(1, 0);
    h.grid.SetColumnWidth(12, 0);
    h.grid.SetRowHeight(30, 0);
    h.grid.SetFocusCell(5, 5);
    Press(h, {{End, 0, {5, 11}}});
    EXPECT_EQ(h.grid.GetScrollPos(false), h.grid.GetScrollLimit(false));
    Press(h, {{Home, 0, {5, 2}}});
    EXPECT_EQ(h.grid.GetScrollPos(false), 0);
    Press(h, {{End, kCtrl, {29, 11}}});
    EXPECT_TRUE(h.grid.IsCellVisible(29, 11));
    Press(h, {{Home, kCtrl, {1, 2}}});
    EXPECT_EQ(h.grid.GetTopleftNonFixedCell(), CCellID(1, 1));
}

TEST(GridCharacters, TypingStartsAnEditUnlessCtrlEscOrHandledTab)
{
    CGridFixture f(3, 3);
    f.grid.SetFocusCell(1, 1);
    const std::pair<unsigned, unsigned> typed[] = {{'7', kCtrl}, {Escape, 0}, {Tab, 0}, {'7', 0}, {'8', 0}};
    for (auto [character, mods] : typed)
        f.grid.OnChar(character, mods); // only the plain '7' opens; the '8' goes to the open editor
    ASSERT_EQ(f.view.m_Editors.size(), 1u);
    const CFakeEditor& e = *f.view.LastEditor();
    EXPECT_EQ(Nums(e.m_Request.key, e.m_Keys.size(), e.m_Keys.at(0)) + " " + e.m_Request.text, "55 1 56 r1c1");
    f.grid.SetHandleTabKey(false);
    f.view.LastEditor()->EndEdit();
    f.grid.OnChar(Tab, 0);
    EXPECT_EQ(f.view.m_Editors.size(), 2u);
}

TEST(GridMouse, ClicksSelectFocusAndNotifyInOrder)
{
    CGridFixture f(6, 6);
    f.Click(2, 3);
    EXPECT_EQ(f.State() + " " + f.owner.Codes(), "focus 2,3 sel 2,3-2,3/1 -100@2,3 -101@2,3 -2@2,3");
    EXPECT_EQ(f.owner.m_Commands, (std::vector<std::pair<int, int>>{{1008, 0}}));
    EXPECT_EQ(Nums(f.view.m_FocusTaken, f.view.m_Timers.size(), f.view.m_Capture), "1 0 0");

    // Selection count after each click or drag (from, to, modifiers).
    const std::tuple<CCellID, CCellID, unsigned, int> steps[] = {
        {{1, 1}, {3, 2}, 0, 6},       // a drag
        {{4, 4}, {4, 4}, kShift, 16}, // Shift extends from the same anchor
        {{6, 6}, {6, 6}, kCtrl, 17},  // Ctrl adds a cell
        {{6, 1}, {6, 3}, kCtrl, 20},  // a Ctrl drag keeps the earlier cells
        {{2, 2}, {2, 2}, kCtrl, 19},  // Ctrl on a selected cell takes it out
        {{5, 5}, {5, 5}, 0, 1},       // a plain click starts over
    };
    for (const auto& [from, to, mods, count] : steps) {
        f.grid.OnLButtonDown(f.Centre(from.row, from.col), mods);
        if (mods == 0 && from.row == 1) { // a plain press arms the auto-scroll timer
            EXPECT_EQ(f.view.m_Timers[CGridCtrl::kAutoScrollTimerId], 25);
        }
        f.grid.OnMouseMove(f.Centre(to.row, to.col), true);
        f.grid.OnLButtonUp(f.Centre(to.row, to.col));
        EXPECT_EQ(Nums(f.grid.GetSelectedCount(), f.grid.GetFocusCell().row, f.grid.GetFocusCell().col,
                       f.view.m_Timers.size()), Nums(count, to.row, to.col, 0));
    }

    // A click inside an earlier selection moves the focus there; a second one edits it.
    f.Click(2, 2);
    f.Click(4, 4, kShift);
    f.owner.Clear();
    f.Click(3, 3);
    EXPECT_EQ(f.State() + " " + f.owner.Codes(), "focus 3,3 sel 3,3-3,3/1 -100@3,3 -101@3,3 -2@3,3");
    f.Click(3, 3);
    ASSERT_NE(f.view.LastEditor(), nullptr);
    EXPECT_EQ(f.view.LastEditor()->m_Request.row, 3);
}

TEST(GridMouse, HeaderClicksSelectColumnsRowsOrAll)
{
    CGridFixture f(4, 4);
    const std::tuple<CCellID, unsigned, CCellRange> clicks[] = {
        {{0, 2}, 0, {1, 2, 4, 2}}, {{0, 4}, kShift, {1, 2, 4, 4}}, {{3, 0}, 0, {3, 1, 3, 4}},
        {{0, 0}, 0, {1, 1, 4, 4}}};
    for (auto [cell, mods, range] : clicks) {
        f.Click(cell.row, cell.col, mods);
        EXPECT_EQ(f.grid.GetSelectedCellRange(), range);
    }
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

TEST(GridMouse, ClickOnTheFocusCellStartsAnEditAtRelease)
{
    CGridFixture f(3, 3);
    f.Click(2, 2);
    f.owner.Clear();
    f.grid.OnLButtonDown(f.Centre(2, 2), 0);
    EXPECT_EQ(Nums(static_cast<int>(f.grid.GetMouseMode()), f.view.m_Editors.size()), "10 0"); // preparing the edit
    f.grid.OnLButtonUp(f.Centre(2, 2));
    ASSERT_EQ(f.view.m_Editors.size(), 1u);
    EXPECT_EQ(Nums(f.view.LastEditor()->m_Request.key, static_cast<int>(f.grid.GetMouseMode())) + " " + f.owner.Codes(),
              Nums(GridKey::MouseStart, 0) + " -105@2,2");
    f.view.LastEditor()->EndEdit();
    f.Click(2, 2, kCtrl); // with Ctrl, or on a read-only cell, the click selects
    f.Click(2, 2, kCtrl);
    f.ReadOnly(2, 2);
    f.Click(2, 2);
    EXPECT_EQ(f.view.m_Editors.size(), 1u);
}

// "mode M cursor C line l,t,r,b" (or "no line"): what a border drag shows.
std::string Sizing(const CGridFixture& f)
{
    const auto& line = f.view.m_SizingLine;
    return "mode " + Nums(static_cast<int>(f.grid.GetMouseMode())) + " cursor " +
           Nums(static_cast<int>(f.view.m_Cursor)) +
           (line ? " line " + Nums(line->left, line->top, line->right, line->bottom) : " no line");
}

TEST(GridMouse, DraggingBordersResizesColumnsAndRows)
{
    CGridFixture f(3, 3);
    // Column 2's right border is at x = 150, in the header row: over the divider, pressed,
    // moved and released; what the user sees after each.
    f.grid.OnMouseMove({149, 10}, false);
    const std::string over = Sizing(f);
    f.grid.OnLButtonDown({149, 10}, 0);
    const std::string pressed = Sizing(f);
    f.grid.OnMouseMove({180, 12}, true);
    const std::string moved = Sizing(f);
    f.grid.OnLButtonUp({180, 12});
    EXPECT_EQ(over + "|" + pressed + "|" + moved + "|" + Sizing(f) + " width " + Nums(f.grid.GetColumnWidth(2)) +
                  " " + f.owner.Codes(),
              "mode 8 cursor 1 no line|mode 9 cursor 1 line 149 0 151 300|mode 9 cursor 1 line 180 0 182 300|"
              "mode 0 cursor 0 no line width 80 6025@0,2");

    // Press, move, release x; the column it sizes and its width after; whether a
    // hidden column may be unhidden (column 2 hidden first when not).
    const std::tuple<int, int, int, int, int, bool> drags[] = {
        {151, 20, 20, 2, 1, true},     // right of a border grabs the column on its left, down to 1 pixel
        {149, 149, 149, 3, 50, true},  // released where pressed: no change
        {201, 230, 230, 3, 80, true},  // past the last border sizes the last column
        {101, 130, 130, 1, 80, false}, // a hidden column 2 shares border 100 but stays hidden
    };
    for (const auto& [press, move, release, col, width, unhide] : drags) {
        CGridFixture g(3, 3);
        g.grid.EnableHiddenColUnhide(unhide);
        if (!unhide)
            g.grid.SetColumnWidth(2, 0);
        g.grid.OnLButtonDown({press, 10}, 0);
        EXPECT_EQ(g.grid.GetMouseMode(), CGridMouseMode::SizingColumn);
        g.grid.OnMouseMove({move, 10}, true);
        g.grid.OnLButtonUp({release, 10});
        EXPECT_EQ(Nums(g.grid.GetColumnWidth(col), g.owner.Count(GridNotifyColumnResized), g.grid.GetColumnWidth(2)),
                  Nums(width, width == 50 ? 0 : 1, col == 2 ? width : unhide ? 50 : 0)) << press;
    }

    // The right button during a drag ends it, leaving no line on screen.
    f.owner.Clear();
    f.grid.OnLButtonDown({149, 10}, 0);
    f.grid.OnMouseMove({180, 12}, true);
    f.grid.OnRButtonUp({180, 12});
    EXPECT_EQ(Sizing(f).substr(0, 6) + Sizing(f).substr(15), "mode 0 no line");
    f.grid.OnLButtonUp({180, 12});
    EXPECT_EQ(f.grid.GetColumnWidth(2), 80);
    f.grid.OnLButtonDown({20, 59}, 0); // bottom of row 2 in the fixed column
    EXPECT_EQ(f.grid.GetMouseMode(), CGridMouseMode::SizingRow);
    f.grid.OnLButtonUp({20, 70});
    EXPECT_EQ(Nums(f.grid.GetRowHeight(2), f.owner.Count(GridNotifyColumnResized)), "30 0");
    f.grid.OnMouseMove({20, 89}, false);
    EXPECT_EQ(f.view.m_Cursor, CGridCursor::SizeNS);
    f.grid.SetRowResize(false);
    f.grid.OnMouseMove({20, 88}, false);
    EXPECT_EQ(Sizing(f), "mode 0 cursor 0 no line");
}

TEST(GridMouse, DoubleAndRightClicks)
{
    CGridFixture f(3, 3);
    f.grid.SetItemText(2, 1, "twelve chars"); // 84 + 2 * 7
    f.grid.OnLButtonDblClk({99, 10}, 0);      // on a border: fit the column
    EXPECT_EQ(f.grid.GetColumnWidth(1), 98);
    f.owner.Clear();
    f.grid.OnLButtonDblClk(f.Centre(2, 2), 0);
    ASSERT_EQ(f.view.m_Editors.size(), 1u);
    EXPECT_EQ(f.view.LastEditor()->m_Request.row, 2);
    f.grid.OnLButtonDblClk(f.Centre(2, 0), 0); // a fixed cell: no edit
    f.grid.OnRButtonUp(f.Centre(2, 0));        // the focus moves into the cells
    EXPECT_EQ(f.grid.GetFocusCell(), CCellID(2, 1));
    f.grid.OnRButtonUp({390, 290});
    EXPECT_EQ(f.owner.Codes(), "-105@2,2 -3@2,2 -3@2,0 -5@2,0 -5@-1,-1");
}

TEST(GridMouse, AutoScrollTimerExtendsTheSelectionPastTheEdge)
{
    CGridFixture f(50, 3, {300, 220});
    f.grid.OnLButtonDown(f.Centre(8, 1), 0);
    f.view.m_Pointer = {60, 260}; // below the window
    for (const char* focusAndTop : {"9 1 1", "10 1 1", "11 1 2"}) {
        f.grid.OnTimer(CGridCtrl::kAutoScrollTimerId);
        EXPECT_EQ(Nums(f.grid.GetFocusCell().row, f.grid.GetFocusCell().col, f.grid.GetTopleftNonFixedCell().row),
                  focusAndTop);
    }
    EXPECT_EQ(f.State(), "focus 11,1 sel 8,1-11,1/4");
    f.grid.OnLButtonUp({60, 219});
    EXPECT_TRUE(f.view.m_Timers.empty());

    // A window squeezed to nothing still steps the focus and clamps into no cell.
    f.grid.OnLButtonDown(f.Centre(5, 1), 0);
    f.view.m_Client = {0, 0};
    f.view.m_Pointer = {60, 10};
    f.grid.OnTimer(CGridCtrl::kAutoScrollTimerId);
    EXPECT_EQ(f.State(), "focus 6,2 sel 5,1-5,1/1");
}

TEST(GridMouse, SortOnClickSortsAndFlipsOnTheSameHeader)
{
    CGridFixture f(3, 2);
    f.grid.SetSortOnClick(true);
    for (int row = 1; row <= 3; ++row)
        f.grid.SetItemText(row, 1, std::string(1, "bca"[row - 1]));
    // The sort column and direction and column 1 after each header click; the column is selected.
    const std::pair<int, const char*> clicks[] = {{1, "1+ a b c "}, {1, "1- c b a "}, {2, "2+ b c a "}};
    for (const auto& [col, sorted] : clicks) {
        f.Click(0, col);
        EXPECT_EQ(std::to_string(f.grid.GetSortColumn()) + (f.grid.GetSortAscending() ? "+ " : "- ") + f.Column(1),
                  sorted);
        EXPECT_EQ(f.grid.GetSelectedCellRange(), CCellRange(1, col, 3, col));
    }
}

} // namespace
