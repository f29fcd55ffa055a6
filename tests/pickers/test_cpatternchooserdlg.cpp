#include "pickers/cpatternchooserdlg.h"

#include "app/sheet/bmpbytes.h"
#include "grid/widgetfixture.h"
#include "support/testfiles.h"

#include <QPointer>
#include <QScrollBar>
#include <QWheelEvent>

#include <gtest/gtest.h>

namespace {
struct CChooserFixture : CAppFirst {
    QWidget owner;
    QPointer<CPatternChooserDlg> chooser;
    std::vector<std::string> heard;

    CChooserFixture(const std::string& folder, const CPatternTable* table, int current)
    {
        owner.show();
        chooser = new CPatternChooserDlg(50, 60, folder, 4, 5, table, current, &owner);
        QObject::connect(chooser, &CPatternChooserDlg::patternChosen, [this](int p, int c1, int c2) {
            heard.push_back("chosen " + std::to_string(p) + " " + std::to_string(c1) + " " + std::to_string(c2));
        });
        QObject::connect(chooser, &CPatternChooserDlg::closed, [this] { heard.push_back("closed"); });
    }
    // The middle of the visible sample in column c, row r.
    QPoint Sample(int c, int r) const
    {
        const CGridRect f = chooser->FrameRect();
        return {f.left + 3 + c * 33 + 16, f.top + 9 + r * 33 + 16};
    }
    bool Gone() // once its deferred deletion has run
    {
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        return chooser.isNull();
    }
};
} // namespace

TEST(PatternChooserDlg, ReadsTheFolderItselfWhenTheOwnerHasNoTableAndClosesOnEsc)
{
    CTempDir dir;
    for (const char* name : {"hatch_3.bmp", "7.bmp", "dots_12.bmp"})
        WriteTextFile(dir.File(name), BmpBytes(1, {{0, 1}, {1, 0}}, {0x000000, 0xFFFFFF}));
    const struct {
        std::string folder;
        int column;
        std::vector<int> listed;
        std::vector<std::string> heard;
    } cases[] = {
        {dir.Path(), 2, {0, 3, 7, 12}, {"chosen 7 4 5", "closed"}},
        {dir.File("missing"), 0, {0}, {"chosen 0 4 5", "closed"}}, // still offers "no pattern"
        {dir.Path(), 4, {0, 3, 7, 12}, {}},                        // an empty sample does nothing
        {dir.Path(), -1, {0, 3, 7, 12}, {"closed"}},               // Esc
    };
    for (const auto& k : cases) {
        CChooserFixture f(k.folder, nullptr, 3);
        EXPECT_EQ(f.chooser->Logic().Listed(), k.listed);
        if (k.column < 0)
            QTest::keyClick(f.chooser, Qt::Key_Escape);
        else
            QTest::mouseClick(f.chooser, Qt::LeftButton, {}, f.Sample(k.column, 0));
        EXPECT_EQ(f.heard, k.heard) << k.folder;
        EXPECT_EQ(f.Gone(), !k.heard.empty()) << k.folder;
    }
}

TEST(PatternChooserDlg, SharesTheOwnersTableScrollsAndChooses)
{
    CPatternTable table;
    for (int n = 1; n < 80; ++n)
        table.Set(n * 2, CGridBitmap::FromRows({"#.", ".#"})); // 0 and 79 more: 10 rows
    CChooserFixture f("", &table, 18);

    const QImage before = f.chooser->grab().toImage();
    before.save(QString::fromStdString(TestOutputDir() + "/pattern-chooser.png"));
    // Pattern 18 is the tenth listed: column 1 of the second row, framed in red.
    EXPECT_EQ(before.pixelColor(f.Sample(1, 1) - QPoint(16, 16)), QColor(255, 0, 0));

    // A bar action, or else a wheel turn (120 a notch, positive away from the user) over the
    // samples or over the bar; then the position.
    using A = QAbstractSlider;
    const struct {
        A::SliderAction action;
        int wheel;
        int onBar;
        int pos;
    } steps[] = {{A::SliderSingleStepAdd, 0, 0, 1}, {A::SliderPageStepAdd, 0, 0, 2}, {A::SliderSingleStepSub, 0, 0, 1},
                 {A::SliderPageStepSub, 0, 0, 0},   {A::SliderNoAction, -120, 0, 1}, {A::SliderNoAction, 120, 1, 0},
                 {A::SliderNoAction, -60, 0, 0},    {A::SliderNoAction, -60, 0, 1},  {A::SliderNoAction, 360, 1, 0},
                 {A::SliderToMinimum, 0, 0, 0},     {A::SliderToMaximum, 0, 0, 2}};
    for (const auto& s : steps) {
        if (s.wheel == 0) {
            f.chooser->ScrollBar()->triggerAction(s.action);
        } else {
            QWidget* target = s.onBar ? static_cast<QWidget*>(f.chooser->ScrollBar()) : f.chooser.data();
            const QPointF at = s.onBar ? QPointF(5, 100) : QPointF(f.Sample(3, 3));
            QWheelEvent wheel(at, target->mapToGlobal(at), {}, {0, s.wheel}, Qt::NoButton, Qt::NoModifier,
                              Qt::NoScrollPhase, false);
            QCoreApplication::sendEvent(target, &wheel);
        }
        EXPECT_EQ(f.chooser->Logic().ScrollPos(), s.pos) << s.action << " " << s.wheel;
        EXPECT_EQ(f.chooser->ScrollBar()->value(), s.pos) << s.action << " " << s.wheel;
    }
    // The first row shown is the third: its third sample is the nineteenth listed, pattern 36.
    QTest::mouseClick(f.chooser, Qt::LeftButton, {}, f.Sample(2, 0));
    EXPECT_EQ(f.heard, (std::vector<std::string>{"chosen 36 4 5", "closed"}));
    EXPECT_TRUE(f.Gone());
    EXPECT_TRUE(table.IsLoaded(158)) << "the owner's bitmaps outlive the chooser";
}
