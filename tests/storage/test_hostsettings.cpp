#include "storage/hostsettings.h"

#include "platform/csettingsstore.h"
#include "support/recordingprompt.h"
#include "platform/settingssandbox.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <unistd.h>

namespace {

void RecordConfigDir(const std::string& product, const std::string& folder)
{
    ASSERT_TRUE(CSettingsStore::SetString(CSettingsStore::Hive::CurrentUser,
                                          "SOFTWARE\\Ferrolin\\" + product + "\\Setup", "ConfigDir",
                                          folder));
}

} // namespace

TEST(HostIniPath, InstallationRecordAndProductGiveTheIniFile)
{
    CSettingsSandbox sandbox;
    CRecordingPrompt prompt;
    EXPECT_EQ(GetHostIniPath("Quarvex", nullptr), "");
    EXPECT_TRUE(prompt.m_Messages.empty());
    RecordConfigDir("Quarvex", "/opt/quarvex/config");
    RecordConfigDir("Strativ3D", "/opt/s3d/");
    RecordConfigDir("Delictor", "/opt/delictor");
    RecordConfigDir("Formvue", "/opt/formvue");
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

TEST(HostTempDirectory, ConfiguredFolderGetsOneMoreSlashOtherwiseTheSystemTemporaryFolder)
{
    CSettingsSandbox sandbox;
    CRecordingPrompt prompt;
    RecordConfigDir("Formvue", sandbox.Work("formvue"));
    EXPECT_EQ(GetHostTempDirectory("Formvue", &prompt), sandbox.TempDir() + "/");
    EXPECT_TRUE(prompt.m_Messages.empty());
    const std::string config = sandbox.Work("config"), scratch = sandbox.Work("scratch");
    RecordConfigDir("Quarvex", config);
    for (const std::string slash : {"", "/"}) {
        WriteTextFile(config + "/Quarvex.ini", "[Directories]\nQuarvex Temp Directory=" + scratch + slash + "\n");
        EXPECT_EQ(GetHostTempDirectory("Quarvex", &prompt), scratch + slash + "/");
    }
    EXPECT_TRUE(prompt.m_Messages.empty());
    // No installation record: reported, and still the temporary folder.
    EXPECT_EQ(GetHostTempDirectory("Delictor", &prompt), sandbox.TempDir() + "/");
    EXPECT_EQ(prompt.Texts(),
              (std::vector<std::string>{"Error - Could not locate the registry entry for the Delictor installation"}));
}

TEST(HostTempDirectory, MissingAndReadOnlyFoldersAreReportedOnlyWhenAsked)
{
    CSettingsSandbox sandbox;
    CRecordingPrompt prompt;
    const std::string config = sandbox.Work("config");
    RecordConfigDir("Strativ3D", config);
    const std::string missing = sandbox.Work("x") + "/gone", locked = sandbox.Work("locked");
    std::filesystem::permissions(locked, std::filesystem::perms::owner_read | std::filesystem::perms::owner_exec);
    for (const std::string& folder : {missing, locked}) {
        WriteTextFile(config + "/Strativ3D.ini", "[Directories]\nStrativ3D Temp Directory=" + folder + "\n");
        EXPECT_EQ(GetHostTempDirectory("Strativ3D", nullptr) + "|" + GetHostTempDirectory("Strativ3D", &prompt), "|");
    }
    std::filesystem::permissions(locked, std::filesystem::perms::owner_all);
    EXPECT_EQ(prompt.Texts(), (std::vector<std::string>{"Error - The directory " + missing + "/ does not exist",
                                                        "Error - The directory " + locked + "/ is Read Only"}));
}
