#pragma once
// The grid control on screen: paints CGridCtrl through a QPainter, forwards
// input to it, and supplies what it needs of the window system.

#include "grid/cgridctrl.h"
#include "grid/cgridview.h"

#include <QAbstractScrollArea>
#include <QPointer>
#include <QTimer>

#include <memory>
#include <optional>

class CInPlaceEdit;

class CGridWidget : public QAbstractScrollArea, public CGridView {
public:
    // Shows the given grid, or a plain CGridCtrl when none is passed.
    explicit CGridWidget(QWidget* parent = nullptr, std::unique_ptr<CGridCtrl> grid = nullptr);
    ~CGridWidget() override;

    CGridCtrl& Grid() { return *m_grid; }
    const CGridCtrl& Grid() const { return *m_grid; }
    // The open in-place editor, if any.
    CInPlaceEdit* Editor() const;

    // CGridView
    CGridSize ClientSize() const override;
    void SetScrollBars(int hMax, int hPage, int hPos, int vMax, int vPage, int vPos) override;
    void InvalidateAll() override;
    void InvalidateRect(const CGridRect& rect) override;
    void UpdateNow() override;
    void SetPointerCapture(bool capture) override { m_capture = capture; }
    bool HasPointerCapture() const override { return m_capture; }
    CGridPoint PointerPosition() const override;
    void SetCursorShape(CGridCursor cursor) override;
    void TakeFocus() override;
    CGridPoint MapToGlobal(CGridPoint point) const override;
    void ShowSizingLine(std::optional<CGridRect> line) override;
    void StartTimer(int id, int milliseconds) override;
    void StopTimer(int id) override;
    std::optional<std::string> ClipboardText() override;
    void SetClipboardText(const std::string& text) override;
    std::optional<CGridSize> MeasureText(const CGridFont& font, const std::string& text) override;
    CGridFont MessageFont() const override;
    CGridSystemColours SystemColours() const override;
    CGridInPlaceEditor* CreateInPlaceEdit(const CGridEditRequest& request) override;

    QSize sizeHint() const override;

protected:
    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    static CGridPoint Point(const QMouseEvent* event);

    std::unique_ptr<CGridCtrl> m_grid;
    QTimer m_autoScrollTimer;
    QPointer<QObject> m_editor;
    std::optional<QRect> m_sizingLine;
    bool m_capture = false;
    bool m_settingScrollBars = false;
    bool m_busyCursor = false;
};
