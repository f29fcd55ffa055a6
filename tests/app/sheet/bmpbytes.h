#pragma once
// Builds uncompressed BMP files in memory for the pattern tests and seeds.

#include <cstdint>
#include <string>
#include <vector>

// rows from the top, one palette index (or 0xBBGGRR for 24 bits) per pixel;
// topDown stores them as given with a negative height.
inline std::string BmpBytes(int bits, const std::vector<std::vector<uint32_t>>& rows,
                            const std::vector<uint32_t>& palette, bool topDown = false,
                            uint32_t compression = 0)
{
    const int width = rows.empty() ? 0 : static_cast<int>(rows[0].size());
    const int height = static_cast<int>(rows.size());
    const size_t stride = (static_cast<size_t>(width) * bits + 31) / 32 * 4;
    std::string pixels;
    for (int i = 0; i < height; ++i) {
        const auto& row = rows[static_cast<size_t>(topDown ? i : height - 1 - i)];
        std::string line(stride, '\0');
        for (int x = 0; x < width; ++x) {
            const uint32_t v = row[static_cast<size_t>(x)];
            if (bits == 24) {
                for (int b = 0; b < 3; ++b)
                    line[static_cast<size_t>(x * 3 + b)] = static_cast<char>((v >> (8 * b)) & 0xFF);
            } else {
                const size_t bit = static_cast<size_t>(x) * static_cast<size_t>(bits);
                line[bit / 8] = static_cast<char>(static_cast<uint8_t>(line[bit / 8]) |
                                                  (v << (8 - bits - bit % 8)));
            }
        }
        pixels += line;
    }
    std::string out;
    auto put = [&out](uint32_t v, int bytes) {
        for (int b = 0; b < bytes; ++b)
            out += static_cast<char>((v >> (8 * b)) & 0xFF);
    };
    const uint32_t offset = 14 + 40 + 4 * static_cast<uint32_t>(palette.size());
    out += "BM";
    put(offset + static_cast<uint32_t>(pixels.size()), 4);
    put(0, 4);
    put(offset, 4);
    put(40, 4);
    put(static_cast<uint32_t>(width), 4);
    put(static_cast<uint32_t>(topDown ? -height : height), 4);
    put(1, 2);
    put(static_cast<uint32_t>(bits), 2);
    put(compression, 4);
    put(static_cast<uint32_t>(pixels.size()), 4);
    put(0, 4);
    put(0, 4);
    put(static_cast<uint32_t>(palette.size()), 4);
    put(0, 4);
    for (uint32_t c : palette)
        put(c, 4);
    return out + pixels;
}
