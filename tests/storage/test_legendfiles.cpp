#include "storage/legendfiles.h"

#include "platform/csettingsstore.h"
#include "platform/settingssandbox.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace {

void Touch(const std::string& path) { WriteTextFile(path, "LegendTable Begin\nLegendTable End\n"); }

// "name=path ..." of the collected files.
std::string Collect(const std::string& product, const std::string& extra, bool skip = false)
{
    std::vector<std::string> paths, names;
    CollectLegendFiles(paths, names, product, extra, skip);
    std::string out;
    for (size_t i = 0; i < names.size(); ++i)
        out += names[i] + "=" + (i < paths.size() ? paths[i] : "?") + " ";
    return out + (paths.size() == names.size() ? "" : "(paths differ)");
}

// "#heading|marker" or "name=path" of each item of a list.
std::string Shown(const std::vector<CLegendListItem>& items)
{
    std::string out;
    for (const auto& item : items)
        out += (item.heading ? "#" + item.text + "|" + item.marker : item.text + "=" + item.path) + " ";
    return out;
}

} // namespace

TEST(CollectLegendFiles, SameTitleInOtherFoldersIsNumberedAgainstTheBareTitleOnlyAndListedOnce)
{
    CSettingsSandbox sandbox;
    const std::string one = sandbox.Work("one"), two = sandbox.Work("two"), three = sandbox.Work("three");
    for (const std::string& file : {one + "/Rock.leg", one + "/soil.leg", two + "/rock.leg", three + "/ROCK.leg"})
        Touch(file);
    EXPECT_EQ(Collect("", one + ";" + two + ";;" + three), "Rock=" + one + "/Rock.leg soil=" + one +
                                                                "/soil.leg rock[1]=" + two + "/rock.leg ROCK[1]=" +
                                                                three + "/ROCK.leg ");
    // A numbered file reached again is not listed twice.
    std::filesystem::rename(two + "/rock.leg", two + "/Rock.leg");
    Touch(two + "/Soil.leg");
    EXPECT_EQ(Collect("", one + ";" + two + ";" + two + "/;" + one),
              "Rock=" + one + "/Rock.leg soil=" + one + "/soil.leg Rock[1]=" + two + "/Rock.leg Soil[1]=" + two +
                  "/Soil.leg ");
}

TEST(CollectLegendFiles, StandardFoldersComeFirstAndAFolderReachedTwiceListsOnce)
{
    CSettingsSandbox sandbox;
    const std::string project = sandbox.Work("project"), lut = sandbox.Work("lut"), user = sandbox.Work("user"),
                      extra = sandbox.Work("extra");
    for (const std::string& file : {project + "/p.leg", lut + "/l.leg", user + "/u.leg", extra + "/e.leg"})
        Touch(file);
    ASSERT_TRUE(CSettingsStore::SetString(CSettingsStore::Hive::CurrentUser, "Software\\Ferrolin\\Quarvex\\Settings",
                                          "PROJECT_FOLDER", project));
    ASSERT_TRUE(SetCommonSetting("LUT_PATH", lut + "/"));
    CSettingsStore::SetProfileProduct("Quarvex");
    // The user's folders repeat the project folder, written differently.
    ASSERT_TRUE(CSettingsStore::WriteProfileString("Path", "ColourLUT", user + ";" + project + "//"));
    EXPECT_EQ(Collect("Quarvex", extra), "p=" + project + "/p.leg l=" + lut + "/l.leg u=" + user + "/u.leg e=" +
                                             extra + "/e.leg ");
    EXPECT_EQ(LegendSearchFolders("Quarvex", extra, false),
              (std::vector<std::string>{project + "/", lut + "/", user, project + "//", extra}));
    EXPECT_EQ(Collect("Quarvex", extra, true), "e=" + extra + "/e.leg ");
}

TEST(CollectLegendFiles, BackslashesDoubledSlashesRelativeFoldersAndLinksAreResolved)
{
    CSettingsSandbox sandbox;
    const std::string folder = sandbox.Work("a/b");
    Touch(folder + "/x.leg");
    std::string withBackslashes = folder;
    std::replace(withBackslashes.begin(), withBackslashes.end(), '/', '\\');
    EXPECT_EQ(Collect("", withBackslashes), "x=" + folder + "/x.leg ");
    const std::string cwd = std::filesystem::current_path().string();
    std::filesystem::current_path(sandbox.Work("a"));
    const std::string relative = Collect("", "./c/../b");
    std::filesystem::current_path(cwd);
    EXPECT_EQ(relative, "x=" + folder + "/x.leg ");

    // Names differing in case are two files, broken links none; the same folder
    // again, through a link to it, adds nothing.
    const std::string f2 = sandbox.Work("f2");
    Touch(f2 + "/a.leg");
    Touch(f2 + "/A.LEG");
    std::filesystem::create_symlink("gone.leg", f2 + "/dangling.leg");
    std::filesystem::create_symlink("loop2.leg", f2 + "/loop1.leg");
    std::filesystem::create_symlink("loop1.leg", f2 + "/loop2.leg");
    std::filesystem::create_symlink("a.leg", f2 + "/alias.leg");
    std::filesystem::create_directory_symlink(f2, sandbox.Work("links") + "/f2");
    EXPECT_EQ(Collect("", f2 + ";" + sandbox.Work("links") + "/f2"),
              "A=" + f2 + "/A.LEG a[1]=" + f2 + "/a.leg alias=" + f2 + "/alias.leg ");
}

TEST(LegendFolders, FolderOfPathPrefersBackslashThenSlashThenColon)
{
    const std::pair<const char*, const char*> cases[] = {{"/data/lut/a.leg", "/data/lut/"},
                                                         {"C:\\data\\lut\\a.leg", "C:\\data\\lut\\"},
                                                         {"C:\\data/lut/a.leg", "C:\\"},
                                                         {"C:a.leg", "C:"},
                                                         {"a.leg", ""}};
    for (const auto& [path, folder] : cases)
        EXPECT_EQ(GetFolderOfPath(path), folder);
}

TEST(LegendFolders, GroupsSplitByProjectFolderAndOnlyFilledGroupsGetHeadings)
{
    const std::vector<std::string> paths = {"/P/a.leg", "/sys/b.leg", "/p/c.leg", "/p/sub/d.leg"};
    const std::vector<std::string> names = {"a", "b", "c", "d"};
    const std::string both = "#Project|Project Header a=/P/a.leg c=/p/c.leg #System|System Header b=/sys/b.leg "
                             "d=/p/sub/d.leg ";
    // The project folder as a user may have written it: no trailing slash,
    // doubled slashes, "..", backslashes.
    for (const char* written : {"/p/", "/p", "//p//", "/p/sub/..", "\\p\\"})
        EXPECT_EQ(Shown(BuildLegendList(GroupLegendFiles(paths, names, written), true)), both) << written;
    EXPECT_EQ(Shown(BuildLegendList(GroupLegendFiles(paths, names, "/elsewhere/"), true)),
              "#System|System Header a=/P/a.leg b=/sys/b.leg c=/p/c.leg d=/p/sub/d.leg ");
    EXPECT_EQ(Shown(BuildLegendList(GroupLegendFiles(paths, names, ""), false)),
              "a=/P/a.leg b=/sys/b.leg c=/p/c.leg d=/p/sub/d.leg ");
}
