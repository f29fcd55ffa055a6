// The main window and its dialogs driven as a user drives them: list clicks, typing, buttons.

#include "app/ui/ctessarindlg.h"
#include "app/ui/caboutbox.h"
#include "app/ui/cimporttabdlg.h"
#include "app/ui/csettingsdlg.h"
#include "app/ui/ctessarinapp.h"

#include "app/core/legendtables.h"
#include "app/sheet/cmygridctrl.h"
#include "grid/widgetfixture.h"
#include "platform/cstringtable.h"
#include "platform/settingssandbox.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QTest>
#include <QTimer>
#include <QUndoStack>

#include <cstring>
#include <filesystem>

namespace {

// A numeric legend file; `rows` are its LEG lines.
std::string LegendText(const std::string& name, const std::string& description,
                       const std::string& rows = "\t\t0\t1\t\"low\"\t\t255\t4278190080\t1\t0\t1\t1\n")
{
    return "LegendTable Begin\n\tVersion\t= \"1.0\"\n\tName\t\t= \"" + name + "\"\n\tDescription = \"" + description +
           "\"\n\tDataType\t= NUMERICCONTINUOUS\n\tLEG\t\t= {\n" + rows + "\t}\nLegendTable End\n";
}

struct CWindowFixture : CAppFirst {
    CSettingsSandbox sandbox;
    std::string folder = sandbox.Work("legends") + "/";
    CRecordingPrompt prompt;
    std::unique_ptr<CTessarinDlg> dlg;

