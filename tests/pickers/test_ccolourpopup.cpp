// The colour pop-up driven by real pointer and key events.

#include "pickers/ccolourpopup.h"

#include "grid/widget/gridqtconvert.h"
#include "grid/widgetfixture.h"
#include "support/testfiles.h"

#include <QColorDialog>
#include <QPointer>
#include <QTimer>

#include <gtest/gtest.h>

namespace {
constexpr uint32_t kInitial = 0x123456;

QPoint Centre(const CGridRect& r)
{
    return {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
}

std::string Hex(uint32_t v)
{
    char text[16];
    std::snprintf(text, sizeof text, "%x", v);
    return text;
}

struct CPopupFixture : CAppFirst {
    QWidget owner;
    QPointer<CColourPopup> popup;
    std::vector<std::string> heard;

    explicit CPopupFixture(uint32_t initial = kInitial, bool transparent = true)
    {
        owner.resize(300, 200);
        owner.show();
        popup = new CColourPopup(initial, &owner, transparent, QString(), QStringLiteral("Custom"), QPoint(40, 30));
        popup->SetTag(7);
        // The pointer starts on the pop-up's edge, on no box: a move is only
        // reported where the pointer was not already.
        QTest::mouseMove(popup, QPoint(0, 0));
        QObject::connect(popup, &CColourPopup::selChange, [this](uint32_t c) { heard.push_back("change " + Hex(c)); });
        QObject::connect(popup, &CColourPopup::selEndOK,
                         [this](uint32_t c, int32_t tag) { heard.push_back("ok " + Hex(c) + " " + std::to_string(tag)); });
        QObject::connect(popup, &CColourPopup::selEndCancel, [this](uint32_t c, int32_t tag) {
            heard.push_back("cancel " + Hex(c) + " " + std::to_string(tag));
        });
    }
    QPoint Box(int index) const { return Centre(popup->Logic().ColourBoxRect(index)); }
    QPoint CustomHalf() const { return Centre(popup->Logic().CustomHalf()); }
    QPoint TransparentHalf() const { return Centre(popup->Logic().TransparentHalf()); }
    // Answers the full colour dialog as soon as it is up: a colour, or cancel.
    static void AnswerColourDialog(std::optional<QColor> colour)
    {
        QTimer::singleShot(0, [colour] {
            auto* dialog = qobject_cast<QColorDialog*>(QApplication::activeModalWidget());
            ASSERT_NE(dialog, nullptr);
            if (colour) {
                dialog->setCurrentColor(*colour);
                dialog->accept();
            } else {
                dialog->reject();
            }
        });
    }
};
} // namespace

TEST(ColourPopup, PointerKeysAndEndings)
{
    enum Act { Move5, Click5, RightClick5, ClickTransparent, ClickCustomDialogOk, ClickCustomDialogCancel, ReleaseOutside, Right, Return, Esc };
    const struct {
        uint32_t initial;
        std::vector<Act> acts;
        std::vector<std::string> heard;
    } cases[] = {
        {kInitial, {Click5}, {"change 8b0000", "ok 8b0000 7"}},
        {kInitial, {Move5, ReleaseOutside}, {"change 8b0000", "cancel 123456 7"}},
        {kInitial, {RightClick5, Esc}, {"cancel 123456 7"}}, // only the left button chooses
        {kInitial, {ClickTransparent}, {"change 123456", "ok ffffffff 7"}},
        {kInitial, {ClickCustomDialogOk}, {"ok 20100 7"}},
        {kInitial, {ClickCustomDialogCancel}, {"cancel 123456 7"}},
        // The initial colour's box is where the keys start.
        {0x8B0000, {Right, Return}, {"change 82004b", "ok 82004b 7"}},
        {0x8B0000, {Right, Right, Esc}, {"change 82004b", "change 282828", "cancel 8b0000 7"}},
        // A colour outside the palette starts on the custom box, whence Right goes to the first colour.
        {kInitial, {Right, Return}, {"change 0", "ok 0 7"}},
    };
    for (const auto& k : cases) {
        CPopupFixture f(k.initial);
        for (Act a : k.acts) {
            switch (a) {
            case Move5: QTest::mouseMove(f.popup, f.Box(5)); break;
            case Click5: QTest::mouseMove(f.popup, f.Box(5)); QTest::mouseClick(f.popup, Qt::LeftButton, {}, f.Box(5)); break;
            case RightClick5: QTest::mouseClick(f.popup, Qt::RightButton, {}, f.Box(5)); break;
            case ClickTransparent: QTest::mouseClick(f.popup, Qt::LeftButton, {}, f.TransparentHalf()); break;
            case ClickCustomDialogOk:
                CPopupFixture::AnswerColourDialog(QColor(0, 1, 2));
                QTest::mouseClick(f.popup, Qt::LeftButton, {}, f.CustomHalf());
                break;
            case ClickCustomDialogCancel:
                CPopupFixture::AnswerColourDialog(std::nullopt);
                QTest::mouseClick(f.popup, Qt::LeftButton, {}, f.CustomHalf());
                break;
            case ReleaseOutside: QTest::mouseRelease(f.popup, Qt::LeftButton, {}, QPoint(-20, 10)); break;
            case Right: QTest::keyClick(f.popup, Qt::Key_Right); break;
            case Return: QTest::keyClick(f.popup, Qt::Key_Return); break;
            case Esc: QTest::keyClick(f.popup, Qt::Key_Escape); break;
            }
        }
        EXPECT_EQ(f.heard, k.heard) << k.acts.size() << " acts from " << Hex(k.initial);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        EXPECT_TRUE(f.popup.isNull()) << "the pop-up deletes itself when it has ended";
    }
}

TEST(ColourPopup, TooltipsNameTheColoursAndAPictureIsSaved)
{
    CPopupFixture f(0x8B0000);
    const struct {
        int box;
        const char* tip;
    } cases[] = {{0, "Black"}, {5, "Dark blue"}, {35, "Pale green "}, {39, "White"}};
    for (const auto& k : cases)
        EXPECT_EQ(f.popup->ToolTipAt(f.Box(k.box)).toStdString(), k.tip) << k.box;
    EXPECT_EQ(f.popup->ToolTipAt(f.CustomHalf()).toStdString(), "");
    EXPECT_EQ(f.popup->size(), QSize(148, f.popup->Logic().Window().Height()));

    QTest::mouseMove(f.popup, f.Box(6));
    const QImage image = f.popup->grab().toImage();
    image.save(QString::fromStdString(TestOutputDir() + "/colour-popup.png"));
    // Each swatch in its colour; the chosen box (Dark blue), no longer hot, on a lighter ground than the others.
    for (int box : {0, 5, 26, 39}) {
        const uint32_t colour = PopupColours()[static_cast<size_t>(box)].colour;
        EXPECT_EQ(GridFromQColor(image.pixelColor(f.Box(box))), colour) << box;
    }
    const QPoint corner5 = f.Box(5) - QPoint(7, 7), corner7 = f.Box(7) - QPoint(7, 7);
    EXPECT_EQ(image.pixelColor(corner5), f.popup->palette().color(QPalette::Light));
    EXPECT_EQ(image.pixelColor(corner7), f.popup->palette().color(QPalette::Button));
}
