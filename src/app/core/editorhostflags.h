#pragma once
// The host flags the editor's flows act on, taken from the start-up options:
// they decide the grouping of the list, the minimum-rows rule, the export of all
// legends after saves and deletes, and which host is told to reload.

#include <cstdint>
#include <string>

struct CEditorHostFlags {
    bool notify3D = false; // tell the 3D or profile-analysis host to reload after a save
    bool quarvex = false;
    bool quarvex3D = false;
    bool strativ = false;
    bool strativ3D = false;
    bool gisHost = false; // started from inside the GIS host
    int32_t gisHostProcessId = -1;

    // Running under a Quarvex or Strativ host: no project folder, no headings,
    // at least two rows for a numeric legend, the TAB table kept up to date.
    bool UnderQuarvexOrStrativ() const { return quarvex || quarvex3D || strativ || strativ3D; }
    // The product text the Import and Settings dialogs show.
    std::string ProductText() const { return notify3D ? "Quarvex Vyrn" : ""; }
};
