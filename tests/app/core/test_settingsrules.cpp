#include "app/core/csettingsrules.h"

#include "app/core/loadpath.h"
#include "platform/settingssandbox.h"

#include <gtest/gtest.h>

namespace {

using Row = CSettingsRules::Row;
using Kind = CFileChooserRequest::Kind;

std::string Joined(const CSettingsDialog::Values& v)
{
    return v.legendFolder + " | " + v.patternFolder + " | " + v.penFile + " | " + v.tabPath;
}

} // namespace

TEST(SettingsRules, PenFileAndTABRowsOnlyUnderAHost)
{
    for (const bool host : {false, true}) {
        const CSettingsRules rules({}, host, "");
        EXPECT_TRUE(rules.Shows(Row::LegendFolder));
        EXPECT_TRUE(rules.Shows(Row::PatternFolder));
        EXPECT_EQ(rules.Shows(Row::PenFile), host);
        EXPECT_EQ(rules.Shows(Row::TABLocation), host);
    }
}

TEST(SettingsRules, BrowseButtons)
{
    struct Case {
        Row row;
        const char* penFile;
        std::optional<std::string> answer;
        bool asked;
        Kind kind;
        std::string start, extension, filter;
        bool changed;
        std::string values;   // after the button
        std::string loadPath; // after the button
    };
    const std::string pens = "Cartora Pen files (*.pen)|*.pen||";
    const Case cases[] = {
        {Row::LegendFolder, "", "/new/legends", true, Kind::Folder, "/leg/", "", "", true,
         "/new/legends | /pat/ |  | /t/all.tab", "/lp/"},
        {Row::PatternFolder, "", std::nullopt, true, Kind::Folder, "/pat/", "", "", false,
         "/leg/ | /pat/ |  | /t/all.tab", "/lp/"},
        {Row::PenFile, "", "/pens/a.pen", true, Kind::OpenFile, "/lp/", "pen", pens, true,
         "/leg/ | /pat/ | /pens/a.pen | /t/all.tab", "/pens/"},
        {Row::PenFile, "/cur/b.pen", "C:\\pens\\c.pen", true, Kind::OpenFile, "/cur/b.pen", "pen", pens, true,
         "/leg/ | /pat/ | C:\\pens\\c.pen | /t/all.tab", "C:\\pens\\"},
        {Row::PenFile, "", std::nullopt, true, Kind::OpenFile, "/lp/", "pen", pens, false,
         "/leg/ | /pat/ |  | /t/all.tab", "/lp/"},
        {Row::TABLocation, "", "/x.tab", false, Kind::OpenFile, "", "", "", false,
         "/leg/ | /pat/ |  | /t/all.tab", "/lp/"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.row));
        CSettingsSandbox sandbox;
        ASSERT_TRUE(CSettingsStore::WriteProfileString("Settings", "LoadPath", "/lp/"));
        CSettingsRules rules({"/leg/", "/pat/", c.penFile, "/t/all.tab"}, true, "Quarvex");
        std::vector<CFileChooserRequest> asked;
        const bool changed = rules.Browse(c.row, [&](const CFileChooserRequest& r) {
            asked.push_back(r);
            return c.answer;
        });
        EXPECT_EQ(changed, c.changed);
        ASSERT_EQ(asked.size(), c.asked ? 1u : 0u);
        if (c.asked) {
            EXPECT_EQ(asked[0].kind, c.kind);
            EXPECT_EQ(asked[0].start, c.start);
            EXPECT_EQ(asked[0].extension, c.extension);
            EXPECT_EQ(asked[0].filter, c.filter);
            EXPECT_EQ(asked[0].productText, "Quarvex");
        }
        EXPECT_EQ(Joined(rules.Values()), c.values);
        EXPECT_EQ(LoadPathFolder(), c.loadPath);
    }
}
