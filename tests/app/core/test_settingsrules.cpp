#include "app/core/csettingsrules.h"

#include "app/core/loadpath.h"
#include "platform/settingssandbox.h"

#include <gtest/gtest.h>

TEST(SettingsRules, BrowseButtons)
{
    using Row = CSettingsRules::Row;
    struct Case {
        Row row;
        const char* penFile;
        std::optional<std::string> answer;
        std::string asked;    // kind, start, extension, filter; empty when not asked
        std::string values;   // after the button
        std::string loadPath; // after the button
    };
    const std::string pens = " pen Cartora Pen files (*.pen)|*.pen||";
    const Case cases[] = {
        {Row::LegendFolder, "", "/new", "folder /leg/  ", "/new | /pat/ |  | /t.tab", "/lp/"},
        {Row::PatternFolder, "", std::nullopt, "folder /pat/  ", "/leg/ | /pat/ |  | /t.tab", "/lp/"},
        {Row::PenFile, "", "/pens/a.pen", "file /lp/" + pens, "/leg/ | /pat/ | /pens/a.pen | /t.tab", "/pens/"},
        {Row::PenFile, "/cur/b.pen", "C:\\pens\\c.pen", "file /cur/b.pen" + pens,
         "/leg/ | /pat/ | C:\\pens\\c.pen | /t.tab", "C:\\pens\\"},
        {Row::PenFile, "", std::nullopt, "file /lp/" + pens, "/leg/ | /pat/ |  | /t.tab", "/lp/"},
        {Row::TABLocation, "", "/x.tab", "", "/leg/ | /pat/ |  | /t.tab", "/lp/"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.asked);
        CSettingsSandbox sandbox;
        ASSERT_TRUE(CSettingsStore::WriteProfileString("Settings", "LoadPath", "/lp/"));
        CSettingsRules rules({"/leg/", "/pat/", c.penFile, "/t.tab"}, true, "Quarvex");
        std::string asked;
        const bool changed = rules.Browse(c.row, [&](const CFileChooserRequest& r) {
            asked = (r.kind == CFileChooserRequest::Kind::Folder ? "folder " : "file ") + r.start + " " +
                    r.extension + " " + r.filter;
            EXPECT_EQ(r.productText, "Quarvex");
            return c.answer;
        });
        EXPECT_EQ(changed, !c.asked.empty() && c.answer.has_value());
        EXPECT_EQ(asked, c.asked);
        const CSettingsDialog::Values& v = rules.Values();
        EXPECT_EQ(v.legendFolder + " | " + v.patternFolder + " | " + v.penFile + " | " + v.tabPath, c.values);
        EXPECT_EQ(LoadPathFolder(), c.loadPath);
    }
}
