// Cells: take-the-default values, default cells and their fonts, the drawing
// algorithm and the edit entry point.

#include "grid/gridfakes.h"

#include <gtest/gtest.h>

namespace {

TEST(GridCellDefaults, TakeTheDefaultFollowsTheDefaultCellOfTheCellsKind)
{
    CGridFixture f(2, 2);
    CGridDefaultCell& normal = f.grid.GetDefaultCell(false, false);
    CGridDefaultCell& fixedRow = f.grid.GetDefaultCell(true, false);
    CGridDefaultCell& corner = f.grid.GetDefaultCell(true, true);
    normal.SetTextClr(0x000011);
    fixedRow.SetTextClr(0x000022);
    corner.SetTextClr(0x000033);
    normal.SetMargin(5);
    normal.SetFormat(GridText::Center);
    EXPECT_EQ(f.grid.GetCell(1, 1)->GetTextClr(), 0x000011u);
    EXPECT_EQ(f.grid.GetCell(0, 1)->GetTextClr(), 0x000022u);
    EXPECT_EQ(f.grid.GetCell(0, 0)->GetTextClr(), 0x000033u);
    EXPECT_EQ(f.grid.GetCell(1, 1)->GetMargin(), 5);
    EXPECT_EQ(f.grid.GetCell(1, 1)->GetFormat(), GridText::Center);

    auto* cell = static_cast<CGridCell*>(f.grid.GetCell(1, 2));
    cell->SetTextClr(0x0000FF);
    cell->SetMargin(1);
    CGridFont own;
    own.faceName = "Own Face";
    cell->SetFont(&own);
    EXPECT_EQ(cell->GetTextClr(), 0x0000FFu);
    EXPECT_EQ(cell->GetMargin(), 1);
    EXPECT_EQ(cell->GetFont().faceName, "Own Face");
    own.faceName = "Changed";
    EXPECT_EQ(cell->GetFont().faceName, "Own Face"); // the cell keeps its own copy

    cell->Reset();
    EXPECT_EQ(cell->GetOwnTextClr(), kGridDefaultColour);
    EXPECT_EQ(cell->GetOwnFormat(), CGridCell::kDefaultFormat);
    EXPECT_FALSE(cell->HasOwnFont());
    EXPECT_EQ(cell->GetOwnMargin(), -1);
    EXPECT_EQ(cell->GetState(), 0u);
    EXPECT_EQ(cell->GetText(), "");
    EXPECT_EQ(cell->GetImage(), -1);
    EXPECT_EQ(cell->GetTextClr(), 0x000011u);
}

TEST(GridCellDefaults, DefaultCellFontChangesFollowEveryDefaultCellAndNewSizes)
{
    CGridFixture f(2, 2);
    CGridFont big;
    big.faceName = "Big";
    big.height = -20;
    CGridFont longName;
    longName.faceName = std::string(40, 'n');
    f.grid.GetDefaultCell(false, false).SetFont(&longName);
    EXPECT_EQ(f.grid.GetDefaultCell(false, false).GetFont().faceName.size(), 31u);
    f.grid.GetDefaultCell(false, false).SetFont(&big);
    EXPECT_EQ(f.grid.GetCell(1, 1)->GetFont().faceName, "Big");
    EXPECT_EQ(f.grid.GetCell(0, 1)->GetFont().faceName, "Test Sans");
    // The fake measures every font alike, so the sizes stay the measured ones.
    EXPECT_EQ(f.grid.GetDefaultCell(false, false).GetHeight(), 21);
    f.grid.GetDefaultCell(false, false).SetHeight(31);
    f.grid.GetDefaultCell(false, false).SetWidth(77);
    f.grid.SetRowCount(4);
    f.grid.SetColumnCount(4);
    EXPECT_EQ(f.grid.GetRowHeight(3), 31);
    EXPECT_EQ(f.grid.GetColumnWidth(3), 77);
}

std::vector<std::string> DrawOps(CGridCellBase& cell, int row, int col, CGridRect rect)
{
    CRecordingPainter painter;
    cell.Draw(painter, row, col, rect, true);
    return painter.m_Ops;
}

TEST(GridCellDrawing, TakeTheDefaultCellDrawsExactlyLikeItsDefaultCell)
{
    CGridFixture f(2, 2);
    CGridDefaultCell& def = f.grid.GetDefaultCell(false, false);
    def.SetText("same");
    f.grid.SetItemText(1, 1, "same");
    const CGridRect rect{50, 20, 99, 39};
    CGridCell* cell = static_cast<CGridCell*>(f.grid.GetCell(1, 1));
    EXPECT_EQ(DrawOps(*cell, 1, 1, rect), DrawOps(def, 1, 1, rect));
    const std::vector<std::string> expected = {"fill 50,20,100,40 #ffffff",
                                               "text 'same' 57,27,92,32 f8824 #0 Test Sans"};
    EXPECT_EQ(DrawOps(*cell, 1, 1, rect), expected);

    CGridFont font;
    font.faceName = "Other";
    def.SetFont(&font);
    EXPECT_EQ(DrawOps(*cell, 1, 1, rect), DrawOps(def, 1, 1, rect));
    EXPECT_EQ(DrawOps(*cell, 1, 1, rect).back(), "text 'same' 57,27,92,32 f8824 #0 Other");

    EXPECT_TRUE(DrawOps(*cell, 1, 1, {50, 20, 50, 39}).empty());
}

TEST(GridCellDrawing, SelectionFocusAndOwnColours)
{
    CGridFixture f(2, 2);
    CGridSystemColours colours = f.grid.GetSystemColours();
    const CGridRect rect{50, 20, 99, 39};
    CGridCellBase* cell = f.grid.GetCell(1, 1);

    f.grid.SetSelectedRange(1, 1, 1, 1);
    std::vector<std::string> ops = DrawOps(*cell, 1, 1, rect);
    ASSERT_EQ(ops.size(), 2u);
    EXPECT_EQ(ops[0], "fill 50,20,100,40 #d77800");
    EXPECT_EQ(ops[1], "text 'r1c1' 57,27,92,32 f8824 #ffffff Test Sans");

    // Focused and selected: highlight, a frame in the text colour at the
    // normal size (grid lines are on), the text one pixel further in.
    f.grid.SetFocusCell(1, 1);
    ops = DrawOps(*cell, 1, 1, rect);
    ASSERT_EQ(ops.size(), 3u);
    EXPECT_EQ(ops[0], "fill 50,20,100,40 #d77800");
    EXPECT_EQ(ops[1], "frame 50,20,99,39 #ffffff");
    EXPECT_EQ(ops[2], "text 'r1c1' 58,28,91,31 f8824 #ffffff Test Sans");

    f.grid.SetGridLines(GridLines::None);
    f.grid.SetFrameFocusCell(false);
    f.grid.ResetSelectedRange();
    f.grid.SetItemBkColour(1, 1, 0x00FF00);
    f.grid.SetItemFgColour(1, 1, 0x0000FF);
    ops = DrawOps(*cell, 1, 1, rect);
    ASSERT_EQ(ops.size(), 2u);
    EXPECT_EQ(ops[0], "fill 50,20,100,40 #ff00");
    EXPECT_EQ(ops[1], "text 'r1c1' 58,28,91,31 f8824 #ff Test Sans");
    (void)colours;
}

TEST(GridCellDrawing, FixedCellsAreRaisedOrSunkenWhenTheirLineHasTheFocus)
{
    CGridFixture f(2, 2);
    const CGridRect rect{0, 20, 49, 39};
    CGridCellBase* header = f.grid.GetCell(1, 0);
    std::vector<std::string> ops = DrawOps(*header, 1, 0, rect);
    ASSERT_EQ(ops.size(), 6u);
    EXPECT_EQ(ops[0], "fill 0,20,50,40 #f0f0f0");
    EXPECT_EQ(ops[1], "line 0,20-49,20 #ffffff"); // light along the top and left
    EXPECT_EQ(ops[3], "line 49,20-49,39 #696969"); // dark along the right and bottom
    EXPECT_EQ(ops[5], "text 'r1c0' 8,28,41,31 f8824 #0 Test Sans");

    f.grid.SetFocusCell(1, 2);
    ops = DrawOps(*header, 1, 0, rect);
    EXPECT_EQ(ops[1], "line 0,20-49,20 #a0a0a0");
    EXPECT_EQ(ops[3], "line 49,20-49,39 #ffffff");
    f.grid.SetTrackFocusCell(false);
    EXPECT_EQ(DrawOps(*header, 1, 0, rect)[1], "line 0,20-49,20 #ffffff");
}

TEST(GridCellDrawing, SortHeaderGetsASolidTriangleAsTallAsTheTextInTheTextColour)
{
    // Text 14 high, margin 7. The triangle is the text height less 4 (or the
    // cell's inner height less 4), centred in the cell inside its edges, one
    // line per pixel row in the text colour; the text gives up its width + 2.
    struct Case {
        int bottom;
        bool ascending;
        size_t ops;
        std::string first, last, text;
    } cases[] = {
        {29, true, 16, "line 135,9-135,9 #0", "line 130,18-140,18 #0", "text 'r0c1' 58,8,128,21 f8824 #0 Test Sans"},
        {29, false, 16, "line 135,18-135,18 #0", "line 130,9-140,9 #0", "text 'r0c1' 58,8,128,21 f8824 #0 Test Sans"},
        // A 13-pixel row: 11 inside the edges, so the mark is 7 high, and the
        // margins leave no room for text.
        {13, true, 12, "line 137,3-137,3 #0", "line 134,9-140,9 #0", ""},
    };
    for (const Case& c : cases) {
        CGridFixture f(2, 2);
        f.grid.SetColumnWidth(1, 100);
        f.grid.SortItems(1, c.ascending);
        const std::vector<std::string> ops = DrawOps(*f.grid.GetCell(0, 1), 0, 1, {50, 0, 149, c.bottom});
        ASSERT_EQ(ops.size(), c.ops) << c.bottom;
        EXPECT_EQ(ops[5], c.first);
        EXPECT_EQ(ops[c.ops - (c.text.empty() ? 1 : 2)], c.last);
        if (!c.text.empty()) {
            EXPECT_EQ(ops.back(), c.text);
        }
        EXPECT_EQ(DrawOps(*f.grid.GetCell(1, 1), 1, 1, {50, 30, 149, 49}).size(), 2u); // no mark below
    }
}

TEST(GridCellDrawing, OddRowsTakeTheThirdColourWhenShaded)
{
    CGridFixture f(3, 2);
    f.grid.GetDefaultCell(false, false).SetClr(0xEEEEEE);
    f.grid.SetShadeOddRows(true);
    EXPECT_EQ(DrawOps(*f.grid.GetCell(1, 1), 1, 1, {50, 20, 99, 39})[0], "fill 50,20,100,40 #eeeeee");
    EXPECT_EQ(DrawOps(*f.grid.GetCell(2, 1), 2, 1, {50, 40, 99, 59})[0], "fill 50,40,100,60 #ffffff");
    EXPECT_EQ(DrawOps(*f.grid.GetCell(1, 0), 1, 0, {0, 20, 49, 39})[0], "fill 0,20,50,40 #f0f0f0");
    f.grid.SetItemBkColour(3, 1, 0x123456);
    EXPECT_EQ(DrawOps(*f.grid.GetCell(3, 1), 3, 1, {50, 60, 99, 79})[0], "fill 50,60,100,80 #123456");
}

TEST(GridCellEditing, EditOpensOnceThenForwardsKeys)
{
    CGridFixture f(2, 2);
    CGridCell* cell = static_cast<CGridCell*>(f.grid.GetCell(1, 1));
    cell->SetFormat(GridText::Center);
    EXPECT_TRUE(cell->Edit(1, 1, {50, 20, 99, 39}, {-1, -1}, 8, 'q'));
    ASSERT_EQ(f.view.m_Editors.size(), 1u);
    EXPECT_EQ(f.view.LastEditor()->m_Request.align, CGridEditRequest::Align::Center);
    EXPECT_EQ(cell->GetEditWnd(), f.view.LastEditor());
    EXPECT_TRUE(cell->Edit(1, 1, {50, 20, 99, 39}, {-1, -1}, 8, 'r'));
    EXPECT_EQ(f.view.m_Editors.size(), 1u);
    EXPECT_EQ(f.view.LastEditor()->m_Keys, std::vector<unsigned>{'r'});
    cell->OnEndEdit();
    EXPECT_FALSE(cell->IsEditing());
    EXPECT_EQ(cell->GetEditWnd(), nullptr);

    CGridCell loose; // no grid, no window system: nothing to open
    EXPECT_FALSE(loose.Edit(0, 0, {0, 0, 10, 10}, {-1, -1}, 8, 'q'));
    EXPECT_TRUE(loose.ValidateEdit("anything"));
}

} // namespace
