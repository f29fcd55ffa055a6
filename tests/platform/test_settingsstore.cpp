#include "platform/csettingsstore.h"

#include "platform/settingssandbox.h"
#include "support/testfiles.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <functional>
#include <optional>

#include <sys/stat.h>

using Hive = CSettingsStore::Hive;

TEST(SettingsStoreKeys, RegistryKeysMapToOrganisationApplicationAndGroup)
{
    struct Case {
        const char* key;
        const char* organisation;
        const char* application;
        const char* group;
    };
    const Case cases[] = {
        {"Software\\Ferrolin\\Common", "Ferrolin", "Common", ""},
        {"Software\\Ferrolin\\leg2tab\\Settings", "Ferrolin", "leg2tab", "Settings"},
        {"SOFTWARE\\Ferrolin\\Quarvex\\Setup\\", "Ferrolin", "Quarvex", "Setup"},
        {"Ferrolin/Vyrn/A/B", "Ferrolin", "Vyrn", "A/B"},
        {"software\\\\Ferrolin\\\\Common", "Ferrolin", "Common", ""},
    };
    for (const Case& c : cases) {
        const auto at = CSettingsStore::ParseKey(c.key);
        ASSERT_TRUE(at) << c.key;
        EXPECT_EQ(at->organisation, c.organisation) << c.key;
        EXPECT_EQ(at->application, c.application) << c.key;
        EXPECT_EQ(at->group, c.group) << c.key;
    }
    EXPECT_FALSE(CSettingsStore::ParseKey("Software\\Ferrolin"));
    EXPECT_FALSE(CSettingsStore::ParseKey(""));
}

TEST(SettingsStoreValues, ValuesComeBackByteForByteFromTheUsersFile)
{
    CSettingsSandbox sandbox;
    const std::string key = "Software\\Ferrolin\\leg2tab\\Settings";
    const std::string values[] = {"C:\\legends\\lut\\", "a, b;c=d", "", "Caf\xE9 \xC3\xA9",
                                  " padded "};
    for (const std::string& v : values) {
        ASSERT_TRUE(CSettingsStore::SetString(Hive::CurrentUser, key, "Value", v));
        EXPECT_EQ(CSettingsStore::GetString(Hive::CurrentUser, key, "Value"), v);
    }
    EXPECT_TRUE(std::filesystem::exists(sandbox.UserDir() + "/Ferrolin/leg2tab.conf"));
    EXPECT_FALSE(CSettingsStore::GetString(Hive::LocalMachine, key, "Value"));
    EXPECT_FALSE(CSettingsStore::GetString(Hive::CurrentUser, key, "Other"));
    EXPECT_FALSE(CSettingsStore::GetString(Hive::CurrentUser, "Software\\Ferrolin\\leg2tab", "Value"));
}

TEST(SettingsStoreValues, NamesAreMatchedWithoutRegardToCase)
{
    CSettingsSandbox sandbox;
    sandbox.WriteFile(sandbox.UserDir() + "/Ferrolin/Quarvex.conf",
                  "[setup]\nconfigdir=/opt/quarvex/config\n");
    EXPECT_EQ(CSettingsStore::GetString(Hive::CurrentUser, "SOFTWARE\\Ferrolin\\Quarvex\\Setup",
                                        "ConfigDir"),
              "/opt/quarvex/config");
    EXPECT_EQ(CSettingsStore::GetString(Hive::CurrentUser, "software\\ferrolin\\QUARVEX\\setup",
                                        "configdir"),
              "/opt/quarvex/config");
    // A write to a name in another case replaces the value instead of adding one.
    ASSERT_TRUE(CSettingsStore::SetString(Hive::CurrentUser, "Software\\Ferrolin\\Quarvex\\SETUP",
                                          "CONFIGDIR", "/new"));
    const std::string text = ReadTextFile(sandbox.UserDir() + "/Ferrolin/Quarvex.conf");
    EXPECT_EQ(text.find("/opt/quarvex"), std::string::npos);
    EXPECT_NE(text.find("configdir=/new"), std::string::npos) << text;
}

