#include "platform/ctextcodec.h"

#include <gtest/gtest.h>

TEST(CTextCodec, Utf8PassesThroughAndOtherBytesAreWindows1252)
{
    EXPECT_EQ(CTextCodec::ToUtf8("Gr\xC3\xBCn"), "Gr\xC3\xBCn");
    EXPECT_EQ(CTextCodec::ToUtf8("Gr\xFCn"), "Gr\xC3\xBCn");
    EXPECT_EQ(CTextCodec::ToUtf8("\x80 5"), "\xE2\x82\xAC 5");
    EXPECT_EQ(CTextCodec::ToUtf8("\xC3"), "\xC3\x83");     // a cut-off sequence is not UTF-8
    EXPECT_FALSE(CTextCodec::IsValidUtf8("\xC0\xAF"));     // overlong
    EXPECT_FALSE(CTextCodec::IsValidUtf8("\xED\xA0\x80")); // surrogate
    EXPECT_TRUE(CTextCodec::IsValidUtf8("\xF0\x9F\x98\x80"));
}
