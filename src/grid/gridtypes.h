#pragma once
// Small value types and constants shared by the grid control, its cells and
// the widget that shows them. Nothing here depends on a window system.

#include <cstdint>
#include <string>

// A cell address; (-1, -1) is "no cell".
struct CCellID {
    int row = -1;
    int col = -1;

    CCellID() = default;
    CCellID(int r, int c) : row(r), col(c) {}
    bool IsValid() const { return row >= 0 && col >= 0; }
    bool operator==(const CCellID&) const = default;
};

// An inclusive block of cells.
struct CCellRange {
    int minRow = -1;
    int minCol = -1;
    int maxRow = -1;
    int maxCol = -1;

    CCellRange() = default;
    CCellRange(int r1, int c1, int r2, int c2) : minRow(r1), minCol(c1), maxRow(r2), maxCol(c2) {}
    bool IsValid() const
    {
        return minRow >= 0 && minCol >= 0 && maxRow >= 0 && maxCol >= 0 && minRow <= maxRow && minCol <= maxCol;
    }
    bool InRange(int row, int col) const
    {
        return row >= minRow && row <= maxRow && col >= minCol && col <= maxCol;
    }
    bool operator==(const CCellRange&) const = default;
};

struct CGridPoint {
    int x = 0;
    int y = 0;
    bool operator==(const CGridPoint&) const = default;
};

struct CGridSize {
    int cx = 0;
    int cy = 0;
    bool operator==(const CGridSize&) const = default;
};

// Window-system rectangle: right and bottom are one past the last pixel for
// fills, which is why a cell rectangle ends on its grid line.
struct CGridRect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;

    int Width() const { return right - left; }
    int Height() const { return bottom - top; }
    bool IsEmpty() const { return right <= left || bottom <= top; }
    bool Contains(CGridPoint p) const { return p.x >= left && p.x < right && p.y >= top && p.y < bottom; }
    void Deflate(int dx, int dy)
    {
        left += dx;
        top += dy;
        right -= dx;
        bottom -= dy;
    }
    bool operator==(const CGridRect&) const = default;
};

// Colours are 0x00BBGGRR; this value asks for the default cell's colour.
constexpr uint32_t kGridDefaultColour = 0xFF000000u;

inline constexpr uint32_t GridRGB(int r, int g, int b)
{
    return uint32_t(r & 0xFF) | (uint32_t(g & 0xFF) << 8) | (uint32_t(b & 0xFF) << 16);
}

// The cell state word.
namespace GridState {
constexpr uint32_t Focused = 0x0001;
constexpr uint32_t Selected = 0x0002;
constexpr uint32_t DropHighlighted = 0x0004;
constexpr uint32_t ReadOnly = 0x0008;
constexpr uint32_t Fixed = 0x0010;
constexpr uint32_t FixedRow = 0x0020;
constexpr uint32_t FixedCol = 0x0040;
constexpr uint32_t Modified = 0x0080;
} // namespace GridState

// Text drawing flags of a cell format.
namespace GridText {
constexpr uint32_t Left = 0x0000;
constexpr uint32_t Center = 0x0001;
constexpr uint32_t Right = 0x0002;
constexpr uint32_t VCenter = 0x0004;
constexpr uint32_t Bottom = 0x0008;
constexpr uint32_t WordBreak = 0x0010;
constexpr uint32_t SingleLine = 0x0020;
constexpr uint32_t NoPrefix = 0x0800;
constexpr uint32_t EndEllipsis = 0x8000;
constexpr uint32_t DefaultFormat = SingleLine | VCenter | NoPrefix | EndEllipsis; // 0x8824
} // namespace GridText

namespace GridLines {
constexpr int None = 0;
constexpr int Horizontal = 1;
constexpr int Vertical = 2;
constexpr int Both = 3;
} // namespace GridLines

// Notification codes sent to the grid's owner.
constexpr int GridNotifySelChanging = -100;
constexpr int GridNotifySelChanged = -101;
constexpr int GridNotifyBeginEdit = -105;
constexpr int GridNotifyEndEdit = -106;
constexpr int GridNotifyClick = -2;
constexpr int GridNotifyDblClick = -3;
constexpr int GridNotifyRightClick = -5;
constexpr int GridNotifyColumnResized = 6025;

// Key codes. Typed characters are their Unicode code points (Backspace 8,
// Tab 9, Return 13, Esc 27, Space 32 are characters too); keys that type
// nothing live above the code point range so that "%" or "(" typed as the
// first key of an edit can never be taken for an arrow key.
namespace GridKey {
constexpr unsigned MouseStart = 1; // an edit started by a click or by F2
constexpr unsigned Backspace = 8;
constexpr unsigned Tab = 9;
constexpr unsigned Return = 13;
constexpr unsigned Escape = 27;
constexpr unsigned Space = 32;
constexpr unsigned Base = 0x110000;
constexpr unsigned PageUp = Base + 33;
constexpr unsigned PageDown = Base + 34;
constexpr unsigned End = Base + 35;
constexpr unsigned Home = Base + 36;
constexpr unsigned Left = Base + 37;
constexpr unsigned Up = Base + 38;
constexpr unsigned Right = Base + 39;
constexpr unsigned Down = Base + 40;
constexpr unsigned Insert = Base + 45;
constexpr unsigned Delete = Base + 46;
constexpr unsigned F2 = Base + 113;

inline bool IsNavigation(unsigned key) { return key >= PageUp && key <= Down; }
} // namespace GridKey

namespace GridModifier {
constexpr unsigned None = 0;
constexpr unsigned Shift = 1;
constexpr unsigned Ctrl = 2;
} // namespace GridModifier

enum class CGridMouseMode : int {
    Nothing = 0,
    SelectAll = 1,
    SelectColumns = 2,
    SelectRows = 3,
    SelectCells = 4,
    OverRowDivider = 6,
    SizingRow = 7,
    OverColumnDivider = 8,
    SizingColumn = 9,
    PrepareEdit = 10,
};

enum class CGridCursor { Arrow, SizeWE, SizeNS, Busy };

// A logical font description in the platform's terms; height < 0 is the
// character height in pixels, > 0 the cell height.
struct CGridFont {
    int height = -12;
    int width = 0;
    int escapement = 0;
    int orientation = 0;
    int weight = 400;
    bool italic = false;
    bool underline = false;
    bool strikeOut = false;
    uint8_t charSet = 1;
    uint8_t outPrecision = 0;
    uint8_t clipPrecision = 0;
    uint8_t quality = 0;
    uint8_t pitchAndFamily = 0;
    std::string faceName; // at most 31 bytes; longer names are cut

    bool operator==(const CGridFont&) const = default;
};

// The platform colours the grid draws with; the defaults stand in until a
// window system reports its own.
struct CGridSystemColours {
    uint32_t text = 0x000000;
    uint32_t window = 0xFFFFFF;
    uint32_t face = GridRGB(240, 240, 240);
    uint32_t shadow = GridRGB(160, 160, 160);
    uint32_t highlight = GridRGB(0, 120, 215);
    uint32_t highlightText = 0xFFFFFF;
    uint32_t light3d = 0xFFFFFF;
    uint32_t darkShadow3d = GridRGB(105, 105, 105);
    bool operator==(const CGridSystemColours&) const = default;
};
