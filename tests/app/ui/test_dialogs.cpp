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

TEST(ImportTABDialog, ChooseATablePickALegendTypeAName)
{
    CDialogFixture f;
    ASSERT_TRUE(LegendWithLabels({"A", "B", "A", "Rock type"}).ExportTAB(f.dir + "legends.tab"));
    ASSERT_TRUE(MakeTextTable(f.dir + "geol units.tab", {"MapCode", "Desc1"}, {{"Qa", "x"}}));
    CImportTABDlg dlg(f.prompt);
    dlg.SetChooser(f.Chooser());
    using namespace ImportControl;
    auto* names = static_cast<QComboBox*>(dlg.Control(LegendName));
    QStringList listed;
    f.answer = f.dir + "legends.tab";
    const auto picked = Driven(dlg, [&] {
        Click(dlg.Control(Browse));
        for (int i = 0; i < names->count(); ++i)
            listed << names->itemText(i);
        EXPECT_EQ(Text(dlg.Control(OutputFile)), "A.leg");
        QTest::keyClick(names, Qt::Key_Down);
        QTest::keyClick(names, Qt::Key_Down);
        dlg.grab().save(QString::fromStdString(TestOutputDir() + "/import-dialog.png"));
        Click(dlg.Control(Ok));
    }, [&] { return dlg.Run("Quarvex Vyrn"); });
    EXPECT_EQ(listed, (QStringList{"A", "B", "Rock type"}));
    ASSERT_TRUE(picked);
    EXPECT_EQ(picked->tabPath + " " + picked->legendName + " " + picked->outputName,
              f.dir + "legends.tab Rock type Rock_type.leg");
    EXPECT_EQ(f.asked.at(0).productText, "Quarvex Vyrn");
    EXPECT_EQ(LoadPathFolder(), f.dir);

    // A new run starts empty; OK stays open until the choices hold.
    f.answer = f.dir + "geol units.tab";
    bool listEnabled = true;
    const auto typed = Driven(dlg, [&] {
        Click(dlg.Control(Ok));
        Click(dlg.Control(Browse));
        listEnabled = names->isEnabled(); // a map-code table is a single legend
        EXPECT_EQ(Text(dlg.Control(OutputFile)), "geol_units.leg");
        for (const char* name : {"", "../geol.leg", "mine.leg"}) {
            Retype(dlg.Control(OutputFile), name);
            Click(dlg.Control(Ok));
        }
    }, [&] { return dlg.Run(""); });
    EXPECT_FALSE(listEnabled);
    EXPECT_EQ(f.Ids(), (std::vector<int>{Str::ChooseInputTab, Str::EnterOutputFile, Str::OutputNameLeavesFolder}));
    ASSERT_TRUE(typed);
    EXPECT_EQ(typed->tabPath + " " + typed->legendName + "|" + typed->outputName, f.dir + "geol units.tab |mine.leg");

    EXPECT_FALSE(Driven(dlg, [&] {
        Click(dlg.Control(Browse));
        Click(dlg.Control(Cancel));
    }, [&] { return dlg.Run(""); }));
}

TEST(SettingsDialog, RowsBrowseButtonsOKAndCancel)
{
    CDialogFixture f;
    CSettingsDlg dlg;
    dlg.SetChooser(f.Chooser());
    using namespace SettingsControl;
    const auto visible = [&dlg] {
        std::string shown;
        for (int id : {LegendFolder, LegendFolderBrowse, PatternFolder, PatternFolderBrowse, PenFileLabel, PenFile,
                       PenFileBrowse, TABLocationLabel, TABLocation})
            shown += dlg.Control(id)->isVisible() ? '1' : '0';
        return shown;
    };
    std::string rows, edit;
    f.answer = "/new/leg";
    const auto values = Driven(dlg, [&] {
        rows = visible();
        Click(dlg.Control(LegendFolderBrowse));
        edit = Text(dlg.Control(LegendFolder));
        Click(dlg.Control(Ok));
    }, [&] { return dlg.Run({"/leg/", "/pat/", "", "/t.tab"}, "", false); });
    EXPECT_EQ(rows, "111100000");
    EXPECT_EQ(edit, "/new/leg");
    ASSERT_TRUE(values);
    EXPECT_EQ(values->legendFolder + " | " + values->patternFolder + " | " + values->penFile + " | " + values->tabPath,
              "/new/leg | /pat/ |  | /t.tab");

    f.answer = "/pens/a.pen";
    EXPECT_FALSE(Driven(dlg, [&] {
        rows = visible();
        Click(dlg.Control(PenFileBrowse));
        edit = Text(dlg.Control(PenFile));
        dlg.grab().save(QString::fromStdString(TestOutputDir() + "/settings-dialog.png"));
        Click(dlg.Control(Cancel));
    }, [&] { return dlg.Run({"/leg/", "/pat/", "", "/t.tab"}, "Quarvex", true); }));
    EXPECT_EQ(rows, "111111111");
    EXPECT_EQ(edit, "/pens/a.pen");
    EXPECT_EQ(f.asked.at(1).filter, "Cartora Pen files (*.pen)|*.pen||");
}
