// The pattern chooser driven by real clicks, keys and scroll bar actions.

#include "pickers/cpatternchooserdlg.h"

#include "app/sheet/bmpbytes.h"
#include "grid/widgetfixture.h"
#include "support/testfiles.h"

#include <QFrame>
#include <QPointer>
#include <QScrollBar>
#include <QWheelEvent>

#include <gtest/gtest.h>

namespace {
const std::string kCross = BmpBytes(1, {{0, 1}, {1, 0}}, {0x000000, 0xFFFFFF});

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
    bool Gone()
    {
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        return chooser.isNull();
    }
};
} // namespace

TEST(PatternChooserDlg, ReadsTheFolderItselfWhenTheOwnerHasNoTable)
{
    CTempDir dir;
    for (const char* name : {"hatch_3.bmp", "7.bmp", "dots_12.bmp", "x_1000.bmp"})
        WriteTextFile(dir.File(name), kCross);
    const struct {
        std::string folder;
        QPoint (*at)(const CChooserFixture&);
        std::vector<int> listed;
        std::vector<std::string> heard;
    } cases[] = {
        {dir.Path(), [](const CChooserFixture& f) { return f.Sample(2, 0); }, {0, 3, 7, 12}, {"chosen 7 4 5", "closed"}},
        {dir.Path(), [](const CChooserFixture& f) { return f.Sample(0, 0); }, {0, 3, 7, 12}, {"chosen 0 4 5", "closed"}},
        // A missing folder still offers "no pattern".
        {dir.File("missing"), [](const CChooserFixture& f) { return f.Sample(0, 0); }, {0}, {"chosen 0 4 5", "closed"}},
        // An empty sample, or a point outside the block, does nothing.
        {dir.Path(), [](const CChooserFixture& f) { return f.Sample(4, 0); }, {0, 3, 7, 12}, {}},
        {dir.Path(), [](const CChooserFixture& f) { return f.Sample(0, 0) - QPoint(20, 0); }, {0, 3, 7, 12}, {}},
    };
    for (const auto& k : cases) {
        CChooserFixture f(k.folder, nullptr, 3);
        EXPECT_EQ(f.chooser->Logic().Listed(), k.listed);
        QTest::mouseClick(f.chooser, Qt::LeftButton, {}, k.at(f));
        EXPECT_EQ(f.heard, k.heard) << k.folder;
        EXPECT_EQ(f.Gone(), !k.heard.empty()) << k.folder;
    }
}

TEST(PatternChooserDlg, SharesTheOwnersTableScrollsAndClosesOnEsc)
{
    CPatternTable table;
    for (int n = 1; n < 80; ++n)
        table.Set(n * 2, CGridBitmap::FromRows({"#.", ".#"})); // 0 and 79 more: 10 rows
    CChooserFixture f("", &table, 18);
    EXPECT_EQ(f.chooser->ScrollBar()->maximum(), 2);
    EXPECT_EQ(f.chooser->ScrollBar()->pageStep(), 8);

    const QImage before = f.chooser->grab().toImage();
    before.save(QString::fromStdString(TestOutputDir() + "/pattern-chooser.png"));
    // Pattern 18 is the tenth listed: column 1 of the second row, framed in red; its neighbour in black.
    const QPoint red = f.Sample(1, 1) - QPoint(16, 16), black = f.Sample(2, 1) - QPoint(16, 16);
    EXPECT_EQ(before.pixelColor(red), QColor(255, 0, 0));
    EXPECT_EQ(before.pixelColor(black), QColor(0, 0, 0));

    // The window has a border of its own, whatever the window system draws.
    const QColor shadow = f.chooser->palette().color(QPalette::Shadow);
    for (const QPoint& edge : {QPoint(0, 0), QPoint(0, 150), QPoint(before.width() - 1, before.height() - 1)})
        EXPECT_EQ(before.pixelColor(edge).name(), shadow.name()) << edge.x() << "," << edge.y();

    // A bar action, or else a wheel turn (120 a notch, positive away from the user) over the
    // samples or over the bar; then the position.
    const struct {
        QAbstractSlider::SliderAction action;
        int wheel;
        bool onBar;
        int pos;
    } steps[] = {{QAbstractSlider::SliderSingleStepAdd, 0, false, 1}, {QAbstractSlider::SliderPageStepAdd, 0, false, 2},
                 {QAbstractSlider::SliderSingleStepSub, 0, false, 1}, {QAbstractSlider::SliderPageStepSub, 0, false, 0},
                 {{}, -120, false, 1}, {{}, -120, false, 2}, {{}, -120, false, 2}, {{}, 120, true, 1},
                 {{}, 60, false, 1}, {{}, 60, false, 0}, {{}, -360, true, 2}, {{}, 240, false, 0},
                 {QAbstractSlider::SliderToMaximum, 0, false, 2}, {QAbstractSlider::SliderToMinimum, 0, false, 0}};
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
    f.chooser->ScrollBar()->triggerAction(QAbstractSlider::SliderPageStepAdd);
    QTest::keyClick(f.chooser, Qt::Key_Escape);
    EXPECT_EQ(f.heard, std::vector<std::string>{"closed"});
    EXPECT_TRUE(f.Gone());
    // The owner's bitmaps outlive the chooser.
    EXPECT_TRUE(table.IsLoaded(158));
}
