// Cells: take-the-default values, default cells and their fonts, the drawing
// algorithm and the edit entry point.

#include "grid/gridscript.h"

namespace {

using gridscript::Check;
using gridscript::DrawCell;
using gridscript::DrawOps;
using Ops = std::vector<std::string>;

TEST(GridCell, ValuesFollowTheDefaultCellOfTheirKindUntilSetAndAfterReset)
{
    CGridFixture f(2, 2);
    f.grid.GetDefaultCell(false, false).SetTextClr(0x000011);
    f.grid.GetDefaultCell(true, false).SetTextClr(0x000022);
    f.grid.GetDefaultCell(true, true).SetTextClr(0x000033);
    f.grid.GetDefaultCell(false, false).SetMargin(5);
    EXPECT_EQ(Nums(f.grid.GetCell(1, 1)->GetTextClr(), f.grid.GetCell(0, 1)->GetTextClr(),
                   f.grid.GetCell(0, 0)->GetTextClr(), f.grid.GetCell(1, 1)->GetMargin()),
              "17 34 51 5");

    auto* cell = static_cast<CGridCell*>(f.grid.GetCell(1, 2));
    cell->SetTextClr(0x0000FF);
    cell->SetMargin(1);
    cell->SetFormat(GridText::Center);
    CGridFont own{.faceName = "Own Face"};
    cell->SetFont(&own);
    own.faceName = "Changed";
    EXPECT_EQ(DrawCell(*cell, 1, 2, {100, 20, 149, 39}),
              "fill 100,20,150,40 #ffffff|text 'r1c2' 101,21,148,38 f801 #ff Own Face");
    cell->SetState(GridState::Selected | GridState::Focused);
    cell->Reset();
    EXPECT_EQ(DrawCell(*cell, 1, 2, {100, 20, 149, 39}), "fill 100,20,150,40 #ffffff");
    EXPECT_EQ(Nums(cell->GetImage(), cell->GetTextClr()), "-1 17");
}

TEST(GridCell, DefaultCellFontsAndSizesReachEveryCellOfTheKind)
{
    CGridFixture f(2, 2);
    CGridDefaultCell& def = f.grid.GetDefaultCell(false, false);
    CGridFont font{.faceName = std::string(40, 'n')};
    def.SetFont(&font);
    EXPECT_EQ(def.GetFont().faceName.size(), 31u);
    font.faceName = "Big";
    def.SetFont(&font);
    EXPECT_EQ(f.grid.GetCell(1, 1)->GetFont().faceName + "|" + f.grid.GetCell(0, 1)->GetFont().faceName,
              "Big|Test Sans");
    // Measured on the view: a space is 7 wide, " XXXXXXXXXXXX " 14 * 7 and 14 high.
    const CGridDefaultCell& header = f.grid.GetDefaultCell(true, false);
    EXPECT_EQ(Nums(def.GetHeight(), header.GetWidth(), header.GetMargin()), "21 98 7");
}

TEST(GridCell, DrawsBackgroundFrameAndTextByState)
{
    // Cells drawn into 50,20,99,39; a focused one gets a frame and its text one pixel further in.
    const std::string fill = "fill 50,20,100,40 #", text = " 57,27,92,32 f8824 #0 Test Sans",
                      in = " 58,28,91,31 f8824 #";
    const std::string raised = "line 50,20-99,20 #ffffff|line 50,20-50,39 #ffffff|line 99,20-99,39 #696969|line "
                               "50,39-99,39 #696969|text 'r1c0'" +
                               in + "0 Test Sans";
    Check(2, 2, {400, 300},
          {{"drawcell 1,1", fill + "ffffff|text 'r1c1'" + text},
           {"sel 1,1 1,1; drawcell 1,1", fill + "d77800|text 'r1c1' 57,27,92,32 f8824 #ffffff Test Sans"},
           {"sel 1,1 1,1; focus 1,1; drawcell 1,1",
            fill + "d77800|frame 50,20,99,39 #ffffff|text 'r1c1'" + in + "ffffff Test Sans"},
           {"nolines; noframe; focus 1,1; bk 1,1 ff00; fg 1,1 ff; drawcell 1,1",
            fill + "ff00|text 'r1c1'" + in + "ff Test Sans"},
           // Shading gives odd rows the third colour, and leaves even rows and own colours.
           {"defclr eeeeee; shade; drawcell 1,1", fill + "eeeeee|text 'r1c1'" + text},
           {"shade; drawcell 2,1", fill + "ffffff|text 'r2c1'" + text},
           {"shade; bk 1,1 123456; drawcell 1,1", fill + "123456|text 'r1c1'" + text},
           {"shade; drawcell 1,0", fill + "f0f0f0|" + raised},
           // The header of the focus row is sunken, unless focus tracking is off.
           {"focus 1,2; drawcell 1,0", fill +
                                           "f0f0f0|line 50,20-99,20 #a0a0a0|line 50,20-50,39 #a0a0a0|line "
                                           "99,20-99,39 #ffffff|line 50,39-99,39 #ffffff|text 'r1c0'" +
                                           in + "0 Test Sans"},
           {"focus 1,2; notrack; drawcell 1,0", fill + "f0f0f0|" + raised},
           // A cell draws like the default cell with the same text; with no width, nothing.
           {"text 1,1 same; deftext same; drawcell 1,1; drawcell 1,1 50 20 50 39",
            fill + "ffffff|text 'same'" + text + " | "}});
    CGridFixture f(2, 2);
    f.grid.GetDefaultCell(false, false).SetText("same");
    EXPECT_EQ(DrawCell(f.grid.GetDefaultCell(false, false), 1, 1, {50, 20, 99, 39}),
              fill + "ffffff|text 'same'" + text);
}

TEST(GridCell, SortHeaderGetsASolidTriangleAsTallAsTheTextInTheTextColour)
{
    // Text 14 high, margin 7. The triangle is the text height less 4 (or the
    // cell's inner height less 4), centred in the cell inside its edges, one
    // line per pixel row in the text colour; the text gives up its width + 2.
    // Cell bottom, direction; the number of calls, the first and last line, the text.
    const std::tuple<int, bool, size_t, std::string, std::string, std::string> cases[] = {
        {29, true, 16, "line 135,9-135,9 #0", "line 130,18-140,18 #0", "text 'r0c1' 58,8,128,21 f8824 #0 Test Sans"},
        {29, false, 16, "line 135,18-135,18 #0", "line 130,9-140,9 #0", "text 'r0c1' 58,8,128,21 f8824 #0 Test Sans"},
        // A 13-pixel row: 11 inside the edges, so the mark is 7 high, and the
        // margins leave no room for text.
        {13, true, 12, "line 137,3-137,3 #0", "line 134,9-140,9 #0", ""},
    };
    for (const auto& [bottom, ascending, count, first, last, text] : cases) {
        CGridFixture f(2, 2);
        f.grid.SetColumnWidth(1, 100);
        f.grid.SortItems(1, ascending);
        const Ops ops = DrawOps(*f.grid.GetCell(0, 1), 0, 1, {50, 0, 149, bottom});
        ASSERT_EQ(ops.size(), count) << bottom;
        EXPECT_EQ(ops[5] + "|" + ops[count - (text.empty() ? 1 : 2)] + "|" + (text.empty() ? "" : ops.back()),
                  first + "|" + last + "|" + text);
        EXPECT_EQ(DrawOps(*f.grid.GetCell(1, 1), 1, 1, {50, 30, 149, 49}).size(), 2u); // no mark below
    }
}

TEST(GridCell, EditOpensOnceThenForwardsKeys)
{
    CGridFixture f(2, 2);
    CGridCell* cell = static_cast<CGridCell*>(f.grid.GetCell(1, 1));
    cell->SetFormat(GridText::Center);
    EXPECT_TRUE(cell->Edit(1, 1, {50, 20, 99, 39}, {-1, -1}, 8, 'q'));
    EXPECT_TRUE(cell->Edit(1, 1, {50, 20, 99, 39}, {-1, -1}, 8, 'r'));
    ASSERT_EQ(f.view.m_Editors.size(), 1u);
    const CFakeEditor* editor = f.view.LastEditor();
    EXPECT_TRUE(editor->m_Request.align == CGridEditRequest::Align::Center && cell->GetEditWnd() == editor);
    EXPECT_EQ(editor->m_Keys, std::vector<unsigned>{'r'});
    cell->OnEndEdit();
    EXPECT_EQ(cell->GetEditWnd(), nullptr);
    CGridCell loose; // no grid, no window system: nothing to open
    EXPECT_FALSE(loose.Edit(0, 0, {0, 0, 10, 10}, {-1, -1}, 8, 'q'));
}

} // namespace
