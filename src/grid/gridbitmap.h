#pragma once
// A monochrome bitmap, as fill patterns are stored: each row is a run of bits,
// the leftmost pixel in the high bit of the row's first byte, rows padded to
// whole bytes. Nothing here depends on a window system.

#include <cstddef>
#include <cstdint>
#include <vector>

class CGridBitmap {
public:
    CGridBitmap() = default;
    CGridBitmap(int width, int height)
        : m_Width(width > 0 ? width : 0), m_Height(height > 0 ? height : 0),
          m_Bits(static_cast<size_t>(Stride() * m_Height), 0)
    {
    }
    // One string per row, '#' for a set bit: easy to read where patterns are made.
    static CGridBitmap FromRows(const std::vector<const char*>& rows)
    {
        int width = 0;
        for (const char* row : rows)
            for (int x = 0; row[x]; ++x)
                width = x + 1 > width ? x + 1 : width;
        CGridBitmap bitmap(width, static_cast<int>(rows.size()));
        for (int y = 0; y < bitmap.m_Height; ++y)
            for (int x = 0; rows[y][x]; ++x)
                bitmap.Set(x, y, rows[y][x] == '#');
        return bitmap;
    }

    int Width() const { return m_Width; }
    int Height() const { return m_Height; }
    bool IsEmpty() const { return m_Width == 0 || m_Height == 0; }
    int Stride() const { return (m_Width + 7) / 8; }

    bool Bit(int x, int y) const
    {
        if (x < 0 || y < 0 || x >= m_Width || y >= m_Height)
            return false;
        return (m_Bits[static_cast<size_t>(y * Stride() + x / 8)] >> (7 - x % 8)) & 1;
    }
    void Set(int x, int y, bool on)
    {
        if (x < 0 || y < 0 || x >= m_Width || y >= m_Height)
            return;
        uint8_t& byte = m_Bits[static_cast<size_t>(y * Stride() + x / 8)];
        const uint8_t mask = static_cast<uint8_t>(0x80u >> (x % 8));
        byte = on ? (byte | mask) : (byte & ~mask);
    }
    bool operator==(const CGridBitmap&) const = default;

private:
    int m_Width = 0;
    int m_Height = 0;
    std::vector<uint8_t> m_Bits;
};
