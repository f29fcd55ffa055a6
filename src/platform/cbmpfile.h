#pragma once
// A reader of the uncompressed Windows bitmaps that fill patterns are kept in
// (1, 4, 8 and 24 bits a pixel, bottom-up or top-down), turned into a
// monochrome picture. Anything else is refused with a reason; nothing outside
// the file's bytes is ever read.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

struct CBmpImage {
    int width = 0;
    int height = 0;
    // One byte a pixel, row by row from the top: 1 for a dark pixel (luminance
    // below half), which is what a pattern draws in the fill colour, as black
    // lines on white are drawn in the legend's colour over white.
    std::vector<uint8_t> ink;

    bool Ink(int x, int y) const
    {
        return ink[static_cast<size_t>(y) * static_cast<size_t>(width) + static_cast<size_t>(x)] !=
               0;
    }
};

class CBmpFile {
public:
    // Patterns are small; the limit keeps a damaged header from asking for
    // gigabytes.
    static constexpr int64_t MaxPixels = int64_t{1} << 24;

    // The picture, or none with `reason` telling why.
    static std::optional<CBmpImage> Decode(std::string_view data, std::string& reason);
    static std::optional<CBmpImage> Read(const std::string& path, std::string& reason);
};
