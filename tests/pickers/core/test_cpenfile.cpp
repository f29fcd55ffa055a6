#include "pickers/core/cpenfile.h"
#include "pickers/core/penbytes.h"
#include "support/testfiles.h"

#include <gtest/gtest.h>

namespace {
const PenStyle kDash{{2, 5, 3, 5}};
// Styles 0-2; style 2's record starts at 8 + 6 + 3 + 8 = 25.
const std::vector<uint8_t> kThree = PenBytes({{}, kDash, {{2, 5}, {4, 0x21, 3, 4}}});
} // namespace

TEST(CPenFile, ParsesHeaderTableAndRecords)
{
    auto Cut = [](size_t size) { return std::vector<uint8_t>(kThree.begin(), kThree.begin() + std::ptrdiff_t(size)); };
    auto Patched = [](size_t at, uint8_t low, uint8_t high) {
        std::vector<uint8_t> b = kThree;
        b[at] = low;
        b[at + 1] = high;
        return b;
    };
    std::vector<PenStyle> many(1100);
    many[1099] = kDash;
    // What the file is, its bytes, a style asked for; whether it is valid, its style count and that style's strokes.
    const std::tuple<const char*, std::vector<uint8_t>, int, bool, int, PenStyle> cases[] = {
        {"a valid file", kThree, 2, true, 3, {{2, 5}, {4, 33, 3, 4}}},
        {"signature in lower case", PenBytes({{}, kDash}, "pen2"), 1, true, 2, kDash},
        {"another signature", PenBytes({{}, kDash}, "PEN3"), 1, false, 0, {}},
        {"header of 7 bytes", Cut(7), 1, false, 0, {}},
        {"header only: no style is usable", Cut(8), 1, true, 0, {}},
        {"half an offset entry is none", Cut(11), 1, true, 1, {}},
        {"count 65535 in a 36-byte file: 14 entries fit", Patched(6, 0xFF, 0xFF), 14, true, 14, {}},
        {"style number at the count", kThree, 3, true, 3, {}},
        {"negative style number", kThree, -1, true, 3, {}},
        {"count above the table the file holds", Patched(6, 9, 0), 8, true, 9, {}},
        {"offset past the end", Patched(12, 0xF0, 0xFF), 2, true, 3, {}},
        {"record header cut short", Cut(27), 2, true, 3, {}},
        {"second stroke missing", Cut(31), 2, true, 3, {{2, 5}}},
        {"second stroke cut short", Cut(34), 2, true, 3, {{2, 5}, {4, 33}}},
        {"zero-length strokes", PenBytes({{}, {}, {{}, {}}}), 2, true, 3, {{}, {}}},
        {"more than 1024 styles", PenBytes(many), 1099, true, 1100, kDash},
    };
    for (const auto& [what, bytes, style, ok, count, strokes] : cases) {
        const CPenFile pen = CPenFile::Parse(bytes);
        EXPECT_EQ(pen.Status() == EPenFileStatus::Ok, ok) << what;
        EXPECT_EQ(pen.StyleCount(), count) << what;
        EXPECT_EQ(pen.Strokes(style), strokes) << what;
    }
}

TEST(CPenFile, ReadsFromDiskAndCachesUntilTheFileChanges)
{
    CTempDir dir;
    const std::string path = dir.File("lines.pen");

    // Only the part records can reach is read; a record at the last offset with long strokes ends just inside it.
    std::vector<uint8_t> big = PenBytes({{}, {}});
    big[10] = big[11] = 0xFF;
    big.resize(0xFFFF, 0);
    big.insert(big.end(), {2, 0, 0, 255});
    big.insert(big.end(), 255, 3);
    big.insert(big.end(), {1, 2, 7});
    big.resize(CPenFile::MaxUsefulBytes + 1000, 9);
    WriteBytes(path, big);
    EXPECT_EQ(CPenFile::Read(path).Strokes(1), PenStyle({std::vector<uint8_t>(255, 3), {2}}));

    WriteBytes(path, kThree);
    const auto first = CPenFile::Cached(path);
    EXPECT_EQ(CPenFile::Cached(path), first) << "an unchanged file is not read again";
    WriteBytes(path, PenBytes({{}, kDash}));
    const auto second = CPenFile::Cached(path);
    EXPECT_EQ(second->StyleCount(), 2);
    EXPECT_EQ(first->StyleCount(), 3) << "a drawing still holding the old file keeps it whole";
}
