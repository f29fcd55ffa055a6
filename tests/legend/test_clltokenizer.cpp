#include "legend/clltokenizer.h"
#include "platform/cutext.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

std::vector<std::string> Tokens(std::string_view line, const char* delimiters = CLLTokenizer::LegendDelimiters)
{
    CLLTokenizer tok(line, delimiters);
    std::vector<std::string> out;
    while (!tok.Rest().empty())
        out.emplace_back(tok.Next());
    return out;
}

} // namespace

TEST(CLLTokenizerSplit, RunsOfDelimitersAreSkipped)
{
    EXPECT_EQ(Tokens("\t\t1,  2==3|4"), (std::vector<std::string>{"1", "2", "3", "4"}));
    // One trailing delimiter ends the last token; two or more leave one empty
    // token, like a quoted empty text.
    EXPECT_EQ(Tokens("a\t"), (std::vector<std::string>{"a"}));
    EXPECT_EQ(Tokens("a \t\t"), (std::vector<std::string>{"a", ""}));
    EXPECT_EQ(Tokens("a \"\" \t"), (std::vector<std::string>{"a", "", ""}));
}

TEST(CLLTokenizerSplit, QuotesHoldDelimitersAndMayBeEmpty)
{
    EXPECT_EQ(Tokens("\"a b, c\"\t\"\"\tx"), (std::vector<std::string>{"a b, c", "", "x"}));
    // Text right before an opening quote is lost; an unclosed quote runs to the end.
    EXPECT_EQ(Tokens("ab\"cd\" e"), (std::vector<std::string>{"cd", "e"}));
    EXPECT_EQ(Tokens("\"open to the end, really"), (std::vector<std::string>{"open to the end, really"}));
}

TEST(CLLTokenizerSplit, RestStartsAfterTheSingleEndingDelimiter)
{
    CLLTokenizer tok("#  two spaces", CLLTokenizer::LegendDelimiters);
    EXPECT_EQ(tok.Next(), "#");
    EXPECT_EQ(tok.Rest(), " two spaces");
}

TEST(CLLTokenizerSplit, LutDelimitersIncludeCarriageReturnButNotBar)
{
    EXPECT_EQ(Tokens("1|2\r", CLLTokenizer::LutDelimiters), (std::vector<std::string>{"1|2"}));
}

TEST(CLLTokenizerWords, CommentMarkersAndCaseFreeKeywords)
{
    for (const char* marker : {"~x", "!", "#", "*a", "/", "\\"})
        EXPECT_TRUE(CLLTokenizer::IsCommentMarker(marker)) << marker;
    EXPECT_FALSE(CLLTokenizer::IsCommentMarker("-1"));
    EXPECT_FALSE(CLLTokenizer::IsCommentMarker(""));
    EXPECT_TRUE(CUText::EqualNoCase("numericdiscrete", "NUMERICDISCRETE"));
    EXPECT_FALSE(CUText::EqualNoCase("LEG", "LEGEND"));
    // Only ASCII letters fold: bytes of other characters compare as they are.
    EXPECT_FALSE(CUText::EqualNoCase("\xC4", "\xE4"));
    EXPECT_TRUE(CUText::LessNoCase("apple", "Banana"));
    EXPECT_TRUE(CUText::EndsWithNoCase("x.TAB", ".tab"));
    EXPECT_EQ(CUText::ReplaceAll("a//b///c", "//", "/"), "a/b//c");
}
