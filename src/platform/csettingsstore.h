#pragma once
// Where the program keeps settings: registry-style string values of the suite
// and the program's own profile, both stored with QSettings in its native
// format (INI files under the XDG configuration folders on Linux).
//
// How a registry key becomes a settings file. A leading "Software" (any case)
// is dropped; the next part is the organisation, the one after it the
// application, and whatever follows is a group path inside that file:
//
//   "Software\\Ferrolin\\Common"             -> Ferrolin / Common.conf
//   "Software\\Ferrolin\\leg2tab\\Settings"  -> Ferrolin / leg2tab.conf, group [Settings]
//   "SOFTWARE\\Ferrolin\\Quarvex\\Setup\\"   -> Ferrolin / Quarvex.conf, group [Setup]
//
// Parts may be separated by '\\' or '/'; empty parts are ignored. The current
// user's values live under $XDG_CONFIG_HOME, the local machine's under the first
// folder of $XDG_CONFIG_DIRS (or Qt's system settings folder when that is unset).
// Every part of a key and the value names are matched without regard to case,
// as in the registry.
//
// The profile (the framework's GetProfileString and friends) is organisation
// "Ferrolin", application = the host product ("Tessarin" when no host set one),
// group = the section; it belongs to the current user.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

class CSettingsStore {
public:
    enum class Hive { CurrentUser, LocalMachine };

    struct Location {
        std::string organisation;
        std::string application;
        std::string group; // '/'-separated, empty for the top level
    };
    // Nothing when the key does not name at least an organisation and an application.
    static std::optional<Location> ParseKey(const std::string& registryKey);

    // A string value; nothing when the key or the value is missing. A file that
    // is there but cannot be read (a folder, a FIFO, no permission) has no values
    // either, and then `why` (when given) names the file and the reason; it is
    // left empty otherwise.
    static std::optional<std::string> GetString(Hive hive, const std::string& registryKey,
                                                const std::string& name,
                                                std::string* why = nullptr);
    // False when the key cannot be mapped or the file cannot be read or written,
    // and then `why` (when given) names the file and the reason. Only the line
    // of the value changes (or is added to its section); every other byte of the
    // file stays as it was.
    static bool SetString(Hive hive, const std::string& registryKey, const std::string& name,
                          const std::string& value, std::string* why = nullptr);
    static bool RemoveValue(Hive hive, const std::string& registryKey, const std::string& name);

    // The product whose profile is used from now on ("Tessarin" by default).
    static void SetProfileProduct(const std::string& product);
    static std::string ProfileProduct();

    static std::string GetProfileString(const std::string& section, const std::string& entry,
                                        const std::string& defaultValue = {});
    static bool WriteProfileString(const std::string& section, const std::string& entry,
                                   const std::string& value);
    static uint32_t GetProfileInt(const std::string& section, const std::string& entry,
                                  uint32_t defaultValue);
    static bool WriteProfileInt(const std::string& section, const std::string& entry,
                                int32_t value);
    static std::optional<std::string> GetProfileBinary(const std::string& section,
                                                       const std::string& entry);
    static bool WriteProfileBinary(const std::string& section, const std::string& entry,
                                   const std::string& bytes);
};

// The suite's common settings key.
inline constexpr const char* CommonSettingsKey = "Software\\Ferrolin\\Common";

// A value of the common settings key ("LUT_PATH", "BRUSH_PATH", "PEN_FILE"):
// the current user's when present, else the local machine's. Nothing, and the
// file and the reason in `why`, when one of the two files cannot be read.
std::optional<std::string> GetCommonSetting(const std::string& name, std::string* why = nullptr);
// Stores a common setting for the current user.
bool SetCommonSetting(const std::string& name, const std::string& value,
                      std::string* why = nullptr);
// The project folder of a host product ("PROJECT_FOLDER" of its settings key;
// "Tessarin" when product is empty), with a trailing '/' unless empty. Nothing
// when the value is missing; an empty value gives an empty folder.
std::optional<std::string> GetProjectFolder(const std::string& product);