    explicit CWindowFixture(const std::vector<std::string>& args = {"tessarin"},
                            const std::function<void(const std::string&)>& beforeStart = {})
    {
        for (const char* n : {"basalt", "chert", "dacite"})
            WriteTextFile(folder + n + ".leg", LegendText(std::string("Legend ") + n, "plain"));
        EXPECT_TRUE(SetCommonSetting("LUT_PATH", folder));
        if (beforeStart)
            beforeStart(folder);
        dlg = std::make_unique<CTessarinDlg>(ParseStartupArguments(args), &prompt);
        // Opened, shown and activated as the program does, so the focus lands where a user's would.
        dlg->OpenLegends();
        dlg->show();
        QApplication::setActiveWindow(dlg.get()); // shortcuts work in the active window only
        EXPECT_TRUE(QTest::qWaitForWindowActive(dlg.get()));
    }
    QListWidget* List() const { return static_cast<QListWidget*>(dlg->Control(ControlId::LegendList)); }
    QLineEdit* Field(int id) const { return static_cast<QLineEdit*>(dlg->Control(id)); }
    void Click(int id) { QTest::mouseClick(static_cast<QPushButton*>(dlg->Control(id)), Qt::LeftButton); }
    std::string Shown() const
    {
        return Field(ControlId::Name)->text().toStdString() + " | " + Field(ControlId::Filename)->text().toStdString() +
               " | " + Field(ControlId::Description)->text().toStdString() + " | " +
               Field(ControlId::DataType)->text().toStdString();
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

} // namespace

TEST(TessarinWindow, TheListShowsTheLegendsSaveWritesWhatWasTypedUndoAndCloseAsks)
{
    CWindowFixture w;
    ASSERT_EQ(w.List()->count(), 4);
    EXPECT_EQ(w.Shown(), "Legend basalt | basalt.leg | plain | Numeric continuous");
    // A description longer than a line edit's usual limit survives typing and a save; the save
    // reads the legend back, and the rows stay where the user left them.
    const std::string longText(40000, 'd');
    std::string rows; // enough to scroll; the fills red, green, then blue
    for (int i = 0; i < 60; ++i)
        rows += "\t\t" + std::to_string(i) + "\t" + std::to_string(i + 1) + "\t\"r\"\t\t" +
                std::to_string(0xFFu << 8 * std::min(i, 2)) + "\t4278190080\t1\t0\t1\t1\n";
    WriteTextFile(w.folder + "chert.leg", LegendText("chert", longText, rows));
    QTest::mouseClick(w.List()->viewport(), Qt::LeftButton, {}, w.List()->visualItemRect(w.List()->item(2)).center());
    CMyGridCtrl& sheet = w.dlg->Sheet();
    sheet.SetSelectedRange(40, 2, 42, 3);
    sheet.SetFocusCell(41, 3);
    sheet.SetScrollPos(true, 500);
    QLineEdit* description = w.Field(ControlId::Description);
    description->setFocus();
    description->end(false);
    QTest::keyClicks(description, "e");
    EXPECT_TRUE(w.dlg->Flow().IsModified());
    w.Click(ControlId::Save);
    EXPECT_FALSE(w.dlg->Flow().IsModified());
    EXPECT_EQ(ReadTextFile(w.folder + "chert.leg"), LegendText("chert", longText + "e", rows));
    const CCellRange r = sheet.GetSelectedCellRange();
    EXPECT_EQ(std::to_string(sheet.GetFocusCell().row) + " " + std::to_string(r.minRow) + "-" +
                  std::to_string(r.maxCol) + " " + std::to_string(sheet.GetScrollPos(true)),
              "41 40-3 500");
    // The save shortcut saves as the button does.
    QTest::keyClicks(description, "f");
    QTest::keySequence(w.dlg.get(), QKeySequence::Save);
    EXPECT_EQ(ReadTextFile(w.folder + "chert.leg"), LegendText("chert", longText + "ef", rows));

    // An interpolation is a step the undo takes back.
    const int fg = sheet.Columns().fg;
    sheet.SetSelectedRange(1, fg, 3, fg);
    w.Click(ControlId::RgbInterp);
    EXPECT_EQ(sheet.GetItemText(2, fg), "8388736"); // half red, half blue
    EXPECT_TRUE(w.dlg->Flow().IsModified());
    w.dlg->UndoStack().undo();
    EXPECT_EQ(sheet.GetItemText(2, fg), "65280");
    EXPECT_FALSE(w.dlg->Flow().IsModified());

    // A failed save says so and keeps the changes; Close then asks: Cancel keeps the window open, No closes.
    QTest::keyClicks(description, "Y");
    w.prompt.m_Answers = {CUserPrompt::Answer::Ok, CUserPrompt::Answer::Cancel, CUserPrompt::Answer::No};
    {
        const CFileSizeLimit full(512);
        w.Click(ControlId::Save);
    }
    w.Click(ControlId::Close);
    EXPECT_TRUE(w.dlg->isVisible());
    w.Click(ControlId::Close);
    EXPECT_FALSE(w.dlg->isVisible());
    const std::string ask = CStringTable::Load(Str::SaveChanges);
    EXPECT_EQ(w.prompt.Texts(), (std::vector<std::string>{
                                    "Could not save " + w.folder + "chert.leg: " + std::strerror(EFBIG), ask, ask}));
}

TEST(TessarinWindow, StartArgumentsChooseTheLegendShownAndTheControlsOffered)
{
    // The window is shown and activated as a user's is: the list then gets the
    // focus, which must not choose its first legend over the one asked for.
    CTempDir elsewhere;
    const std::string field = elsewhere.File("field.leg"), missing = elsewhere.File("missing.leg");
    WriteTextFile(field, LegendText("Field sheet", "mapped today"));
    // Control characters in a name are shown as escapes, one row each.
    WriteTextFile(elsewhere.File("nl\nx\t\x01.leg"), LegendText("Odd name", ""));
    const std::string fieldShown = "Field sheet | field.leg | mapped today | Numeric continuous";
    const std::string basalt = "Legend basalt | basalt.leg | plain | Numeric continuous";
    struct Case {
        std::vector<std::string> args; // "@link" stands for a link to the listed folder
        std::string shown;
        int row;     // the entry selected; -1 for none
        int entries; // rows of the list, headings included
        // Visible and enabled: the list, its group, New, Import, Delete, Help, Save and Save As. Save,
        // Save As and Delete work only with a legend shown; Help only for a host; New not yet.
        const char* controls = "11 11 10 11 11 10 11 11 ";
    } cases[] = {
        {{"-name", field}, fieldShown, -1, 4},
        {{field}, fieldShown, 4, 6}, // its folder is listed
        {{"@link/chert.leg"}, "Legend chert | chert.leg | plain | Numeric continuous", 2, 4},
        {{"-name", missing}, " |  |  | ", -1, 4, "11 11 10 11 10 10 10 10 "},
        {{"-edit"}, basalt, 1, 4, "00 00 00 00 00 10 11 11 "},
        {{"-Vyrn"}, basalt, 1, 4, "11 11 10 11 11 11 11 11 "},
    };
    for (const Case& c : cases) {
        std::vector<std::string> args{"tessarin"};
        const std::string link = elsewhere.File("link");
        for (std::string arg : c.args)
            args.push_back(arg.starts_with("@link") ? link + arg.substr(5) : arg);
        SCOPED_TRACE(args.back());
        CWindowFixture w(args, [&](const std::string& folder) {
            std::filesystem::remove(link);
            std::filesystem::create_directory_symlink(folder, link);
        });
        EXPECT_EQ(w.List()->currentRow(), c.row);
        ASSERT_EQ(w.List()->count(), c.entries);
        EXPECT_EQ(w.Shown(), c.shown);
        if (c.entries == 6) {
            EXPECT_EQ(w.List()->item(5)->text().trimmed().toStdString(), "nl\\nx\\t\\x01");
        }
        std::string controls;
        for (int id : {ControlId::LegendList, ControlId::LegendsGroup, ControlId::New, ControlId::Import,
                       ControlId::Delete, ControlId::Help, ControlId::Save, ControlId::SaveAs})
            controls += std::string(w.dlg->Control(id)->isVisible() ? "1" : "0") +
                        (w.dlg->Control(id)->isEnabled() ? "1 " : "0 ");
        EXPECT_EQ(controls, c.controls);
        if (c.args[0] != "-Vyrn")
            continue;
        // The host's help file is not there: that is said. The about box names the host and shows the icon.
        w.Click(ControlId::Help);
        EXPECT_EQ(w.prompt.Texts(), std::vector<std::string>{"Could not open Vyrn.chm"});
        CAboutBox about(HostVyrn, w.dlg->windowIcon(), w.dlg.get());
        about.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&about));
        const QImage shot = about.grab().toImage();
        auto* picture = about.findChild<QLabel*>(QStringLiteral("picture"));
        ASSERT_NE(picture, nullptr);
        // The icon's first band is drawn in the picture's swatch column.
        EXPECT_EQ(shot.pixel(picture->mapTo(&about, QPoint(12, 10))) & 0xFFFFFFu, kIconBands[0]);
        std::vector<std::string> texts;
        for (QLabel* label : about.findChildren<QLabel*>())
            if (!label->text().isEmpty())
                texts.push_back(label->text().toStdString());
        EXPECT_EQ(texts,
                  (std::vector<std::string>{"<b>Tessarin</b>", "Version " + VersionInfo("FileVersion"),
                                            "Legend editor of the geoscience suite", "Started by Quarvex Vyrn"}));
    }
}

