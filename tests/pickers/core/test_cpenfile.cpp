// The pen file reader: header checks, the offset table, records and strokes
// cut short by the end of the file, and the cache that rereads changed files.

#include "pickers/core/cpenfile.h"
#include "pickers/core/penbytes.h"
#include "support/testfiles.h"

#include <gtest/gtest.h>

namespace {

std::vector<uint8_t> Patched(std::vector<uint8_t> bytes, size_t at, std::vector<uint8_t> with)
{
    std::copy(with.begin(), with.end(), bytes.begin() + static_cast<std::ptrdiff_t>(at));
    return bytes;
}

std::vector<uint8_t> Cut(std::vector<uint8_t> bytes, size_t size)
{
    bytes.resize(size);
    return bytes;
}

void WriteBytes(const std::string& path, const std::vector<uint8_t>& bytes)
{
    WriteTextFile(path, std::string(bytes.begin(), bytes.end()));
}

const PenStyle kDash{{2, 5, 3, 5}};
const PenStyle kTwo{{2, 5}, {4, 0x21, 3, 4}};
// Styles 0-2; style 2's record starts at 8 + 6 + 3 + 8 = 25.
const std::vector<uint8_t> kThree = PenBytes({{}, kDash, kTwo});

} // namespace

TEST(CPenFile, ParsesHeaderTableAndRecords)
{
    std::vector<PenStyle> many(1100);
    many[1099] = kDash;
    const struct {
        const char* what;
        std::vector<uint8_t> bytes;
        EPenFileStatus status;
        int count;
        int style;
        PenStyle strokes;
    } cases[] = {
        {"a valid file", kThree, EPenFileStatus::Ok, 3, 2, kTwo},
        {"signature in lower case", PenBytes({{}, kDash}, "pen2"), EPenFileStatus::Ok, 2, 1, kDash},
        {"signature in mixed case", PenBytes({{}, kDash}, "pEn2"), EPenFileStatus::Ok, 2, 1, kDash},
        {"another signature", PenBytes({{}, kDash}, "PEN3"), EPenFileStatus::Invalid, 0, 1, {}},
        {"header of 7 bytes", Cut(kThree, 7), EPenFileStatus::Invalid, 0, 1, {}},
        {"empty file", {}, EPenFileStatus::Invalid, 0, 0, {}},
        {"header only: no style is usable", Cut(kThree, 8), EPenFileStatus::Ok, 0, 1, {}},
        {"half an offset entry is none", Cut(kThree, 11), EPenFileStatus::Ok, 1, 1, {}},
        {"count 65535 in a 36-byte file: 14 entries fit", Patched(kThree, 6, {0xFF, 0xFF}),
         EPenFileStatus::Ok, 14, 14, {}},
        {"count 0: a pen file with no styles", Patched(kThree, 6, {0, 0}), EPenFileStatus::Ok, 0, 0, {}},
        {"style number at the count", kThree, EPenFileStatus::Ok, 3, 3, {}},
        {"negative style number", kThree, EPenFileStatus::Ok, 3, -1, {}},
        {"count above the table the file holds",
         Patched(kThree, 6, {9, 0}),
         EPenFileStatus::Ok,
         9,
         8,
         {}},
        {"offset past the end", Patched(kThree, 12, {0xF0, 0xFF}), EPenFileStatus::Ok, 3, 2, {}},
        {"record header cut short", Cut(kThree, 27), EPenFileStatus::Ok, 3, 2, {}},
        {"second stroke missing", Cut(kThree, 31), EPenFileStatus::Ok, 3, 2, {{2, 5}}},
        {"second stroke cut short", Cut(kThree, 34), EPenFileStatus::Ok, 3, 2, {{2, 5}, {4, 0x21}}},
        {"zero-length strokes", PenBytes({{}, {}, {{}, {}}}), EPenFileStatus::Ok, 3, 2, {{}, {}}},
        {"more than 1024 styles", PenBytes(many), EPenFileStatus::Ok, 1100, 1099, kDash},
    };
    for (const auto& c : cases) {
        const CPenFile pen = CPenFile::Parse(c.bytes);
        EXPECT_EQ(pen.Status(), c.status) << c.what;
        EXPECT_EQ(pen.StyleCount(), c.count) << c.what;
        EXPECT_EQ(pen.Strokes(c.style), c.strokes) << c.what;
    }
}

TEST(CPenFile, ReadsFromDiskAndCachesUntilTheFileChanges)
{
    CTempDir dir;
    const std::string path = dir.File("lines.pen");
    EXPECT_EQ(CPenFile::Read(path).Status(), EPenFileStatus::CannotOpen);
    EXPECT_EQ(CPenFile::Read(dir.Path()).Status(), EPenFileStatus::CannotOpen);
    EXPECT_EQ(CPenFile::Cached(path)->Status(), EPenFileStatus::CannotOpen);

    // Only the part of the file that records can reach is read; a record
    // at the last offset with long strokes ends just inside that part.
    std::vector<uint8_t> big = PenBytes({{}, {}});
    big.resize(0xFFFF, 0);
    big.insert(big.end(), {2, 0, 0, 255});
    big.insert(big.end(), 255, 3);
    big.insert(big.end(), {1, 2, 7});
    big.resize(CPenFile::MaxUsefulBytes + 1000, 9);
    big = Patched(big, 10, {0xFF, 0xFF});
    WriteBytes(path, big);
    const CPenFile read = CPenFile::Read(path);
    EXPECT_EQ(read.Status(), EPenFileStatus::Ok);
    EXPECT_EQ(read.Strokes(1), PenStyle({std::vector<uint8_t>(255, 3), {2}}));

    WriteBytes(path, kThree);
    const auto first = CPenFile::Cached(path);
    EXPECT_EQ(first->StyleCount(), 3);
    EXPECT_EQ(CPenFile::Cached(path), first) << "an unchanged file is not read again";
    WriteBytes(path, PenBytes({{}, kDash}));
    const auto second = CPenFile::Cached(path);
    EXPECT_NE(second, first);
    EXPECT_EQ(second->StyleCount(), 2);
    EXPECT_EQ(first->StyleCount(), 3) << "a drawing still holding the old file keeps it whole";
}
