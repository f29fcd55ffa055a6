#pragma once
// Test tables written as text: one case a line, its fields split at '|' and
// trimmed, so that a table keeps one line per case and reads like the output
// it is compared with.

#include "grid/gridtypes.h"

#include <sstream>
#include <string>
#include <vector>

inline std::string Trimmed(const std::string& s)
{
    const size_t b = s.find_first_not_of(' '), e = s.find_last_not_of(' ');
    return b == std::string::npos ? "" : s.substr(b, e - b + 1);
}

// Splits at `sep`, trimming each part; empty parts are dropped.
inline std::vector<std::string> Split(const std::string& text, char sep = ' ')
{
    std::vector<std::string> parts;
    std::istringstream in(text);
    for (std::string part; std::getline(in, part, sep);)
        if (!Trimmed(part).empty())
            parts.push_back(Trimmed(part));
    return parts;
}

// The non-blank lines of `text`, each as its '|'-separated fields (empty ones kept).
inline std::vector<std::vector<std::string>> Rows(const std::string& text)
{
    std::vector<std::vector<std::string>> rows;
    for (const std::string& line : Split(text, '\n')) {
        std::vector<std::string> fields;
        std::istringstream in(line + "|");
        for (std::string field; std::getline(in, field, '|');)
            fields.push_back(Trimmed(field));
        rows.push_back(fields);
    }
    return rows;
}

inline std::string Joined(const std::vector<std::string>& parts, const std::string& sep = " ")
{
    std::string text;
    for (const std::string& p : parts)
        text += (text.empty() ? "" : sep) + p;
    return text;
}

// "1,2,3" as numbers.
inline std::vector<int> Ints(const std::string& text)
{
    std::vector<int> ints;
    for (const std::string& part : Split(text, ','))
        ints.push_back(std::stoi(part));
    return ints;
}

inline CGridPoint PointOf(const std::string& text)
{
    const std::vector<int> xy = Ints(text);
    return {xy.at(0), xy.at(1)};
}

inline std::string RectText(const CGridRect& r)
{
    return std::to_string(r.left) + "," + std::to_string(r.top) + "," + std::to_string(r.right) +
           "," + std::to_string(r.bottom);
}
