#include "storage/cllegendfinder.h"

#include "platform/csettingsstore.h"
#include "platform/scratchfiles.h"
#include "platform/settingssandbox.h"

namespace {

bool SetMachine(const std::string& key, const std::string& name, const std::string& value)
{
    return CSettingsStore::SetString(CSettingsStore::Hive::LocalMachine, key, name, value);
}

// "folder: name=path ..." after a fresh Init(), the folder's own path shown as '~'.
std::string Found(CLLLegendFinder& finder)
{
    finder.Init();
    const std::string folder = finder.GetFolder();
    std::string out = folder + ":";
    for (size_t i = 0; i < finder.m_Names.size(); ++i)
        out += " " + finder.m_Names[i] + "=" +
               (i < finder.m_Paths.size() && !folder.empty() && finder.m_Paths[i].rfind(folder, 0) == 0
                    ? "~" + finder.m_Paths[i].substr(folder.size())
                    : "?");
    return out + (finder.m_Paths.size() == finder.m_Names.size() ? "" : " (paths differ)");
}

} // namespace

TEST(LegendFinder, LutPathGetsATrailingSlashAndNamesSortWithoutCase)
{
    CSettingsSandbox sandbox;
    const std::string folder = sandbox.Work("lut");
    Lay(folder,
        "c.leg=x; B.leg=x; a.leg=x; A.leg=x; D.LEG=x; notes.txt=x; e.leg.bak=x; dir.leg/; dangling.leg->gone.leg");
    ASSERT_TRUE(SetCommonSetting("LUT_PATH", folder));
    CLLLegendFinder finder;
    EXPECT_EQ(Found(finder), folder + "/: A=~A.leg a=~a.leg B=~B.leg c=~c.leg D=~D.LEG");
}

TEST(LegendFinder, MachineLutPathOrImageLibraryBasePathAreTheFallbacks)
{
    CSettingsSandbox sandbox;
    const std::string folder = sandbox.Work("machine") + "/";
    Lay(folder, "m.leg=x");
    ASSERT_TRUE(SetMachine(CommonSettingsKey, "LUT_PATH", folder));
    CLLLegendFinder finder;
    EXPECT_EQ(Found(finder), folder + ": m=~m.leg");

    CSettingsSandbox library;
    const std::string base = library.Work("base");
    Lay(base, "lut/x.leg=x");
    ASSERT_TRUE(SetMachine(ImageLibraryKey, ImageLibraryBaseValue, base));
    EXPECT_EQ(Found(finder) + "|" + finder.m_SettingsProblem, base + "/lut/: x=~x.leg|");
    // A common settings file that cannot be read may name another folder: the
    // library's is then not taken in its place.
    const std::string common = library.UserDir() + "/Ferrolin/Common.conf";
    Lay(library.UserDir(), "Ferrolin/Common.conf/");
    EXPECT_EQ(Found(finder) + "|" + finder.m_SettingsProblem, ":|" + common + ": " + std::strerror(EISDIR));
    std::filesystem::remove(common);

    // The user's base path is not the machine's and is not looked at.
    CSettingsSandbox other;
    ASSERT_TRUE(
        CSettingsStore::SetString(CSettingsStore::Hive::CurrentUser, ImageLibraryKey, ImageLibraryBaseValue, base));
    CLLLegendFinder none;
    EXPECT_EQ(Found(none), ":");
}

TEST(LegendFinder, FolderThatCannotBeReadGivesNoFiles)
{
    CSettingsSandbox sandbox;
    CLLLegendFinder finder;
    for (const std::string& folder : {sandbox.Work("x") + "/missing/", std::string()}) {
        finder.m_Folder = folder;
        finder.m_Paths = finder.m_Names = {"stale"};
        const int found = finder.Scan();
        EXPECT_EQ(Join(found, finder.m_Paths.size(), finder.m_Names.size()), "0 0 0");
    }
}
