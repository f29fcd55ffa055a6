#pragma once
// The TAB legend table the hosts read: every listed legend in one table, each
// row named after its legend file. Rewritten after every save or delete when
// the editor runs under a Quarvex or Strativ host.

#include <string>
#include <vector>

struct CExportAllResult {
    enum class Outcome {
        Written,
        NoPath,           // the path was empty: nothing happened
        LegendUnreadable, // file could not be read (reason); the table was not touched
        TableNotWritten   // the table could not be created or written whole
    };
    Outcome outcome = Outcome::Written;
    std::string file;   // the legend that could not be read
    std::string reason; // why the legend could not be read or the table not written, as
                        // the file system or the table library said it ("" when neither did)
    bool Ok() const { return outcome == Outcome::Written; }
};

// Writes the legends at legendPaths (empty entries are skipped) into a new
// table at path, then removes the table's ".id" and ".map" side files. Every
// legend is read before the table is created: a legend that exists but cannot
// be read would otherwise go in as a default legend. One that is gone since it
// was listed is left out. On any failure the table
// that was there is left as it was; nothing is reported, the caller shows the
// result.
CExportAllResult ExportAllToTAB(const std::string& path,
                                const std::vector<std::string>& legendPaths);

// The folders of the list (as the settings write them, '\\' for '/' allowed)
// that exist as something but cannot be entered as a folder, or do not exist,
// each with the reason: their legends are missing from a list built from them.
struct CFolderProblem {
    std::string folder;
    std::string reason;
};
std::vector<CFolderProblem> FoldersNotEntered(const std::vector<std::string>& folders);

// The path with its extension (after the last '.' of the file name) replaced.
std::string ReplaceExtension(const std::string& path, const std::string& extension);
