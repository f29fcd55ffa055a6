// The Settings and Import dialogs driven as a user drives them, inside their
// modal loops. The "..." buttons are clicked for real; the file chooser they
// open is scripted, since a native one cannot be driven.

#include "app/ui/cimporttabdlg.h"
#include "app/ui/csettingsdlg.h"

#include "app/core/legendtables.h"
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
};

// Plays the steps inside the modal loop the dialog's next run opens; a dialog
// the steps left open is cancelled, so a failing test never hangs.
void Drive(QDialog& dlg, const std::function<void()>& steps)
{
    QTimer::singleShot(0, &dlg, [&dlg, steps] {
        steps();
        if (dlg.isVisible())
            dlg.reject();
    });
}

void Click(QWidget* button)
{
    QTest::mouseClick(button, Qt::LeftButton);
}

std::string Text(QWidget* edit)
{
    return static_cast<QLineEdit*>(edit)->text().toStdString();
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
    Drive(dlg, [&] {
        Click(dlg.Control(Browse));
        for (int i = 0; i < names->count(); ++i)
            listed << names->itemText(i);
        EXPECT_EQ(Text(dlg.Control(OutputFile)), "A.leg");
        QTest::keyClick(names, Qt::Key_Down);
        QTest::keyClick(names, Qt::Key_Down);
        dlg.grab().save(QString::fromStdString(TestOutputDir() + "/import-dialog.png"));
        Click(dlg.Control(Ok));
    });
    const auto picked = dlg.Run("Quarvex Vyrn");
    EXPECT_EQ(listed, (QStringList{"A", "B", "Rock type"}));
    ASSERT_TRUE(picked);
    EXPECT_EQ(picked->tabPath + " " + picked->legendName + " " + picked->outputName,
              f.dir + "legends.tab Rock type Rock_type.leg");
    EXPECT_EQ(f.asked.at(0).productText, "Quarvex Vyrn");

    // OK stays open until the choices hold; the name typed is the one taken.
    f.answer = f.dir + "geol units.tab";
    std::string open; // the list enabled, the dialog shown after each OK
    Drive(dlg, [&] {
        Click(dlg.Control(Browse));
        open = names->isEnabled() ? "1" : "0"; // a map-code table is a single legend
        for (const char* name : {"", "mine.leg"}) {
            static_cast<QLineEdit*>(dlg.Control(OutputFile))->selectAll();
            QTest::keyClick(dlg.Control(OutputFile), Qt::Key_Backspace);
            QTest::keyClicks(dlg.Control(OutputFile), name);
            Click(dlg.Control(Ok));
            open += dlg.isVisible() ? "1" : "0";
        }
    });
    const auto typed = dlg.Run("");
    EXPECT_EQ(open, "010");
    EXPECT_EQ(f.prompt.Texts(), std::vector<std::string>{CStringTable::Load(Str::EnterOutputFile)});
    ASSERT_TRUE(typed);
    EXPECT_EQ(typed->tabPath + " " + typed->legendName + "|" + typed->outputName, f.dir + "geol units.tab |mine.leg");

    Drive(dlg, [&] {
        Click(dlg.Control(Browse));
        Click(dlg.Control(Cancel));
    });
    EXPECT_FALSE(dlg.Run(""));
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
    f.answer = "/pens/a.pen";
    Drive(dlg, [&] {
        rows = visible();
        Click(dlg.Control(PenFileBrowse));
        edit = Text(dlg.Control(PenFile));
        dlg.grab().save(QString::fromStdString(TestOutputDir() + "/settings-dialog.png"));
        Click(dlg.Control(Ok));
    });
    const auto values = dlg.Run({"/leg/", "/pat/", "", "/t.tab"}, "Quarvex", true);
    EXPECT_EQ(rows, "111111111");
    EXPECT_EQ(edit, "/pens/a.pen");
    ASSERT_TRUE(values);
    EXPECT_EQ(values->legendFolder + " | " + values->patternFolder + " | " + values->penFile + " | " + values->tabPath,
              "/leg/ | /pat/ | /pens/a.pen | /t.tab");

    Drive(dlg, [&] {
        rows = visible();
        Click(dlg.Control(Cancel));
    });
    EXPECT_FALSE(dlg.Run({"/leg/", "/pat/", "", "/t.tab"}, "", false));
    EXPECT_EQ(rows, "111100000");
}
