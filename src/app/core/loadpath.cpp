#include "app/core/loadpath.h"

#include "platform/csettingsstore.h"

namespace {
constexpr const char* kSection = "Settings";
constexpr const char* kEntry = "LoadPath";
} // namespace

std::string LoadPathFolderOf(const std::string& path)
{
    const std::string::size_type last = path.find_last_of("\\/:");
    return last == std::string::npos ? std::string() : path.substr(0, last + 1);
}

std::string LoadPathFolder()
{
    return CSettingsStore::GetProfileString(kSection, kEntry);
}

void RememberLoadPath(const std::string& chosenPath)
{
    CSettingsStore::WriteProfileString(kSection, kEntry, LoadPathFolderOf(chosenPath));
}
