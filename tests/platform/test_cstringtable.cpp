#include "platform/cstringtable.h"
#include "platform/ctextcodec.h"

#include <gtest/gtest.h>

TEST(CStringTableFormat, ReplacesNumberedPlaceholders)
{
    const std::pair<std::string, std::string> cases[] = {
        {CStringTable::FormatId(Str::CouldNotOpen, {"/a/b.tab"}), "Could not open /a/b.tab"},
        {CStringTable::FormatId(Str::SaveChanges, {}), "Would you like to save your changes to the current legend?"},
        {CStringTable::Format("%2!s! before %1!d!", {"one", "two"}), "two before one"},
        // A missing argument leaves nothing; text that only looks like a placeholder stays.
        {CStringTable::Format("[%3!s!] 100% %x", {"a"}), "[] 100% %x"},
        {CStringTable::Load(99999), ""},
    };
    for (const auto& [formatted, expected] : cases)
        EXPECT_EQ(formatted, expected);
}

TEST(CTextCodec, Utf8PassesThroughAndOtherBytesAreWindows1252)
{
    EXPECT_EQ(CTextCodec::ToUtf8("Gr\xC3\xBCn"), "Gr\xC3\xBCn");
    EXPECT_EQ(CTextCodec::ToUtf8("Gr\xFCn"), "Gr\xC3\xBCn");
    EXPECT_EQ(CTextCodec::ToUtf8("\x80 5"), "\xE2\x82\xAC 5");
    EXPECT_EQ(CTextCodec::ToUtf8("\xC3"), "\xC3\x83"); // a cut-off sequence is not UTF-8
    EXPECT_FALSE(CTextCodec::IsValidUtf8("\xC0\xAF")); // overlong
    EXPECT_FALSE(CTextCodec::IsValidUtf8("\xED\xA0\x80") ||
                 CTextCodec::IsValidUtf8("\xF4\x90\x80\x80")); // a surrogate, past U+10FFFF
    EXPECT_TRUE(CTextCodec::IsValidUtf8("\xF0\x9F\x98\x80"));
}
