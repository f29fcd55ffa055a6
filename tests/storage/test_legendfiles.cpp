#include "storage/legendfiles.h"

#include "platform/csettingsstore.h"
#include "platform/settingssandbox.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace {

void Touch(const std::string& path)
{
    WriteTextFile(path, "LegendTable Begin\nLegendTable End\n");
}

struct CCollected {
    std::vector<std::string> paths;
    std::vector<std::string> names;
};

CCollected Collect(const std::string& product, const std::string& extra, bool skip = false)
{
    CCollected c;
    CollectLegendFiles(c.paths, c.names, product, extra, skip);
    return c;
}

} // namespace

TEST(CollectLegendFiles, SameTitleInOtherFoldersIsNumberedAgainstTheBareTitleOnly)
{
    CSettingsSandbox sandbox;
    const std::string one = sandbox.Work("one"), two = sandbox.Work("two"),
                      three = sandbox.Work("three");
    Touch(one + "/Rock.leg");
    Touch(one + "/soil.leg");
    Touch(two + "/rock.leg");
    Touch(three + "/ROCK.leg");
    const CCollected c = Collect("", one + ";" + two + ";;" + three);
    EXPECT_EQ(c.names, (std::vector<std::string>{"Rock", "soil", "rock[1]", "ROCK[1]"}));
    EXPECT_EQ(c.paths, (std::vector<std::string>{one + "/Rock.leg", one + "/soil.leg",
                                                 two + "/rock.leg", three + "/ROCK.leg"}));
}

TEST(CollectLegendFiles, StandardFoldersComeFirstAndAFolderReachedTwiceListsOnce)
{
    CSettingsSandbox sandbox;
    const std::string project = sandbox.Work("project"), lut = sandbox.Work("lut"),
                      user = sandbox.Work("user"), extra = sandbox.Work("extra");
    Touch(project + "/p.leg");
    Touch(lut + "/l.leg");
    Touch(user + "/u.leg");
    Touch(extra + "/e.leg");
    ASSERT_TRUE(CSettingsStore::SetString(CSettingsStore::Hive::CurrentUser,
                                          "Software\\Ferrolin\\Quarvex\\Settings", "PROJECT_FOLDER",
                                          project));
    ASSERT_TRUE(SetCommonSetting("LUT_PATH", lut + "/"));
    CSettingsStore::SetProfileProduct("Quarvex");
    // The user's folders repeat the project folder, written differently.
    ASSERT_TRUE(CSettingsStore::WriteProfileString("Path", "ColourLUT",
                                                   user + ";" + project + "//"));
    const CCollected c = Collect("Quarvex", extra);
    EXPECT_EQ(c.names, (std::vector<std::string>{"p", "l", "u", "e"}));
    EXPECT_EQ(c.paths, (std::vector<std::string>{project + "/p.leg", lut + "/l.leg",
                                                 user + "/u.leg", extra + "/e.leg"}));
    EXPECT_EQ(LegendSearchFolders("Quarvex", extra, false),
              (std::vector<std::string>{project + "/", lut + "/", user, project + "//", extra}));

    const CCollected onlyExtra = Collect("Quarvex", extra, true);
    EXPECT_EQ(onlyExtra.names, (std::vector<std::string>{"e"}));
}

TEST(CollectLegendFiles, NumberedFileReachedAgainIsNotListedTwice)
{
    CSettingsSandbox sandbox;
    const std::string one = sandbox.Work("one"), two = sandbox.Work("two");
    Touch(one + "/Rock.leg");
    Touch(two + "/Rock.leg");
    Touch(two + "/Soil.leg");
    const CCollected c = Collect("", one + ";" + two + ";" + two + "/;" + one);
    EXPECT_EQ(c.names, (std::vector<std::string>{"Rock", "Rock[1]", "Soil"}));
    EXPECT_EQ(c.paths,
              (std::vector<std::string>{one + "/Rock.leg", two + "/Rock.leg", two + "/Soil.leg"}));
}

