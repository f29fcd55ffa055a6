// The three pickers as windows, driven by real pointer, key and wheel events: the signals each ending sends, the scroll
// bars and the pictures saved for a person to look at. What a point or a key means is tested on the logic.

#include "pickers/ccolourpopup.h"
#include "pickers/clinestylechooserdlg.h"
#include "pickers/cpatternchooserdlg.h"
#include "pickers/core/penbytes.h"
#include "grid/widget/gridqtconvert.h"
#include "grid/widgetfixture.h"
#include "support/recordingprompt.h"
#include "support/testfiles.h"

#include <QColorDialog>
#include <QPointer>
#include <QScrollBar>
#include <QTimer>
#include <QWheelEvent>

#include <gtest/gtest.h>

namespace {
std::string Hex(uint32_t v)
{
    return QString::number(v, 16).toStdString();
}

QPoint Centre(const CGridRect& r)
{
    return {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
}

template <class T>
bool Gone(const QPointer<T>& window) // once its deferred deletion has run
{
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    return window.isNull();
}

// What a window told its owner, in order.
struct CHeard : CAppFirst {
    std::vector<std::string> heard;
    void Chosen(int n, int c1, int c2)
    {
        heard.push_back("chosen " + std::to_string(n) + " " + std::to_string(c1) + " " + std::to_string(c2));
    }
};

struct CPopupFixture : CHeard {
    QWidget owner;
    QPointer<CColourPopup> popup;

    explicit CPopupFixture(uint32_t initial)
    {
        owner.resize(300, 200);
        owner.show();
        popup = new CColourPopup(initial, &owner, true, QString(), QStringLiteral("Custom"), QPoint(40, 30));
        popup->SetTag(7);
        // The pointer starts on no box: a move is only reported where the pointer was not already.
        QTest::mouseMove(popup, QPoint(0, 0));
        QObject::connect(popup, &CColourPopup::selChange, [this](uint32_t c) { heard.push_back("change " + Hex(c)); });
        auto ending = [this](std::string how) {
            return [this, how](uint32_t c, int32_t tag) { heard.push_back(how + Hex(c) + " " + std::to_string(tag)); };
        };
        QObject::connect(popup, &CColourPopup::selEndOK, ending("ok "));
        QObject::connect(popup, &CColourPopup::selEndCancel, ending("cancel "));
    }
    QPoint Box(int index) const { return Centre(popup->Logic().ColourBoxRect(index)); }
    // A click on the custom box, answered in the full colour dialog with a colour.
    void Custom(const QColor& answer)
    {
        QTimer::singleShot(0, [answer] {
            auto* dialog = qobject_cast<QColorDialog*>(QApplication::activeModalWidget());
            ASSERT_NE(dialog, nullptr);
            dialog->setCurrentColor(answer);
            dialog->accept();
        });
        QTest::mouseClick(popup, Qt::LeftButton, {}, Centre(popup->Logic().CustomHalf()));
    }
};

struct CChooserFixture : CHeard {
    QWidget owner;
    QPointer<CPatternChooserDlg> chooser;

    CChooserFixture(const CPatternTable& table, int current)
    {
        owner.show();
        chooser = new CPatternChooserDlg(50, 60, "", 4, 5, &table, current, &owner);
        QObject::connect(chooser, &CPatternChooserDlg::patternChosen, [this](int p, int a, int b) { Chosen(p, a, b); });
        QObject::connect(chooser, &CPatternChooserDlg::closed, [this] { heard.push_back("closed"); });
    }
    QPoint Sample(int c, int r) const
    {
        const CGridRect f = chooser->FrameRect();
        return {f.left + 3 + c * 33 + 16, f.top + 9 + r * 33 + 16};
    }
};

struct CChooserRun : CHeard {
    CRecordingPrompt prompt;
    QPointer<CLineStyleChooserDlg> dialog;

    CChooserRun(const std::string& penFile, int32_t current)
    {
        dialog = new CLineStyleChooserDlg(40, 30, penFile, 7, 9, current, prompt);
        QObject::connect(dialog, &CLineStyleChooserDlg::lineStyleChosen,
                         [this](int n, int a, int b) { Chosen(n, a, b); });
        QObject::connect(dialog, &CLineStyleChooserDlg::closed, [this] { heard.push_back("closed"); });
    }
    ~CChooserRun() { delete dialog.data(); }
};
} // namespace

TEST(ColourPopup, PointerKeysEndingsAndPicture)
{
    enum Act { Move5, RightClick5, CustomOk, UpOutside, Right, Return, Esc };
    // The colour it opens with, what is done, and what the owner hears; only the left button chooses.
    const std::tuple<uint32_t, std::vector<Act>, std::vector<std::string>> cases[] = {
        {0x123456, {Move5, UpOutside}, {"change 8b0000", "cancel 123456 7"}},
        {0x123456, {RightClick5, Esc}, {"cancel 123456 7"}},
        {0x123456, {CustomOk}, {"ok 20100 7"}},
        {0x8B0000, {Right, Return}, {"change 82004b", "ok 82004b 7"}},
    };
    for (const auto& [initial, acts, heard] : cases) {
        CPopupFixture f(initial);
        for (Act a : acts) {
            switch (a) {
            case Move5: QTest::mouseMove(f.popup, f.Box(5)); break;
            case RightClick5: QTest::mouseClick(f.popup, Qt::RightButton, {}, f.Box(5)); break;
            case CustomOk: f.Custom(QColor(0, 1, 2)); break;
            case UpOutside: QTest::mouseRelease(f.popup, Qt::LeftButton, {}, QPoint(-20, 10)); break;
            case Right: QTest::keyClick(f.popup, Qt::Key_Right); break;
            case Return: QTest::keyClick(f.popup, Qt::Key_Return); break;
            case Esc: QTest::keyClick(f.popup, Qt::Key_Escape); break;
            }
        }
        EXPECT_EQ(f.heard, heard) << acts.size() << " acts from " << Hex(initial);
        EXPECT_TRUE(Gone(f.popup)) << "the pop-up deletes itself when it has ended";
    }

    CPopupFixture f(0x8B0000);

    QTest::mouseMove(f.popup, f.Box(6));
    const QImage image = f.popup->grab().toImage();
    image.save(QString::fromStdString(TestOutputDir() + "/colour-popup.png"));
    EXPECT_EQ(GridFromQColor(image.pixelColor(f.Box(26))), PopupColours()[26].colour);
}

TEST(PatternChooserDlg, SharesTheOwnersTableScrollsAndChooses)
{
    CPatternTable table;
    for (int n = 1; n < 79; ++n)
        table.Set(n * 2, CGridBitmap::FromRows({"#.", ".#"})); // 0 and 78 more: 10 rows, the last one short
    CChooserFixture esc(table, 18);
    QTest::keyClick(esc.chooser, Qt::Key_Escape);
    EXPECT_EQ(esc.heard, std::vector<std::string>{"closed"});
    EXPECT_TRUE(Gone(esc.chooser));
    CChooserFixture f(table, 18);

    const QImage before = f.chooser->grab().toImage();
    before.save(QString::fromStdString(TestOutputDir() + "/pattern-chooser.png"));
    // Pattern 18 is the tenth listed: column 1 of the second row, framed in red.
    EXPECT_EQ(before.pixelColor(f.Sample(1, 1) - QPoint(16, 16)), QColor(255, 0, 0));

    // A bar action or a wheel turn over the samples (120 a notch, positive away from the user), then the position.
    using A = QAbstractSlider;
    const std::tuple<A::SliderAction, int, int> steps[] = {
        {A::SliderSingleStepAdd, 0, 1}, {A::SliderPageStepAdd, 0, 2}, {A::SliderSingleStepSub, 0, 1},
        {A::SliderPageStepSub, 0, 0},   {A::SliderNoAction, -120, 1}, {A::SliderNoAction, -60, 1},
        {A::SliderNoAction, -60, 2},    {A::SliderNoAction, 120, 1},  {A::SliderNoAction, 360, 0},
        {A::SliderToMaximum, 0, 2},     {A::SliderToMinimum, 0, 0},   {A::SliderToMaximum, 0, 2}};
    for (const auto& [action, turn, pos] : steps) {
        if (turn == 0) {
            f.chooser->ScrollBar()->triggerAction(action);
        } else {
            const QPointF at(f.Sample(3, 3));
            QWheelEvent wheel(at, f.chooser->mapToGlobal(at), {}, {0, turn}, Qt::NoButton, Qt::NoModifier,
                              Qt::NoScrollPhase, false);
            QCoreApplication::sendEvent(f.chooser, &wheel);
        }
        EXPECT_EQ(f.chooser->Logic().ScrollPos(), pos) << action << " " << turn;
        EXPECT_EQ(f.chooser->ScrollBar()->value(), pos) << action << " " << turn;
    }
    // The first row shown is the third, its third sample pattern 36; the last row has no eighth.
    QTest::mouseClick(f.chooser, Qt::LeftButton, {}, f.Sample(7, 7));
    ASSERT_FALSE(Gone(f.chooser));
    QTest::mouseClick(f.chooser, Qt::LeftButton, {}, f.Sample(2, 0));
    EXPECT_EQ(f.heard, (std::vector<std::string>{"chosen 36 4 5", "closed"}));
    EXPECT_TRUE(Gone(f.chooser));
}

TEST(CLineStyleChooserDlg, BarClicksAndEscape)
{
    CTempDir dir;
    const std::string pen = dir.File("lines.pen");
    WriteBytes(pen, PenBytes(std::vector<PenStyle>(40, PenStyle{{2, 5, 3, 5}})));
    using A = QAbstractSlider;
    // The bar actions, then a click (none: Esc), and what the owner hears.
    const std::tuple<std::vector<A::SliderAction>, QPoint, std::vector<std::string>> cases[] = {
        {{}, {160, 26}, {"chosen 6 7 9"}},
        {{}, {82, 25}, {"chosen 1 7 9"}},
        {{}, {83, 10}, {"chosen 2 7 9"}},
        {{A::SliderPageStepAdd, A::SliderSingleStepSub}, {10, 10}, {"chosen 16 7 9"}},
        {{A::SliderPageStepAdd, A::SliderPageStepSub, A::SliderSingleStepAdd}, {100, 50}, {"chosen 11 7 9"}},
        {{A::SliderPageStepAdd, A::SliderToMinimum}, {10, 10}, {"chosen 1 7 9"}},
        {{A::SliderToMaximum}, {200, 132}, {"chosen 39 7 9"}},
        {{A::SliderToMaximum}, {10, 150}, {}}, // style 40 is the count
        {{}, {250, 100}, {}},                  // beside the samples, on the bar's column
        {{}, {}, {"closed"}},
    };
    for (const auto& [scroll, click, heard] : cases) {
        CChooserRun run(pen, 8);
        ASSERT_TRUE(run.dialog->Open());
        for (A::SliderAction action : scroll)
            run.dialog->ScrollBar()->triggerAction(action);
        if (click.isNull())
            QTest::keyClick(run.dialog, Qt::Key_Escape);
        else
            QTest::mouseClick(run.dialog, Qt::LeftButton, {}, click);
        EXPECT_EQ(run.heard, heard) << click.x() << "," << click.y();
        EXPECT_EQ(Gone(run.dialog), !heard.empty());
    }

    // Style 5, second in the second row, is framed red in the picture painted.
    CChooserRun shown(pen, 5);
    ASSERT_TRUE(shown.dialog->Open());
    const QImage image = shown.dialog->SampleArea()->grab().toImage();
    image.save(QString::fromStdString(TestOutputDir() + "/linestylechooser.png"));
    EXPECT_EQ(image.pixel(81, 26) & 0xFFFFFF, 0xFF0000u);

    // An unusable file is told by the flow; the window closes without showing.
    WriteTextFile(dir.File("bad.pen"), "PEN1");
    for (const auto& [file, text] : {std::pair{"none.pen", "Could not open "}, {"bad.pen", "Invalid pen file: "}}) {
        CChooserRun unusable(dir.File(file), 1);
        EXPECT_FALSE(unusable.dialog->Open());
        EXPECT_EQ(unusable.prompt.Texts(), std::vector<std::string>{text + dir.File(file)});
        EXPECT_EQ(unusable.heard, std::vector<std::string>{"closed"});
        EXPECT_TRUE(Gone(unusable.dialog));
    }
}
