#include "platform/csettingsstore.h"

#include "platform/scratchfiles.h"
#include "platform/settingssandbox.h"

#include <optional>

using Hive = CSettingsStore::Hive;
using Store = CSettingsStore;

namespace {

const std::string Leg2Tab = "Software\\Ferrolin\\leg2tab\\Settings";

// The value as text, "-" when there is none.
std::string Show(const std::optional<std::string>& value)
{
    return value.value_or("-");
}
std::string Get(const std::string& key, const std::string& name, Hive hive = Hive::CurrentUser)
{
    return Show(Store::GetString(hive, key, name));
}
bool Set(const std::string& key, const std::string& name, const std::string& value, Hive hive = Hive::CurrentUser)
{
    return Store::SetString(hive, key, name, value);
}

} // namespace

TEST(SettingsStoreValues, KeysMapToFilesAndValuesComeBackByteForByteWhateverTheCaseOfNames)
{
    CSettingsSandbox sandbox;
    for (const std::string v : {"C:\\legends\\lut\\", "a, b;c=d", "", "Caf\xE9 \xC3\xA9", " padded "}) {
        ASSERT_TRUE(Set(Leg2Tab, "Value", v));
        EXPECT_EQ(Get(Leg2Tab, "Value"), v);
    }
    EXPECT_EQ(Get(Leg2Tab, "Value", Hive::LocalMachine) + Get(Leg2Tab, "Other") +
                  Get("Software\\Ferrolin\\leg2tab", "Value"),
              "---");
    ASSERT_TRUE(Set(Leg2Tab, "TimeStamp_TAB2LEG", "x"));
    ASSERT_TRUE(Store::RemoveValue(Hive::CurrentUser, Leg2Tab, "timestamp_tab2leg"));
    EXPECT_EQ(Get(Leg2Tab, "TimeStamp_TAB2LEG"), "-");
    const std::string quarvex = sandbox.UserDir() + "/Ferrolin/Quarvex.conf";
    sandbox.WriteFile(quarvex, "[setup]\nconfigdir=/opt/quarvex/config\n");
    EXPECT_EQ(Get("SOFTWARE\\Ferrolin\\Quarvex\\Setup\\", "ConfigDir"), "/opt/quarvex/config");
    EXPECT_EQ(Get("software\\ferrolin\\QUARVEX\\setup", "configdir"), "/opt/quarvex/config");
    // A write to a name in another case replaces the value instead of adding one.
    ASSERT_TRUE(Set("Software\\Ferrolin\\Quarvex\\SETUP", "CONFIGDIR", "/new"));
    EXPECT_EQ(ReadTextFile(quarvex), "[setup]\nconfigdir=/new\n");
}

TEST(SettingsStoreProfile, ProfileAndCommonSettingsRoundTripAndProjectFoldersEndInASlash)
{
    CSettingsSandbox sandbox;
    EXPECT_EQ(Store::ProfileProduct() + " " + Store::GetProfileString("Settings", "LoadPath", "dflt"), "Tessarin dflt");
    ASSERT_TRUE(Store::WriteProfileString("Settings", "LoadPath", "/data/in/"));
    EXPECT_EQ(ReadTextFile(sandbox.UserDir() + "/Ferrolin/Tessarin.conf"), "[Settings]\nLoadPath=/data/in/\n");
    Store::SetProfileProduct("Quarvex");
    EXPECT_EQ(Store::GetProfileString("Settings", "LoadPath"), "");
    ASSERT_TRUE(Store::WriteProfileString("Path", "ColourLUT", "/a;/b"));
    EXPECT_EQ(ReadTextFile(sandbox.UserDir() + "/Ferrolin/Quarvex.conf"), "[Path]\nColourLUT=\"/a;/b\"\n");
    Store::SetProfileProduct("");
    EXPECT_EQ(Store::ProfileProduct() + " " + Store::GetProfileString("Path", "ColourLUT", "none") + " " +
                  Store::GetProfileString("Settings", "LoadPath", "dflt"),
              "Tessarin none /data/in/");
    // Written integer (none: a word), the number read back with a default of 7.
    const std::pair<std::optional<int>, unsigned> ints[] = {{42, 42u}, {-1, 0xFFFFFFFFu}, {std::nullopt, 7u}};
    EXPECT_EQ(Store::GetProfileInt("Settings", "Count", 7u), 7u);
    for (const auto& [written, read] : ints) {
        ASSERT_TRUE(written ? Store::WriteProfileInt("Settings", "Count", *written)
                            : Store::WriteProfileString("Settings", "Count", "abc"));
        EXPECT_EQ(Store::GetProfileInt("Settings", "Count", 7u), read);
    }
    EXPECT_FALSE(Store::GetProfileBinary("Settings", "Blob"));
    const std::string bytes("\x00\x01\xFF\n\\x", 6);
    EXPECT_TRUE(Store::WriteProfileBinary("Settings", "Blob", bytes));
    EXPECT_EQ(Store::GetProfileBinary("Settings", "Blob"), bytes);
    // The current user wins over the machine.
    const std::string system = sandbox.SystemDir() + "/Ferrolin/Common.conf";
    const std::string text = "[General]\nLUT_PATH=/machine/lut/\nPEN_FILE=/machine/pens.pen\n";
    sandbox.WriteFile(system, text);
    EXPECT_EQ(Show(GetCommonSetting("LUT_PATH")), "/machine/lut/");
    ASSERT_TRUE(SetCommonSetting("LUT_PATH", "/home/me/lut/"));
    EXPECT_EQ(Show(GetCommonSetting("LUT_PATH")) + Show(GetCommonSetting("PEN_FILE")) +
                  Show(GetCommonSetting("BRUSH_PATH")) + "|" + ReadTextFile(system) + "|" +
                  ReadTextFile(sandbox.UserDir() + "/Ferrolin/Common.conf"),
              "/home/me/lut//machine/pens.pen-|" + text + "|[General]\nLUT_PATH=/home/me/lut/\n");
    // A project folder gets a trailing slash; an empty one still counts.
    const std::string key = "Software\\Ferrolin\\Quarvex\\Settings";
    EXPECT_EQ(Show(GetProjectFolder("Quarvex")) + Show(GetProjectFolder("")), "--");
    const std::pair<const char*, const char*> values[] = {{"/p/q", "/p/q/"}, {"/p/q/", "/p/q/"}, {"", ""}};
    for (const auto& [value, folder] : values) {
        ASSERT_TRUE(Set(key, "PROJECT_FOLDER", value));
        EXPECT_EQ(Show(GetProjectFolder("Quarvex")), folder);
    }
    // Without a product the program's own key is used; the machine's value is no project folder.
    ASSERT_TRUE(Set("Software\\Ferrolin\\Tessarin\\Settings", "PROJECT_FOLDER", "/own"));
    ASSERT_TRUE(Set("Software\\Ferrolin\\Strativ\\Settings", "PROJECT_FOLDER", "/m", Hive::LocalMachine));
    EXPECT_EQ(Show(GetProjectFolder("")) + Show(GetProjectFolder("Strativ")), "/own/-");
}

