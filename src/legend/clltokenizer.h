#pragma once
// Splits a line into tokens at a set of delimiter characters. Runs of
// delimiters are skipped; a double quote (when it is a delimiter) opens a token
// that runs to the next quote and may hold any other delimiter.

#include <bitset>
#include <string_view>

class CLLTokenizer {
public:
    // Delimiters of legend files: space, comma, '=', '|', tab, line feed, '"'.
    static const char* const LegendDelimiters;
    // Delimiters of colour look-up table files.
    static const char* const LutDelimiters;

    CLLTokenizer(std::string_view line, const char* delimiters);

    // Moves to the next token and returns it. The token is empty for a quoted
    // empty text and when only delimiters were left: a line ending in two or
    // more delimiters therefore still yields one empty token, which row lines
    // count as a column.
    std::string_view Next();
    std::string_view Token() const { return m_Token; }
    std::string_view Rest() const { return m_Rest; }

    // '~', '!', '#', '*', '/', '\' start a comment in legend files.
    static bool IsCommentMarker(std::string_view token);

private:
    std::string_view m_Token;
    std::string_view m_Rest;
    std::bitset<256> m_Delimiters;
};