TEST(CollectLegendFiles, BackslashesAndDoubledSlashesAndRelativeFoldersAreResolved)
{
    CSettingsSandbox sandbox;
    const std::string folder = sandbox.Work("a/b");
    Touch(folder + "/x.leg");
    std::string withBackslashes = folder;
    for (char& ch : withBackslashes)
        if (ch == '/')
            ch = '\\';
    const CCollected c = Collect("", withBackslashes);
    EXPECT_EQ(c.paths, (std::vector<std::string>{folder + "/x.leg"}));

    const std::string cwd = std::filesystem::current_path().string();
    std::filesystem::current_path(sandbox.Work("a"));
    const CCollected relative = Collect("", "./c/../b");
    std::filesystem::current_path(cwd);
    EXPECT_EQ(relative.paths, (std::vector<std::string>{folder + "/x.leg"}));
}

TEST(CollectLegendFiles, NamesDifferingInCaseAreTwoFilesAndBrokenLinksNone)
{
    CSettingsSandbox sandbox;
    const std::string f2 = sandbox.Work("f2");
    Touch(f2 + "/a.leg");
    Touch(f2 + "/A.LEG");
    std::filesystem::create_symlink("gone.leg", f2 + "/dangling.leg");
    std::filesystem::create_symlink("loop2.leg", f2 + "/loop1.leg");
    std::filesystem::create_symlink("loop1.leg", f2 + "/loop2.leg");
    std::filesystem::create_symlink("a.leg", f2 + "/alias.leg");
    // The same folder again, through a link to it.
    std::filesystem::create_directory_symlink(f2, sandbox.Work("links") + "/f2");
    const CCollected c = Collect("", f2 + ";" + sandbox.Work("links") + "/f2");
    EXPECT_EQ(c.names, (std::vector<std::string>{"A", "a[1]", "alias"}));
    EXPECT_EQ(c.paths, (std::vector<std::string>{f2 + "/A.LEG", f2 + "/a.leg", f2 + "/alias.leg"}));
}

TEST(LegendFolders, FolderOfPathPrefersBackslashThenSlashThenColon)
{
    EXPECT_EQ(GetFolderOfPath("/data/lut/a.leg"), "/data/lut/");
    EXPECT_EQ(GetFolderOfPath("C:\\data\\lut\\a.leg"), "C:\\data\\lut\\");
    EXPECT_EQ(GetFolderOfPath("C:\\data/lut/a.leg"), "C:\\");
    EXPECT_EQ(GetFolderOfPath("C:a.leg"), "C:");
    EXPECT_EQ(GetFolderOfPath("a.leg"), "");
}

TEST(LegendFolders, GroupsSplitByProjectFolderAndOnlyFilledGroupsGetHeadings)
{
    const std::vector<std::string> paths = {"/P/a.leg", "/sys/b.leg", "/p/c.leg", "/p/sub/d.leg"};
    const std::vector<std::string> names = {"a", "b", "c", "d"};
    const CLegendGroups groups = GroupLegendFiles(paths, names, "/p/");
    ASSERT_EQ(groups.project.size(), 2u);
    EXPECT_EQ(groups.project[0].name, "a");
    EXPECT_EQ(groups.project[1].path, "/p/c.leg");
    ASSERT_EQ(groups.system.size(), 2u);
    EXPECT_EQ(groups.system[1].name, "d");

    const auto items = BuildLegendList(groups, true);
    std::vector<std::string> shown;
    for (const auto& item : items)
        shown.push_back((item.heading ? "#" + item.text + "|" + item.marker : item.text));
    EXPECT_EQ(shown, (std::vector<std::string>{"#Project|Project Header", "a", "c",
                                               "#System|System Header", "b", "d"}));

    // The project folder as a user may have written it: no trailing slash,
    // doubled slashes, "..", backslashes.
    for (const char* written : {"/p", "//p//", "/p/sub/..", "\\p\\"}) {
        SCOPED_TRACE(written);
        const CLegendGroups again = GroupLegendFiles(paths, names, written);
        ASSERT_EQ(again.project.size(), 2u);
        EXPECT_EQ(again.project[1].path, "/p/c.leg");
        EXPECT_EQ(again.system.size(), 2u);
    }

    const auto systemOnly = BuildLegendList(GroupLegendFiles(paths, names, "/elsewhere/"), true);
    ASSERT_EQ(systemOnly.size(), 5u);
    EXPECT_EQ(systemOnly[0].text, "System");

    const auto noHeadings = BuildLegendList(GroupLegendFiles(paths, names, ""), false);
    ASSERT_EQ(noHeadings.size(), 4u);
    EXPECT_FALSE(noHeadings[0].heading);
    EXPECT_EQ(noHeadings[3].path, "/p/sub/d.leg");
}
