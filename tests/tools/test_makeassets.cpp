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

std::set<std::string> NamesIn(const std::string& folder)
{
    std::set<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder))
        names.insert(entry.path().filename().string());
    return names;
}

// The rows of a bitmap joined by '/', ink as '#'.
std::string Rows(const CGridBitmap& bitmap)
{
    std::string rows;
    for (int y = 0; y < bitmap.Height(); ++y) {
        rows += y ? "/" : "";
        for (int x = 0; x < bitmap.Width(); ++x)
            rows += bitmap.Bit(x, y) ? '#' : '.';
    }
    return rows;
}

uint32_t U16(const std::string& d, size_t at)
{
    return static_cast<uint8_t>(d[at]) | static_cast<uint32_t>(static_cast<uint8_t>(d[at + 1])) << 8;
}

// Operand bytes after each opcode; those past the table take none.
size_t Operands(char op)
{
    const std::string operands = "001110130011111033223001";
    return static_cast<uint8_t>(op) < operands.size() ? static_cast<size_t>(operands[static_cast<uint8_t>(op)] - '0')
                                                      : 0;
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
    const std::set<std::string> made = NamesIn(dir.File("patterns"));
    EXPECT_EQ(made, NamesIn(Samples() + "/patterns"));
    for (const std::string& name : made)
        EXPECT_EQ(ReadTextFile(dir.File("patterns/" + name)), ReadTextFile(Samples() + "/patterns/" + name)) << name;
    EXPECT_EQ(ReadTextFile(dir.File("CARTORAW.PEN")), ReadTextFile(Samples() + "/CARTORAW.PEN"));
}

// A file that cannot be written stops the program with its name and the reason.
TEST(MakeAssets, NamesTheFileAndTheReasonItCannotWrite)
{
    CTempDir dir;
    std::filesystem::create_directory(dir.File("patterns"));
    const std::string missing = dir.File("none");
    const struct {
        std::string folder, pen, err;
    } cases[] = {
        {missing, dir.File("x.pen"),
         "make-assets: cannot write " + missing + "/pattern_1.bmp: " + std::strerror(ENOENT) + "\n"},
        {dir.File("patterns"), dir.File("none/x.pen"),
         "make-assets: cannot write " + dir.File("none/x.pen") + ": " + std::strerror(ENOENT) + "\n"},
        {dir.File("patterns"), dir.File("patterns"),
         "make-assets: cannot write " + dir.File("patterns") + ": " + std::strerror(EISDIR) + "\n"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Show(RunProcess(ProjectBinary("make-assets"), {c.folder, c.pen})), "1||" + c.err);
}

// The pattern table reads each bitmap as drawn: top row first, ink as set bits.
TEST(MakeAssets, PatternsReadBackAsDrawn)
{
    CPatternTable table;
    ASSERT_EQ(table.Load(Samples() + "/patterns"), 45);
    const std::pair<int, std::string> cases[] = {
        {1, "########/########/########/########/########/########/########/########"},
        {4, "########/......../......../......../......../......../......../........"},
        {7, "...#...#/..#...#./.#...#../#...#.../...#...#/..#...#./.#...#../#...#..."},
        {21, "########/#......./#......./#......./########/....#.../....#.../....#..."},
        {45, "...#..../..###.../.#####../......../#......#/##....##/###..###/........"},
    };
    for (const auto& [number, rows] : cases) {
        EXPECT_TRUE(table.IsLoaded(number)) << number;
        EXPECT_EQ(Rows(table.Bitmap(number)), rows) << number;
    }
    const std::string waves = Rows(table.Bitmap(22)); // 16 rows of 16
    EXPECT_EQ(waves.size(), 16u * 17 - 1);
    EXPECT_EQ(waves.substr(0, 16) + " " + waves.substr(12 * 17, 16), "...###.......... ...........###..");
    EXPECT_FALSE(table.IsLoaded(0));
    EXPECT_FALSE(table.IsLoaded(46));
}

// Every style record lies where the table says, styles 0 and 1 are empty, and
// together the styles use every instruction of the format.
TEST(MakeAssets, PenFileHoldsEveryInstruction)
{
    const std::string pen = ReadTextFile(Samples() + "/CARTORAW.PEN");
    ASSERT_GT(pen.size(), 8u);
    EXPECT_EQ(pen.substr(0, 4), "PEN2");
    const uint32_t count = U16(pen, 6);
    ASSERT_EQ(count, 43u);
    std::set<int> used;
    size_t end = 8 + 2 * count;
    for (uint32_t style = 0; style < count; ++style) {
        size_t at = U16(pen, 8 + 2 * style);
        EXPECT_EQ(at, end) << "records follow each other without gaps, style " << style;
        const int strokes = static_cast<uint8_t>(pen[at]);
        EXPECT_EQ(strokes > 0, style >= 2) << style;
        at += 3;
        for (int s = 0; s < strokes; ++s) {
            const size_t length = static_cast<uint8_t>(pen[at]);
            const size_t stop = at + 1 + length;
            ASSERT_LE(stop, pen.size());
            for (size_t i = at + 1; i < stop; i += 1 + Operands(pen[i])) {
                used.insert(static_cast<uint8_t>(pen[i]));
                EXPECT_LE(i + 1 + Operands(pen[i]), stop) << "operands cut short in style " << style;
            }
            at = stop;
        }
        end = at;
    }
    EXPECT_EQ(end, pen.size());
    EXPECT_EQ(used.size(), 24u);
    EXPECT_EQ(*used.rbegin(), 23);
}
