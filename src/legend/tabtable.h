#pragma once
// The field layouts of TAB legend tables, shared by a legend's own import and
// export and by the export of every legend into one table for the hosts.

#include "platform/tabkit.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace TabField {
// The standard layout, in the order the fields are created.
enum Id : int {
    Name,       // import: the legend a row belongs to; export: the row's label
    From,
    To,
    Value,      // text value of a text legend
    Pattern,    // fill pattern, 0 stored as 1
    FillColour, // 0xRRGGBB
    BackColour, // 0xRRGGBB, -1 transparent
    Thickness,
    LineStyle,
    LineColour, // 0xRRGGBB
    Comments,
    Count
};
// Name to LineColour must all be there; Comments is optional.
inline constexpr int StandardCount = LineColour + 1;
inline constexpr const char* Names[Count] = {"P_Name", "P_From",  "P_To",   "P_Value",
                                             "P_Bpat", "P_Bfcol", "P_Bbcol", "P_Psty",
                                             "P_Ppat", "P_Pcol",  "Comments"};
inline constexpr int Types[Count] = {TABKIT_FIELD_CHAR,    TABKIT_FIELD_FLOAT,   TABKIT_FIELD_FLOAT,
                                     TABKIT_FIELD_CHAR,    TABKIT_FIELD_INTEGER, TABKIT_FIELD_INTEGER,
                                     TABKIT_FIELD_INTEGER, TABKIT_FIELD_INTEGER, TABKIT_FIELD_INTEGER,
                                     TABKIT_FIELD_INTEGER, TABKIT_FIELD_CHAR};
inline constexpr int Widths[Count] = {80, 0, 0, 50, 0, 0, 0, 0, 0, 0, 254};
} // namespace TabField

namespace TabMapField {
// The layout of map-code tables (read only). ForeRed to PenThick must be there.
enum Id : int {
    MapCode,
    Desc1,
    ForeRed,
    ForeGreen,
    ForeBlue,
    Pattern,
    BackRed,
    BackGreen,
    BackBlue,
    PenRed,
    PenGreen,
    PenBlue,
    PenStyle,
    PenThick,
    Count
};
inline constexpr const char* Names[Count] = {
    "MapCode",  "Desc1",     "Fore_Red", "Fore_Green", "Fore_Blue", "Pattern",   "Back_Red",
    "Back_Green", "Back_Blue", "Pen_Red", "Pen_Green",  "Pen_Blue",  "Pen_Style", "Pen_Thick"};
} // namespace TabMapField

// 0x00BBGGRR <-> 0xRRGGBB; the top byte is dropped.
inline uint32_t SwapRedBlue(uint32_t colour)
{
    return ((colour & 0xFFu) << 16) | (colour & 0xFF00u) | ((colour >> 16) & 0xFFu);
}

class CLLLegend;

// The last field of that name (case ignored), or -1.
int FindTabField(TabKitTable* table, std::string_view name);

// What a file offers to an import, for callers that refuse a table before
// they overwrite anything with what it gives: Incomplete lacks fields that
// the import reports ("Could not find all the standard fields in ").
enum class TabLegendLayout { Unreadable, Standard, MapCode, Incomplete };
TabLegendLayout InspectLegendTable(const std::string& path);

// The text cut to the width of a character field (bytes), never inside a
// UTF-8 character.
std::string FitTabText(const std::string& text, int field);

// How a legend row is written: by a legend's own export (named by its label,
// pattern 0 stored as 1) or into the hosts' table of all legends (named by the
// legend's file title, no pattern below 1, no ranges for a text legend).
enum class TabRowRules { OwnTable, AllLegends };

// The field texts of row i of a legend, in the C locale's number format.
void FormatLegendRow(const CLLLegend& legend, int i, TabRowRules rules,
                     std::string (&values)[TabField::Count]);

// Creates a TAB table with the standard fields, replacing an existing one; null
// when it cannot be created.
TabKitTable* CreateLegendTable(const std::string& path);
// Appends one feature without geometry, field i set from values[i].
bool WriteLegendFeature(TabKitTable* table, const std::string (&values)[TabField::Count]);
