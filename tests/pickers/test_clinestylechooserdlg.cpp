#include "pickers/clinestylechooserdlg.h"
#include "pickers/core/penbytes.h"
#include "grid/widgetfixture.h"
#include "support/recordingprompt.h"
#include "support/testfiles.h"

#include <QPointer>
#include <QScrollBar>

namespace {

struct CChooserRun : CAppFirst {
    CRecordingPrompt prompt;
    std::vector<std::string> events;
    QPointer<CLineStyleChooserDlg> dialog;

    CChooserRun(const std::string& penFile, int32_t current)
    {
        dialog = new CLineStyleChooserDlg(40, 30, penFile, 7, 9, current, prompt);
        QObject::connect(dialog, &CLineStyleChooserDlg::lineStyleChosen, [this](int style, int c1, int c2) {
            events.push_back("chosen " + std::to_string(style) + " " + std::to_string(c1) + " " + std::to_string(c2));
        });
        QObject::connect(dialog, &CLineStyleChooserDlg::closed, [this] { events.push_back("closed"); });
    }
    ~CChooserRun() { delete dialog.data(); }

    bool Gone()
    {
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        return dialog.isNull();
    }
};

} // namespace

TEST(CLineStyleChooserDlg, BarClicksAndEscape)
{
    CTempDir dir;
    const std::string pen = dir.File("lines.pen");
    WriteBytes(pen, PenBytes(std::vector<PenStyle>(40, PenStyle{{2, 5, 3, 5}})));
    using A = QAbstractSlider;
    const struct {
        std::vector<A::SliderAction> scroll;
        QPoint click; // none: Esc
        std::vector<std::string> events;
    } cases[] = {
        {{}, {160, 26}, {"chosen 6 7 9"}},
        {{}, {3, 0}, {"chosen 1 7 9"}}, // above and left of the first cell still maps to it
        {{}, {82, 25}, {"chosen 1 7 9"}},
        {{}, {83, 10}, {"chosen 2 7 9"}},
        {{}, {233, 10}, {"chosen 4 7 9"}}, // a fourth column reaches into the next row
        {{A::SliderSingleStepAdd}, {100, 50}, {"chosen 11 7 9"}},
        {{A::SliderPageStepAdd, A::SliderSingleStepSub}, {10, 10}, {"chosen 16 7 9"}},
        {{A::SliderPageStepAdd, A::SliderPageStepSub}, {10, 10}, {"chosen 1 7 9"}},
        {{A::SliderPageStepAdd, A::SliderToMinimum}, {10, 10}, {"chosen 1 7 9"}},
        {{A::SliderToMaximum}, {200, 132}, {"chosen 39 7 9"}},
        {{A::SliderToMaximum}, {10, 150}, {}}, // style 40 is the count
        {{}, {250, 100}, {}},                  // beside the samples, on the bar's column
        {{}, {}, {"closed"}},
    };
    for (const auto& c : cases) {
        CChooserRun run(pen, 8);
        ASSERT_TRUE(run.dialog->Open());
        for (A::SliderAction action : c.scroll)
            run.dialog->ScrollBar()->triggerAction(action);
        if (c.click.isNull())
            QTest::keyClick(run.dialog, Qt::Key_Escape);
        else
            QTest::mouseClick(run.dialog, Qt::LeftButton, {}, c.click);
        EXPECT_EQ(run.events, c.events) << c.click.x() << "," << c.click.y();
        EXPECT_EQ(run.Gone(), !c.events.empty());
    }

    // Style 5, second in the second row, is framed red in the picture painted.
    CChooserRun shown(pen, 5);
    ASSERT_TRUE(shown.dialog->Open());
    EXPECT_EQ(shown.dialog->pos(), QPoint(40, 30));
    const QImage image = shown.dialog->SampleArea()->grab().toImage();
    image.save(QString::fromStdString(TestOutputDir() + "/linestylechooser.png"));
    EXPECT_EQ(image.pixel(81, 26) & 0xFFFFFF, 0xFF0000u);
    EXPECT_EQ(image.pixel(11, 142) & 0xFFFFFF, 0u) << "the eighth row is drawn too";
    // A row further down it is first in the first row.
    shown.dialog->ScrollBar()->triggerAction(QAbstractSlider::SliderSingleStepAdd);
    EXPECT_EQ(shown.dialog->SampleArea()->grab().toImage().pixel(81, 8) & 0xFFFFFF, 0xFF0000u);

    // An unusable file is told by the flow; the window closes without showing.
    WriteTextFile(dir.File("bad.pen"), "PEN1");
    for (const auto& [file, text] : {std::pair{"none.pen", "Could not open "}, {"bad.pen", "Invalid pen file: "}}) {
        CChooserRun unusable(dir.File(file), 1);
        EXPECT_FALSE(unusable.dialog->Open());
        EXPECT_EQ(unusable.prompt.Texts(), std::vector<std::string>{text + dir.File(file)});
        EXPECT_EQ(unusable.events, std::vector<std::string>{"closed"});
        EXPECT_TRUE(unusable.Gone());
    }
}
