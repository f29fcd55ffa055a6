#include "storage/hostsettings.h"

#include "platform/cfilefacts.h"
#include "platform/cinifile.h"
#include "platform/csettingsstore.h"
#include "platform/csystemfolders.h"
#include "platform/cuserprompt.h"
#include "platform/cufilename.h"
#include "platform/cutext.h"

namespace {

// INI values are read into buffers of this many characters.
constexpr size_t IniValueChars = 1024;
// The installation record's folder is read into a buffer of this many bytes.
constexpr size_t ConfigDirBytes = 256;

struct CHostIni {
    const char* product;
    const char* file;
};
constexpr CHostIni HostIniFiles[] = {
    {"Quarvex", "Quarvex.ini"},
    {"Strativ3D", "Strativ3D.ini"},
    {"Delictor", "Delictor.ini"},
};

// Root may write anywhere, so the permission check alone would never call a
// folder read-only for it; a folder without any write bit counts as read-only
// for everyone, as a read-only folder attribute would.
bool IsWritableFolder(const std::string& folder)
{
    const CFileFacts::Facts facts = CFileFacts::Of(folder);
    if (!facts.Exists() || (facts.mode & 0222) == 0)
        return false;
    return CFileFacts::IsWritable(folder);
}

} // namespace

std::string GetHostIniPath(const std::string& product, CUserPrompt* prompt)
{
    const std::string key = "SOFTWARE\\Ferrolin\\" + product + "\\Setup";
    auto configDir = CSettingsStore::GetString(CSettingsStore::Hive::CurrentUser, key, "ConfigDir");
    if (!configDir) {
        if (prompt)
            prompt->ShowFixed("Error - Could not locate the registry entry for the " + product +
                              " installation");
        return {};
    }
    if (configDir->size() > ConfigDirBytes - 1)
        configDir->resize(ConfigDirBytes - 1);
    for (const CHostIni& ini : HostIniFiles) {
        if (!CUText::EqualNoCase(product, ini.product))
            continue;
        std::string folder = *configDir;
        if (!folder.empty() && folder.back() != '/' && folder.back() != '\\')
            folder += '/';
        return folder + ini.file;
    }
    return {};
}

std::string GetHostIniUserCopyPath(const std::string& iniPath, const std::string& product)
{
    const size_t slash = iniPath.find_last_of("/\\");
    const std::string fileName = slash == std::string::npos ? iniPath : iniPath.substr(slash + 1);
    if (fileName.empty())
        return {};
    return CSystemFolders::RoamingAppData() + "/Ferrolin/" + product + "/" + fileName;
}

CHostIniValue GetHostIniString(const std::string& section, const std::string& key,
                               const std::string& iniPath, const std::string& product)
{
    CHostIniValue result;
    if (iniPath.empty())
        return result;
    result.value = CIniFile::ReadString(iniPath, section, key, {}, IniValueChars);
    result.found = !result.value.empty();
    const std::string userValue = CIniFile::ReadString(GetHostIniUserCopyPath(iniPath, product),
                                                       section, key, {}, IniValueChars);
    if (!userValue.empty()) {
        result.value = userValue;
        result.found = true;
    }
    return result;
}

std::string GetHostTempDirectory(const std::string& product, CUserPrompt* prompt)
{
    const std::string iniPath = GetHostIniPath(product, prompt);
    const CHostIniValue configured =
        GetHostIniString("Directories", product + " Temp Directory", iniPath, product);
    if (!configured.found) {
        std::string temp = CSystemFolders::Temp();
        if (temp.size() > IniValueChars - 1)
            temp.resize(IniValueChars - 1);
        return CUFilename::WithTrailingSlash(temp);
    }
    // The configured value always gets a separator, even when it ends in one.
    const std::string folder = configured.value + "/";
    if (!CFileFacts::IsFolder(folder)) {
        if (prompt)
            prompt->ShowFixed("Error - The directory " + folder + " does not exist");
        return {};
    }
    if (!IsWritableFolder(folder)) {
        if (prompt)
            prompt->ShowFixed("Error - The directory " + folder + " is Read Only");
        return {};
    }
    return folder;
}
