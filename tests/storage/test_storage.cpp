#include "storage/cllegendfinder.h"
#include "storage/hostsettings.h"
#include "storage/legendfiles.h"

#include "platform/csettingsstore.h"
#include "platform/cutext.h"
#include "platform/scratchfiles.h"
#include "platform/settingssandbox.h"
#include "support/recordingprompt.h"

namespace {

// The scratch folders of a sandbox, shown as "~/name" in the results.
struct CWork {
    CSettingsSandbox sandbox;
    const std::string root = sandbox.Work("");

    std::string operator()(const std::string& name) const { return root + name; }
    std::string Tilde(const std::string& text) const { return CUText::ReplaceAll(text, root, "~/"); }
    // "name=path ..." of the collected files.
    std::string Collect(const std::string& product, const std::string& extra) const
    {
        std::vector<std::string> paths, names;
        CollectLegendFiles(paths, names, product, extra, false);
        std::string out;
        for (size_t i = 0; i < names.size(); ++i)
            out += names[i] + "=" + paths.at(i) + " ";
        return Tilde(out + (paths.size() == names.size() ? "" : "(paths differ)"));
    }
};

// "#heading|marker" or "name=path" of each item of a list.
std::string Shown(const std::vector<CLegendListItem>& items)
{
    std::string out;
    for (const auto& item : items)
        out += (item.heading ? "#" + item.text + "|" + item.marker : item.text + "=" + item.path) + " ";
    return out;
}

// "folder: name=path ..." after a fresh Init(), the folder's own path shown as '~'.
std::string Found(CLLLegendFinder& finder)
{
    finder.Init();
    std::string out = finder.GetFolder() + ":";
    for (size_t i = 0; i < finder.m_Names.size(); ++i)
        out += " " + finder.m_Names[i] + "=" + finder.m_Paths.at(i);
    return CUText::ReplaceAll(out, "=" + finder.GetFolder(), "=~") +
           (finder.m_Paths.size() == finder.m_Names.size() ? "" : " (paths differ)");
}

} // namespace

TEST(CollectLegendFiles, SameTitlesAreNumberedStandardFoldersFirstAndEachFolderListedOnce)
{
    CWork w;
    Lay(w.root, "one/Rock.leg=x; one/soil.leg=x; two/rock.leg=x; three/ROCK.leg=x");
    EXPECT_EQ(w.Collect("", w("one;") + w("two;;") + w("three")),
              "Rock=~/one/Rock.leg soil=~/one/soil.leg rock[1]=~/two/rock.leg ROCK[1]=~/three/ROCK.leg ");
    // Names differing in case are two files sorted without case; a broken link or a link to a listed folder adds none.
    Lay(w.root, "a/b/x.leg=x; f2/a.leg=x; f2/A.LEG=x; f2/B.leg=x; f2/dangling.leg->gone.leg; f2/loop1.leg->loop2.leg; "
                "f2/loop2.leg->loop1.leg; f2/alias.leg->a.leg; links/f2->" +
                    w("f2"));
    const std::string cwd = std::filesystem::current_path().string();
    std::filesystem::current_path(w("a"));
    const std::string relative = w.Collect("", "./c/../b");
    std::filesystem::current_path(cwd);
    EXPECT_EQ(relative, "x=~/a/b/x.leg ");
    EXPECT_EQ(w.Collect("", w("f2;") + w("links/f2")),
              "A=~/f2/A.LEG a[1]=~/f2/a.leg alias=~/f2/alias.leg B=~/f2/B.leg ");
    // Standard folders come first and a folder reached twice lists once.
    Lay(w.root, "project/p.leg=x; lut/l.leg=x; user/u.leg=x; extra/e.leg=x");
    ASSERT_TRUE(CSettingsStore::SetString(CSettingsStore::Hive::CurrentUser, "Software\\Ferrolin\\Quarvex\\Settings",
                                          "PROJECT_FOLDER", w("project")));
    ASSERT_TRUE(SetCommonSetting("LUT_PATH", w("lut/")));
    CSettingsStore::SetProfileProduct("Quarvex");
    // The user's folders repeat the project folder, written differently.
    ASSERT_TRUE(CSettingsStore::WriteProfileString("Path", "ColourLUT", w("user;") + w("project//")));
    EXPECT_EQ(w.Collect("Quarvex", w("extra")), "p=~/project/p.leg l=~/lut/l.leg u=~/user/u.leg e=~/extra/e.leg ");
    EXPECT_EQ(w.Tilde(JoinAll(LegendSearchFolders("Quarvex", w("extra"), false))),
              "~/project/ ~/lut/ ~/user ~/project// ~/extra");
}

