#pragma once
// The script language of gridscript.h over a shown CGridWidget and real Qt events: "click 2,2;
// key Down shift; range". Keys go to the grid with "key", to the open editor with "ekey";
// points are "x,y" in the viewport or "@row,col" for a cell's centre.

#include "grid/gridscript.h"
#include "grid/widgetfixture.h"

#include <QClipboard>
#include <QScrollBar>
#include <QWheelEvent>

namespace widgetscript {

struct WCmd : gridscript::Words {
    CWidgetFixture& f;
    CGridCtrl& g;

    Qt::KeyboardModifiers Mods(size_t i) const
    {
        return w.size() <= i ? Qt::NoModifier : w[i] == "shift" ? Qt::ShiftModifier : Qt::ControlModifier;
    }
    QPoint Point(size_t i) const
    {
        const auto [a, b] = gridscript::Pair(w.at(i).substr(w[i][0] == '@'));
        return w[i][0] == '@' ? f.Centre(a, b) : QPoint(a, b);
    }
    Qt::Key Key(size_t i) const
    {
        static const std::map<std::string, Qt::Key> keys = {
            {"Down", Qt::Key_Down},           {"Up", Qt::Key_Up},         {"Left", Qt::Key_Left},
            {"Right", Qt::Key_Right},         {"Tab", Qt::Key_Tab},       {"Backtab", Qt::Key_Backtab},
            {"Return", Qt::Key_Return},       {"Esc", Qt::Key_Escape},    {"F2", Qt::Key_F2},
            {"Backspace", Qt::Key_Backspace}, {"Delete", Qt::Key_Delete}, {"Insert", Qt::Key_Insert}};
        const auto it = keys.find(w.at(i));
        return it != keys.end() ? it->second : Qt::Key(std::toupper(static_cast<unsigned char>(w[i][0])));
    }
    QWidget* Editor() const { return f.widget.Editor(); }
    // The top row and the vertical bar's value, or the left column and the horizontal bar's.
    std::string Where(bool vertical) const
    {
        const CCellID top = g.GetTopleftNonFixedCell();
        return vertical ? Nums(top.row, f.widget.verticalScrollBar()->value())
                        : Nums(top.col, f.widget.horizontalScrollBar()->value());
    }
};

inline void Wheel(QWidget* viewport, int delta)
{
    QWheelEvent event(QPointF(100, 100), viewport->mapToGlobal(QPointF(100, 100)), QPoint(), QPoint(0, delta),
                      Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(viewport, &event);
}

inline std::string Play(CWidgetFixture& f, const std::string& script)
{
    using Q = std::string (*)(WCmd&);
    using A = void (*)(WCmd&);
    static const std::map<std::string, Q> queries = {
        {"range", [](WCmd& c) { return gridscript::Range(c.g.GetSelectedCellRange()); }},
        {"count", [](WCmd& c) { return "count " + Nums(c.g.GetSelectedCount()); }},
        {"focus", [](WCmd& c) { return "focus " + gridscript::At(c.g.GetFocusCell()); }},
        {"get", [](WCmd& c) { return c.g.GetItemText(c.R(1), c.C(1)); }},
        {"clip", [](WCmd&) { return QGuiApplication::clipboard()->text().toStdString(); }},
        {"hasfocus", [](WCmd& c) { return "has focus " + Nums(c.f.widget.hasFocus()); }},
        // The open editor's text, caret, selection, whether arrows leave it, and its cell.
        {"editor",
         [](WCmd& c) {
             const CInPlaceEdit* e = c.f.widget.Editor();
             return e ? e->text().toStdString() + " " +
                            Nums(e->cursorPosition(), e->hasSelectedText(), e->ExitOnArrows(), e->Row(), e->Col())
                      : "no editor";
         }},
        {"selected", [](WCmd& c) { return c.f.widget.Editor()->selectedText().toStdString(); }},
        {"where", [](WCmd& c) { return c.Where(true); }},
        // Clicks on the arrows of the scroll bar, "v" or "h", "+" or "-": where after each.
        {"step",
         [](WCmd& c) {
             QScrollBar* bar = c.w.at(1) == "v" ? c.f.widget.verticalScrollBar() : c.f.widget.horizontalScrollBar();
             std::string out;
             for (int i = 0; i < c.I(3); ++i) {
                 bar->triggerAction(c.w.at(2) == "+" ? QAbstractSlider::SliderSingleStepAdd
                                                     : QAbstractSlider::SliderSingleStepSub);
                 out += (i ? " " : "") + c.Where(c.w[1] == "v");
             }
             return out;
         }},
        {"codes", [](WCmd& c) { return c.f.owner.Codes(); }},
    };
    static const std::map<std::string, A> actions = {
        {"click", [](WCmd& c) { c.f.Click(c.R(1), c.C(1), c.Mods(2)); }},
        {"press", [](WCmd& c) { QTest::mousePress(c.f.Viewport(), Qt::LeftButton, c.Mods(2), c.Point(1)); }},
        {"move", [](WCmd& c) { QTest::mouseMove(c.f.Viewport(), c.Point(1)); }},
        {"release", [](WCmd& c) { QTest::mouseRelease(c.f.Viewport(), Qt::LeftButton, c.Mods(2), c.Point(1)); }},
        {"dclick", [](WCmd& c) { QTest::mouseDClick(c.f.Viewport(), Qt::LeftButton, {}, c.Point(1)); }},
        {"key", [](WCmd& c) { QTest::keyClick(&c.f.widget, c.Key(1), c.Mods(2)); }},
        {"ekey", [](WCmd& c) { QTest::keyClick(c.Editor(), c.Key(1), c.Mods(2)); }},
        {"type", [](WCmd& c) { QTest::keyClicks(c.Editor(), QString::fromStdString(c.Rest(1))); }},
        {"setclip", [](WCmd& c) { QGuiApplication::clipboard()->setText(QString::fromStdString(c.Rest(1))); }},
        {"text", [](WCmd& c) { c.g.SetItemText(c.R(1), c.C(1), c.Rest(2)); }},
        {"sel", [](WCmd& c) { c.g.SetSelectedRange(c.R(1), c.C(1), c.R(2), c.C(2)); }},
        {"settle", [](WCmd&) { CWidgetFixture::Settle(); }},
        {"events", [](WCmd&) { QApplication::processEvents(); }},
        {"clear", [](WCmd& c) { c.f.owner.Clear(); }},
        {"rows", [](WCmd& c) { c.g.SetRowCount(c.I(1)); }},
        {"setbar", [](WCmd& c) { c.f.widget.verticalScrollBar()->setValue(c.I(1)); }},
        {"cols", [](WCmd& c) { c.g.SetColumnCount(c.I(1)); }},
        {"wheel", [](WCmd& c) { Wheel(c.f.Viewport(), c.I(1)); }},
    };
    return gridscript::Run<WCmd>(
        script,
        [&](std::string line) {
            return WCmd{{std::move(line), {}}, f, f.widget.Grid()};
        },
        queries, actions);
}

} // namespace widgetscript
