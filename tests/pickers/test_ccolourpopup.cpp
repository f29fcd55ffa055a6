#include "pickers/ccolourpopup.h"

#include "grid/widget/gridqtconvert.h"
#include "grid/widgetfixture.h"
#include "support/testfiles.h"

#include <QColorDialog>
#include <QPointer>
#include <QTimer>

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

struct CPopupFixture : CAppFirst {
    QWidget owner;
    QPointer<CColourPopup> popup;
    std::vector<std::string> heard;

    explicit CPopupFixture(uint32_t initial)
    {
        owner.resize(300, 200);
        owner.show();
        popup = new CColourPopup(initial, &owner, true, QString(), QStringLiteral("Custom"), QPoint(40, 30));
        popup->SetTag(7);
        // The pointer starts on the pop-up's edge, on no box: a move is only
        // reported where the pointer was not already.
        QTest::mouseMove(popup, QPoint(0, 0));
        QObject::connect(popup, &CColourPopup::selChange, [this](uint32_t c) { heard.push_back("change " + Hex(c)); });
        QObject::connect(popup, &CColourPopup::selEndOK, [this](uint32_t c, int32_t tag) {
            heard.push_back("ok " + Hex(c) + " " + std::to_string(tag));
        });
        QObject::connect(popup, &CColourPopup::selEndCancel, [this](uint32_t c, int32_t tag) {
            heard.push_back("cancel " + Hex(c) + " " + std::to_string(tag));
        });
    }
    QPoint Box(int index) const { return Centre(popup->Logic().ColourBoxRect(index)); }
    // A click on the custom box, answered in the full colour dialog with a colour or cancel.
    void Custom(std::optional<QColor> answer)
    {
        QTimer::singleShot(0, [answer] {
            auto* dialog = qobject_cast<QColorDialog*>(QApplication::activeModalWidget());
            ASSERT_NE(dialog, nullptr);
            if (answer)
                dialog->setCurrentColor(*answer);
            answer ? dialog->accept() : dialog->reject();
        });
        QTest::mouseClick(popup, Qt::LeftButton, {}, Centre(popup->Logic().CustomHalf()));
    }
};

} // namespace

TEST(ColourPopup, PointerKeysAndEndings)
{
    enum Act { Move5, RightClick5, ClickTransparent, CustomOk, CustomCancel, UpOutside, Right, Return, Esc };
    const struct {
        uint32_t initial;
        std::vector<Act> acts;
        std::vector<std::string> heard;
    } cases[] = {
        {0x123456, {Move5, UpOutside}, {"change 8b0000", "cancel 123456 7"}},
        {0x123456, {RightClick5, Esc}, {"cancel 123456 7"}}, // only the left button chooses
        {0x123456, {ClickTransparent}, {"change 123456", "ok ffffffff 7"}},
        {0x123456, {CustomOk}, {"ok 20100 7"}},
        {0x123456, {CustomCancel}, {"cancel 123456 7"}},
        {0x8B0000, {Right, Return}, {"change 82004b", "ok 82004b 7"}},
    };
    for (const auto& k : cases) {
        CPopupFixture f(k.initial);
        for (Act a : k.acts) {
            switch (a) {
            case Move5: QTest::mouseMove(f.popup, f.Box(5)); break;
            case RightClick5: QTest::mouseClick(f.popup, Qt::RightButton, {}, f.Box(5)); break;
            case ClickTransparent:
                QTest::mouseClick(f.popup, Qt::LeftButton, {}, Centre(f.popup->Logic().TransparentHalf()));
                break;
            case CustomOk: f.Custom(QColor(0, 1, 2)); break;
            case CustomCancel: f.Custom(std::nullopt); break;
            case UpOutside: QTest::mouseRelease(f.popup, Qt::LeftButton, {}, QPoint(-20, 10)); break;
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
    EXPECT_EQ(f.popup->ToolTipAt(f.Box(5)).toStdString(), "Dark blue");
    EXPECT_EQ(f.popup->ToolTipAt(Centre(f.popup->Logic().CustomHalf())).toStdString(), "");

    QTest::mouseMove(f.popup, f.Box(6));
    const QImage image = f.popup->grab().toImage();
    image.save(QString::fromStdString(TestOutputDir() + "/colour-popup.png"));
    EXPECT_EQ(GridFromQColor(image.pixelColor(f.Box(26))), PopupColours()[26].colour);
}
