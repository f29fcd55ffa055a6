#include "legend/clltokenizer.h"

#include <gtest/gtest.h>

#include <string>

// The tokens of each line joined by '|', and what Rest() holds after the first.
TEST(CLLTokenizerSplit, TokensOfEachLine)
{
    const char* const leg = CLLTokenizer::LegendDelimiters;
    const struct {
        const char* line;
        const char* delimiters;
        std::string tokens, restAfterFirst;
    } cases[] = {
        {"\t\t1,  2==3|4", leg, "1|2|3|4|", "  2==3|4"},
        // One trailing delimiter ends the last token; two or more leave one
        // empty token, like a quoted empty text.
        {"a\t", leg, "a|", ""},
        {"a \t\t", leg, "a||", "\t\t"},
        {"a \"\" \t", leg, "a|||", "\"\" \t"},
        {"\"a b, c\"\t\"\"\tx", leg, "a b, c||x|", "\t\"\"\tx"},
        // Text right before an opening quote is lost; an unclosed quote runs to the end.
        {"ab\"cd\" e", leg, "cd|e|", " e"},
        {"\"open to the end, really", leg, "open to the end, really|", ""},
        // Rest starts after the single delimiter that ends the token.
        {"#  two spaces", leg, "#|two|spaces|", " two spaces"},
        {"1|2\r", CLLTokenizer::LutDelimiters, "1|2|", ""},
    };
    for (const auto& c : cases) {
        CLLTokenizer tok(c.line, c.delimiters);
        std::string tokens, rest;
        for (bool first = true; !tok.Rest().empty(); first = false) {
            tokens += std::string(tok.Next()) + "|";
            if (first)
                rest = tok.Rest();
        }
        EXPECT_EQ(tokens + " / " + rest, c.tokens + " / " + c.restAfterFirst) << c.line;
    }
}

TEST(CLLTokenizerWords, CommentMarkers)
{
    std::string markers;
    for (const char* token : {"~x", "!", "#", "*a", "/", "\\", "-1", ""})
        markers += CLLTokenizer::IsCommentMarker(token) ? '1' : '0';
    EXPECT_EQ(markers, "11111100");
}
