// The pen file reader: header checks, the offset table, records and strokes
// cut short by the end of the file, and the cache that rereads changed files.

#include "pickers/core/cpenfile.h"
#include "pickers/core/penbytes.h"
#include "pickers/core/tabletext.h"
#include "support/testfiles.h"

#include <gtest/gtest.h>

namespace {

std::vector<uint8_t> Cut(std::vector<uint8_t> bytes, size_t size)
{
    bytes.resize(size);
    return bytes;
}

// The status, the style count and a style's strokes: "ok 3 [2 5][4 33 3 4]".
std::string Described(const CPenFile& pen, int style)
{
    std::string text =
        std::string(pen.Status() == EPenFileStatus::Ok ? "ok" : "bad") + " " + std::to_string(pen.StyleCount()) + " ";
    for (const auto& stroke : pen.Strokes(style)) {
        std::vector<std::string> bytes;
        for (uint8_t b : stroke)
            bytes.push_back(std::to_string(b));
        text += "[" + Joined(bytes) + "]";
    }
    return text;
}

const PenStyle kDash{{2, 5, 3, 5}};
// Styles 0-2; style 2's record starts at 8 + 6 + 3 + 8 = 25.
const std::vector<uint8_t> kThree = PenBytes({{}, kDash, {{2, 5}, {4, 0x21, 3, 4}}});

} // namespace

TEST(CPenFile, ParsesHeaderTableAndRecords)
{
    std::vector<PenStyle> many(1100);
    many[1099] = kDash;
    const struct {
        const char* what;
        std::vector<uint8_t> bytes;
        int style;
        const char* read;
    } cases[] = {
        {"a valid file", kThree, 2, "ok 3 [2 5][4 33 3 4]"},
        {"signature in lower case", PenBytes({{}, kDash}, "pen2"), 1, "ok 2 [2 5 3 5]"},
        {"another signature", PenBytes({{}, kDash}, "PEN3"), 1, "bad 0 "},
        {"header of 7 bytes", Cut(kThree, 7), 1, "bad 0 "},
        {"header only: no style is usable", Cut(kThree, 8), 1, "ok 0 "},
        {"half an offset entry is none", Cut(kThree, 11), 1, "ok 1 "},
        {"count 65535 in a 36-byte file: 14 entries fit", Patched(kThree, 6, {0xFF, 0xFF}), 14, "ok 14 "},
        {"style number at the count", kThree, 3, "ok 3 "},
        {"negative style number", kThree, -1, "ok 3 "},
        {"count above the table the file holds", Patched(kThree, 6, {9, 0}), 8, "ok 9 "},
        {"offset past the end", Patched(kThree, 12, {0xF0, 0xFF}), 2, "ok 3 "},
        {"record header cut short", Cut(kThree, 27), 2, "ok 3 "},
        {"second stroke missing", Cut(kThree, 31), 2, "ok 3 [2 5]"},
        {"second stroke cut short", Cut(kThree, 34), 2, "ok 3 [2 5][4 33]"},
        {"zero-length strokes", PenBytes({{}, {}, {{}, {}}}), 2, "ok 3 [][]"},
        {"more than 1024 styles", PenBytes(many), 1099, "ok 1100 [2 5 3 5]"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Described(CPenFile::Parse(c.bytes), c.style), c.read) << c.what;
}

TEST(CPenFile, ReadsFromDiskAndCachesUntilTheFileChanges)
{
    CTempDir dir;
    const std::string path = dir.File("lines.pen");
    EXPECT_EQ(CPenFile::Read(path).Status(), EPenFileStatus::CannotOpen);
    EXPECT_EQ(CPenFile::Cached(path)->Status(), EPenFileStatus::CannotOpen);

    // Only the part of the file that records can reach is read; a record
    // at the last offset with long strokes ends just inside that part.
    std::vector<uint8_t> big = PenBytes({{}, {}});
    big.resize(0xFFFF, 0);
    big.insert(big.end(), {2, 0, 0, 255});
    big.insert(big.end(), 255, 3);
    big.insert(big.end(), {1, 2, 7});
    big.resize(CPenFile::MaxUsefulBytes + 1000, 9);
    WriteBytes(path, Patched(big, 10, {0xFF, 0xFF}));
    EXPECT_EQ(CPenFile::Read(path).Strokes(1), PenStyle({std::vector<uint8_t>(255, 3), {2}}));

    WriteBytes(path, kThree);
    const auto first = CPenFile::Cached(path);
    EXPECT_EQ(CPenFile::Cached(path), first) << "an unchanged file is not read again";
    WriteBytes(path, PenBytes({{}, kDash}));
    const auto second = CPenFile::Cached(path);
    EXPECT_EQ(second->StyleCount(), 2);
    EXPECT_EQ(first->StyleCount(), 3) << "a drawing still holding the old file keeps it whole";
}
