#pragma once
// The start-up conversion of a TAB legend table into .leg files, one per legend
// of the table, written into the installation's legend folder.

#include "platform/cstamptime.h" // the stamp's text form

#include <optional>
#include <string>
#include <vector>

class CUserPrompt;

// A legend file the conversion could not write, and why (CFileResult::Reason, never empty).
struct CFailedWrite {
    std::string path;
    std::string reason;
};

struct CTabConversion {
    enum class Outcome {
        Converted, // the legends were written (some writes may have failed)
        Unchanged, // the time stamp says the table was converted already
        OpenFailed // the table could not be opened (reported)
    };
    Outcome outcome = Outcome::Converted;
    std::string folder;               // where the legends went
    std::vector<std::string> written; // files written, in conversion order
    std::vector<CFailedWrite> failed; // files that could not be written
    // Legend names that are no file name in the legend folder (empty or
    // blank, starting with '.', or holding a path separator or a control
    // character): not converted. Blank names are given as empty.
    std::vector<std::string> skipped;
    bool fieldsMissing = false;       // the table lacks standard fields (reported)
};

// With checkTimeStamp, a table whose modification time equals the stored stamp
// is skipped; the stamp is refreshed only when one is stored already. Problems
// with the table are reported through prompt.
CTabConversion ConvertTABToLEG(const std::string& tabPath, bool checkTimeStamp,
                               CUserPrompt& prompt);

// The legend names of a table for the conversion: "P_Name" of each feature in
// table order, blanks-only names as empty (see LegendNameOf), one per run of
// equal names (case ignored), a leading run of empty names included. A missing standard
// field is reported with string 106.
// fieldsMissing, when given, tells whether that happened.
std::optional<std::vector<std::string>> CollectTABLegendRuns(const std::string& tabPath,
                                                             CUserPrompt& prompt,
                                                             bool* fieldsMissing = nullptr);

// The settings key and value of the conversion's time stamp.
inline constexpr const char* TabStampKey = "Software\\Ferrolin\\leg2tab\\Settings";
inline constexpr const char* TabStampValue = "TimeStamp_TAB2LEG";

// The TAB legend table the editor keeps up to date when it runs under Quarvex or
// Quarvex 3D and no "-TABPath" was given: xs_colr.tab in Quarvex's configuration
// folder; empty when that folder is not recorded (or recorded empty) or another
// host started us.
std::string DefaultTABPath(bool quarvex, bool quarvex3D, const std::string& givenPath);