TEST(SettingsStoreValues, RemovedValueIsMissing)
{
    CSettingsSandbox sandbox;
    const std::string key = "Software\\Ferrolin\\leg2tab\\Settings";
    ASSERT_TRUE(CSettingsStore::SetString(Hive::CurrentUser, key, "TimeStamp_TAB2LEG", "x"));
    ASSERT_TRUE(CSettingsStore::RemoveValue(Hive::CurrentUser, key, "timestamp_tab2leg"));
    EXPECT_FALSE(CSettingsStore::GetString(Hive::CurrentUser, key, "TimeStamp_TAB2LEG"));
}

TEST(SettingsStoreCommon, CurrentUserWinsOverTheMachine)
{
    CSettingsSandbox sandbox;
    sandbox.WriteFile(sandbox.SystemDir() + "/Ferrolin/Common.conf",
                  "[General]\nLUT_PATH=/machine/lut/\nPEN_FILE=/machine/pens.pen\n");
    EXPECT_EQ(GetCommonSetting("LUT_PATH"), "/machine/lut/");
    ASSERT_TRUE(SetCommonSetting("LUT_PATH", "/home/me/lut/"));
    EXPECT_EQ(GetCommonSetting("LUT_PATH"), "/home/me/lut/");
    EXPECT_EQ(GetCommonSetting("PEN_FILE"), "/machine/pens.pen");
    EXPECT_FALSE(GetCommonSetting("BRUSH_PATH"));
    // The write went to the user's file only.
    EXPECT_EQ(ReadTextFile(sandbox.SystemDir() + "/Ferrolin/Common.conf").find("/home/me"),
              std::string::npos);
    EXPECT_NE(ReadTextFile(sandbox.UserDir() + "/Ferrolin/Common.conf").find("/home/me/lut/"),
              std::string::npos);
}

TEST(SettingsStoreCommon, ProjectFolderGetsATrailingSlashAndEmptyStillCounts)
{
    CSettingsSandbox sandbox;
    EXPECT_FALSE(GetProjectFolder("Quarvex"));
    const std::string key = "Software\\Ferrolin\\Quarvex\\Settings";
    ASSERT_TRUE(CSettingsStore::SetString(Hive::CurrentUser, key, "PROJECT_FOLDER", "/p/q"));
    EXPECT_EQ(GetProjectFolder("Quarvex"), "/p/q/");
    ASSERT_TRUE(CSettingsStore::SetString(Hive::CurrentUser, key, "PROJECT_FOLDER", "/p/q/"));
    EXPECT_EQ(GetProjectFolder("Quarvex"), "/p/q/");
    ASSERT_TRUE(CSettingsStore::SetString(Hive::CurrentUser, key, "PROJECT_FOLDER", ""));
    EXPECT_EQ(GetProjectFolder("Quarvex"), "");
    // Without a product the program's own key is used.
    EXPECT_FALSE(GetProjectFolder(""));
    ASSERT_TRUE(CSettingsStore::SetString(Hive::CurrentUser, "Software\\Ferrolin\\Tessarin\\Settings",
                                          "PROJECT_FOLDER", "/own"));
    EXPECT_EQ(GetProjectFolder(""), "/own/");
    // The machine's value is not a project folder.
    ASSERT_TRUE(CSettingsStore::SetString(Hive::LocalMachine, "Software\\Ferrolin\\Strativ\\Settings",
                                          "PROJECT_FOLDER", "/m"));
    EXPECT_FALSE(GetProjectFolder("Strativ"));
}

