#pragma once
// The program's string table: every user-visible text keyed by its number, and
// the "%1!s!" / "%1!d!" placeholder formatting of the messages.

#include <string>
#include <vector>

namespace Str {
enum Id : int {
    AboutMenu = 101,
    CouldNotOpen = 104,
    NotAColourMapTable = 105,
    ChooseInputTab = 106,
    SelectLegendName = 107,
    EnterOutputFile = 108,
    CouldNotLoad = 109,
    ProjectHeading = 111,
    ProjectHeader = 112,
    SystemHeading = 113,
    SystemHeader = 114,
    Custom = 115,
    TypeText = 116,
    TypeNumericDiscrete = 117,
    TypeNumericContinuous = 118,
    // The spreadsheet's column headings.
    HeadRow = 119,
    HeadFrom = 120,
    HeadString = 121,
    HeadToContinuous = 122,
    HeadToDiscrete = 123,
    HeadLabel = 124,
    HeadFg = 125,
    HeadBg = 126,
    HeadPattern = 127,
    HeadLCol = 128,
    HeadLStyle = 129,
    HeadLThick = 130,
    HeadComment = 131,
    SaveChanges = 134,
    NoConnectQuarvex3D = 135,
    NoConnectStrativ3D = 136,
    NoConnectQuarvexVyrn = 137,
    DeleteLegend = 138,
    NoWritePermission = 139,
    SelectSingleColumn = 140,
    SelectColourColumn = 141,
    NoRowSelected = 142,
    DeleteRowsTitle = 143,
    DeleteRowsMany = 144,
    DeleteRowsOne = 145,
    SelectPatternColumn = 146,
    PatternTwoRows = 147,
    AppTitle = 148,
    NonStandardFolder = 149,
    NothingSelected = 150,
    DuplicateUnsupported = 151,
    InvalidPenFile = 152,
    Transparent = 171,
    NumericNeedsTwoRows = 172,
    InsertNeedsRowSort = 174,
    AddNeedsRowSort = 175,
    DeleteNeedsRowSort = 176,
    // Messages of our own, beyond the original table.
    ChangedOnDisk = 5000,
    SaveFailed = 5001,
    DeleteFailed = 5002,
    ExportLegendUnreadable = 5003,
    ExportTableFailed = 5004,
    SettingNotStored = 5005,
    ConversionSkipped = 5006,
    ConversionNotWritten = 5007,
    OutputNameLeavesFolder = 5010,
    ReplaceLegend = 5011,
};
}

class CStringTable {
public:
    // The text of a string number; empty for an unknown number.
    static const std::string& Load(int id);
    // Replaces "%n!s!" and "%n!d!" (n counted from 1) with the arguments; the
    // caller formats numbers itself, so both kinds take text.
    static std::string Format(const std::string& pattern, const std::vector<std::string>& args);
    static std::string FormatId(int id, const std::vector<std::string>& args)
    {
        return Format(Load(id), args);
    }
};
