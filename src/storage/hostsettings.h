#pragma once
// The host products' installation settings: the configuration folder recorded
// at installation, the INI file in it (a copy in the user's roaming folder wins
// value by value) and the scratch folder named there.

#include <string>

class CUserPrompt;

// The full path of the product's INI file, or empty: when the installation
// record is missing (reported through prompt unless it is null) or the product
// has no INI file.
std::string GetHostIniPath(const std::string& product, CUserPrompt* prompt);

struct CHostIniValue {
    std::string value;
    bool found = false;
};

// A value of the installation's INI file, replaced by the per-user copy's
// value when that one is not empty. found when either gave a non-empty value.
CHostIniValue GetHostIniString(const std::string& section, const std::string& key,
                               const std::string& iniPath, const std::string& product);

// The product's scratch folder with a trailing '/', the system's temporary
// folder when the INI file names none, or empty when the named folder is
// missing or read-only (reported through prompt unless it is null).
std::string GetHostTempDirectory(const std::string& product, CUserPrompt* prompt);

// The per-user copy of an INI file: roaming folder/Ferrolin/<product>/<name>.
std::string GetHostIniUserCopyPath(const std::string& iniPath, const std::string& product);