TEST(SettingsStoreProfile, ProfileLivesUnderTheHostProductAndDefaultsApply)
{
    CSettingsSandbox sandbox;
    EXPECT_EQ(CSettingsStore::ProfileProduct(), "Tessarin");
    EXPECT_EQ(CSettingsStore::GetProfileString("Settings", "LoadPath", "dflt"), "dflt");
    ASSERT_TRUE(CSettingsStore::WriteProfileString("Settings", "LoadPath", "/data/in/"));
    EXPECT_EQ(CSettingsStore::GetProfileString("Settings", "LoadPath", "dflt"), "/data/in/");
    EXPECT_TRUE(std::filesystem::exists(sandbox.UserDir() + "/Ferrolin/Tessarin.conf"));

    CSettingsStore::SetProfileProduct("Quarvex");
    EXPECT_EQ(CSettingsStore::GetProfileString("Settings", "LoadPath"), "");
    ASSERT_TRUE(CSettingsStore::WriteProfileString("Path", "ColourLUT", "/a;/b"));
    EXPECT_NE(ReadTextFile(sandbox.UserDir() + "/Ferrolin/Quarvex.conf").find("[Path]"),
              std::string::npos);
    CSettingsStore::SetProfileProduct("");
    EXPECT_EQ(CSettingsStore::ProfileProduct(), "Tessarin");
    EXPECT_EQ(CSettingsStore::GetProfileString("Path", "ColourLUT", "none"), "none");
}

TEST(SettingsStoreProfile, IntegersAndBytesRoundTrip)
{
    CSettingsSandbox sandbox;
    EXPECT_EQ(CSettingsStore::GetProfileInt("Settings", "Count", 7u), 7u);
    ASSERT_TRUE(CSettingsStore::WriteProfileInt("Settings", "Count", 42));
    EXPECT_EQ(CSettingsStore::GetProfileInt("Settings", "Count", 7u), 42u);
    ASSERT_TRUE(CSettingsStore::WriteProfileInt("Settings", "Count", -1));
    EXPECT_EQ(CSettingsStore::GetProfileInt("Settings", "Count", 7u), 0xFFFFFFFFu);
    ASSERT_TRUE(CSettingsStore::WriteProfileString("Settings", "Word", "abc"));
    EXPECT_EQ(CSettingsStore::GetProfileInt("Settings", "Word", 7u), 7u);

    EXPECT_FALSE(CSettingsStore::GetProfileBinary("Settings", "Blob"));
    const std::string bytes("\x00\x01\xFF\n\\x", 6);
    ASSERT_TRUE(CSettingsStore::WriteProfileBinary("Settings", "Blob", bytes));
    EXPECT_EQ(CSettingsStore::GetProfileBinary("Settings", "Blob"), bytes);
}

