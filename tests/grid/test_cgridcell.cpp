// Cells: take-the-default values, default cells and their fonts, and the sort mark.

#include "grid/gridfakes.h"

#include <gtest/gtest.h>

namespace {

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
    const auto look = [cell] {
        return Nums(cell->GetTextClr(), cell->GetMargin(), cell->GetFormat(), cell->GetImage(), cell->GetState()) +
               " " + cell->GetFont().faceName + " '" + cell->GetText() + "'";
    };
    cell->SetTextClr(0x0000FF);
    cell->SetMargin(1);
    cell->SetFormat(GridText::Center);
    CGridFont own{.faceName = "Own Face"};
    cell->SetFont(&own);
    own.faceName = "Changed"; // the cell keeps a copy
    cell->SetState(GridState::Selected | GridState::Focused);
    const std::string set = look();
    cell->Reset();
    EXPECT_EQ(set + " | " + look(), "255 1 1 -1 3 Own Face 'r1c2' | 17 5 34852 -1 0 Test Sans ''");
}

TEST(GridCell, DefaultFontsReachTheirKindAndASortedHeaderAloneGetsTheMark)
{
    CGridFixture f(2, 2);
    const CGridFont font{.faceName = std::string(40, 'n')}; // names are kept to 31 bytes, as the system does
    f.grid.GetDefaultCell(false, false).SetFont(&font);
    EXPECT_EQ(f.grid.GetCell(1, 1)->GetFont().faceName + "|" + f.grid.GetCell(0, 1)->GetFont().faceName,
              std::string(31, 'n') + "|Test Sans");
    // A header is filled, edged and labelled in 6 calls; the mark adds a line for each of its 10 rows.
    f.grid.SortItems(1, true);
    CRecordingPainter sorted, plain;
    f.grid.GetCell(0, 1)->Draw(sorted, 0, 1, {50, 0, 99, 29}, true);
    f.grid.GetCell(0, 2)->Draw(plain, 0, 2, {100, 0, 149, 29}, true);
    EXPECT_EQ(Nums(sorted.m_Ops.size(), plain.m_Ops.size()), "16 6");
}

} // namespace
