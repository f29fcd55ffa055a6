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
    EXPECT_EQ(GetHostIniPath("Quarvex", false), "");
    EXPECT_TRUE(prompt.m_Messages.empty());
    EXPECT_EQ(GetHostIniPath("Quarvex", true), "");
    EXPECT_EQ(prompt.Texts(), (std::vector<std::string>{
                                 "Error - Could not locate the registry entry for the Quarvex "
                                 "installation"}));

    RecordConfigDir("Quarvex", "/opt/quarvex/config");
    RecordConfigDir("Strativ3D", "/opt/s3d/");
    RecordConfigDir("Delictor", "/opt/delictor");
    RecordConfigDir("Formvue", "/opt/formvue");
    EXPECT_EQ(GetHostIniPath("Quarvex", true), "/opt/quarvex/config/Quarvex.ini");
    EXPECT_EQ(GetHostIniPath("quarvex", true), "/opt/quarvex/config/Quarvex.ini");
    EXPECT_EQ(GetHostIniPath("Strativ3D", true), "/opt/s3d/Strativ3D.ini");
    EXPECT_EQ(GetHostIniPath("DELICTOR", true), "/opt/delictor/Delictor.ini");
    EXPECT_EQ(GetHostIniPath("Formvue", true), "");
    EXPECT_EQ(prompt.m_Messages.size(), 1u);
}

TEST(HostIniString, PerUserCopyWinsValueByValue)
{
    CSettingsSandbox sandbox;
    const std::string config = sandbox.Work("config");
    const std::string ini = config + "/Quarvex.ini";
    WriteTextFile(ini, "[Directories]\r\nShared=C:\\install\\shared\r\nBoth=install\r\n"
                       "Cleared=install value\r\n");
    const std::string userCopy = sandbox.UserDir() + "/Ferrolin/Quarvex/Quarvex.ini";
    EXPECT_EQ(GetHostIniUserCopyPath(ini, "Quarvex"), userCopy);
    CSettingsSandbox::WriteFile(userCopy,
                                "[directories]\nboth=user\nOnlyUser=mine\nCleared=\n");

    // An empty per-user value does not hide the installation's.
    const struct {
        const char* name;
        bool found;
        const char* value;
    } cases[] = {{"Both", true, "user"}, {"Shared", true, "C:\\install\\shared"}, {"OnlyUser", true, "mine"},
                 {"Cleared", true, "install value"}, {"None", false, ""}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const auto got = GetHostIniString("Directories", c.name, ini, "Quarvex");
        EXPECT_EQ(got.found, c.found);
        EXPECT_EQ(got.value, c.value);
    }
}

TEST(HostTempDirectory, ProductWithoutIniFileUsesTheSystemTemporaryFolder)
{
    CSettingsSandbox sandbox;
    CRecordingPrompt prompt;
    RecordConfigDir("Formvue", sandbox.Work("formvue"));
    EXPECT_EQ(GetHostTempDirectory("Formvue", true), sandbox.TempDir() + "/");
    EXPECT_TRUE(prompt.m_Messages.empty());
    // No installation record: reported, and still the temporary folder.
    EXPECT_EQ(GetHostTempDirectory("Quarvex", true), sandbox.TempDir() + "/");
    EXPECT_EQ(prompt.m_Messages.size(), 1u);
}

TEST(HostTempDirectory, ConfiguredFolderAlwaysGetsOneMoreSlash)
{
    CSettingsSandbox sandbox;
    CRecordingPrompt prompt;
    const std::string config = sandbox.Work("config");
    const std::string scratch = sandbox.Work("scratch");
    RecordConfigDir("Quarvex", config);
    WriteTextFile(config + "/Quarvex.ini",
                  "[Directories]\nQuarvex Temp Directory=" + scratch + "\n");
    EXPECT_EQ(GetHostTempDirectory("Quarvex", true), scratch + "/");
    WriteTextFile(config + "/Quarvex.ini",
                  "[Directories]\nQuarvex Temp Directory=" + scratch + "/\n");
    EXPECT_EQ(GetHostTempDirectory("Quarvex", true), scratch + "//");
    EXPECT_TRUE(prompt.m_Messages.empty());
}

TEST(HostTempDirectory, MissingAndReadOnlyFoldersAreReportedOnlyWhenAsked)
{
    CSettingsSandbox sandbox;
    CRecordingPrompt prompt;
    const std::string config = sandbox.Work("config");
    RecordConfigDir("Strativ3D", config);
    const std::string missing = sandbox.Work("x") + "/gone";
    WriteTextFile(config + "/Strativ3D.ini",
                  "[Directories]\nStrativ3D Temp Directory=" + missing + "\n");
    EXPECT_EQ(GetHostTempDirectory("Strativ3D", false), "");
    EXPECT_TRUE(prompt.m_Messages.empty());
    EXPECT_EQ(GetHostTempDirectory("Strativ3D", true), "");

    const std::string locked = sandbox.Work("locked");
    std::filesystem::permissions(locked, std::filesystem::perms::owner_read |
                                             std::filesystem::perms::owner_exec);
    WriteTextFile(config + "/Strativ3D.ini",
                  "[Directories]\nStrativ3D Temp Directory=" + locked + "\n");
    EXPECT_EQ(GetHostTempDirectory("Strativ3D", false), "");
    EXPECT_EQ(GetHostTempDirectory("Strativ3D", true), "");
    std::filesystem::permissions(locked, std::filesystem::perms::owner_all);

    EXPECT_EQ(prompt.Texts(),
              (std::vector<std::string>{"Error - The directory " + missing + "/ does not exist",
                                        "Error - The directory " + locked + "/ is Read Only"}));
}
