#include "pickers/core/clinestylechooser.h"
#include "pickers/core/penbytes.h"
#include "grid/gridfakes.h"
#include "support/recordingprompt.h"
#include "support/testfiles.h"

#include <gtest/gtest.h>

using Scroll = CLineStyleChooser::EScroll;

TEST(LineStyleGrid, RowsOfThreeAndTheLargestScroll)
{
    const struct {
        int count, rows, largest;
    } sizes[] = {{0, 0, 0}, {3, 1, 0}, {4, 2, 0}, {24, 8, 0}, {25, 9, 1}};
    for (const auto& s : sizes) {
        EXPECT_EQ(LineStyleGrid::Rows(s.count), s.rows) << s.count;
        EXPECT_EQ(LineStyleGrid::LargestScroll(s.rows), s.largest) << s.count;
    }
}

TEST(CLineStyleChooser, PaintsTheSamplesOfTheScrolledRowsWithTheCurrentFramedRed)
{
    CTempDir dir;
    std::vector<PenStyle> styles(30);
    styles[4] = {{2, 30}};
    WriteBytes(dir.File("lines.pen"), PenBytes(styles));
    CRecordingPrompt prompt;
    CLineStyleChooser chooser(dir.File("lines.pen"), 4);
    ASSERT_TRUE(chooser.Open(prompt));
    chooser.Scroll(Scroll::LineDown);
    CRecordingPainter painter;
    chooser.Paint(painter, {0, 0, 231, 158});
    // Style 4, first in the second row, is first now; the others draw nothing.
    EXPECT_EQ(painter.m_Ops,
              (std::vector<std::string>{"fill 0,0,231,158 #ffffff", "clip -39,-12,65,24", "polyline w0 #0 11,16 40,16",
                                        "polyline w0 #0 41,16 70,16", "unclip", "frame 6,8,75,24 #ff"}));
}
