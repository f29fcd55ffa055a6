// The grid demo draws itself off screen into a PNG a person can look at.

#include "support/runprocess.h"
#include "support/testfiles.h"

#include <QImage>

#include <gtest/gtest.h>

#include <cstdio>

namespace {

TEST(GridDemo, WritesItsScreenshotAndRefusesUnknownSwitches)
{
    const std::string out = TestOutputDir() + "/griddemo.png";
    std::remove(out.c_str());
    const CProcessResult run =
        RunProcess(ProjectBinary("tessarin-griddemo"), {"--screenshot", out}, {"QT_QPA_PLATFORM=offscreen"});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    const QImage shot(QString::fromStdString(out));
    ASSERT_EQ(shot.size(), QSize(720, 480));
    EXPECT_EQ(RunProcess(ProjectBinary("tessarin-griddemo"), {"--bogus"}, {"QT_QPA_PLATFORM=offscreen"}).exitCode, 2);
}

} // namespace
