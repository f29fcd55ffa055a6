#include "pickers/core/cpatterntable.h"
#include "support/runprocess.h"
#include "support/testfiles.h"

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <gtest/gtest.h>
#include <set>

namespace {

std::string Samples()
{
    return std::string(std::getenv("TESSARIN_SOURCE_DIR")) + "/samples";
}

uint32_t U16(const std::string& d, size_t at)
{
    return static_cast<uint8_t>(d[at]) | static_cast<uint32_t>(static_cast<uint8_t>(d[at + 1])) << 8;
}

} // namespace

// The committed assets are exactly what the program writes, so the two never drift.
TEST(MakeAssets, RewritesTheCommittedSamplesByteForByte)
{
    CTempDir dir;
    std::filesystem::create_directory(dir.File("patterns"));
    const CProcessResult r = RunProcess(ProjectBinary("make-assets"), {dir.File("patterns"), dir.File("CARTORAW.PEN")});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.out,
              "45 patterns in " + dir.File("patterns") + ", 43 line styles in " + dir.File("CARTORAW.PEN") + "\n");
    size_t files = 0;
    for (const auto& entry : std::filesystem::directory_iterator(Samples() + "/patterns")) {
        const std::string name = "/patterns/" + entry.path().filename().string();
        EXPECT_EQ(ReadTextFile(dir.Path() + name), ReadTextFile(Samples() + name)) << name;
        ++files;
    }
    EXPECT_EQ(files, 45u);
    EXPECT_EQ(ReadTextFile(dir.File("CARTORAW.PEN")), ReadTextFile(Samples() + "/CARTORAW.PEN"));
    // A file that cannot be written stops the program with its name and the reason.
    const std::string pen = dir.File("none/x.pen");
    EXPECT_EQ(Show(RunProcess(ProjectBinary("make-assets"), {dir.File("none"), pen})),
              "1||make-assets: cannot write " + dir.File("none") + "/pattern_1.bmp: " + std::strerror(ENOENT) + "\n");
    // A folder where the pen file goes: the reason is the writer's own, not a stale errno.
    EXPECT_EQ(Show(RunProcess(ProjectBinary("make-assets"), {dir.File("patterns"), dir.File("patterns")})),
              "1||make-assets: cannot write " + dir.File("patterns") + ": " + std::strerror(EISDIR) + "\n");
}

// The pattern table reads each bitmap as drawn: top row first, ink as set bits.
TEST(MakeAssets, PatternsReadBackAsDrawn)
{
    CPatternTable table;
    ASSERT_EQ(table.Load(Samples() + "/patterns"), 45);
    for (const auto& [number, rows] : {std::pair{7, "...#...#..#...#..#...#..#...#......#...#..#...#..#...#..#...#..."},
                                       {45, "...#......###....#####..........#......###....#####..###........"}}) {
        std::string bits;
        for (int y = 0; y < 8; ++y)
            for (int x = 0; x < 8; ++x)
                bits += table.Bitmap(number).Bit(x, y) ? '#' : '.';
        EXPECT_EQ(bits, rows) << number;
    }
}

// Every style record lies where the table says, styles 0 and 1 are empty, and
// together the styles use every instruction of the format (operand bytes per opcode below).
TEST(MakeAssets, PenFileHoldsEveryInstruction)
{
    const std::string pen = ReadTextFile(Samples() + "/CARTORAW.PEN"), operands = "001110130011111033223001";
    ASSERT_EQ(pen.substr(0, 4) + std::to_string(U16(pen, 6)), "PEN243");
    std::set<size_t> used;
    size_t end = 8 + 2 * 43;
    for (uint32_t style = 0; style < 43; ++style) {
        size_t at = U16(pen, 8 + 2 * style);
        EXPECT_EQ(at, end) << "records follow each other without gaps, style " << style;
        const int strokes = static_cast<uint8_t>(pen[at]);
        EXPECT_EQ(strokes > 0, style >= 2) << style;
        at += 3;
        for (int s = 0; s < strokes; ++s) {
            const size_t stop = at + 1 + static_cast<uint8_t>(pen[at]);
            for (at++; at < stop; at += 1 + static_cast<size_t>(operands.at(static_cast<uint8_t>(pen.at(at))) - '0'))
                used.insert(static_cast<uint8_t>(pen[at]));
            EXPECT_EQ(at, stop) << "operands cut short in style " << style;
        }
        end = at;
    }
    EXPECT_EQ(end, pen.size());
    EXPECT_EQ(used.size(), 24u);
}
