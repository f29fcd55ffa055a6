// The grid demo draws itself off screen into a PNG a person can look at.

#include "support/runprocess.h"
#include "support/testfiles.h"

#include <QImage>

#include <gtest/gtest.h>

#include <cstdio>
#include <set>

namespace {

TEST(GridDemo, ScreenshotShowsThePatternAndLineColours)
{
    const std::string out = TestOutputDir() + "/griddemo.png";
    std::remove(out.c_str());
    const CProcessResult run =
        RunProcess(ProjectBinary("tessarin-griddemo"), {"--screenshot", out}, {"QT_QPA_PLATFORM=offscreen"});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(ReadTextFile(out).substr(0, 8), std::string("\x89PNG\r\n\x1a\n", 8));
    const QImage shot(QString::fromStdString(out));
    ASSERT_EQ(shot.size(), QSize(720, 480));
    std::set<QRgb> seen;
    for (int y = 0; y < shot.height(); ++y)
        for (int x = 0; x < shot.width(); ++x)
            seen.insert(shot.pixel(x, y) & 0xFFFFFF);
    // The five fore colours of the patterns and two of the lines, as the demo
    // sets them; only those cells use them.
    for (QRgb colour : {0xC82828u, 0x1E6EC8u, 0x28963Cu, 0x965A1Eu, 0x8232A0u, 0x784614u, 0x6E2896u})
        EXPECT_TRUE(seen.count(colour)) << std::hex << colour;

    EXPECT_EQ(RunProcess(ProjectBinary("tessarin-griddemo"), {"--bogus"}, {"QT_QPA_PLATFORM=offscreen"}).exitCode, 2);
}

} // namespace
