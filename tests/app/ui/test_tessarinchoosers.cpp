// The main window's colour pop-up and pattern chooser, opened by clicks on the
// spreadsheet's style cells as a user opens them.

#include "app/ui/ctessarindlg.h"

#include "app/sheet/bmpbytes.h"
#include "app/sheet/cmygridctrl.h"
#include "grid/widget/cgridwidget.h"
#include "pickers/ccolourpopup.h"
#include "pickers/core/tabletext.h"
#include "pickers/cpatternchooserdlg.h"

#include "platform/csettingsstore.h"
#include "platform/settingssandbox.h"
#include "support/recordingprompt.h"
#include "support/testfiles.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QPainter>
#include <QPointer>
#include <QTest>

#include <filesystem>
#include <map>

namespace {

// Row 0: red fill on an opaque green ground, pattern 1, blue line.
const char* const kLegend =
    "LegendTable Begin\n\tVersion\t= \"1.0\"\n\tName\t\t= \"basalt\"\n\tDescription = \"\"\n"
    "\tDataType\t= NUMERICCONTINUOUS\n\tLEG\t\t= {\n"
    "\t\t0\t1\t\"low\"\t\t255\t65280\t1\t16711680\t1\t1\n"
    "\t\t1\t2\t\"high\"\t\t255\t65280\t1\t16711680\t1\t1\n\t}\nLegendTable End\n";

struct CChooserWindow {
    int argc = 1;
    char name[24] = "test_tessarinchoosers";
    char* argv[2] = {name, nullptr};
    QApplication app{argc, argv};
    CSettingsSandbox sandbox;
    std::string folder = sandbox.Work("legends") + "/";
    std::string patterns = sandbox.Work("patterns") + "/";
    CRecordingPrompt prompt;
    std::unique_ptr<CTessarinDlg> dlg;

