#include "legend/clltokenizer.h"

#include <gtest/gtest.h>

#include <string>

// The tokens of each line joined by ';', and what Rest() holds after the first.
// The file tests drive the other rules through whole legends and tables.
TEST(CLLTokenizerSplit, TokensOfEachLine)
{
    const struct {
        const char* line;
        std::string tokens, restAfterFirst;
    } cases[] = {
        {"\t\t1,  2==3|4", "1;2;3;4;", "  2==3|4"},
        // Text right before an opening quote is lost; an unclosed quote runs to the end.
        {"ab\"cd\" e", "cd;e;", " e"},
        {"\"open to the end, really", "open to the end, really;", ""},
    };
    for (const auto& c : cases) {
        CLLTokenizer tok(c.line, CLLTokenizer::LegendDelimiters);
        std::string tokens, rest;
        for (bool first = true; !tok.Rest().empty(); first = false) {
            tokens += std::string(tok.Next()) + ";";
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
