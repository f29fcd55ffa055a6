#pragma once
// Test tables written as text: one case a line, its fields split at '|', so that a table keeps one line per case and
// reads like the output it is compared with.

#include <sstream>
#include <string>
#include <vector>

// Splits at `sep`, trimming spaces off each part; blank parts are dropped.
inline std::vector<std::string> Split(const std::string& text, char sep = ' ')
{
    std::vector<std::string> parts;
    std::istringstream in(text);
    for (std::string part; std::getline(in, part, sep);)
        if (const size_t b = part.find_first_not_of(' '); b != std::string::npos)
            parts.push_back(part.substr(b, part.find_last_not_of(' ') + 1 - b));
    return parts;
}

// The non-blank lines of `text`, each as its '|'-separated fields.
inline std::vector<std::vector<std::string>> Rows(const std::string& text)
{
    std::vector<std::vector<std::string>> rows;
    for (const std::string& line : Split(text, '\n'))
        rows.push_back(Split(line, '|'));
    return rows;
}