// The folder of a path prefers a backslash, then a slash, then a colon.
TEST(LegendFolders, FolderOfPathAndGroupsSplitByProjectFolder)
{
    const std::pair<const char*, const char*> cases[] = {{"/data/lut/a.leg", "/data/lut/"},
                                                         {"C:\\data\\lut\\a.leg", "C:\\data\\lut\\"},
                                                         {"C:\\data/lut/a.leg", "C:\\"},
                                                         {"C:a.leg", "C:"},
                                                         {"a.leg", ""}};
    for (const auto& [path, folder] : cases)
        EXPECT_EQ(GetFolderOfPath(path), folder);
    // Groups split by project folder; only filled groups get headings.
    const std::vector<std::string> paths = {"/P/a.leg", "/sys/b.leg", "/p/c.leg", "/p/sub/d.leg"};
    const std::vector<std::string> names = {"a", "b", "c", "d"};
    const std::string both = "#Project|Project Header a=/P/a.leg c=/p/c.leg #System|System Header b=/sys/b.leg "
                             "d=/p/sub/d.leg ";
    // The project folder as a user may have written it: no trailing slash, doubled slashes, "..", backslashes.
    for (const char* written : {"/p/", "/p", "//p//", "/p/sub/..", "\\p\\"})
        EXPECT_EQ(Shown(BuildLegendList(GroupLegendFiles(paths, names, written), true)), both) << written;
    EXPECT_EQ(Shown(BuildLegendList(GroupLegendFiles(paths, names, "/elsewhere/"), true)),
              "#System|System Header a=/P/a.leg b=/sys/b.leg c=/p/c.leg d=/p/sub/d.leg ");
    EXPECT_EQ(Shown(BuildLegendList(GroupLegendFiles(paths, names, ""), false)),
              "a=/P/a.leg b=/sys/b.leg c=/p/c.leg d=/p/sub/d.leg ");
}

// The INI file of each installed product, the per-user copy winning value by value, and the temporary folder named
// there: always with one more '/', the system's when there is none, nothing when it is missing or read-only.
TEST(HostIni, PathValuesTemporaryFolderAndLegendFolderOfEachProduct)
{
    CSettingsSandbox sandbox;
    CRecordingPrompt noEntry;
    EXPECT_EQ(GetHostIniPath("Quarvex", &noEntry), "");
    const std::string config = sandbox.Work("config"), scratch = sandbox.Work("scratch"),
                      missing = sandbox.Work("x") + "/gone", locked = sandbox.Work("locked");
    for (const auto& [product, folder] : {std::pair<std::string, std::string>{"Quarvex", config},
                                          {"Strativ3D", "/opt/s3d/"},
                                          {"Delictor", "/opt/delictor"},
                                          {"Formvue", sandbox.Work("formvue")}})
        ASSERT_TRUE(CSettingsStore::SetString(CSettingsStore::Hive::CurrentUser,
                                              "SOFTWARE\\Ferrolin\\" + product + "\\Setup", "ConfigDir", folder));
    const std::pair<const char*, std::string> paths[] = {{"Quarvex", config + "/Quarvex.ini"},
                                                         {"Strativ3D", "/opt/s3d/Strativ3D.ini"},
                                                         {"DELICTOR", "/opt/delictor/Delictor.ini"},
                                                         {"Formvue", ""}};
    for (const auto& [product, path] : paths)
        EXPECT_EQ(GetHostIniPath(product, &noEntry), path);
    EXPECT_EQ(noEntry.Texts(),
              (std::vector<std::string>{"Error - Could not locate the registry entry for the Quarvex installation"}));

    const std::string ini = config + "/Quarvex.ini";
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

    Lay(locked, ".@500");
    const std::string temp = sandbox.TempDir() + "/";
    const std::tuple<std::string, std::string, std::string> cases[] = {
        // Quarvex's folder as configured, the folder given, the message.
        {"", temp, ""},
        {scratch, scratch + "/", ""},
        {scratch + "/", scratch + "//", ""},
        {missing, "", "Error - The directory " + missing + "/ does not exist"},
        {locked, "", "Error - The directory " + locked + "/ is Read Only"},
    };
    for (const auto& [configured, folder, message] : cases) {
        WriteTextFile(ini, "[Directories]\nQuarvex Temp Directory=" + configured + "\n");
        CRecordingPrompt prompt;
        EXPECT_EQ(GetHostTempDirectory("Quarvex", &prompt), folder);
        EXPECT_EQ(prompt.Texts(), message.empty() ? std::vector<std::string>{} : std::vector<std::string>{message})
            << configured;
    }
    Lay(locked, ".@700");
    // The user's LUT_PATH, given a trailing slash, before the machine's; then the image library's base path.
    const std::string machine = sandbox.Work("machine") + "/", folder = sandbox.Work("lut");
    Lay(machine, "m.leg=x");
    Lay(folder,
        "c.leg=x; B.leg=x; a.leg=x; A.leg=x; D.LEG=x; notes.txt=x; e.leg.bak=x; dir.leg/; dangling.leg->gone.leg");
    ASSERT_TRUE(CSettingsStore::SetString(CSettingsStore::Hive::LocalMachine, CommonSettingsKey, "LUT_PATH", machine));
    CLLLegendFinder finder;
    EXPECT_EQ(Found(finder), machine + ": m=~m.leg");
    ASSERT_TRUE(SetCommonSetting("LUT_PATH", folder));
    EXPECT_EQ(Found(finder), folder + "/: A=~A.leg a=~a.leg B=~B.leg c=~c.leg D=~D.LEG");

    CSettingsSandbox library;
    const std::string base = library.Work("base");
    Lay(base, "lut/x.leg=x");
    ASSERT_TRUE(
        CSettingsStore::SetString(CSettingsStore::Hive::LocalMachine, ImageLibraryKey, ImageLibraryBaseValue, base));
    EXPECT_EQ(Found(finder) + "|" + finder.m_SettingsProblem, base + "/lut/: x=~x.leg|");
    // A common settings file that cannot be read may name another folder: the library's is then not taken in its place.
    Lay(library.UserDir(), "Ferrolin/Common.conf/");
    EXPECT_EQ(Found(finder) + "|" + finder.m_SettingsProblem,
              ":|" + library.UserDir() + "/Ferrolin/Common.conf: " + std::strerror(EISDIR));
}
