// Table operations, selection bookkeeping, geometry, scrolling and painting.

#include "grid/gridscript.h"

#include <gtest/gtest.h>

#include <functional>

namespace {

TEST(GridTable, CountsFixedBandsAndCellKinds)
{
    CGridCtrl bare; // no screen to measure on: the fixed fallback sizes
    const CGridDefaultCell& def = bare.GetDefaultCell(false, false);
    EXPECT_EQ(Nums(bare.GetSortColumn(), def.GetMargin(), def.GetWidth(), def.GetHeight()),
              "-1 3 40 16");
    EXPECT_TRUE(bare.SetFixedRowCount(2));
    EXPECT_EQ(bare.GetRowCount(), 2);
    bare.SetColumnCount(3);
    bare.SetRowCount(4);
    bare.SetItemBkColour(1, 1, 0x123456);
    bare.SetItemBkColour(2, 1, 0x654321);
    bare.SetFixedRowCount(3); // row 2 joins the band and takes its look
    EXPECT_EQ(bare.GetItemState(2, 1), GridState::Fixed | GridState::FixedRow);
    EXPECT_EQ(bare.GetCell(2, 1)->GetBackClr(), bare.GetDefaultCell(true, false).GetBackClr());
    EXPECT_EQ(bare.GetCell(1, 1)->GetBackClr(), 0x123456u);
    bare.SetFixedColumnCount(1);
    bare.SetFixedRowCount(1);
    EXPECT_EQ(Nums(bare.GetItemState(1, 1), bare.GetItemState(1, 0), bare.GetItemState(0, 0)),
              Nums(0u, GridState::Fixed | GridState::FixedCol,
                   GridState::Fixed | GridState::FixedRow | GridState::FixedCol));

    CGridFixture f(4, 3);
    f.grid.SetModified(false);
    f.grid.SetFocusCell(4, 3);
    EXPECT_TRUE(f.grid.SetRowCount(3));
    EXPECT_EQ(f.State().substr(0, 11) + " | " + f.Column(1) + "| " +
                  std::to_string(f.grid.GetModified()),
              "focus -1,-1 | r1c1 r2c1 | 1"); // the focus row fell outside
    EXPECT_TRUE(f.grid.SetColumnCount(6) && !f.grid.SetRowCount(-1) &&
                !f.grid.SetItemText(99, 0, "x"));
    EXPECT_EQ(Nums(f.grid.GetItemState(0, 5)) + f.grid.GetItemText(0, 5) +
                  f.grid.GetItemText(99, 0),
              Nums(GridState::Fixed | GridState::FixedRow));
    f.grid.SetRowCount(0); // below the fixed band: the band shrinks
    EXPECT_EQ(f.grid.GetFixedRowCount(), 0);
}

TEST(GridTable, InsertAndDeleteRowsKeepFocusAndSelectionRight)
{
    CGridFixture f(4, 3);
    f.grid.SetFocusCell(3, 2);
    f.grid.SetSelectedRange(3, 2, 3, 2);
    f.grid.SetModified(false);
    EXPECT_EQ(f.grid.InsertRow("new", 2), 2);
    EXPECT_EQ(f.State() + " " + f.Column(2) + f.grid.GetItemText(2, 0) + "|" +
                  f.grid.GetItemText(2, 1) + "|" +
                  Nums(f.grid.GetModified(), f.grid.GetItemState(4, 2)),
              "focus 4,2 sel 4,2-4,2/1 r1c2  r2c2 r3c2 r4c2 new||" +
                  Nums(1, GridState::Focused | GridState::Selected));
    f.grid.InsertRow("again", 4); // at the focus row's own index: above it
    EXPECT_EQ(f.grid.GetItemText(f.grid.GetFocusCell().row, 2), "r3c2");
    EXPECT_EQ(f.grid.InsertRow("tail"), 7);
    for (int bad : {0, 99, -2}) // only -1 means "append"
        EXPECT_EQ(f.grid.InsertRow("no", bad), -1) << bad;
    EXPECT_EQ(Nums(f.grid.GetRowCount()) + f.grid.GetItemText(7, 0), "8tail");
    CGridCtrl empty;
    EXPECT_EQ(empty.InsertRow("only"), 0);
    EXPECT_EQ(Nums(empty.GetColumnCount()) + " " + empty.GetItemText(0, 0), "1 only");

    CGridFixture d(4, 3);
    d.grid.SetFocusCell(2, 2);
    d.grid.SetSelectedRange(1, 1, 3, 3);
    EXPECT_TRUE(d.grid.DeleteRow(2));
    EXPECT_EQ(d.State() + " " + d.Column(1) + Nums(d.grid.GetItemState(2, 2)),
              "focus -1,-1 sel 4,4--1,-1/0 r1c1 r3c1 r4c1 0");
    EXPECT_TRUE(d.grid.DeleteRow(0) && !d.grid.DeleteRow(4));
    EXPECT_EQ(d.grid.GetFixedRowCount(), 0);
}

TEST(GridTable, HeaderOnlyAndEmptyGridsTakeEveryInputWithoutHarm)
{
    CGridFixture f(0, 3); // one fixed row over four columns
    f.grid.SetFocusCell(0, 2);
    f.grid.SetFocusCell(5, 1); // out of range: refused
    f.grid.SetFocusCell(0, 9);
    EXPECT_EQ(f.grid.GetFocusCell(), CCellID(0, 2));
    EXPECT_EQ(f.grid.GetItemState(0, 2) & GridState::Focused, GridState::Focused);
    const std::pair<unsigned, unsigned> keys[] = {{GridKey::Home, GridModifier::Ctrl},
                                                  {GridKey::Home, 0}};
    for (auto [key, mods] : keys) {
        EXPECT_TRUE(f.grid.OnKeyDown(key, mods));
        EXPECT_EQ(f.grid.GetFocusCell(), CCellID(0, 2)); // no non-fixed row to go to
    }
    for (unsigned key : {GridKey::End, GridKey::PageDown, GridKey::Down})
        EXPECT_TRUE(f.grid.OnKeyDown(key, key == GridKey::End ? GridModifier::Ctrl : 0));
    EXPECT_EQ(f.grid.GetFocusCell(), CCellID(0, 3)); // the last row is the header
    f.grid.OnMouseWheel(-120);
    f.grid.ScrollLines(true, 2);
    f.grid.OnEditSelectAll();
    f.view.m_Clipboard = "a\tb";
    f.grid.SetFocusCell(-1, -1);
    f.grid.OnEditPaste();
    EXPECT_EQ(Nums(f.grid.GetScrollPos(true), f.grid.GetSelectedCount()) + " " +
                  f.grid.GetItemText(0, 1),
              "0 0 r0c1");

    CGridFixture e(-1); // nothing at all
    e.grid.OnMouseWheel(-240);
    e.grid.ScrollPages(true, 1);
    e.grid.OnLButtonDown({10, 10}, 0);
    e.grid.OnLButtonUp({10, 10});
    e.grid.OnLButtonDblClk({10, 10}, 0);
    e.grid.OnRButtonUp({10, 10});
    e.grid.OnEditSelectAll();
    e.grid.OnEditPaste();
    e.view.m_Pointer = {10, 500};
    e.grid.OnTimer(CGridCtrl::kAutoScrollTimerId);
    EXPECT_TRUE(!e.grid.CopyTextFromGrid() && !e.grid.SortItems(0, true));
    CRecordingPainter painter;
    e.grid.OnDraw(painter);
    EXPECT_EQ(Nums(e.owner.m_Commands.size(), painter.m_Texts.size()) + " " +
                  painter.m_Ops.front() + " " + e.owner.Codes(),
              "0 0 fill 0,0,400,300 #a0a0a0 -101@-1,-1 -2@-1,-1 -5@-1,-1 -100@-1,-1 -101@-1,-1");
}

TEST(GridSelection, StateFlagsRangesAndRepaints)
{
    CGridFixture f(20, 5, {300, 120}); // rows 1..4 and columns 1..4 (partly) visible
    f.grid.SetItemState(2, 3, GridState::Selected);
    f.grid.SetItemState(3, 1, GridState::Selected | GridState::ReadOnly);
    // Column-major order of the packed key.
    EXPECT_EQ(f.Selected(), (std::vector<CCellID>{CCellID(3, 1), CCellID(2, 3)}));
    EXPECT_EQ(f.grid.GetSelectedCellRange(), CCellRange(2, 1, 3, 3));
    f.grid.SetItemState(2, 3, 0);
    EXPECT_EQ(f.Selected(), std::vector<CCellID>{CCellID(3, 1)});
    EXPECT_EQ(Nums(f.grid.IsCellEditable(3, 1), f.grid.IsCellEditable(2, 3)), "0 1");
    f.grid.ResetSelectedRange();
    const std::string reset = f.State();
    f.grid.SetSelectedRange(0, 0, 1, 2); // out of the fixed bands
    EXPECT_EQ(reset + " | " + f.State(),
              "focus -1,-1 sel 21,6--1,-1/0 | focus -1,-1 sel 1,1-1,2/2");
    f.grid.SetSelectedRange(-1, -1, -1, -1);
    EXPECT_EQ(f.grid.GetSelectedCount(), 0);
    f.grid.SetSelectedRange(2, 2, 3, 3);
    f.grid.SetSelectedRange(3, 3, 3, 3, false, false); // merged with what was there
    EXPECT_EQ(f.Selected(), (std::vector<CCellID>{{2, 2}, {3, 2}, {2, 3}}));

    // Only cells whose flag changed are repainted, and only visible ones.
    f.grid.SetSelectedRange(1, 1, 2, 2);
    f.view.m_Invalidated.clear();
    f.grid.SetSelectedRange(1, 1, 3, 2);
    EXPECT_EQ(f.view.m_Invalidated,
              (std::vector<CGridRect>{{50, 60, 100, 80}, {100, 60, 150, 80}}));
    f.view.m_Invalidated.clear();
    f.grid.SetSelectedRange(15, 1, 20, 5);
    EXPECT_EQ(Nums(f.view.m_Invalidated.size(), f.grid.GetSelectedCount()),
              "6 30"); // rows 1..3 lost the flag

    f.grid.EnableSelection(false);
    f.grid.SetSelectedRange(1, 1, 2, 2);
    f.grid.SetEditable(false);
    EXPECT_EQ(Nums(f.grid.GetSelectedCount(), f.grid.IsCellEditable(2, 3)), "0 0");
}

TEST(GridGeometry, HitTestingFollowsSizesScrollingAndHiddenColumns)
{
    CGridFixture f(40, 10, {300, 200});
    const std::pair<CGridPoint, CCellID> hits[] = {
        {{10, 10}, {0, 0}}, {{60, 25}, {1, 1}}, {{99, 39}, {1, 1}}, {{100, 40}, {2, 2}}};
    for (auto [point, cell] : hits)
        EXPECT_EQ(f.grid.GetCellFromPt(point), cell) << point.x;
    f.grid.SetColumnWidth(2, 0);
    EXPECT_EQ(f.grid.GetCellFromPt({100, 40}), CCellID(2, 3));
    f.grid.SetColumnWidth(2, 50);
    f.grid.SetScrollPos(true, 100); // five rows of 20
    f.grid.SetScrollPos(false, 75); // not on a border: the next column starts the view
    EXPECT_EQ(f.grid.GetTopleftNonFixedCell(), CCellID(6, 3));
    const std::pair<CGridPoint, CCellID> scrolled[] = {
        {{60, 25}, {6, 3}}, {{10, 25}, {6, 0}}, {{60, 5}, {0, 3}}};
    for (auto [point, cell] : scrolled)
        EXPECT_EQ(f.grid.GetCellFromPt(point), cell) << point.x;
    CGridPoint origin; // (5, 3) is scrolled away
    EXPECT_TRUE(!f.grid.GetCellOrigin(5, 3, origin) && f.grid.GetCellOrigin(7, 4, origin));
    EXPECT_EQ(origin, (CGridPoint{100, 40}));
    CGridFixture small(2, 2);
    EXPECT_EQ(
        Nums(small.grid.GetCellFromPt({200, 10}).col, small.grid.GetCellFromPt({60, 100}).row),
        "-1 -1");
}

TEST(GridGeometry, EnsureVisibleScrollsTheCellFullyIntoView)
{
    CGridFixture f(40, 10, {300, 200}); // 9 non-fixed rows and 5 columns fit
    EXPECT_EQ(Nums(f.grid.IsCellVisible(9, 5), f.grid.IsCellVisible(10, 1)), "1 0");
    f.grid.EnsureVisible(15, 8);
    // Row 15 at the bottom: rows 7..15 fill the 180 pixels; column 8 at the right.
    EXPECT_EQ(f.grid.GetTopleftNonFixedCell(), CCellID(7, 4));
    CGridRect rect;
    EXPECT_TRUE(f.grid.GetCellRect(15, 8, rect));
    EXPECT_EQ(rect, (CGridRect{250, 180, 299, 199}));
    f.grid.EnsureVisible(2, 1);
    EXPECT_EQ(Nums(f.grid.GetTopleftNonFixedCell().row, f.grid.GetTopleftNonFixedCell().col,
                   f.view.m_VMax),
              Nums(2, 1, 40 * 20 - 180));
}

TEST(GridGeometry, WheelScrollsLinesOrPagesAndKeepsWhatIsShortOfALine)
{
    // Ten non-fixed rows a page; three lines a notch: a delta of 40 is one line, and parts of
    // it add up, also the other way (180 is one line, 60 kept; 60 + 300 three lines). A
    // touchpad notch comes in eight parts: three lines in all.
    gridscript::Check(100, 3, {300, 220},
                      {{"wheels -120 -240 60 100 -15 -15 -15 -15 -15 -15 -15 -15; pagewheel; "
                        "wheels -120 -60 -60 2400",
                        "4 10 9 6 6 6 7 7 7 8 8 9 | 19 19 29 1"}});
}

TEST(GridGeometry, EverySizeChangeKeepsTheScrollRangesCurrent)
{
    CGridFixture f(10, 5, {400, 300}); // 11 rows of 20 and 6 columns of 50 fit
    using Change = std::function<void(CGridCtrl&)>;
    const Change changes[] = {
        [](CGridCtrl& g) { g.SetRowHeight(5, 200); },
        [](CGridCtrl& g) { g.SetColumnWidth(2, 250); },
        [](CGridCtrl& g) { g.SetColumnWidth(2, 0); },
        [](CGridCtrl& g) { g.InsertRow("new", 3); },
        [](CGridCtrl& g) { g.DeleteRow(5); },
        [](CGridCtrl& g) { g.SetRowCount(40); },
        [](CGridCtrl& g) { g.SetColumnCount(12); },
        [](CGridCtrl& g) { g.AutoSizeColumn(1); },
        [](CGridCtrl& g) { g.AutoSizeRow(1); },
        [](CGridCtrl& g) { g.SortItems(1, false); },
        [](CGridCtrl& g) { g.SetRowCount(3); },
        [](CGridCtrl& g) { g.SetColumnCount(2); },
    };
    int step = 0;
    for (const Change& change : changes) {
        change(f.grid);
        int height = 0, width = 0;
        for (int r = 0; r < f.grid.GetRowCount(); ++r)
            height += f.grid.GetRowHeight(r);
        for (int c = 0; c < f.grid.GetColumnCount(); ++c)
            width += f.grid.GetColumnWidth(c);
        EXPECT_EQ(
            Nums(f.grid.GetVirtualHeight(), f.grid.GetVirtualWidth(), f.view.m_VMax, f.view.m_HMax),
            Nums(height, width, std::max(0, height - 300), std::max(0, width - 400)))
            << step++;
    }
}

TEST(GridGeometry, AutoSizeUsesTextExtentPlusMargins)
{
    CGridFixture f(3, 2);
    f.grid.SetItemText(2, 1, "a longer text"); // 13 * 7 = 91
    EXPECT_TRUE(f.grid.AutoSizeColumn(1));
    EXPECT_EQ(f.grid.GetColumnWidth(1), 91 + 2 * 7);
    EXPECT_TRUE(f.grid.AutoSizeColumn(1, 1)); // the header only: "r0c1"
    EXPECT_EQ(f.grid.GetColumnWidth(1), 28 + 14);
    f.grid.SortItems(1, true);
    EXPECT_TRUE(f.grid.AutoSizeColumn(1, 1)); // room for the triangle
    EXPECT_EQ(f.grid.GetColumnWidth(1), 28 + 14 + 14);
    f.grid.SetColumnWidth(2, 0);
    EXPECT_TRUE(!f.grid.AutoSizeColumn(2) && !f.grid.AutoSizeColumn(7) && f.grid.AutoSizeRow(1));
    EXPECT_EQ(Nums(f.grid.GetColumnWidth(2), f.grid.GetRowHeight(1)), "0 28");
}

TEST(GridPainting, VisitsOnlyVisibleCellsAndFillsTheRestWithTheBackground)
{
    CGridFixture f(100000, 10, {300, 200});
    f.grid.SetRowHeight(3, 0);
    f.grid.SetColumnWidth(2, 0);
    CRecordingPainter painter;
    f.grid.OnDraw(painter);
    // Rows 1..10 less the hidden row 3 (9 rows), columns 1..6 less column 2 (5), plus the bands.
    // Grid lines: one per visible non-fixed column and row.
    const auto& texts = painter.m_Texts;
    EXPECT_EQ(Nums(texts.size(), std::count(texts.begin(), texts.end(), "r3c1"),
                   std::count(texts.begin(), texts.end(), "r10c6"),
                   painter.CountPrefix("line 99,20-99,199"),
                   painter.CountPrefix("line 50,39-299,39")) +
                  " " + texts.front(),
              Nums(1 + 9 + 5 + 9 * 5, 0, 1, 1, 1) + " r0c0");

    CGridFixture small(2, 2, {300, 200});
    small.grid.SetGridBkColor(0x0000FF);
    CRecordingPainter around;
    small.grid.OnDraw(around);
    EXPECT_EQ(around.m_Ops.at(0) + "|" + around.m_Ops.at(1),
              "fill 150,0,300,200 #ff|fill 0,60,150,200 #ff");
}

TEST(GridColours, SystemColourChangeFollowsOnlyUnchangedDefaults)
{
    CGridFixture f(2, 2);
    f.grid.GetDefaultCell(true, false).SetBackClr(0x00ABCDEF);
    CGridSystemColours colours = f.grid.GetSystemColours();
    colours.text = 0x111111;
    colours.window = 0x222222;
    colours.face = 0x333333;
    f.grid.SetSystemColours(colours);
    const auto& cell = [&](bool row, bool col) -> const CGridDefaultCell& {
        return f.grid.GetDefaultCell(row, col);
    };
    EXPECT_EQ(
        (std::vector<uint32_t>{cell(false, false).GetTextClr(), cell(false, false).GetBackClr(),
                               cell(false, true).GetBackClr(), cell(true, false).GetBackClr()}),
        (std::vector<uint32_t>{0x111111, 0x222222, 0x333333, 0xABCDEF}));
}

struct CTaggedCell : CGridCell {
    void SetCoords(int row, int col) override { m_Coords = CCellID(row, col); }
    CCellID m_Coords;
};

TEST(GridCells, CellClassHookSuppliesCellsAndRenumbersThem)
{
    CGridCtrl grid;
    EXPECT_FALSE(grid.SetCellFactory(nullptr));
    grid.SetCellType<CTaggedCell>();
    grid.SetColumnCount(2);
    grid.SetRowCount(3);
    auto* cell = dynamic_cast<CTaggedCell*>(grid.GetCell(2, 1));
    ASSERT_NE(cell, nullptr);
    std::string coords = Nums(cell->m_Coords.row);
    grid.InsertRow("x", 1);
    coords += Nums(cell->m_Coords.row);
    grid.DeleteRow(0);
    EXPECT_EQ(coords + Nums(cell->m_Coords.row, cell->m_Coords.col), "232 1");
}

// Windows the owner opens beside a cell are placed from its screen rectangle.
TEST(GridScreenGeometry, CellScreenRectIsTheClientRectOnTheScreen)
{
    CGridFixture f(30, 5, {400, 100});
    f.grid.SetScrollPos(true, 40); // rows 1 and 2 scrolled away
    const std::tuple<int, int, bool, CGridRect> cases[] = {
        {0, 0, true, {1000, 700, 1049, 719}},
        {3, 1, true, {1050, 720, 1099, 739}},
        {6, 5, true, {1250, 780, 1299, 799}},
        {1, 1, false, {}},  // scrolled away above
        {7, 1, false, {}},  // below the client area
        {31, 0, false, {}}, // no such row
    };
    for (const auto& [row, col, onScreen, expected] : cases) {
        CGridRect rect;
        EXPECT_EQ(f.grid.GetCellScreenRect(row, col, rect), onScreen) << row << "," << col;
        EXPECT_EQ(rect, expected) << row << "," << col; // untouched when off screen
    }
    f.grid.SetView(nullptr);
    CGridRect rect;
    EXPECT_FALSE(f.grid.GetCellScreenRect(0, 0, rect)); // no window system to ask
}

} // namespace
