#include "pickers/core/cpatterntable.h"
#include "pickers/core/cpatternchooserlogic.h"
#include "platform/cbmpfile.h"
#include "support/testfiles.h"
#include "app/sheet/bmpbytes.h"

#include <gtest/gtest.h>

namespace {
const std::vector<std::vector<uint32_t>> kIndexRows{{0, 1, 1, 0, 2, 3, 1, 0, 1}, {1, 0, 0, 1, 3, 2, 0, 1, 0}};
// black, white, dark red (ink), light yellow (paper)
const std::vector<uint32_t> kPalette{0x000000, 0xFFFFFF, 0x000080, 0xC0FFFF};
} // namespace

TEST(CBmpFile, DecodesEveryDepthBothWaysUpAndRefusesWithAReasonNeverReadingPastTheEnd)
{
    const std::vector<std::vector<uint32_t>> oneBit{{0, 1, 1, 0, 0, 1, 1, 0, 1}, {1, 0, 0, 1, 1, 0, 0, 1, 0}};
    const std::vector<std::vector<uint32_t>> rgb{
        {0, 0xFFFFFF, 0xFFFFFF, 0x000080, 0x000080, 0xC0FFFF, 0xFFFFFF, 0x404040, 0xFFFFFF},
        {0xFFFFFF, 0x101010, 0x7F7F7F, 0x808080, 0xC0FFFF, 0x000080, 0, 0xFFFFFF, 0}};
    const std::string good = BmpBytes(8, kIndexRows, kPalette);
    auto patched = [&good](size_t at, std::string bytes) { return std::string(good).replace(at, bytes.size(), bytes); };
    // Every picture decoded is the same; an empty reason means it is decoded.
    const std::pair<std::string, const char*> cases[] = {
        {BmpBytes(1, oneBit, {0x000000, 0xFFFFFF}), ""},
        {BmpBytes(4, kIndexRows, kPalette), ""},
        {good, ""},
        {BmpBytes(8, kIndexRows, kPalette, true), ""},
        {BmpBytes(24, rgb, {}), ""},
        {"", "not a bitmap file"},
        {good.substr(0, 30), "bitmap header cut short"},
        {patched(28, std::string("\x10\0", 2)), "unsupported number of bits per pixel"},
        {patched(30, std::string("\x01\0\0\0", 4)), "compressed bitmap not supported"},
        {patched(22, std::string("\0\0\0\0", 4)), "bitmap without pixels"},
        {patched(18, std::string("\0\0\0\x01", 4)), "bitmap too large for a pattern"},
        {patched(46, std::string("\x01\x01\0\0", 4)), "palette larger than the pixels can index"},
        {good.substr(0, good.size() - 1), "pixel data cut short"},
        {patched(10, std::string("\xff\xff\xff\xff", 4)), "pixel data cut short"},
    };
    for (const auto& [data, expected] : cases) {
        std::string reason = "?";
        const std::optional<CBmpImage> image = CBmpFile::Decode(data, reason);
        EXPECT_EQ(reason, expected);
        ASSERT_EQ(image.has_value(), *expected == 0);
        if (image) {
            EXPECT_EQ(std::pair(image->width, image->ink),
                      std::pair(9, std::vector<uint8_t>{1, 0, 0, 1, 1, 0, 0, 1, 0, 0, 1, 1, 0, 0, 1, 1, 0, 1}));
        }
    }
}

// The slot is the number after the last underscore, 0 to 999.
TEST(CPatternTable, LoadsTheFolderAndReloadClearsTheFlagsFirst)
{
    CTempDir dir;
    const std::string cross = BmpBytes(1, {{0, 1}, {1, 0}}, {0x000000, 0xFFFFFF});
    WriteTextFile(dir.File("hatch_12.bmp"), cross);
    WriteTextFile(dir.File("z_12.bmp"), BmpBytes(1, {{0, 0}}, {0x000000, 0xFFFFFF})); // listed later: it wins
    WriteTextFile(dir.File("5.BMP"), BmpBytes(24, {{0xFFFFFF, 0, 0}}, {}));
    WriteTextFile(dir.File("plain.bmp"), cross);
    WriteTextFile(dir.File("big_1000.bmp"), cross);
    WriteTextFile(dir.File("a_b_999.bmp"), cross);
    WriteTextFile(dir.File("packed_7.bmp"), BmpBytes(8, kIndexRows, kPalette, false, 1));
    WriteTextFile(dir.File("notes_9.txt"), cross);
    CPatternTable table;
    EXPECT_EQ(table.Load(dir.Path()), 5);
    std::vector<int> loaded;
    for (int n = -1; n <= CPatternTable::Slots; ++n)
        if (table.IsLoaded(n))
            loaded.push_back(n);
    EXPECT_EQ(loaded, (std::vector<int>{0, 5, 12, 999}));
    EXPECT_EQ(CPatternChooserLogic::ListPatterns(table), loaded);
    EXPECT_EQ(table.Bitmap(12), CGridBitmap::FromRows({"##"}));
    std::filesystem::remove(dir.File("hatch_12.bmp"));
    std::filesystem::remove(dir.File("z_12.bmp"));
    EXPECT_EQ(table.Load(dir.Path() + "/"), 3);
    EXPECT_FALSE(table.IsLoaded(12));
    EXPECT_TRUE(table.IsLoaded(5));
    EXPECT_EQ(table.Load(dir.File("missing")), 0);
    EXPECT_FALSE(table.IsLoaded(5));
}
