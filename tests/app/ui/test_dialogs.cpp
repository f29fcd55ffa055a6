// The Settings and Import dialogs driven as a user drives them, inside their
// modal loops. The "..." buttons are clicked for real; the file chooser they
// open is scripted, since a native one cannot be driven.

#include "app/ui/cimporttabdlg.h"
#include "app/ui/csettingsdlg.h"

#include "app/core/legendtables.h"
#include "app/core/loadpath.h"
#include "platform/cstringtable.h"
#include "platform/settingssandbox.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <functional>

namespace {

struct CDialogFixture {
    int argc = 1;
    char name[16] = "test_dialogs";
    char* argv[2] = {name, nullptr};
    QApplication app{argc, argv};
    CSettingsSandbox sandbox;
    std::string dir = sandbox.Work("tables") + "/";
    CRecordingPrompt prompt;
    std::vector<CFileChooserRequest> asked;
    std::optional<std::string> answer;

    CFileChooser Chooser()
    {
        return [this](const CFileChooserRequest& r) {
            asked.push_back(r);
            return answer;
        };
    }
    std::vector<int> Ids() const
    {
        std::vector<int> ids;
        for (const auto& m : prompt.m_Messages)
            ids.push_back(m.stringId);
        return ids;
    }
};

// Plays the steps inside the dialog's modal loop; a dialog the steps left
// open is cancelled, so a failing test never hangs.
template <class Run>
auto Driven(QDialog& dlg, const std::function<void()>& steps, Run run)
{
    QTimer::singleShot(0, &dlg, [&dlg, steps] {
        steps();
        if (dlg.isVisible())
            dlg.reject();
    });
    return run();
}

void Click(QWidget* button)
{
    QTest::mouseClick(button, Qt::LeftButton);
}

std::string Text(QWidget* edit)
{
    return static_cast<QLineEdit*>(edit)->text().toStdString();
}

void Retype(QWidget* edit, const char* text)
{
    static_cast<QLineEdit*>(edit)->selectAll();
    QTest::keyClick(edit, Qt::Key_Backspace);
    QTest::keyClicks(edit, QString::fromUtf8(text));
}

} // namespace

TEST(ImportTABDialog, ChooseATablePickALegendAndOK)
{
    CDialogFixture f;
    ASSERT_TRUE(LegendWithLabels({"A", "B", "A", "Rock type"}).ExportTAB(f.dir + "legends.tab"));
    CImportTABDlg dlg(f.prompt);
    dlg.SetChooser(f.Chooser());
    f.answer = f.dir + "legends.tab";
    auto* names = static_cast<QComboBox*>(dlg.Control(ImportControl::LegendName));
    QStringList listed;
    const auto result = Driven(dlg, [&] {
        Click(dlg.Control(ImportControl::Browse));
        for (int i = 0; i < names->count(); ++i)
            listed << names->itemText(i);
        EXPECT_EQ(Text(dlg.Control(ImportControl::OutputFile)), "A.leg");
        QTest::keyClick(names, Qt::Key_Down);
        QTest::keyClick(names, Qt::Key_Down);
        EXPECT_EQ(Text(dlg.Control(ImportControl::InputFile)), f.dir + "legends.tab");
        dlg.grab().save(QString::fromStdString(TestOutputDir() + "/import-dialog.png"));
        Click(dlg.Control(ImportControl::Ok));
    }, [&] { return dlg.Run("Quarvex Vyrn"); });

    EXPECT_EQ(listed, (QStringList{"A", "B", "Rock type"}));
    ASSERT_TRUE(result);
    EXPECT_EQ(result->tabPath, f.dir + "legends.tab");
    EXPECT_EQ(result->legendName, "Rock type");
    EXPECT_EQ(result->outputName, "Rock_type.leg");
    ASSERT_EQ(f.asked.size(), 1u);
    EXPECT_EQ(f.asked[0].productText, "Quarvex Vyrn");
    EXPECT_EQ(LoadPathFolder(), f.dir);
    EXPECT_TRUE(f.prompt.m_Messages.empty());
}

