#pragma once
// The legend files the editor lists: every .leg file of the project folder, the
// shared look-up-table folder, the folders the user added and any extra ones,
// each named by its title, with "[n]" added when another folder already gave
// that title.

#include <string>
#include <vector>

// Appends to paths and names. product names the host whose project folder is
// used ("" for the program's own). extraFolders and the user's folders may hold
// several folders separated by ';'. With skipStandardFolders only extraFolders
// are searched.
void CollectLegendFiles(std::vector<std::string>& paths, std::vector<std::string>& names,
                        const std::string& product, const std::string& extraFolders,
                        bool skipStandardFolders);

// The folders CollectLegendFiles searches, in order, as written in the settings.
std::vector<std::string> LegendSearchFolders(const std::string& product,
                                             const std::string& extraFolders,
                                             bool skipStandardFolders);

// Everything up to and including the last '\\', or else the last '/', or else
// the last ':'; empty when the path has none of them.
std::string GetFolderOfPath(const std::string& path);

struct CLegendListEntry {
    std::string name;
    std::string path;
};

struct CLegendGroups {
    std::vector<CLegendListEntry> project;
    std::vector<CLegendListEntry> system;
};

// Splits collected files into those whose folder is the project folder
// (compared without regard to case) and all others, keeping their order.
CLegendGroups GroupLegendFiles(const std::vector<std::string>& paths,
                               const std::vector<std::string>& names,
                               const std::string& projectFolder);

// One line of the editor's legend list.
struct CLegendListItem {
    bool heading = false;
    std::string text;   // heading text or legend name
    std::string marker; // heading marker text; empty for legends
    std::string path;   // empty for headings
};

// The list the editor shows: with headings, "Project" and its legends, then
// "System" and its legends, a group without legends having no heading;
// without headings, the system legends alone.
std::vector<CLegendListItem> BuildLegendList(const CLegendGroups& groups, bool withHeadings);
