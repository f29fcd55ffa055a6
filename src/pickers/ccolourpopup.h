#pragma once
// The colour pop-up: a borderless palette of 40 named colours that opens at a
// point, follows the pointer and the arrow keys, and ends with a colour or a
// cancel. The rules live in CColourPopupLogic; this widget paints and forwards.

#include "pickers/core/ccolourpopuplogic.h"

#include <QWidget>

#include <cstdint>
#include <optional>

class CColourPopup : public QWidget {
    Q_OBJECT
public:
    // An empty text leaves its box out. The pop-up shows itself, takes the
    // pointer and the keyboard, and deletes itself when it has ended.
    CColourPopup(uint32_t colour, QWidget* owner, bool offerTransparent, const QString& defaultText,
                 const QString& customText, QPoint at);

    // Handed back with the result, so the owner knows what the colour is for.
    void SetTag(int32_t tag) { m_Tag = tag; }
    int32_t Tag() const { return m_Tag; }
    const CColourPopupLogic& Logic() const { return m_Logic; }
    // The box under a point of the pop-up, and its tooltip text.
    int BoxAt(QPoint client) const { return m_Logic.HitTest({client.x(), client.y()}); }
    QString ToolTipAt(QPoint client) const;

signals:
    void selChange(uint32_t colour);
    // 0xFFFFFFFF for transparent.
    void selEndOK(uint32_t colour, int32_t tag);
    void selEndCancel(uint32_t initialColour, int32_t tag);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    bool event(QEvent* event) override;

private:
    static CColourPopupLogic::Setup MakeSetup(uint32_t colour, QWidget* owner, bool offerTransparent,
                                              const QString& defaultText, const QString& customText, QPoint at,
                                              const QFont& font);
    void Moved(bool changed);
    void End(bool ok);
    // The full colour dialog, starting at the initial colour; nothing when cancelled.
    std::optional<uint32_t> AskCustomColour();
    void PaintBox(class QPainter& painter, const QRect& rect, bool hot, bool chosen);

    QString m_DefaultText;
    QString m_CustomText;
    QString m_TransparentText;
    CColourPopupLogic m_Logic;
    int32_t m_Tag = 0;
    bool m_Ended = false;
};
