// The line style chooser's arithmetic and its flow: rows, scrolling, which style a click lands
// on, the messages for unusable pen files, and the samples it paints.

#include "pickers/core/clinestylechooser.h"
#include "pickers/core/penbytes.h"
#include "grid/gridfakes.h"
#include "platform/cstringtable.h"
#include "support/recordingprompt.h"
#include "support/testfiles.h"

#include <gtest/gtest.h>

using Scroll = CLineStyleChooser::EScroll;

TEST(LineStyleGrid, RowsScrollAndClicks)
{
    const struct {
        int count, rows, largest;
    } sizes[] = {{0, 0, 0}, {3, 1, 0}, {4, 2, 0}, {24, 8, 0}, {25, 9, 1}};
    for (const auto& s : sizes) {
        EXPECT_EQ(LineStyleGrid::Rows(s.count), s.rows) << s.count;
        EXPECT_EQ(LineStyleGrid::LargestScroll(s.rows), s.largest) << s.count;
    }

    const struct {
        int x, y, scroll, count;
        std::optional<int> style;
    } clicks[] = {
        {3, 0, 0, 25, 1},               // above and left of the first cell still maps to it
        {83, 10, 0, 25, 2},             // second column starts at 83
        {82, 25, 0, 25, 1},             // last pixel of the first cell
        {160, 26, 0, 25, 6},            // third column, second row
        {233, 10, 0, 25, 4},            // a fourth column reaches into the next row
        {10, 151, 1, 25, std::nullopt}, // style 25 is the count
        {160, 151, 0, 25, 24},
        {10, 170, 0, 100, std::nullopt}, // row 9 lies below the block
        {320, 10, 0, 100, std::nullopt}, // column 4 lies beside it
    };
    for (const auto& c : clicks)
        EXPECT_EQ(LineStyleGrid::StyleAtPoint(c.x, c.y, c.scroll, c.count), c.style) << c.x << "," << c.y;
}

TEST(CLineStyleChooser, OpensScrollsAndChooses)
{
    CTempDir dir;
    const std::string good = dir.File("lines.pen"), bad = dir.File("bad.pen"), missing = dir.File("none.pen");
    WriteBytes(good, PenBytes(std::vector<PenStyle>(40)));
    WriteTextFile(bad, "PEN1\0\0\0\0");
    for (const std::string& path : {bad, missing}) {
        CRecordingPrompt prompt;
        EXPECT_FALSE(CLineStyleChooser(path, 5).Open(prompt));
        ASSERT_EQ(prompt.m_Messages.size(), 1u);
        EXPECT_EQ(prompt.m_Messages[0].stringId, path == bad ? Str::InvalidPenFile : Str::CouldNotOpen);
        EXPECT_EQ(prompt.m_Messages[0].text, CStringTable::FormatId(prompt.m_Messages[0].stringId, {path}));
    }

    CRecordingPrompt prompt;
    CLineStyleChooser chooser(good, 5);
    ASSERT_TRUE(chooser.Open(prompt));
    EXPECT_TRUE(prompt.m_Messages.empty());
    const struct {
        Scroll action;
        int thumb, position;
    } steps[] = {{Scroll::LineUp, 0, 0}, {Scroll::LineDown, 0, 1}, {Scroll::PageDown, 0, 6}, {Scroll::PageUp, 0, 0},
                 {Scroll::Thumb, 4, 4},  {Scroll::Thumb, 9, 6},    {Scroll::Thumb, -3, 0},   {Scroll::LineDown, 0, 1}};
    for (const auto& s : steps) {
        chooser.Scroll(s.action, s.thumb);
        EXPECT_EQ(chooser.ScrollPos(), s.position);
    }
    EXPECT_EQ(chooser.Click(160, 151), std::optional<int32_t>(27));
    EXPECT_EQ(chooser.Click(10, 170), std::nullopt);
    EXPECT_EQ(chooser.Current(), 27);
}

TEST(CLineStyleChooser, PaintsTwentyFourSamplesWithTheCurrentFramedRed)
{
    CTempDir dir;
    const std::string path = dir.File("lines.pen");
    std::vector<PenStyle> styles(30);
    styles[4] = {{2, 30}};
    WriteBytes(path, PenBytes(styles));
    CRecordingPrompt prompt;
    CLineStyleChooser chooser(path, 4);
    ASSERT_TRUE(chooser.Open(prompt));
    CRecordingPainter painter;
    chooser.Paint(painter, {0, 0, 231, 158});
    EXPECT_EQ(painter.m_Ops,
              (std::vector<std::string>{"fill 0,0,231,158 #ffffff", "fill 34,9,41,23 #ffffff",
                                        "text 'N' 11,8,65,24 f825 #0 ", // style 1
                                        "clip -39,6,65,42", "polyline w0 #0 11,34 40,34", "polyline w0 #0 41,34 70,34",
                                        "unclip", // style 4, first in the second row
                                        "frame 6,26,75,42 #ff"}));
    painter.m_Ops.clear();
    chooser.Scroll(Scroll::LineDown);
    chooser.Paint(painter, {0, 0, 231, 158});
    EXPECT_EQ(painter.m_Ops,
              (std::vector<std::string>{"fill 0,0,231,158 #ffffff", "clip -39,-12,65,24", "polyline w0 #0 11,16 40,16",
                                        "polyline w0 #0 41,16 70,16", "unclip", "frame 6,8,75,24 #ff"}));
}
