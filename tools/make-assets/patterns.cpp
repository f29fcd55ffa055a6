// The fill patterns. Regular ones are a formula over the pixel position,
// pictures are drawn as rows. Hatches and grids are 8 by 8 (or 16 by 16 for
// the wide spacings), so that they tile seamlessly in cells of any size.

#include "assets.h"

#include <cstdlib>

namespace {

using Rule = bool (*)(int x, int y);

std::vector<std::string> Formula(int size, Rule ink)
{
    std::vector<std::string> rows;
    for (int y = 0; y < size; ++y) {
        std::string row;
        for (int x = 0; x < size; ++x)
            row += ink(x, y) ? '#' : '.';
        rows.push_back(row);
    }
    return rows;
}

// x modulo n, never negative.
int Mod(int x, int n)
{
    return ((x % n) + n) % n;
}

// Distance between two columns of a 16-wide tile, going round its edges.
int RoundDistance16(int a, int b)
{
    const int d = Mod(a - b, 16);
    return d < 8 ? d : 16 - d;
}

// Wave height per column: a smooth swing of four pixels over 16 columns.
constexpr int WaveHeight[16] = {2, 1, 1, 0, 0, 0, 1, 1, 2, 3, 3, 4, 4, 4, 3, 3};

} // namespace

std::vector<CPatternAsset> PatternAssets()
{
    // clang-format off
    return {
        {1, "solid", Formula(8, [](int, int) { return true; })},
        {2, "fine checker (half tone)", Formula(8, [](int x, int y) { return (x + y) % 2 == 0; })},
        // Hatches in four directions, each dense (4 px) and sparse (8 px).
        {3, "horizontal lines, dense", Formula(8, [](int, int y) { return y % 4 == 0; })},
        {4, "horizontal lines, sparse", Formula(8, [](int, int y) { return y == 0; })},
        {5, "vertical lines, dense", Formula(8, [](int x, int) { return x % 4 == 0; })},
        {6, "vertical lines, sparse", Formula(8, [](int x, int) { return x == 0; })},
        {7, "diagonal lines /, dense", Formula(8, [](int x, int y) { return (x + y) % 4 == 3; })},
        {8, "diagonal lines /, sparse", Formula(8, [](int x, int y) { return (x + y) % 8 == 7; })},
        {9, "diagonal lines \\, dense", Formula(8, [](int x, int y) { return Mod(x - y, 4) == 0; })},
        {10, "diagonal lines \\, sparse", Formula(8, [](int x, int y) { return x == y; })},
        {11, "diagonal cross-hatch, dense",
         Formula(8, [](int x, int y) { return (x + y) % 4 == 3 || Mod(x - y, 4) == 0; })},
        {12, "diagonal cross-hatch, sparse",
         Formula(8, [](int x, int y) { return (x + y) % 8 == 7 || x == y; })},
        {13, "square grid, dense", Formula(8, [](int x, int y) { return x % 4 == 0 || y % 4 == 0; })},
        {14, "square grid, sparse", Formula(8, [](int x, int y) { return x == 0 || y == 0; })},
        // Dots of four densities: 1 in 64, 1 in 16, 1 in 8 (staggered), 1 in 4.
        {15, "dots, sparse", Formula(8, [](int x, int y) { return x == 0 && y == 0; })},
        {16, "dots, medium", Formula(8, [](int x, int y) { return x % 4 == 0 && y % 4 == 0; })},
        {17, "dots, staggered",
         Formula(8, [](int x, int y) { return (x % 4 == 0 && y % 4 == 0) || (x % 4 == 2 && y % 4 == 2); })},
        {18, "dots, dense", Formula(8, [](int x, int y) { return x % 2 == 0 && y % 2 == 0; })},
        {19, "checks, small", Formula(8, [](int x, int y) { return (x / 4 + y / 4) % 2 == 0; })},
        {20, "checks, large", Formula(16, [](int x, int y) { return (x / 8 + y / 8) % 2 == 0; })},
        {21, "bricks",
         Formula(8, [](int x, int y) { return y % 4 == 0 || (y < 4 ? x == 0 : x == 4); })},
        {22, "waves", Formula(16, [](int x, int y) { return WaveHeight[x] == y % 8; })},
        {23, "zig-zag", Formula(16, [](int x, int y) { return y % 8 == (x < 8 ? x : 15 - x); })},
        // Upward triangles in two staggered rows, apexes 8 columns apart.
        {24, "triangles",
         Formula(16, [](int x, int y) {
             const int r = y % 8;
             const int dx = RoundDistance16(x, y < 8 ? 7 : 15);
             return r < 7 && dx <= r;
         })},
        {25, "diamonds", Formula(8, [](int x, int y) { return std::abs(x - 4) + std::abs(y - 4) == 3; })},
        {26, "herringbone",
         Formula(16, [](int x, int y) { return x < 8 ? Mod(x + y, 8) == 0 : Mod(y - x, 8) == 1; })},
        {27, "basket weave",
         Formula(16, [](int x, int y) { return (x / 8 + y / 8) % 2 == 0 ? y % 2 == 0 : x % 2 == 0; })},
        {28, "plus signs", Formula(8, [](int x, int y) {
             return (x == 3 && y >= 2 && y <= 4) || (y == 3 && x >= 2 && x <= 4); })},
        // The usual lithology fills.
        {29, "limestone (large bricks)",
         Formula(16, [](int x, int y) { return y % 8 == 0 || (y < 8 ? x == 0 : x == 8); })},
        {30, "dolomite (slanted bricks)",
         Formula(16, [](int x, int y) { return y % 8 == 0 || x == y % 8 + (y < 8 ? 0 : 8); })},
        {31, "sandstone (stipple)", {
            "#..........#....",
            "......#.........",
            "..............#.",
            "...#......#.....",
            "................",
            "........#......#",
            ".#..............",
            ".....#.....#....",
            "................",
            "..#.......#.....",
            ".............#..",
            "......#.........",
            "#.........#.....",
            "................",
            "....#......#....",
            "................",
        }},
        {32, "siltstone (dots and dashes)", {
            "..###...........",
            "................",
            ".........#......",
            "................",
            "..........###...",
            "................",
            "...#............",
            "................",
            "......###.......",
            "................",
            ".#..............",
            "................",
            "###.............",
            "................",
            "...........#....",
            "................",
        }},
        {33, "shale (dashes)", {
            "######..######..",
            "................",
            "................",
            "................",
            "...######..#####",
            "................",
            "................",
            "................",
            "#..######..#####",
            "................",
            "................",
            "................",
            "#####..######...",
            "................",
            "................",
            "................",
        }},
        {34, "claystone (long dashes)",
         Formula(16, [](int x, int y) { return y % 4 == 0 && Mod(x - 4 * (y / 4), 16) < 13; })},
        {35, "conglomerate (pebbles)", {
            "................",
            "...###..........",
            "..#...#.........",
            ".#.....#........",
            ".#.....#........",
            ".#.....#........",
            "..#...#.........",
            "...###..........",
            "................",
            "..........##....",
            ".........#..#...",
            "........#....#..",
            "........#....#..",
            ".........#..#...",
            "..........##....",
            "................",
        }},
        {36, "gravel (small pebbles)", {
            "................",
            "..##............",
            ".#..#......##...",
            ".#..#.....#..#..",
            "..##......#..#..",
            "...........##...",
            "................",
            "................",
            ".....##.........",
            "....#..#........",
            "....#..#.....##.",
            ".....##.....#..#",
            "............#..#",
            ".............##.",
            "................",
            "................",
        }},
        {37, "oolite", {
            "........",
            "..##....",
            ".#..#...",
            ".#..#...",
            "..##....",
            "........",
            "........",
            "........",
        }},
        {38, "breccia (angular fragments)", {
            "................",
            ".#..............",
            ".##.............",
            ".#.#............",
            ".#..#...........",
            ".#####..........",
            "................",
            "................",
            ".........######.",
            "..........#...#.",
            "...........#..#.",
            "............#.#.",
            ".............##.",
            "..............#.",
            "................",
            "................",
        }},
        {39, "granite (crosses)", {
            "................",
            "..#.............",
            ".###............",
            "..#.......#.....",
            ".........###....",
            "..........#.....",
            "................",
            "................",
            "....#...........",
            "...###..........",
            "....#.......#...",
            "...........###..",
            "............#...",
            "................",
            "................",
            "................",
        }},
        {40, "basalt (v marks)", {
            "................",
            ".#...#..........",
            "..#.#...........",
            "...#............",
            "................",
            "................",
            "................",
            "................",
            "................",
            ".........#...#..",
            "..........#.#...",
            "...........#....",
            "................",
            "................",
            "................",
            "................",
        }},
        {41, "halite (x marks)", {
            "#...#...",
            ".#.#....",
            "..#.....",
            ".#.#....",
            "#...#...",
            "........",
            "........",
            "........",
        }},
        {42, "coal (dark bands)", Formula(8, [](int, int y) { return y % 4 != 3; })},
        {43, "peat (tufts on soil lines)", {
            "................",
            "................",
            "..#.#.#.........",
            "...###..........",
            "....#...........",
            "................",
            "................",
            "################",
            "................",
            "................",
            "..........#.#.#.",
            "...........###..",
            "............#...",
            "................",
            "................",
            "################",
        }},
        {44, "till (pebbles in dashes)", {
            "................",
            "..##............",
            ".#..#....####...",
            "..##............",
            "................",
            "................",
            "..........#.#...",
            ".........#####..",
            "................",
            "....####........",
            "................",
            "..........##....",
            ".........#..#...",
            ".........#..#...",
            "..........##....",
            "................",
        }},
        {45, "chert (triangles in rows)", {
            "...#....",
            "..###...",
            ".#####..",
            "........",
            "#......#",
            "##....##",
            "###..###",
            "........",
        }},
    };
    // clang-format on
}

