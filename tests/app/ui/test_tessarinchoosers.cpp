// The main window's colour pop-up and pattern chooser, opened by clicks on the
// spreadsheet's style cells as a user opens them.

#include "app/ui/ctessarindlg.h"

#include "app/sheet/bmpbytes.h"
#include "app/sheet/cmygridctrl.h"
#include "grid/widget/cgridwidget.h"
#include "pickers/ccolourpopup.h"
#include "pickers/cpatternchooserdlg.h"

#include "platform/csettingsstore.h"
#include "platform/settingssandbox.h"
#include "support/recordingprompt.h"
#include "support/testfiles.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QPainter>
#include <QTest>

#include <filesystem>

namespace {

// Row 0: red fill on an opaque green ground, pattern 1, blue line.
const char* const kLegend = "LegendTable Begin\n\tVersion\t= \"1.0\"\n\tName\t\t= \"basalt\"\n\tDescription = \"\"\n"
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
            WriteTextFile(patterns + n, BmpBytes(1, {{0, 1, 1, 1}, {1, 0, 1, 1}, {1, 1, 0, 1}, {1, 1, 1, 0}}, {0, 0xFFFFFF}));
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
        QTest::mouseClick(viewport, Qt::LeftButton, {}, QPoint((r.left + r.right) / 2, (r.top + r.bottom) / 2));
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

TEST(TessarinChoosers, ColourCellsOpenThePopUpAndTakeItsColour)
{
    enum class Pick { Box13, TransparentHalf, Esc };
    const struct {
        const char* column;
        Pick pick;
        const char* row;
        bool modified;
    } cases[] = {
        {"fg", Pick::Box13, "16711680 65280 p1 16711680", true},
        {"bg", Pick::TransparentHalf, "255 16777215T p1 16711680", true},
        {"bg", Pick::Box13, "255 16711680 p1 16711680", true},
        {"lcol", Pick::Box13, "255 65280 p1 16711680", false}, // the colour it has: nothing changes
        {"fg", Pick::Esc, "255 65280 p1 16711680", false},
    };
    for (const auto& k : cases) {
        CChooserWindow w;
        const CSheetColumns& columns = w.dlg->Sheet().Columns();
        const std::string column = k.column;
        const int col = column == "fg" ? columns.fg : column == "bg" ? columns.bg : columns.lcol;
        const QPoint at = w.ClickCell(col);
        auto* popup = w.dlg->findChild<CColourPopup*>();
        ASSERT_NE(popup, nullptr) << column;
        EXPECT_EQ(popup->Tag(), col);
        EXPECT_EQ(popup->Logic().OffersTransparent(), column == "bg");
        // Red, the row's fill colour, is the palette's 16th colour, whichever column.
        EXPECT_EQ(popup->Logic().Chosen(), 16) << column;
        EXPECT_EQ(popup->Logic().DefaultRect().IsEmpty(), true);
        const CGridRect& window = popup->Logic().Window();
        EXPECT_EQ(QPoint(window.left, window.top), at) << column;
        EXPECT_EQ(popup->geometry().topLeft(), at) << column;
        if (k.pick == Pick::Box13 && column == "fg")
            w.SaveShot(popup, "window-colour-popup.png");
        if (column == "bg" && k.pick == Pick::TransparentHalf)
            w.SaveShot(popup, "window-colour-popup-bg.png");
        switch (k.pick) {
        case Pick::Box13: QTest::mouseClick(popup, Qt::LeftButton, {}, Centre(popup->Logic().ColourBoxRect(13))); break;
        case Pick::TransparentHalf:
            QTest::mouseClick(popup, Qt::LeftButton, {}, Centre(popup->Logic().TransparentHalf()));
            break;
        case Pick::Esc:
            QTest::keyClick(popup, Qt::Key_Right);
            QTest::keyClick(popup, Qt::Key_Escape);
            break;
        }
        EXPECT_EQ(Colours(w.Row()), k.row) << column;
        EXPECT_EQ(w.dlg->Flow().IsModified(), k.modified) << column;
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        EXPECT_EQ(w.dlg->findChild<CColourPopup*>(), nullptr) << column;
    }
}

TEST(TessarinChoosers, PatternCellsOpenTheChooserOnTheSheetsTable)
{
    const struct {
        int sample; // -1: Esc
        const char* row;
    } cases[] = {{2, "255 65280 p5 16711680"}, {0, "16777215T 16777215T p0 16711680"}, {-1, "255 65280 p1 16711680"}};
    for (const auto& k : cases) {
        CChooserWindow w;
        // The chooser shows the patterns the sheet loaded at start, not the folder as it is now.
        std::filesystem::remove(w.patterns + "5.bmp");
        const QPoint at = w.ClickCell(w.dlg->Sheet().Columns().pattern);
        auto* chooser = w.dlg->findChild<CPatternChooserDlg*>();
        ASSERT_NE(chooser, nullptr);
        EXPECT_EQ(chooser->pos(), at);
        EXPECT_EQ(chooser->Logic().Listed(), (std::vector<int>{0, 3, 5}));
        EXPECT_EQ(chooser->Logic().Current(), 1);
        if (k.sample == 2)
            w.SaveShot(chooser, "window-pattern-chooser.png");
        if (k.sample >= 0) {
            const CGridRect f = chooser->FrameRect();
            QTest::mouseClick(chooser, Qt::LeftButton, {}, QPoint(f.left + 3 + k.sample * 33 + 16, f.top + 9 + 16));
        } else {
            QTest::keyClick(chooser, Qt::Key_Escape);
        }
        EXPECT_EQ(Colours(w.Row()), k.row) << k.sample;
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        EXPECT_EQ(w.dlg->findChild<CPatternChooserDlg*>(), nullptr) << k.sample;
    }
}
