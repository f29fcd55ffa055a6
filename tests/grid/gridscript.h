#pragma once
// A tiny language driving a CGridFixture, so that a case is one table row: commands split by ';'
// ("focus 2,2; key Down shift; state"), query answers joined by " | ". Cells are "row,col", points
// "x,y" or "@row,col"; a text is the rest of its command, blanks, tabs and line feeds included.

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

inline std::string At(CCellID c)
{
    return Nums(c.row) + "," + Nums(c.col);
}

inline std::string Range(const CCellRange& r)
{
    return At({r.minRow, r.minCol}) + "-" + At({r.maxRow, r.maxCol});
}

inline int Index(std::initializer_list<std::string> names, const std::string& name)
{
    return static_cast<int>(std::find(names.begin(), names.end(), name) - names.begin());
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

template <typename Items, typename F>
std::string Join(const Items& items, F f)
{
    std::string out;
    for (const auto& item : items)
        out += f(item);
    return out;
}

// One command of a script: its line and the words of it.
struct Words {
    std::string line;
    std::vector<std::string> w;

    int I(size_t i) const { return std::stoi(w.at(i)); }
    int R(size_t i) const { return Pair(w.at(i)).first; }
    int C(size_t i) const { return Pair(w.at(i)).second; }
    // The text after the first `words` words.
    std::string Rest(size_t words) const
    {
        size_t at = 0;
        for (size_t i = 0; i < words; ++i)
            at = line.find(' ', at) + 1;
        return line.substr(at);
    }
};

// Runs each command of the script through `queries` or `actions`; the answers joined by " | ".
template <typename Cmd, typename Make>
std::string Run(const std::string& script, Make make, const std::map<std::string, std::string (*)(Cmd&)>& queries,
                const std::map<std::string, void (*)(Cmd&)>& actions)
{
    std::string out;
    bool first = true;
    for (size_t start = 0; start < script.size();) {
        const size_t end = std::min(script.find(';', start), script.size());
        Cmd c = make(script.substr(start, end - start));
        start = end + 1;
        c.line.erase(0, c.line.find_first_not_of(' '));
        for (size_t at = 0; at < c.line.size();) {
            const size_t blank = std::min(c.line.find(' ', at), c.line.size());
            c.w.push_back(c.line.substr(at, blank - at));
            at = blank + 1;
        }
        if (c.w.empty())
            continue;
        if (const auto q = queries.find(c.w[0]); q != queries.end())
            out += (std::exchange(first, false) ? "" : " | ") + q->second(c);
        else if (const auto a = actions.find(c.w[0]); a != actions.end())
            a->second(c);
        else
            ADD_FAILURE() << "unknown script command " << c.w[0];
    }
    return out;
}

// A command on a CGridFixture.
struct Cmd : Words {
    CGridFixture& f;
    CGridCtrl& g;

    CGridCellBase* Cell(size_t i) const { return g.GetCell(R(i), C(i)); }
    unsigned Mods(size_t i) const
    {
        return w.size() <= i ? 0 : w[i] == "shift" ? GridModifier::Shift : GridModifier::Ctrl;
    }
    CGridPoint Point(size_t i) const
    {
        const auto [a, b] = Pair(w.at(i).substr(w[i][0] == '@'));
        return w[i][0] == '@' ? f.Centre(a, b) : CGridPoint{a, b};
    }
    CFakeEditor& Editor() const { return *f.view.LastEditor(); }
    // Whether `get` found the rectangle of cell word 1, and the rectangle.
    std::string Box(bool (CGridCtrl::*get)(int, int, CGridRect&))
    {
        CGridRect r;
        const bool on = (g.*get)(R(1), C(1), r);
        return Nums(on, r.left, r.top, r.right, r.bottom);
    }
    // Each word of `w` (from the second) passed to `step`, the answers joined by blanks.
    std::string Each(const std::function<std::string(const std::string&)>& step) const
    {
        std::string out;
        for (size_t i = 1; i < w.size(); ++i)
            out += (i > 1 ? " " : "") + step(w[i]);
        return out;
    }
};

using Query = std::string (*)(Cmd&);
using Action = void (*)(Cmd&);

// Each key ("+shift", "+ctrl"), then the focus, the top row when `top`, '!' when not handled.
inline std::string Keys(Cmd& c, bool top)
{
    return c.Each([&](const std::string& word) {
        const size_t plus = word.find('+');
        const unsigned m = plus == std::string::npos       ? 0
                           : word.substr(plus) == "+shift" ? GridModifier::Shift
                                                           : GridModifier::Ctrl;
        const bool handled = c.g.OnKeyDown(Key(word.substr(0, plus)), m);
        return At(c.g.GetFocusCell()) + (top ? "/" + Nums(c.g.GetTopleftNonFixedCell().row) : "") +
               (handled ? "" : "!");
    });
}

inline const std::map<std::string, Query>& Queries()
{
    static const std::map<std::string, Query> queries = {
        {"state", [](Cmd& c) { return c.f.State(); }},
        {"codes", [](Cmd& c) { return c.f.owner.Codes(); }},
        {"col", [](Cmd& c) { return c.f.Column(c.I(1)); }},
        {"top",
         [](Cmd& c) { return "top " + Nums(c.g.GetTopleftNonFixedCell().row, c.g.GetTopleftNonFixedCell().col); }},
        // "count: row,col key K" of the editors opened so far, the last one's request.
        {"editors",
         [](Cmd& c) {
             const CFakeEditor* e = c.f.view.LastEditor();
             return Nums(c.f.view.m_Editors.size()) +
                    (e ? ": " + At({e->m_Request.row, e->m_Request.col}) + " key " + Nums(e->m_Request.key) : "");
         }},
        {"clipboard", [](Cmd& c) { return c.f.view.m_Clipboard.value_or("none"); }},
        {"get", [](Cmd& c) { return c.g.GetItemText(c.R(1), c.C(1)); }},
        {"w", [](Cmd& c) { return "w" + Nums(c.g.GetColumnWidth(c.I(1))); }},
        {"h", [](Cmd& c) { return "h" + Nums(c.g.GetRowHeight(c.I(1))); }},
        {"keys", [](Cmd& c) { return Keys(c, false); }},
        {"keyst", [](Cmd& c) { return Keys(c, true); }},
        {"ft", [](Cmd& c) { return At(c.g.GetFocusCell()) + "/" + Nums(c.g.GetTopleftNonFixedCell().row); }},
        // The top row after each wheel turn.
        {"wheels",
         [](Cmd& c) {
             return c.Each([&](const std::string& delta) {
                 c.g.OnMouseWheel(std::stoi(delta));
                 return Nums(c.g.GetTopleftNonFixedCell().row);
             });
         }},
        {"hpos", [](Cmd& c) { return "h " + Nums(c.g.GetScrollPos(false)) + "/" + Nums(c.g.GetScrollLimit(false)); }},
        {"vis", [](Cmd& c) { return "vis " + Nums(c.g.IsCellVisible(c.R(1), c.C(1))); }},
        {"typed",
         [](Cmd& c) {
             return Join(c.Editor().m_Keys, [](unsigned k) { return Nums(k) + " "; }) + c.Editor().m_Request.text;
         }},
        {"cmds",
         [](Cmd& c) {
             return Join(c.f.owner.m_Commands, [](auto& p) { return Nums(p.first) + ":" + Nums(p.second) + " "; }) +
                    "taken " + Nums(c.f.view.m_FocusTaken, c.f.view.m_Capture);
         }},
        {"timers",
         [](Cmd& c) {
             return "timers" +
                    Join(c.f.view.m_Timers, [](auto& t) { return " " + Nums(t.first) + ":" + Nums(t.second); });
         }},
        {"mode", [](Cmd& c) { return "mode " + Nums(static_cast<int>(c.g.GetMouseMode())); }},
        {"n", [](Cmd& c) { return "n" + Nums(c.f.owner.Count(c.I(1))); }},
        {"sorted",
         [](Cmd& c) { return Nums(c.g.GetSortColumn()) + (c.g.GetSortAscending() ? "+ " : "- ") + c.f.Column(1); }},
        {"editing", [](Cmd& c) { return "editing " + Nums(c.Cell(1)->IsEditing()); }},
        {"modified",
         [](Cmd& c) {
             return "mod " + Nums(c.g.GetModified(), (c.g.GetItemState(c.R(1), c.C(1)) & GridState::Modified) != 0);
         }},
        {"copy", [](Cmd& c) { return c.g.CopyTextFromGrid().value_or("none"); }},
        {"can", [](Cmd& c) { return "can " + Nums(c.g.CanCopy(), c.g.CanCut(), c.g.CanPaste()); }},
        {"pastes", [](Cmd& c) { return "pastes " + Nums(c.Editor().m_Pastes); }},
        {"sorts", [](Cmd& c) { return Join(c.f.owner.m_Sorts, [](const std::string& s) { return s + ";"; }); }},
        {"requests",
         [](Cmd& c) { return Join(c.f.owner.m_EditRequests, [](const std::string& r) { return r + ";"; }); }},
        {"selected", [](Cmd& c) { return Join(c.g.GetSelectedCells(), [](auto& k) { return At(k.second) + " "; }); }},
        {"count", [](Cmd& c) { return "count " + Nums(c.g.GetSelectedCount()); }},
        // Table changes that say whether they were made.
        {"rows", [](Cmd& c) { return Nums(c.g.SetRowCount(c.I(1))); }},
        {"cols", [](Cmd& c) { return Nums(c.g.SetColumnCount(c.I(1))); }},
        {"insert", [](Cmd& c) { return Nums(c.g.InsertRow(c.Rest(2), c.I(1))); }},
        {"append", [](Cmd& c) { return Nums(c.g.InsertRow(c.Rest(1))); }},
        {"delete", [](Cmd& c) { return Nums(c.g.DeleteRow(c.I(1))); }},
        {"settext", [](Cmd& c) { return Nums(c.g.SetItemText(c.R(1), c.C(1), c.Rest(2))); }},
        {"autocol", [](Cmd& c) { return Nums(c.g.AutoSizeColumn(c.I(1), c.w.size() > 2 ? c.I(2) : 0)); }},
        {"autorow", [](Cmd& c) { return Nums(c.g.AutoSizeRow(c.I(1))); }},
        {"fixed", [](Cmd& c) { return "fixed " + Nums(c.g.GetFixedRowCount(), c.g.GetFixedColumnCount()); }},
        {"size", [](Cmd& c) { return "size " + Nums(c.g.GetRowCount(), c.g.GetColumnCount()); }},
        {"st", [](Cmd& c) { return "st" + Nums(c.g.GetItemState(c.R(1), c.C(1))); }},
        {"editable", [](Cmd& c) { return "editable " + Nums(c.g.IsCellEditable(c.R(1), c.C(1))); }},
        {"vpos", [](Cmd& c) { return "v " + Nums(c.g.GetScrollPos(true)); }},
        {"hit", [](Cmd& c) { return At(c.g.GetCellFromPt(c.Point(1))); }},
        {"rect", [](Cmd& c) { return c.Box(&CGridCtrl::GetCellRect); }},
        {"screen", [](Cmd& c) { return c.Box(&CGridCtrl::GetCellScreenRect); }},
        {"vmax", [](Cmd& c) { return "vmax " + Nums(c.f.view.m_VMax, c.f.view.m_HMax); }},
        {"ended", [](Cmd& c) { return "ended " + Nums(c.Editor().m_Ended, c.Editor().m_Abandoned); }},
        {"validate", [](Cmd& c) { return Nums(c.g.ValidateAndModifyCellContents(c.R(1), c.C(1), c.Rest(2))); }},
        {"range", [](Cmd& c) { return Range(c.g.GetSelectedCellRange()); }},
    };
    return queries;
}

inline const std::map<std::string, Action>& Actions()
{
    static const std::map<std::string, Action> actions = {
        {"focus", [](Cmd& c) { c.g.SetFocusCell(c.R(1), c.C(1)); }},
        {"sel", [](Cmd& c) { c.g.SetSelectedRange(c.R(1), c.C(1), c.R(2), c.C(2)); }},
        {"click", [](Cmd& c) { c.f.Click(c.R(1), c.C(1), c.Mods(2)); }},
        {"key", [](Cmd& c) { c.g.OnKeyDown(Key(c.w.at(1)), c.Mods(2)); }},
        {"char", [](Cmd& c) { c.g.OnChar(Key(c.w.at(1)), c.Mods(2)); }},
        {"edit",
         [](Cmd& c) {
             c.g.OnEditCell(c.R(1), c.C(1), CGridPoint{-1, -1}, Key(c.w.at(2)));
         }},
        {"finish", [](Cmd& c) { c.Editor().Finish(c.Rest(2), Key(c.w.at(1))); }},
        {"text", [](Cmd& c) { c.g.SetItemText(c.R(1), c.C(1), c.Rest(2)); }},
        {"rowh", [](Cmd& c) { c.g.SetRowHeight(c.I(1), c.I(2)); }},
        {"colw", [](Cmd& c) { c.g.SetColumnWidth(c.I(1), c.I(2)); }},
        {"ro",
         [](Cmd& c) { c.g.SetItemState(c.R(1), c.C(1), c.g.GetItemState(c.R(1), c.C(1)) | GridState::ReadOnly); }},
        {"reply", [](Cmd& c) { c.f.owner.m_Replies[c.I(1)] = c.I(2); }},
        {"clear", [](Cmd& c) { c.f.owner.Clear(); }},
        {"clip", [](Cmd& c) { c.f.view.m_Clipboard = c.Rest(1); }},
        {"wheel", [](Cmd& c) { c.g.OnMouseWheel(c.I(1)); }},
        {"sort", [](Cmd& c) { c.g.SortItems(c.I(1), c.w.at(2) == "+"); }},
        {"down", [](Cmd& c) { c.g.OnLButtonDown(c.Point(1), c.Mods(2)); }},
        {"move", [](Cmd& c) { c.g.OnMouseMove(c.Point(1), true); }},
        {"hover", [](Cmd& c) { c.g.OnMouseMove(c.Point(1), false); }},
        {"up", [](Cmd& c) { c.g.OnLButtonUp(c.Point(1)); }},
        {"dbl", [](Cmd& c) { c.g.OnLButtonDblClk(c.Point(1), c.Mods(2)); }},
        {"rup", [](Cmd& c) { c.g.OnRButtonUp(c.Point(1)); }},
        {"timer", [](Cmd& c) { c.g.OnTimer(CGridCtrl::kAutoScrollTimerId); }},
        {"pointer", [](Cmd& c) { c.f.view.m_Pointer = c.Point(1); }},
        {"scroll", [](Cmd& c) { c.g.SetScrollPos(c.w.at(1) == "v", c.I(2)); }},
        {"end", [](Cmd& c) { c.Editor().EndEdit(); }},
        {"client",
         [](Cmd& c) {
             c.f.view.m_Client = CGridSize{c.R(1), c.C(1)};
         }},
        {"pagewheel", [](Cmd& c) { c.g.SetWheelScrollLines(CGridCtrl::kWheelPageScroll); }},
        {"unmod", [](Cmd& c) { c.g.SetModified(false); }},
        {"noclip", [](Cmd& c) { c.f.view.m_Clipboard.reset(); }},
        {"noedit", [](Cmd& c) { c.g.SetEditable(false); }},
        {"reset", [](Cmd& c) { c.g.ResetSelectedRange(); }},
        {"paste", [](Cmd& c) { c.g.OnEditPaste(); }},
        {"cut", [](Cmd& c) { c.g.OnEditCut(); }},
        {"state0", [](Cmd& c) { c.g.SetItemState(c.R(1), c.C(1), 0); }},
        {"numeric",
         [](Cmd& c) {
             for (int row = c.g.GetFixedRowCount(); row < c.g.GetRowCount(); ++row)
                 c.g.GetCell(row, c.I(1))->SetNumeric(true);
         }},
        {"sortclick", [](Cmd& c) { c.g.SetSortOnClick(true); }},
        {"etext", [](Cmd& c) { c.Editor().m_Text = c.Rest(1); }},
        {"endedit", [](Cmd& c) { c.g.EndEditing(); }},
        // The owner's answer to one trigger.
        {"answer",
         [](Cmd& c) {
             const auto trigger = Index({"click", "dbl", "char", "F2", "next"}, c.w.at(1));
             c.f.owner.m_EditReplies[CGridEditTrigger(trigger)] =
                 CGridEditAction(Index({"text", "owner", "nothing"}, c.w.at(2)));
         }},
        {"flag", [](Cmd& c) { c.g.SetItemState(c.R(1), c.C(1), c.I(2)); }},
        {"merge", [](Cmd& c) { c.g.SetSelectedRange(c.R(1), c.C(1), c.R(2), c.C(2), false, false); }},
        {"ensure", [](Cmd& c) { c.g.EnsureVisible(c.R(1), c.C(1)); }},
        {"lines", [](Cmd& c) { c.g.ScrollLines(c.w.at(1) == "v", c.I(2)); }},
        {"all", [](Cmd& c) { c.g.OnEditSelectAll(); }},
        {"fixedrows", [](Cmd& c) { c.g.SetFixedRowCount(c.I(1)); }},
        {"fixedcols", [](Cmd& c) { c.g.SetFixedColumnCount(c.I(1)); }},
    };
    return actions;
}

inline std::string Play(CGridFixture& f, const std::string& script)
{
    return Run<Cmd>(
        script,
        [&](std::string line) {
            return Cmd{{std::move(line), {}}, f, f.grid};
        },
        Queries(), Actions());
}

struct Case {
    const char* script;
    std::string expected;
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
