#pragma once
// The legend folder of the installation: the shared look-up-table folder of the
// common settings, or else the one under the image library's base path. The
// start-up conversion of a TAB legend table writes its legends there.

#include <string>
#include <vector>

class CLLLegendFinder {
public:
    CLLLegendFinder() = default;
    virtual ~CLLLegendFinder() = default;

    // Takes the folder from the settings and scans it; stays empty when neither
    // setting exists, or when the common settings file cannot be read
    // (m_SettingsProblem then names the file and the reason).
    void Init();
    // Lists the .leg files of m_Folder, sorted by name without regard to case.
    // 0 when the folder cannot be read (the lists are then empty).
    int Scan();
    const std::string& GetFolder() const { return m_Folder; }

    std::string m_Folder;             // with a trailing '/'
    std::vector<std::string> m_Paths; // full path of each file found
    std::vector<std::string> m_Names; // its file name without ".leg"
    std::string m_SettingsProblem;    // empty unless the settings could not be read
};

// Where the image-processing library keeps its base folder, and the value that
// names it. The library's maker is named by a neutral stand-in here.
inline constexpr const char* ImageLibraryKey =
    "SOFTWARE\\Image Library\\Vyrn(libversion6.0)";
inline constexpr const char* ImageLibraryBaseValue = "BASE_PATH";
