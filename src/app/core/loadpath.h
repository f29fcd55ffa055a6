#pragma once
// "LoadPath" in the profile section "Settings": the folder the last TAB table or
// pen file was chosen in, where the next file chooser starts.

#include <string>

// Everything up to and including the last '\\', '/' or ':'; empty when there is
// none. Tables and pen files from Windows keep their drive and backslashes.
std::string LoadPathFolderOf(const std::string& path);

std::string LoadPathFolder();
// Stores the folder of a chosen file.
void RememberLoadPath(const std::string& chosenPath);
