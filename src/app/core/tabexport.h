#pragma once
// The TAB legend table the hosts read: every listed legend in one table, each
// row named after its legend file. Rewritten after every save or delete when
// the editor runs under a Quarvex or Strativ host.

#include <string>
#include <vector>

// Writes the legends at legendPaths (empty entries are skipped) into a new
// table at path, then removes the table's ".id" and ".map" side files. False
// when path is empty or the table cannot be created or written whole, and then
// the table that was there is left as it was; nothing is reported.
bool ExportAllToTAB(const std::string& path, const std::vector<std::string>& legendPaths);

// The path with its extension (after the last '.' of the file name) replaced.
std::string ReplaceExtension(const std::string& path, const std::string& extension);