// A change touches the line of its own setting only (or adds one to its
// section): other settings keep their quoting and escapes, comments and stray
// lines stay, and so do the order, a byte-order mark and the line ends.
TEST(SettingsStoreFiles, AChangeKeepsEveryOtherByteOfTheFile)
{
    CSettingsSandbox sandbox;
    const std::string path = sandbox.UserDir() + "/Ferrolin/Common.conf";
    const std::string bom = "\xEF\xBB\xBF";
    const struct {
        std::string before;
        const char* name;
        std::optional<std::string> value; // nothing: remove
        std::string after;
    } cases[] = {
        {"[General]\nBRUSH_PATH=/x\\dir\\brushes\nPEN_FILE=/p;q.pen\nW=\"quoted\"\nLUT_PATH=/a/\n",
         "LUT_PATH", "/q/",
         "[General]\nBRUSH_PATH=/x\\dir\\brushes\nPEN_FILE=/p;q.pen\nW=\"quoted\"\nLUT_PATH=/q/\n"},
        {"; my note\n[General]\nBRUSH_PATH=/b/\n\n[Other]\nX = 1\n", "LUT_PATH", "/q/",
         "; my note\n[General]\nBRUSH_PATH=/b/\nLUT_PATH=/q/\n\n[Other]\nX = 1\n"},
        {"[General]\nBRUSH_PATH=/b/\ngarbage line\nPEN_FILE=/p\n", "LUT_PATH", "/q/",
         "[General]\nBRUSH_PATH=/b/\ngarbage line\nPEN_FILE=/p\nLUT_PATH=/q/\n"},
        {"[General]\rLUT_PATH=/a\rX=1\r", "LUT_PATH", "/q/", "[General]\rLUT_PATH=/q/\rX=1\r"},
        {bom + "[General]\r\nlut_path = /a\r\n  # old\r\n", "LUT_PATH", "/q/",
         bom + "[General]\r\nlut_path=/q/\r\n  # old\r\n"},
        {"[Other]\r\nX=1", "LUT_PATH", "/q/", "[Other]\r\nX=1\r\n\r\n[General]\r\nLUT_PATH=/q/\r\n"},
        {"BRUSH_PATH=/b/\n[Other]\nX=1\n", "LUT_PATH", "/q/",
         "BRUSH_PATH=/b/\nLUT_PATH=/q/\n[Other]\nX=1\n"},
        {"", "LUT_PATH", "/p;q, r/", "[General]\nLUT_PATH=\"/p;q, r/\"\n"},
        {"[General]\nLUT_PATH=/a\nX=1\nLUT_PATH=/b\n", "LUT_PATH", "/q/",
         "[General]\nLUT_PATH=/q/\nX=1\n"},
        {"; keep\n[General]\nLUT_PATH=/a\nPEN_FILE=/p\r\n", "lut_path", std::nullopt,
         "; keep\n[General]\nPEN_FILE=/p\r\n"},
        {"[General]\nPEN_FILE=/p\n", "LUT_PATH", std::nullopt, "[General]\nPEN_FILE=/p\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.before);
        sandbox.WriteFile(path, c.before);
        // A read first puts the file in QSettings' cache.
        EXPECT_FALSE(GetCommonSetting("BRUSH_PATH2"));
        std::string why;
        if (c.value) {
            EXPECT_TRUE(SetCommonSetting(c.name, *c.value, &why)) << why;
            EXPECT_EQ(GetCommonSetting(c.name), *c.value);
        } else {
            EXPECT_TRUE(CSettingsStore::RemoveValue(Hive::CurrentUser, CommonSettingsKey, c.name));
            EXPECT_FALSE(GetCommonSetting(c.name));
        }
        EXPECT_EQ(ReadTextFile(path), c.after);
    }
}

// QSettings would wait forever on a FIFO and read a device without end: a
// settings file that is not a regular file is refused before it is opened.
TEST(SettingsStoreFiles, ASettingsFileThatIsNoRegularFileIsRefusedAtOnce)
{
    CSettingsSandbox sandbox;
    const std::string path = sandbox.UserDir() + "/Ferrolin/Common.conf";
    const struct {
        const char* kind;
        std::function<void()> make;
        std::string why;
    } cases[] = {
        {"fifo", [&] { ASSERT_EQ(::mkfifo(path.c_str(), 0600), 0); }, ": not a regular file"},
        {"device", [&] { std::filesystem::create_symlink("/dev/zero", path); },
         ": not a regular file"},
        {"folder", [&] { std::filesystem::create_directory(path); },
         std::string(": ") + std::strerror(EISDIR)},
    };
    sandbox.WriteFile(sandbox.SystemDir() + "/Ferrolin/Common.conf", "[General]\nLUT_PATH=/m/\n");
    for (const auto& c : cases) {
        SCOPED_TRACE(c.kind);
        std::filesystem::create_directories(sandbox.UserDir() + "/Ferrolin");
        std::filesystem::remove_all(path);
        c.make();
        // The machine's value must not stand in for the user's unread one.
        std::string why;
        EXPECT_FALSE(GetCommonSetting("LUT_PATH", &why));
        EXPECT_EQ(why, path + c.why);
        EXPECT_EQ(CSettingsStore::GetProfileString("Settings", "X", "dflt"), "dflt");
        EXPECT_FALSE(SetCommonSetting("LUT_PATH", "/q/", &why));
        EXPECT_EQ(why, path + c.why);
        EXPECT_FALSE(std::filesystem::is_regular_file(std::filesystem::symlink_status(path)));
    }
    std::filesystem::remove_all(path);
}