TEST(SettingsStoreFiles, AChangeKeepsEveryOtherByteOfTheFile)
{
    CSettingsSandbox sandbox;
    const std::string path = sandbox.UserDir() + "/Ferrolin/Common.conf";
    const std::string bom = "\xEF\xBB\xBF";
    // The file before, the name and its new value ("-": removed), the file after.
    const std::tuple<std::string, const char*, const char*, std::string> cases[] = {
        // Quoting and escapes of other settings stay; a second line of the name goes.
        {"[General]\nBRUSH_PATH=/x\\dir\\brushes\nLUT_PATH=/a/\nPEN_FILE=/p;q.pen\nW=\"quoted\"\nLUT_PATH=/b\n",
         "LUT_PATH", "/q/", "[General]\nBRUSH_PATH=/x\\dir\\brushes\nLUT_PATH=/q/\nPEN_FILE=/p;q.pen\nW=\"quoted\"\n"},
        {"; my note\n[General]\nBRUSH_PATH=/b/\ngarbage line\nPEN_FILE=/p\n\n[Other]\nX = 1\n", "LUT_PATH", "/q/",
         "; my note\n[General]\nBRUSH_PATH=/b/\ngarbage line\nPEN_FILE=/p\nLUT_PATH=/q/\n\n[Other]\nX = 1\n"},
        {"[General]\rLUT_PATH=/a\rX=1\r", "LUT_PATH", "/q/", "[General]\rLUT_PATH=/q/\rX=1\r"},
        {bom + "[General]\r\nlut_path = /a\r\n  # old\r\n", "LUT_PATH", "/q/",
         bom + "[General]\r\nlut_path=/q/\r\n  # old\r\n"},
        {"[Other]\r\nX=1", "LUT_PATH", "/q/", "[Other]\r\nX=1\r\n\r\n[General]\r\nLUT_PATH=/q/\r\n"},
        {"BRUSH_PATH=/b/\n[Other]\nX=1\n", "LUT_PATH", "/q/", "BRUSH_PATH=/b/\nLUT_PATH=/q/\n[Other]\nX=1\n"},
        {"", "LUT_PATH", "/p;q, r/", "[General]\nLUT_PATH=\"/p;q, r/\"\n"},
        {"; keep\n[General]\nLUT_PATH=/a\nPEN_FILE=/p\r\n", "lut_path", "-", "; keep\n[General]\nPEN_FILE=/p\r\n"},
        {"[General]\nPEN_FILE=/p\n", "LUT_PATH", "-", "[General]\nPEN_FILE=/p\n"},
    };
    for (const auto& [before, name, value, after] : cases) {
        SCOPED_TRACE(before);
        sandbox.WriteFile(path, before);
        EXPECT_FALSE(GetCommonSetting("BRUSH_PATH2")); // puts the file in QSettings' cache
        std::string why;
        EXPECT_TRUE(value != std::string("-") ? SetCommonSetting(name, value, &why)
                                              : Store::RemoveValue(Hive::CurrentUser, CommonSettingsKey, name))
            << why;
        EXPECT_EQ(Show(GetCommonSetting(name)) + "|" + ReadTextFile(path), std::string(value) + "|" + after);
    }
}

// QSettings would wait forever on a FIFO: a settings file that is no regular file is refused.
TEST(SettingsStoreFiles, ASettingsFileThatIsNoRegularFileIsRefusedAtOnce)
{
    CSettingsSandbox sandbox;
    const std::string path = sandbox.UserDir() + "/Ferrolin/Common.conf";
    sandbox.WriteFile(sandbox.SystemDir() + "/Ferrolin/Common.conf", "[General]\nLUT_PATH=/m/\n");
    Lay(sandbox.UserDir() + "/Ferrolin", "Common.conf|");
    // The machine's value must not stand in for the user's unread one.
    std::string why, whySet;
    const std::string value = Show(GetCommonSetting("LUT_PATH", &why));
    const bool set = SetCommonSetting("LUT_PATH", "/q/", &whySet);
    EXPECT_EQ(Join(value, set, why, whySet, Store::GetProfileString("Settings", "X", "dflt")),
              Join("-", false, path + ": not a regular file", path + ": not a regular file", "dflt"));
    EXPECT_FALSE(std::filesystem::is_regular_file(std::filesystem::symlink_status(path)));
    std::filesystem::remove_all(path);
}
