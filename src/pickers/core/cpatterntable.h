#pragma once
// The fill pattern bitmaps of the pattern folder: 1000 numbered slots, each a
// monochrome bitmap and a flag telling whether a file filled it.

#include "grid/gridbitmap.h"

#include <array>
#include <string>

class CPatternTable {
public:
    static constexpr int Slots = 1000;

    // Reads every "*.bmp" of the folder into the slot its name gives; the
    // loaded flags are cleared first, so a pattern whose file went away is no
    // longer offered. Returns the number of files loaded.
    int Load(const std::string& folder);
    // The slot a file name gives: the name without its four-character
    // extension, after its last '_', read as a decimal number (no digits read
    // as 0); -1 when outside 0-999.
    static int SlotOf(const std::string& fileName);

    bool IsLoaded(int n) const { return n >= 0 && n < Slots && m_Loaded[static_cast<size_t>(n)]; }
    // An empty bitmap for a number outside the table.
    const CGridBitmap& Bitmap(int n) const;
    void Set(int n, const CGridBitmap& bitmap);

private:
    std::array<CGridBitmap, Slots> m_Bitmaps;
    std::array<bool, Slots> m_Loaded{};
};