    CChooserWindow()
    {
        WriteTextFile(folder + "basalt.leg", kLegend);
        for (const char* n : {"hatch_3.bmp", "5.bmp"})
            WriteTextFile(patterns + n,
                          BmpBytes(1, {{0, 1, 1, 1}, {1, 0, 1, 1}, {1, 1, 0, 1}, {1, 1, 1, 0}},
                                   {0, 0xFFFFFF}));
        EXPECT_TRUE(SetCommonSetting("LUT_PATH", folder));
        EXPECT_TRUE(SetCommonSetting("BRUSH_PATH", patterns));
        dlg = std::make_unique<CTessarinDlg>(ParseStartupArguments({"tessarin"}), &prompt);
        dlg->show();
        QApplication::setActiveWindow(dlg.get());
        dlg->OpenLegends();
    }
    // Clicks legend row 0's cell in a column; returns where a chooser for it opens.
    QPoint ClickCell(int col)
    {
        CGridRect r;
        dlg->Sheet().GetCellRect(1, col, r);
        QWidget* viewport = dlg->Spreadsheet()->viewport();
        QTest::mouseClick(viewport, Qt::LeftButton, {},
                          QPoint((r.left + r.right) / 2, (r.top + r.bottom) / 2));
        return viewport->mapToGlobal(QPoint(r.right, r.top));
    }
    CLLRow Row() const
    {
        CLLRow row;
        EXPECT_TRUE(dlg->Flow().Legend().GetRow(0, row));
        return row;
    }
    // The window with the pop-up drawn where it stands on the screen, for a person to look at.
    void SaveShot(QWidget* popup, const std::string& file) const
    {
        QPixmap shot = dlg->grab();
        QPainter painter(&shot);
        painter.drawPixmap(dlg->mapFromGlobal(popup->geometry().topLeft()), popup->grab());
        painter.end();
        shot.save(QString::fromStdString(TestOutputDir() + "/" + file));
    }
};

std::string Colours(const CLLRow& r)
{
    return std::to_string(r.fillColour.GetPacked()) + (r.fillTransparent ? "T" : "") + " " +
           std::to_string(r.backColour.GetPacked()) + (r.backTransparent ? "T" : "") + " p" +
           std::to_string(r.pattern) + " " + std::to_string(r.lineColour.GetPacked());
}

QPoint Centre(const CGridRect& r)
{
    return {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
}

} // namespace

TEST(TessarinChoosers, StyleCellsOpenTheirChooserAndTakeWhatItChose)
{
    // The row starts as "255 65280 p1 16711680"; red, its fill colour, is the palette's 16th
    // colour whichever colour column is clicked. The pattern chooser shows the patterns the
    // sheet loaded at start, not the folder as it is now (5.bmp is gone by then).
    // column | what is done in the chooser | the row then | modified
    for (const auto& k : Rows(R"(
        fg      | box 13      | 16711680 65280 p1 16711680       | 1
        bg      | transparent | 255 16777215T p1 16711680        | 1
        bg      | box 13      | 255 16711680 p1 16711680         | 1
        lcol    | box 13      | 255 65280 p1 16711680            | 0
        fg      | Esc         | 255 65280 p1 16711680            | 0
        pattern | sample 2    | 255 65280 p5 16711680            | 1
        pattern | sample 0    | 16777215T 16777215T p0 16711680  | 1
        pattern | Esc         | 255 65280 p1 16711680            | 0
    )")) {
        CChooserWindow w;
        std::filesystem::remove(w.patterns + "5.bmp");
        const CSheetColumns& columns = w.dlg->Sheet().Columns();
        const int col = std::map<std::string, int>{{"fg", columns.fg},
                                                   {"bg", columns.bg},
                                                   {"lcol", columns.lcol},
                                                   {"pattern", columns.pattern}}[k[0]];
        const QPoint at = w.ClickCell(col);
        auto* popup = w.dlg->findChild<CColourPopup*>();
        auto* chooser = w.dlg->findChild<CPatternChooserDlg*>();
        const QPointer<QWidget> opened = popup ? static_cast<QWidget*>(popup) : chooser;
        ASSERT_FALSE(opened.isNull()) << k[0];
        EXPECT_EQ(opened->pos(), at) << k[0];
        if (popup) {
            const CColourPopupLogic& logic = popup->Logic();
            EXPECT_EQ((std::vector<int>{popup->Tag(), logic.OffersTransparent(), logic.Chosen(),
                                        logic.DefaultRect().IsEmpty(), logic.Window().left - at.x(),
                                        logic.Window().top - at.y()}),
                      (std::vector<int>{col, k[0] == "bg", 16, 1, 0, 0}));
        } else {
            EXPECT_EQ(chooser->Logic().Listed(), (std::vector<int>{0, 3, 5}));
            EXPECT_EQ(chooser->Logic().Current(), 1);
        }
        const std::map<std::string, std::string> shots{
            {"fg box 13", "window-colour-popup.png"},
            {"bg transparent", "window-colour-popup-bg.png"},
            {"pattern sample 2", "window-pattern-chooser.png"}};
        if (shots.count(k[0] + " " + k[1]))
            w.SaveShot(opened, shots.at(k[0] + " " + k[1]));
        if (k[1] == "box 13")
            QTest::mouseClick(popup, Qt::LeftButton, {}, Centre(popup->Logic().ColourBoxRect(13)));
        else if (k[1] == "transparent")
            QTest::mouseClick(popup, Qt::LeftButton, {}, Centre(popup->Logic().TransparentHalf()));
        else if (k[1].rfind("sample ", 0) == 0)
            QTest::mouseClick(
                chooser, Qt::LeftButton, {},
                QPoint(chooser->FrameRect().left + 19 + std::stoi(k[1].substr(7)) * 33,
                       chooser->FrameRect().top + 25));
        else // a key moves the hot box first, to show that Esc takes nothing
            for (Qt::Key key : {Qt::Key_Right, Qt::Key_Escape})
                QTest::keyClick(opened, key);
        EXPECT_EQ(Colours(w.Row()) + " " + std::to_string(w.dlg->Flow().IsModified()),
                  k[2] + " " + k[3])
            << k[0] << " " << k[1];
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        EXPECT_TRUE(opened.isNull()) << k[0] << " " << k[1];
    }
}