std::string EncodeMonochromeBmp(const std::vector<std::string>& rows)
{
    const uint32_t height = static_cast<uint32_t>(rows.size());
    const uint32_t width = rows.empty() ? 0 : static_cast<uint32_t>(rows[0].size());
    const uint32_t stride = (width + 31) / 32 * 4;
    const uint32_t pixelsAt = 14 + 40 + 2 * 4;
    std::string out;
    auto u16 = [&](uint32_t v) {
        out += static_cast<char>(v & 0xFF);
        out += static_cast<char>((v >> 8) & 0xFF);
    };
    auto u32 = [&](uint32_t v) {
        u16(v & 0xFFFF);
        u16(v >> 16);
    };
    out += "BM";
    u32(pixelsAt + stride * height); // file size
    u32(0);                          // reserved
    u32(pixelsAt);
    u32(40); // info header size
    u32(width);
    u32(height); // positive: rows stored bottom-up
    u16(1);      // planes
    u16(1);      // bits a pixel
    u32(0);      // no compression
    u32(stride * height);
    u32(2835); // 72 dots an inch, as most painting programs write
    u32(2835);
    u32(2); // palette entries
    u32(0); // all of them matter
    u32(0x00FFFFFF); // entry 0: white paper
    u32(0x00000000); // entry 1: black ink
    for (uint32_t y = height; y-- > 0;) {
        std::string row(stride, '\0');
        for (uint32_t x = 0; x < width && x < rows[y].size(); ++x)
            if (rows[y][x] == '#')
                row[x / 8] = static_cast<char>(row[x / 8] | (0x80 >> (x % 8)));
        out += row;
    }
    return out;
}
