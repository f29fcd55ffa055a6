// The line style chooser window driven by real mouse and key events.

#include "pickers/clinestylechooserdlg.h"
#include "pickers/core/penbytes.h"
#include "grid/widgetfixture.h"
#include "platform/cstringtable.h"
#include "support/recordingprompt.h"
#include "support/testfiles.h"

#include <QPointer>
#include <QScrollBar>
#include <QSignalSpy>

namespace {

struct CChooserRun {
    std::vector<std::string> events;
    QPointer<CLineStyleChooserDlg> dialog;

    CChooserRun(const std::string& penFile, int32_t current, CUserPrompt& prompt)
    {
        TestApp();
        dialog = new CLineStyleChooserDlg(40, 30, penFile, 7, 9, current, prompt);
        QObject::connect(dialog, &CLineStyleChooserDlg::lineStyleChosen,
                         [this](int style, int c1, int c2) {
                             events.push_back("chosen " + std::to_string(style) + " " +
                                              std::to_string(c1) + " " + std::to_string(c2));
                         });
        QObject::connect(dialog, &CLineStyleChooserDlg::closed,
                         [this] { events.push_back("closed"); });
    }
    ~CChooserRun() { delete dialog.data(); }

    // Lets the closed chooser delete itself.
    bool Gone()
    {
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        return dialog.isNull();
    }
};

std::string PenFileOf(const CTempDir& dir, int styles)
{
    const std::string path = dir.File("lines.pen");
    std::vector<PenStyle> table(static_cast<size_t>(styles), PenStyle{{2, 5, 3, 5}});
    const std::vector<uint8_t> bytes = PenBytes(table);
    WriteTextFile(path, std::string(bytes.begin(), bytes.end()));
    return path;
}

} // namespace

TEST(CLineStyleChooserDlg, ClickScrollAndEscape)
{
    CTempDir dir;
    const std::string pen = PenFileOf(dir, 40);
    const struct {
        const char* what;
        std::vector<QAbstractSlider::SliderAction> scroll;
        QPoint click; // in the chooser
        bool escape;
        std::vector<std::string> events;
    } cases[] = {
        {"a click on the second sample of the third row", {}, {100, 50}, false, {"chosen 8 7 9"}},
        {"a line down first",
         {QAbstractSlider::SliderSingleStepAdd},
         {100, 50},
         false,
         {"chosen 11 7 9"}},
        {"a page down stops at the largest position 6",
         {QAbstractSlider::SliderPageStepAdd},
         {10, 10},
         false,
         {"chosen 19 7 9"}},
        {"down a page and up a line",
         {QAbstractSlider::SliderPageStepAdd, QAbstractSlider::SliderSingleStepSub},
         {10, 10},
         false,
         {"chosen 16 7 9"}},
        {"the last style when scrolled to the end",
         {QAbstractSlider::SliderToMaximum},
         {200, 132},
         false,
         {"chosen 39 7 9"}},
        {"the last cell of the last row holds no style",
         {QAbstractSlider::SliderToMaximum},
         {200, 150},
         false,
         {}},
        {"outside the samples, on the scroll bar's column", {}, {250, 100}, false, {}},
        {"Esc", {}, {}, true, {"closed"}},
    };
    for (const auto& c : cases) {
        CRecordingPrompt prompt;
        CChooserRun run(pen, 8, prompt);
        ASSERT_TRUE(run.dialog->Open()) << c.what;
        EXPECT_EQ(run.dialog->pos(), QPoint(40, 30)) << c.what;
        for (QAbstractSlider::SliderAction action : c.scroll)
            run.dialog->ScrollBar()->triggerAction(action);
        if (c.escape)
            QTest::keyClick(run.dialog, Qt::Key_Escape);
        else
            QTest::mouseClick(run.dialog, Qt::LeftButton, {}, c.click);
        EXPECT_EQ(run.events, c.events) << c.what;
        EXPECT_EQ(run.Gone(), !c.events.empty()) << c.what;
        EXPECT_TRUE(prompt.m_Messages.empty()) << c.what;
    }
}

TEST(CLineStyleChooserDlg, UnusablePenFileIsToldAndClosesTheChooser)
{
    CTempDir dir;
    const std::string bad = dir.File("bad.pen"), missing = dir.File("missing.pen");
    WriteTextFile(bad, "PEN");
    for (const auto& [path, message] :
         {std::pair{bad, Str::InvalidPenFile}, {missing, Str::CouldNotOpen}}) {
        CRecordingPrompt prompt;
        CChooserRun run(path, 1, prompt);
        EXPECT_FALSE(run.dialog->Open());
        ASSERT_EQ(prompt.m_Messages.size(), 1u);
        EXPECT_EQ(prompt.m_Messages[0].stringId, message);
        EXPECT_EQ(prompt.m_Messages[0].text, CStringTable::FormatId(message, {path}));
        EXPECT_EQ(run.events, std::vector<std::string>{"closed"});
        EXPECT_TRUE(run.Gone());
    }
}

TEST(CLineStyleChooserDlg, ShowsTheSamplesWithTheCurrentFramedRed)
{
    CTempDir dir;
    CRecordingPrompt prompt;
    CChooserRun run(PenFileOf(dir, 25), 5, prompt);
    ASSERT_TRUE(run.dialog->Open());
    const QImage image = run.dialog->SampleArea()->grab().toImage();
    image.save(QString::fromStdString(TestOutputDir() + "/linestylechooser.png"));
    // Style 5 is the second sample of the second row: frame from (81, 26) to (150, 42).
    EXPECT_EQ(image.pixel(81, 26) & 0xFFFFFF, 0xFF0000u);
    EXPECT_EQ(image.pixel(149, 41) & 0xFFFFFF, 0xFF0000u);
    // Its dash starts at 86 on the centre line 34; the gap after it is white.
    EXPECT_EQ(image.pixel(86, 34) & 0xFFFFFF, 0x000000u);
    EXPECT_EQ(image.pixel(92, 34) & 0xFFFFFF, 0xFFFFFFu);
    EXPECT_EQ(run.dialog->ScrollBar()->maximum(), 1);
    EXPECT_EQ(run.dialog->ScrollBar()->pageStep(), 8);
}
