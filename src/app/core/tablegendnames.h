#pragma once
// What the Import dialog offers from a TAB legend table: its legend names, or
// the fact that it is a map-code table holding a single legend, and the name of
// the .leg file an import makes.

#include <string>
#include <vector>

class CUserPrompt;

struct CTABLegendNames {
    bool opened = false;
    bool mapCode = false;
    bool hasNameField = false;
    // Distinct "P_Name" values (exact comparison) in order of first appearance.
    std::vector<std::string> names;
};

// Reads the names; reports a table that cannot be opened (string 104) and a
// table without "P_Name" that is not a map-code table (string 105) through prompt.
CTABLegendNames ReadTABLegendNames(const std::string& tabPath, CUserPrompt& prompt);

// True when name + ".leg" names a visible, readable file inside the legend
// folder: not empty, not starting with '.', without a path separator and
// without control characters (a line feed in a file name breaks every list
// that shows it).
bool IsLegendFileName(const std::string& name);

// A "P_Name" as a legend name: one of blanks only is no name, as an empty one.
std::string LegendNameOf(const std::string& field);

// The output file name: the legend name, or the table's file title for a
// map-code table, with blanks and tabs made '_' and ".leg" appended; empty when
// there is no name or it is no file name (see IsLegendFileName).
std::string ImportOutputFileName(const std::string& tabPath, const std::string& legendName,
                                 bool mapCode);

// A typed output file name with ".leg" (in any case) at its end, appended when
// missing: the legend list shows only such files.
std::string WithLegendSuffix(const std::string& name);