TEST(ImportTABDialog, OKKeepsTheDialogOpenUntilTheChoicesHold)
{
    CDialogFixture f;
    ASSERT_TRUE(MakeTextTable(f.dir + "geol units.tab", {"MapCode", "Desc1"}, {{"Qa", "x"}}));
    CImportTABDlg dlg(f.prompt);
    dlg.SetChooser(f.Chooser());
    f.answer = f.dir + "geol units.tab";
    QWidget* output = dlg.Control(ImportControl::OutputFile);
    bool listEnabled = true;
    const auto refused = Driven(dlg, [&] {
        Click(dlg.Control(ImportControl::Ok));
        Click(dlg.Control(ImportControl::Browse));
        listEnabled = dlg.Control(ImportControl::LegendName)->isEnabled();
        for (const char* typed : {"", "../geol.leg", "sub/geol.leg"}) {
            Retype(output, typed);
            Click(dlg.Control(ImportControl::Ok));
        }
        Retype(output, "mine.leg");
        Click(dlg.Control(ImportControl::Cancel));
    }, [&] { return dlg.Run(""); });
    EXPECT_FALSE(refused);
    EXPECT_FALSE(listEnabled); // a map-code table is a single legend
    EXPECT_EQ(f.Ids(), (std::vector<int>{Str::ChooseInputTab, Str::EnterOutputFile,
                                         Str::OutputNameLeavesFolder, Str::OutputNameLeavesFolder}));

    // Each run starts afresh; the built name of a map-code table is its file title.
    const auto accepted = Driven(dlg, [&] {
        EXPECT_EQ(Text(dlg.Control(ImportControl::InputFile)), "");
        Click(dlg.Control(ImportControl::Browse));
        Click(dlg.Control(ImportControl::Ok));
    }, [&] { return dlg.Run(""); });
    ASSERT_TRUE(accepted);
    EXPECT_EQ(accepted->legendName, "");
    EXPECT_EQ(accepted->outputName, "geol_units.leg");
}

TEST(SettingsDialog, RowsBrowseButtonsOKAndCancel)
{
    CDialogFixture f;
    ASSERT_TRUE(CSettingsStore::WriteProfileString("Settings", "LoadPath", "/lp/"));
    CSettingsDlg dlg;
    dlg.SetChooser(f.Chooser());
    const CSettingsDialog::Values current{"/leg/", "/pat/", "", "/t/all.tab"};
    using namespace SettingsControl;
    struct Case {
        bool host;
        int browse;
        std::optional<std::string> answer;
        bool ok;
        std::optional<std::string> result; // the four values joined
    };
    const Case cases[] = {
        {false, LegendFolderBrowse, "/new/leg", true, "/new/leg | /pat/ |  | /t/all.tab"},
        {false, PatternFolderBrowse, "/new/pat", false, std::nullopt},
        {false, PatternFolderBrowse, std::nullopt, true, "/leg/ | /pat/ |  | /t/all.tab"},
        {true, PenFileBrowse, "/pens/a.pen", true, "/leg/ | /pat/ | /pens/a.pen | /t/all.tab"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.browse);
        f.answer = c.answer;
        std::map<int, bool> shown;
        std::string edit;
        const auto values = Driven(dlg, [&] {
            for (int id : {LegendFolder, LegendFolderBrowse, PatternFolder, PatternFolderBrowse, PenFileLabel,
                           PenFile, PenFileBrowse, TABLocationLabel, TABLocation})
                shown[id] = dlg.Control(id)->isVisible();
            Click(dlg.Control(c.browse));
            edit = Text(dlg.Control(c.browse - 1));
            if (c.host)
                dlg.grab().save(QString::fromStdString(TestOutputDir() + "/settings-dialog.png"));
            Click(dlg.Control(c.ok ? Ok : Cancel));
        }, [&] { return dlg.Run(current, "Quarvex", c.host); });
        for (const auto& [id, visible] : shown)
            EXPECT_EQ(visible, c.host || id < PenFile) << id;
        EXPECT_EQ(edit, c.answer ? *c.answer : (c.browse == PatternFolderBrowse ? "/pat/" : ""));
        ASSERT_EQ(values.has_value(), c.result.has_value());
        if (values) {
            EXPECT_EQ(values->legendFolder + " | " + values->patternFolder + " | " + values->penFile + " | " +
                          values->tabPath,
                      *c.result);
        }
    }
    EXPECT_EQ(f.asked.back().start, "/lp/");
    EXPECT_EQ(LoadPathFolder(), "/pens/");
}
