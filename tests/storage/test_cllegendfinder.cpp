#include "storage/cllegendfinder.h"

#include "platform/csettingsstore.h"
#include "platform/settingssandbox.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>
#include <filesystem>

namespace {

void Touch(const std::string& path)
{
    WriteTextFile(path, "LegendTable Begin\nLegendTable End\n");
}

} // namespace

TEST(LegendFinder, LutPathGetsATrailingSlashAndNamesSortWithoutCase)
{
    CSettingsSandbox sandbox;
    const std::string folder = sandbox.Work("lut");
    for (const char* name : {"c.leg", "B.leg", "a.leg", "A.leg", "D.LEG", "notes.txt", "e.leg.bak"})
        Touch(folder + "/" + name);
    std::filesystem::create_directory(folder + "/dir.leg");
    std::filesystem::create_symlink("gone.leg", folder + "/dangling.leg");
    ASSERT_TRUE(SetCommonSetting("LUT_PATH", folder));

    CLLLegendFinder finder;
    finder.Init();
    EXPECT_EQ(finder.GetFolder(), folder + "/");
    EXPECT_EQ(finder.m_Names, (std::vector<std::string>{"A", "a", "B", "c", "D"}));
    EXPECT_EQ(finder.m_Paths,
              (std::vector<std::string>{folder + "/A.leg", folder + "/a.leg", folder + "/B.leg",
                                        folder + "/c.leg", folder + "/D.LEG"}));
}

TEST(LegendFinder, MachineLutPathIsUsedWhenTheUserHasNone)
{
    CSettingsSandbox sandbox;
    const std::string folder = sandbox.Work("machine") + "/";
    Touch(folder + "m.leg");
    ASSERT_TRUE(CSettingsStore::SetString(CSettingsStore::Hive::LocalMachine, CommonSettingsKey,
                                          "LUT_PATH", folder));
    CLLLegendFinder finder;
    finder.Init();
    EXPECT_EQ(finder.GetFolder(), folder);
    EXPECT_EQ(finder.m_Paths, (std::vector<std::string>{folder + "m.leg"}));
}

TEST(LegendFinder, ImageLibraryBasePathIsTheFallback)
{
    CSettingsSandbox sandbox;
    const std::string base = sandbox.Work("base");
    std::filesystem::create_directory(base + "/lut");
    Touch(base + "/lut/x.leg");
    ASSERT_TRUE(CSettingsStore::SetString(CSettingsStore::Hive::LocalMachine, ImageLibraryKey,
                                          ImageLibraryBaseValue, base));
    CLLLegendFinder finder;
    finder.Init();
    EXPECT_EQ(finder.GetFolder(), base + "/lut/");
    EXPECT_EQ(finder.m_Names, (std::vector<std::string>{"x"}));
    EXPECT_EQ(finder.m_SettingsProblem, "");

    // A common settings file that cannot be read may name another folder: the
    // library's is then not taken in its place.
    const std::string common = sandbox.UserDir() + "/Ferrolin/Common.conf";
    std::filesystem::create_directories(common);
    finder.Init();
    EXPECT_EQ(finder.GetFolder(), "");
    EXPECT_TRUE(finder.m_Paths.empty());
    EXPECT_EQ(finder.m_SettingsProblem, common + ": " + std::strerror(EISDIR));
    std::filesystem::remove(common);

    // The user's base path is not the machine's and is not looked at.
    CSettingsSandbox other;
    ASSERT_TRUE(CSettingsStore::SetString(CSettingsStore::Hive::CurrentUser, ImageLibraryKey,
                                          ImageLibraryBaseValue, base));
    CLLLegendFinder none;
    none.Init();
    EXPECT_EQ(none.GetFolder(), "");
    EXPECT_TRUE(none.m_Paths.empty());
}

TEST(LegendFinder, FolderThatCannotBeReadGivesNoFiles)
{
    CSettingsSandbox sandbox;
    CLLLegendFinder finder;
    finder.m_Folder = sandbox.Work("x") + "/missing/";
    finder.m_Paths = {"stale"};
    finder.m_Names = {"stale"};
    EXPECT_EQ(finder.Scan(), 0);
    EXPECT_TRUE(finder.m_Paths.empty());
    EXPECT_TRUE(finder.m_Names.empty());
    finder.m_Folder = "";
    EXPECT_EQ(finder.Scan(), 0);
}
