#include "storage/hostsettings.h"

#include "platform/csettingsstore.h"
#include "platform/scratchfiles.h"
#include "platform/settingssandbox.h"
#include "support/recordingprompt.h"

namespace {

// Records where each product ("product=folder; ...") is installed.
void RecordConfigDirs(const std::string& products)
{
    for (const std::string& record : Split(products, "; ")) {
        const size_t at = record.find('=');
        ASSERT_TRUE(CSettingsStore::SetString(CSettingsStore::Hive::CurrentUser,
                                              "SOFTWARE\\Ferrolin\\" + record.substr(0, at) + "\\Setup", "ConfigDir",
                                              record.substr(at + 1)));
    }
}

} // namespace

TEST(HostIniPath, InstallationRecordAndProductGiveTheIniFile)
{
    CSettingsSandbox sandbox;
    CRecordingPrompt prompt;
    EXPECT_EQ(GetHostIniPath("Quarvex", nullptr), "");
    RecordConfigDirs("Quarvex=/opt/quarvex/config; Strativ3D=/opt/s3d/; Delictor=/opt/delictor; Formvue=/opt/formvue");
    const std::pair<const char*, const char*> cases[] = {{"Quarvex", "/opt/quarvex/config/Quarvex.ini"},
                                                         {"quarvex", "/opt/quarvex/config/Quarvex.ini"},
                                                         {"Strativ3D", "/opt/s3d/Strativ3D.ini"},
                                                         {"DELICTOR", "/opt/delictor/Delictor.ini"},
                                                         {"Formvue", ""}};
    for (const auto& [product, path] : cases)
        EXPECT_EQ(GetHostIniPath(product, &prompt), path);
    CSettingsSandbox empty;
    EXPECT_EQ(GetHostIniPath("Quarvex", &prompt), "");
    EXPECT_EQ(prompt.Texts(),
              (std::vector<std::string>{"Error - Could not locate the registry entry for the Quarvex installation"}));
}

TEST(HostIniString, PerUserCopyWinsValueByValue)
{
    CSettingsSandbox sandbox;
    const std::string ini = sandbox.Work("config") + "/Quarvex.ini";
    WriteTextFile(ini, "[Directories]\r\nShared=C:\\install\\shared\r\nBoth=install\r\nCleared=install value\r\n");
    const std::string userCopy = sandbox.UserDir() + "/Ferrolin/Quarvex/Quarvex.ini";
    EXPECT_EQ(GetHostIniUserCopyPath(ini, "Quarvex"), userCopy);
    CSettingsSandbox::WriteFile(userCopy, "[directories]\nboth=user\nOnlyUser=mine\nCleared=\n");
    // An empty per-user value does not hide the installation's.
    std::string got;
    for (const char* name : {"Both", "Shared", "OnlyUser", "Cleared", "None"}) {
        const auto value = GetHostIniString("Directories", name, ini, "Quarvex");
        got += std::string(name) + (value.found ? "=" : "!") + value.value + " ";
    }
    EXPECT_EQ(got, "Both=user Shared=C:\\install\\shared OnlyUser=mine Cleared=install value None! ");
}

// The folder named in the INI file, always with one more '/'; the system's
// temporary folder when there is none; nothing when the named one is missing or
// read-only. Messages only with a prompt.
TEST(HostTempDirectory, ConfiguredFolderTemporaryFolderOrNothing)
{
    CSettingsSandbox sandbox;
    const std::string config = sandbox.Work("config"), scratch = sandbox.Work("scratch"),
                      missing = sandbox.Work("x") + "/gone", locked = sandbox.Work("locked");
    Lay(locked, ".@500");
    RecordConfigDirs("Formvue=" + sandbox.Work("formvue") + "; Quarvex=" + config);
    const std::string temp = sandbox.TempDir() + "/", noRecord = "Error - Could not locate the registry entry for the ";
    const struct {
        const char* product;
        std::string configured, folder, message; // configured: Quarvex's folder
    } cases[] = {
        {"Formvue", "", temp, ""}, // a product without an INI file
        {"Delictor", "", temp, noRecord + "Delictor installation"},
        {"Quarvex", "", temp, ""},
        {"Quarvex", scratch, scratch + "/", ""},
        {"Quarvex", scratch + "/", scratch + "//", ""},
        {"Quarvex", missing, "", "Error - The directory " + missing + "/ does not exist"},
        {"Quarvex", locked, "", "Error - The directory " + locked + "/ is Read Only"},
    };
    for (const auto& c : cases) {
        WriteTextFile(config + "/Quarvex.ini", "[Directories]\nQuarvex Temp Directory=" + c.configured + "\n");
        CRecordingPrompt prompt;
        EXPECT_EQ(GetHostTempDirectory(c.product, nullptr), c.folder);
        EXPECT_EQ(GetHostTempDirectory(c.product, &prompt), c.folder);
        EXPECT_EQ(prompt.Texts(), c.message.empty() ? std::vector<std::string>{} : std::vector<std::string>{c.message})
            << c.product << " " << c.configured;
    }
    Lay(locked, ".@700");
}