// A file manager opens a legend while the editor runs: the running window gets the path.
TEST(TessarinWindow, ALegendForwardedByASecondStartOpensInTheShownWindow)
{
    CWindowFixture w;
    CLegendForwarder forwarder(*w.dlg);
    // A second start brings the window back, restored when minimised.
    w.dlg->showMinimized();
    forwarder.Activated(w.folder + "dacite.leg");
    EXPECT_FALSE(w.dlg->windowState() & Qt::WindowMinimized);
    EXPECT_EQ(w.Shown(), "Legend dacite | dacite.leg | plain | Numeric continuous");
    // While a question of ours is open the legend waits.
    QDialog question(w.dlg.get());
    question.setModal(true);
    question.show();
    forwarder.Activated(w.folder + "chert.leg");
    QTest::qWait(300);
    EXPECT_EQ(w.List()->currentRow(), 3);
    question.close();
    // Until the window is active again the legend waits; a window manager would activate it.
    QTest::qWait(600);
    EXPECT_EQ(forwarder.Waiting(), w.folder + "chert.leg");
    w.dlg->activateWindow();
    QElapsedTimer active;
    active.start();
    for (int i = 0; i < 200 && !forwarder.Waiting().empty(); ++i)
        QTest::qWait(10);
    // Asked only a full tick after, so the key that closed the box cannot answer.
    EXPECT_GE(active.elapsed(), 250);
    EXPECT_EQ(w.Shown(), "Legend chert | chert.leg | plain | Numeric continuous");
    EXPECT_EQ(w.List()->currentRow(), 2);
    // With unsaved changes: an unreadable legend is reported before anything is closed, and Cancel
    // on "Save changes?" keeps the legend shown; neither may lose the changes.
    QTest::keyClicks(w.Field(ControlId::Description), "X");
    w.prompt.m_Answers = {CUserPrompt::Answer::Ok, CUserPrompt::Answer::Cancel};
    for (const char* name : {"missing.leg", "dacite.leg"})
        forwarder.Activated(w.folder + name);
    ASSERT_EQ(w.prompt.m_Messages.size(), 2u);
    EXPECT_EQ(w.prompt.m_Messages[0].stringId, Str::CouldNotLoad);
    EXPECT_EQ(w.prompt.m_Messages[1].stringId, Str::SaveChanges);
    EXPECT_EQ(w.Shown(), "Legend chert | chert.leg | plainX | Numeric continuous");
}

