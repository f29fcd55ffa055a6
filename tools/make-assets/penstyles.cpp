// The line styles of the bundled pen file. Each style is a list of strokes
// drawn over the same stretch of line; each stroke is a motif that repeats
// along it. The names say what a person sees.

#include "assets.h"

namespace {

// The instructions, by what they do.
enum Op : uint8_t {
    ToEnd = 1,        // draw along the centre to the end; the stroke ends
    Draw = 2,         // n: draw n pixels along the centre
    Gap = 3,          // n: move n pixels along the centre
    Tick = 4,         // b: tick, (b & 15) above and (b >> 4) below
    Mark = 5,         // the next repetition starts this far back from where one ends
    Width = 6,        // w: pen width w
    Colour = 7,       // r, g, b: pen colour
    BaseColour = 8,   // pen colour back to the caller's colour
    Thin = 9,         // pen width 0
    WidthPlus1 = 10,  // w: pen width w + 1 (0 stays 0)
    Skip11 = 11,      // one operand, no effect
    Skip12 = 12,      // one operand, no effect
    Forward = 13,     // b: strokes forward, up (b & 15) and down (b >> 4)
    Backward = 14,    // b: the same backwards
    SkipToEnd = 15,   // move to the end without drawing; the stroke ends
    Band = 16,        // p, s, u: band of the next shape, y0 - s to y0 - s + u
    Shape = 17,       // w, s, u: filled shape from the band to (y0 - s, y0 - s + u), w wide
    MoveTo = 18,      // p, d: current point to (x, y0 - d)
    LineTo = 19,      // dx, dy: line to (x + dx, y0 - dy)
    Fill = 20,        // r, g, b: fill colour of shapes
    BaseFill = 21,    // fill colour back to the caller's colour
    ToEndToo = 23,    // one operand: the same as ToEnd
};

// A signed operand.
constexpr uint8_t S(int v)
{
    return static_cast<uint8_t>(v);
}

constexpr uint8_t Ticks(int up, int down)
{
    return static_cast<uint8_t>(up | (down << 4));
}

using Stroke = std::vector<uint8_t>;
const Stroke Solid = {ToEnd};

} // namespace

