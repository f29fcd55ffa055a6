#pragma once
// Text comparisons of the file formats and folders: case is ignored for ASCII
// letters only, whatever the user's locale, so that results never depend on it.

#include <string>
#include <string_view>

class CUText {
public:
    static bool EqualNoCase(std::string_view a, std::string_view b);
    static bool LessNoCase(std::string_view a, std::string_view b);
    static bool EndsWithNoCase(std::string_view text, std::string_view suffix);
    // Replaces every occurrence of `from`, scanning left to right without overlaps.
    static std::string ReplaceAll(std::string text, std::string_view from, std::string_view to);
};
