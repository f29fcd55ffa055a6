#pragma once
// A tiny language for driving a CGridFixture, so that a test case is one row of a table:
// actions and queries separated by ';', e.g. "focus 2,2; key Down shift; state; codes".
// Each query's answer is joined to the result with " | ". Cells are "row,col", points
// "x,y" or "@row,col" for a cell's centre; modifiers follow as "shift" or "ctrl". A text is
// the rest of its command after one blank, so it may hold blanks, tabs and line feeds.

#include "grid/gridfakes.h"

#include <gtest/gtest.h>

#include <functional>
#include <initializer_list>

namespace gridscript {

inline std::pair<int, int> Pair(const std::string& s)
{
    const size_t comma = s.find(',');
    return {std::stoi(s.substr(0, comma)), std::stoi(s.substr(comma + 1))};
}

inline unsigned Key(const std::string& name)
{
    static const std::map<std::string, unsigned> keys = {
        {"Down", GridKey::Down},     {"Up", GridKey::Up},         {"Left", GridKey::Left},
        {"Right", GridKey::Right},   {"Tab", GridKey::Tab},       {"Home", GridKey::Home},
        {"End", GridKey::End},       {"PageUp", GridKey::PageUp}, {"PageDown", GridKey::PageDown},
        {"Delete", GridKey::Delete}, {"Insert", GridKey::Insert}, {"F2", GridKey::F2},
        {"Return", GridKey::Return}, {"Esc", GridKey::Escape},    {"Mouse", GridKey::MouseStart}};
    const auto it = keys.find(name);
    return it != keys.end() ? it->second : static_cast<unsigned char>(name.at(0));
}

// "count: row,col key K" of the editors opened so far, the last one's request.
inline std::string Editors(CGridFixture& f)
{
    const CFakeEditor* e = f.view.LastEditor();
    return std::to_string(f.view.m_Editors.size()) +
           (e ? ": " + Nums(e->m_Request.row) + "," + Nums(e->m_Request.col) + " key " +
                    Nums(e->m_Request.key)
              : "");
}

// Runs the script and returns the answers of its queries.
inline std::string Play(CGridFixture& f, const std::string& script)
{
    CGridCtrl& g = f.grid;
    std::string out;
    bool first = true;
    size_t start = 0;
    while (start < script.size()) {
        size_t end = script.find(';', start);
        if (end == std::string::npos)
            end = script.size();
        std::string line = script.substr(start, end - start);
        start = end + 1;
        line.erase(0, line.find_first_not_of(' '));
        std::vector<std::string> w;
        for (size_t at = 0; at < line.size();) {
            const size_t blank = std::min(line.find(' ', at), line.size());
            w.push_back(line.substr(at, blank - at));
            at = blank + 1;
        }
        if (w.empty())
            continue;
        const std::string& op = w[0];
        auto rest = [&](size_t words) {
            size_t at = 0;
            for (size_t i = 0; i < words; ++i)
                at = line.find(' ', at) + 1;
            return line.substr(at);
        };
        auto mods = [&](size_t i) -> unsigned {
            return w.size() <= i ? 0 : w[i] == "shift" ? GridModifier::Shift : GridModifier::Ctrl;
        };
        auto point = [&](size_t i) {
            const auto [a, b] = Pair(w.at(i).substr(w[i][0] == '@'));
            return w[i][0] == '@' ? f.Centre(a, b) : CGridPoint{a, b};
        };
        auto cell = [&](size_t i) { return Pair(w.at(i)); };
        std::string answer;
        bool query = true;
        if (op == "state")
            answer = f.State();
        else if (op == "codes")
            answer = f.owner.Codes();
        else if (op == "col")
            answer = f.Column(std::stoi(w.at(1)));
        else if (op == "top")
            answer = "top " + Nums(g.GetTopleftNonFixedCell().row, g.GetTopleftNonFixedCell().col);
        else if (op == "editors")
            answer = Editors(f);
        else if (op == "clipboard")
            answer = f.view.m_Clipboard.value_or("none");
        else if (op == "get")
            answer = g.GetItemText(cell(1).first, cell(1).second);
        else if (op == "w")
            answer = "w" + Nums(g.GetColumnWidth(std::stoi(w.at(1))));
        else if (op == "h")
            answer = "h" + Nums(g.GetRowHeight(std::stoi(w.at(1))));
        else if (op == "keys" || op == "keyst") {
            // Each key (with "+shift" or "+ctrl"), then the focus, the top row for keyst, and
            // '!' when the grid did not handle the key.
            for (size_t i = 1; i < w.size(); ++i) {
                const size_t plus = w[i].find('+');
                const unsigned m = plus == std::string::npos       ? 0
                                   : w[i].substr(plus) == "+shift" ? GridModifier::Shift
                                                                   : GridModifier::Ctrl;
                const bool handled = g.OnKeyDown(Key(w[i].substr(0, plus)), m);
                answer += (i > 1 ? " " : "") + Nums(g.GetFocusCell().row) + "," +
                          Nums(g.GetFocusCell().col) +
                          (op == "keyst" ? "/" + Nums(g.GetTopleftNonFixedCell().row) : "") +
                          (handled ? "" : "!");
            }
        } else if (op == "ft")
            answer = Nums(g.GetFocusCell().row) + "," + Nums(g.GetFocusCell().col) + "/" +
                     Nums(g.GetTopleftNonFixedCell().row);
        else if (op == "wheels") {
            // The top row after each wheel turn.
            for (size_t i = 1; i < w.size(); ++i) {
                g.OnMouseWheel(std::stoi(w[i]));
                answer += (i > 1 ? " " : "") + Nums(g.GetTopleftNonFixedCell().row);
            }
        } else if (op == "hpos")
            answer = "h " + Nums(g.GetScrollPos(false)) + "/" + Nums(g.GetScrollLimit(false));
        else if (op == "vis")
            answer = "vis " + Nums(g.IsCellVisible(cell(1).first, cell(1).second));
        else if (op == "typed") {
            for (unsigned k : f.view.LastEditor()->m_Keys)
                answer += Nums(k) + " ";
            answer += f.view.LastEditor()->m_Request.text;
        } else if (op == "cmds") {
            for (const auto& [id, code] : f.owner.m_Commands)
                answer += Nums(id) + ":" + Nums(code) + " ";
            answer += "taken " + Nums(f.view.m_FocusTaken, f.view.m_Capture);
        } else if (op == "timers") {
            answer = "timers";
            for (const auto& [id, ms] : f.view.m_Timers)
                answer += " " + Nums(id) + ":" + Nums(ms);
        } else if (op == "mode")
            answer = "mode " + Nums(static_cast<int>(g.GetMouseMode()));
        else if (op == "sizing") {
            const auto& l = f.view.m_SizingLine;
            answer = "mode " + Nums(static_cast<int>(g.GetMouseMode())) + " cursor " +
                     Nums(static_cast<int>(f.view.m_Cursor)) +
                     (l ? " line " + Nums(l->left, l->top, l->right, l->bottom) : " no line");
        } else if (op == "n")
            answer = "n" + Nums(f.owner.Count(std::stoi(w.at(1))));
        else if (op == "sorted")
            answer = Nums(g.GetSortColumn()) + (g.GetSortAscending() ? "+ " : "- ") + f.Column(1);
        else if (op == "request") {
            const CGridEditRequest& r = f.view.LastEditor()->m_Request;
            answer = Nums(r.controlId, r.rect.left, r.rect.top, r.rect.right, r.rect.bottom,
                          static_cast<int>(r.align)) +
                     " " + r.text;
        } else if (op == "editing")
            answer = "editing " + Nums(g.GetCell(cell(1).first, cell(1).second)->IsEditing());
        else if (op == "modified")
            answer = "mod " + Nums(g.GetModified(), (g.GetItemState(cell(1).first, cell(1).second) &
                                                     GridState::Modified) != 0);
        else if (op == "copy")
            answer = g.CopyTextFromGrid().value_or("none");
        else if (op == "can")
            answer = "can " + Nums(g.CanCopy(), g.CanCut(), g.CanPaste());
        else if (op == "pastes")
            answer = "pastes " + Nums(f.view.LastEditor()->m_Pastes);
        else if (op == "requests") {
            for (const std::string& r : f.owner.m_EditRequests)
                answer += r + ";";
        } else if (op == "selected") {
            for (const CCellID& c : f.Selected())
                answer += Nums(c.row) + "," + Nums(c.col) + " ";
        } else if (op == "count")
            answer = "count " + Nums(g.GetSelectedCount());
        else if (op == "range") {
            const CCellRange r = g.GetSelectedCellRange();
            answer =
                Nums(r.minRow) + "," + Nums(r.minCol) + "-" + Nums(r.maxRow) + "," + Nums(r.maxCol);
        } else {
            query = false;
            if (op == "focus")
                g.SetFocusCell(cell(1).first, cell(1).second);
            else if (op == "sel")
                g.SetSelectedRange(cell(1).first, cell(1).second, cell(2).first, cell(2).second);
            else if (op == "click")
                f.Click(cell(1).first, cell(1).second, mods(2));
            else if (op == "key")
                g.OnKeyDown(Key(w.at(1)), mods(2));
            else if (op == "char")
                g.OnChar(Key(w.at(1)), mods(2));
            else if (op == "edit")
                f.Edit(cell(1).first, cell(1).second, Key(w.at(2)));
            else if (op == "finish")
                f.view.LastEditor()->Finish(rest(2), Key(w.at(1)));
            else if (op == "text")
                g.SetItemText(cell(1).first, cell(1).second, rest(2));
            else if (op == "rowh")
                g.SetRowHeight(std::stoi(w.at(1)), std::stoi(w.at(2)));
            else if (op == "colw")
                g.SetColumnWidth(std::stoi(w.at(1)), std::stoi(w.at(2)));
            else if (op == "ro")
                f.ReadOnly(cell(1).first, cell(1).second);
            else if (op == "reply")
                f.owner.m_Replies[std::stoi(w.at(1))] = std::stoi(w.at(2));
            else if (op == "clear")
                f.owner.Clear();
            else if (op == "clip")
                f.view.m_Clipboard = rest(1);
            else if (op == "wheel")
                g.OnMouseWheel(std::stoi(w.at(1)));
            else if (op == "sort")
                g.SortItems(std::stoi(w.at(1)), w.at(2) == "+");
            else if (op == "down")
                g.OnLButtonDown(point(1), mods(2));
            else if (op == "move")
                g.OnMouseMove(point(1), true);
            else if (op == "hover")
                g.OnMouseMove(point(1), false);
            else if (op == "up")
                g.OnLButtonUp(point(1));
            else if (op == "dbl")
                g.OnLButtonDblClk(point(1), mods(2));
            else if (op == "rup")
                g.OnRButtonUp(point(1));
            else if (op == "timer")
                g.OnTimer(CGridCtrl::kAutoScrollTimerId);
            else if (op == "pointer")
                f.view.m_Pointer = point(1);
            else if (op == "scroll")
                g.SetScrollPos(w.at(1) == "v", std::stoi(w.at(2)));
            else if (op == "list")
                g.SetListMode(true);
            else if (op == "notab")
                g.SetHandleTabKey(false);
            else if (op == "end")
                f.view.LastEditor()->EndEdit();
            else if (op == "nofixedsel")
                g.SetFixedRowSelection(false), g.SetFixedColumnSelection(false);
            else if (op == "unhide")
                g.EnableHiddenColUnhide(w.at(1) == "on");
            else if (op == "norowresize")
                g.SetRowResize(false);
            else if (op == "client")
                f.view.m_Client = {Pair(w.at(1)).first, Pair(w.at(1)).second};
            else if (op == "format")
                g.SetItemFormat(cell(1).first, cell(1).second,
                                GridText::Right | GridText::SingleLine);
            else if (op == "pagewheel")
                g.SetWheelScrollLines(CGridCtrl::kWheelPageScroll);
            else if (op == "unmod")
                g.SetModified(false);
            else if (op == "pastetab")
                g.SetPasteTabOnly(1);
            else if (op == "noclip")
                f.view.m_Clipboard.reset();
            else if (op == "noedit")
                g.SetEditable(false);
            else if (op == "reset")
                g.ResetSelectedRange();
            else if (op == "paste")
                g.OnEditPaste();
            else if (op == "cut")
                g.OnEditCut();
            else if (op == "state0")
                g.SetItemState(cell(1).first, cell(1).second, 0);
            else if (op == "numeric") {
                for (int row = g.GetFixedRowCount(); row < g.GetRowCount(); ++row)
                    g.GetCell(row, std::stoi(w.at(1)))->SetNumeric(true);
            } else if (op == "sortclick")
                g.SetSortOnClick(true);
            else
                ADD_FAILURE() << "unknown script command " << op;
        }
        if (query)
            out += (std::exchange(first, false) ? "" : " | ") + answer;
    }
    return out;
}

struct Case {
    const char* script;
    const char* expected;
};

// Runs each script on a fresh grid of (1 + rows) x (1 + cols), prepared by `setup` when given.
inline void Check(int rows, int cols, CGridSize client, std::initializer_list<Case> cases,
                  const std::function<void(CGridFixture&)>& setup = {})
{
    for (const Case& c : cases) {
        CGridFixture f(rows, cols, client);
        if (setup)
            setup(f);
        EXPECT_EQ(Play(f, c.script), c.expected) << c.script;
    }
}

} // namespace gridscript