std::vector<CPenStyleAsset> PenStyleAssets()
{
    // clang-format off
    return {
        {"none", {}},
        {"none (shown as N)", {}},
        {"solid", {Solid}},
        {"short dashes (4 on, 3 off)", {{Draw, 4, Gap, 3}}},
        {"medium dashes (8 on, 4 off)", {{Draw, 8, Gap, 4}}},
        {"long dashes (16 on, 6 off)", {{Draw, 16, Gap, 6}}},
        {"dots", {{Draw, 1, Gap, 3}}},
        {"dash dot", {{Draw, 10, Gap, 3, Draw, 1, Gap, 3}}},
        {"dash dot dot", {{Draw, 10, Gap, 3, Draw, 1, Gap, 3, Draw, 1, Gap, 3}}},
        {"centre line (long, short)", {{Draw, 16, Gap, 3, Draw, 4, Gap, 3}}},
        {"ticks above", {Solid, {Gap, 4, Tick, Ticks(4, 0), Gap, 4}}},
        {"ticks below", {Solid, {Gap, 4, Tick, Ticks(0, 4), Gap, 4}}},
        {"ticks across (rail)", {Solid, {Gap, 3, Tick, Ticks(3, 3), Gap, 3}}},
        {"ticks alternating sides", {Solid, {Gap, 3, Tick, Ticks(4, 0), Gap, 6, Tick, Ticks(0, 4), Gap, 3}}},
        {"long ticks above, sparse", {Solid, {Gap, 8, Tick, Ticks(8, 0), Gap, 8}}},
        {"dashes with ticks below (fault)", {{Draw, 8, Tick, Ticks(0, 5), Gap, 4}}},
        {"forward strokes above", {Solid, {Gap, 4, Forward, Ticks(4, 0), Gap, 4}}},
        {"backward strokes below", {Solid, {Gap, 4, Backward, Ticks(0, 4), Gap, 4}}},
        {"arrow heads along the line", {Solid, {Gap, 10, Backward, Ticks(4, 4), Gap, 10}}},
        {"chevrons without a line", {{Gap, 3, Forward, Ticks(3, 3), Gap, 5}}},
        {"teeth above (thrust)",
         {Solid, {Band, 0, 0, 0, Shape, 4, 6, 6, Shape, 4, 0, 0, Gap, 8}}},
        {"teeth below",
         {Solid, {Band, 0, 0, 0, Shape, 4, 0, 6, Shape, 4, 0, 0, Gap, 8}}},
        {"squares on the line", {Solid, {Gap, 4, Band, 0, 3, 6, Shape, 6, 3, 6, Gap, 6}}},
        {"squares above and below",
         {Solid, {Band, 0, 4, 4, Shape, 4, 4, 4, Gap, 4, Band, 0, 0, 4, Shape, 4, 0, 4, Gap, 4}}},
        {"red line", {{Colour, 255, 0, 0, ToEnd}}},
        {"blue dashes over a line", {Solid, {Colour, 0, 0, 255, Draw, 6, Gap, 6}}},
        {"blue and base dashes", {{Colour, 0, 0, 255, Draw, 6, Gap, 2, BaseColour, Draw, 6, Gap, 2}}},
        {"green teeth with outlines",
         {Solid, {Fill, 0, 160, 0, Band, 0, 0, 0, Shape, 4, 6, 6, Shape, 4, 0, 0, Gap, 4,
                  BaseFill, Shape, 4, 6, 6, Shape, 4, 0, 0, Gap, 4}}},
        {"wide line (3)", {{Width, 3, ToEnd}}},
        {"wide line (2 + 1)", {{WidthPlus1, 2, ToEnd}}},
        {"thick and thin dashes", {{Width, 3, Draw, 10, Gap, 3, Thin, Draw, 10, Gap, 3}}},
        {"wide dots", {{Width, 2, Draw, 2, Gap, 4}}},
        {"wide line with ticks across (rail)", {{Width, 2, ToEnd}, {Gap, 4, Tick, Ticks(4, 4), Gap, 4}}},
        {"double line", {{MoveTo, 0, S(2), LineTo, 8, S(2)}, {MoveTo, 0, S(-2), LineTo, 8, S(-2)}}},
        {"zig-zag", {{MoveTo, 0, 0, LineTo, 3, 3, LineTo, 6, S(-3), LineTo, 3, 0}}},
        {"square wave",
         {{MoveTo, 0, S(-3), LineTo, 0, 3, LineTo, 6, 3, LineTo, 0, S(-3), LineTo, 6, S(-3)}}},
        // The leading gap is folded back by the mark, so the dashes come 12 apart, not 16.
        {"dashes placed by the repeat mark", {{Gap, 4, Mark, Draw, 8, Gap, 4}}},
        {"two dashes, then solid to the end", {{Draw, 6, Gap, 4, Draw, 6, Gap, 4, ToEnd}}},
        {"late start (gap, then solid)", {{Gap, 20, ToEndToo, 0}}},
        {"solid lead-in over dots", {{Draw, 24, SkipToEnd}, {Draw, 1, Gap, 3}}},
        // The instructions that do nothing must not upset the ones around them.
        {"dashes with no-effect bytes", {{Skip11, 7, Draw, 6, 0, Skip12, 9, 22, Gap, 3}}},
        {"railway (wide, ticks across)", {{WidthPlus1, 2, ToEnd}, {Gap, 6, Tick, Ticks(3, 3), Gap, 6}}},
        {"dashed boundary with dots between", {{Draw, 8, Gap, 3, Draw, 1, Gap, 3}}},
    };
    // clang-format on
}

std::string EncodePenFile(const std::vector<CPenStyleAsset>& styles)
{
    std::string out = "PEN2";
    auto u16 = [](std::string& to, size_t v) {
        to += static_cast<char>(v & 0xFF);
        to += static_cast<char>((v >> 8) & 0xFF);
    };
    u16(out, 0);
    u16(out, styles.size());
    std::string records;
    const size_t first = out.size() + 2 * styles.size();
    for (const CPenStyleAsset& style : styles) {
        u16(out, first + records.size());
        records += static_cast<char>(style.strokes.size());
        records += std::string(2, '\0');
        for (const auto& stroke : style.strokes) {
            records += static_cast<char>(stroke.size());
            records.append(stroke.begin(), stroke.end());
        }
    }
    if (first + records.size() > 0x10000)
        return {};
    return out + records;
}
