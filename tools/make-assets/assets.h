#pragma once
// The bundled fill patterns and line styles, and the two file formats they are
// written in. Each pattern and each style is a short description in
// patterns.cpp and penstyles.cpp; the files are made from those alone, so a
// run on any machine gives the same bytes.

#include <cstdint>
#include <string>
#include <vector>

// A fill pattern: its number (the number after the last '_' of the file
// name), a name for people, and its rows from the top, '#' for a pixel drawn
// in the fill colour.
struct CPatternAsset {
    int number = 0;
    std::string name;
    std::vector<std::string> rows;
};

std::vector<CPatternAsset> PatternAssets();

// An uncompressed 1-bit bitmap file: a two-entry palette (white paper, black
// ink), rows stored bottom-up and padded to four bytes. Every row must have
// the same length.
std::string EncodeMonochromeBmp(const std::vector<std::string>& rows);

// A line style: a name for people and its strokes, each a string of
// instruction bytes.
struct CPenStyleAsset {
    std::string name;
    std::vector<std::vector<uint8_t>> strokes;
};

std::vector<CPenStyleAsset> PenStyleAssets();

// The pen file: "PEN2", two unused bytes, the style count, a table of 16-bit
// record offsets, then per style its stroke count, two unused bytes and each
// stroke as a length byte and its instructions. Empty when the records would
// not fit below 64 KiB, where 16-bit offsets reach.
std::string EncodePenFile(const std::vector<CPenStyleAsset>& styles);