// Only the wiring: what the choices mean is tested with the rules behind the dialog.
TEST(ImportTABDialog, BrowsePickTypeAndOK)
{
    CWindowFixture w;
    ASSERT_TRUE(LegendWithLabels({"A", "B"}).ExportTAB(w.folder + "legends.tab"));
    CImportTABDlg dlg(w.prompt);
    // The "..." button's file chooser is scripted: a native one cannot be driven.
    std::string product, seen;
    dlg.SetChooser([&](const CFileChooserRequest& r) {
        product = r.productText;
        return std::optional<std::string>(w.folder + "legends.tab");
    });
    using namespace ImportControl;
    auto* output = static_cast<QLineEdit*>(dlg.Control(OutputFile));
    Drive(dlg, [&] {
        QTest::mouseClick(dlg.Control(Browse), Qt::LeftButton);
        seen = output->text().toStdString();
        QTest::keyClick(dlg.Control(LegendName), Qt::Key_Down);
        seen += " " + output->text().toStdString();
        output->selectAll();
        QTest::keyClicks(output, "mine.leg");
        QTest::mouseClick(dlg.Control(Ok), Qt::LeftButton);
    });
    const auto picked = dlg.Run("Quarvex Vyrn");
    ASSERT_TRUE(picked);
    EXPECT_EQ(seen + " " + picked->tabPath + "|" + picked->legendName + "|" + picked->outputName + " " + product,
              "A.leg B.leg " + w.folder + "legends.tab|B|mine.leg Quarvex Vyrn");
}

TEST(SettingsDialog, RowsBrowseButtonsOKAndCancel)
{
    CWindowFixture w;
    CSettingsDlg dlg;
    dlg.SetChooser([](const CFileChooserRequest&) { return std::optional<std::string>("/pens/a.pen"); });
    using namespace SettingsControl;
    // The pen and TAB rows shown (for a host only), then the legend folder and pen file fields.
    std::string seen;
    Drive(dlg, [&] {
        QTest::mouseClick(dlg.Control(PenFileBrowse), Qt::LeftButton);
        for (int id : {PenFileLabel, PenFile, PenFileBrowse, TABLocationLabel, TABLocation})
            seen += dlg.Control(id)->isVisible() ? '1' : '0';
        for (int id : {LegendFolder, PenFile})
            seen += " " + static_cast<QLineEdit*>(dlg.Control(id))->text().toStdString();
        QTest::mouseClick(dlg.Control(Ok), Qt::LeftButton);
    });
    const auto values = dlg.Run({"/leg/", "/pat/", "", "/t.tab"}, "Quarvex", true);
    ASSERT_TRUE(values);
    EXPECT_EQ(values->legendFolder + " | " + values->patternFolder + " | " + values->penFile + " | " + values->tabPath,
              "/leg/ | /pat/ | /pens/a.pen | /t.tab");
    EXPECT_EQ(seen, "11111 /leg/ /pens/a.pen");
    // Cancel stores nothing, whatever was typed.
    Drive(dlg, [&] {
        QTest::keyClicks(dlg.Control(LegendFolder), "x");
        QTest::mouseClick(dlg.Control(Cancel), Qt::LeftButton);
    });
    EXPECT_FALSE(dlg.Run({"/leg/", "/pat/", "", "/t.tab"}, "", false));
}
