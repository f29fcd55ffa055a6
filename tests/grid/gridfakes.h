#pragma once
// Stand-ins for the window system and the owner, so the grid runs headless.

#include "grid/cgridctrl.h"

#include <algorithm>
#include <map>
#include <memory>
#include <optional>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

// The numbers separated by blanks, to compare several results at once.
template <typename... T>
std::string Nums(T... values)
{
    std::string all;
    ((all += (all.empty() ? "" : " ") + std::to_string(values)), ...);
    return all;
}

inline void PrintTo(const CCellID& c, std::ostream* os)
{
    *os << "(" << Nums(c.row, c.col) << ")";
}

// An open editor that keeps a text; EndEdit reports it like the real box does.
class CFakeEditor : public CGridInPlaceEditor {
public:
    CFakeEditor(CGridCtrl& grid, const CGridEditRequest& request)
        : m_Grid(grid), m_Request(request), m_Text(request.text)
    {
    }
    void SendKey(unsigned key) override { m_Keys.push_back(key); }
    void Paste() override { ++m_Pastes; }
    void EndEdit() override { Finish(m_Text, GridKey::Return); }
    void Abandon() override { m_Ended = m_Abandoned = true; }
    void Finish(const std::string& text, unsigned key, unsigned modifiers = 0)
    {
        if (!std::exchange(m_Ended, true))
            m_Grid.OnEndInPlaceEdit(m_Request.row, m_Request.col, text, key, modifiers);
    }

    CGridCtrl& m_Grid;
    CGridEditRequest m_Request;
    std::string m_Text;
    std::vector<unsigned> m_Keys;
    int m_Pastes = 0;
    bool m_Ended = false, m_Abandoned = false;
};

class CFakeGridView : public CGridView {
public:
    explicit CFakeGridView(CGridCtrl& grid, CGridSize client = {400, 300}) : m_Grid(grid), m_Client(client) {}

    CGridSize ClientSize() const override { return m_Client; }
    void SetScrollBars(int hMax, int, int, int vMax, int, int) override { m_HMax = hMax, m_VMax = vMax; }
    void InvalidateAll() override {}
    void InvalidateRect(const CGridRect&) override {}
    void UpdateNow() override {}
    void SetPointerCapture(bool capture) override { m_Capture = capture; }
    bool HasPointerCapture() const override { return m_Capture; }
    CGridPoint PointerPosition() const override { return m_Pointer; }
    void SetCursorShape(CGridCursor) override {}
    void TakeFocus() override { ++m_FocusTaken; }
    // The client area sits at (1000, 700) on the screen.
    CGridPoint MapToGlobal(CGridPoint p) const override { return {p.x + 1000, p.y + 700}; }
    void ShowSizingLine(std::optional<CGridRect>) override {}
    void StartTimer(int id, int ms) override { m_Timers[id] = ms; }
    void StopTimer(int id) override { m_Timers.erase(id); }
    std::optional<std::string> ClipboardText() override { return m_Clipboard; }
    void SetClipboardText(const std::string& text) override { m_Clipboard = text; }
    // Seven pixels a byte, fourteen high: easy to work out by hand.
    std::optional<CGridSize> MeasureText(const CGridFont&, const std::string& text) override
    {
        return CGridSize{static_cast<int>(text.size()) * 7, 14};
    }
    CGridFont MessageFont() const override { return m_Font; }
    CGridSystemColours SystemColours() const override { return {}; }
    CGridInPlaceEditor* CreateInPlaceEdit(const CGridEditRequest& request) override
    {
        return m_Editors.emplace_back(std::make_unique<CFakeEditor>(m_Grid, request)).get();
    }
    CFakeEditor* LastEditor() { return m_Editors.empty() ? nullptr : m_Editors.back().get(); }

    CGridCtrl& m_Grid;
    CGridSize m_Client;
    CGridFont m_Font{.faceName = "Test Sans"};
    int m_HMax = 0, m_VMax = 0, m_FocusTaken = 0;
    bool m_Capture = false;
    CGridPoint m_Pointer;
    std::map<int, int> m_Timers;
    std::optional<std::string> m_Clipboard;
    std::vector<std::unique_ptr<CFakeEditor>> m_Editors;
};

// Records notifications and answers them from a table (0 when not listed).
class CRecordingOwner : public CGridOwner {
public:
    int OnGridNotify(const CGridNotification& n) override
    {
        m_Log.push_back(n);
        const auto it = m_Replies.find(n.code);
        return it == m_Replies.end() ? 0 : it->second;
    }
    void OnGridCommand(int controlId, int code) override { m_Commands.push_back({controlId, code}); }
    // With a grid, also the first data row's text: the owner reads the rows in their new order.
    void OnGridSorted(int controlId, int column, bool ascending) override
    {
        m_Sorts.push_back(std::to_string(controlId) + ":" + std::to_string(column) + (ascending ? "+" : "-") +
                          (m_Grid ? " " + m_Grid->GetItemText(1, column) : ""));
    }
    // Logs "row,col trigger #character"; answers from m_EditReplies (text editor when not listed).
    CGridEditAction OnGridEditRequest(int, int row, int col, CGridEditTrigger trigger, unsigned character) override
    {
        static const char* const names[] = {"click", "double click", "character", "F2", "next cell"};
        m_EditRequests.push_back(std::to_string(row) + "," + std::to_string(col) + " " +
                                 names[static_cast<int>(trigger)] + " #" + std::to_string(character));
        const auto it = m_EditReplies.find(trigger);
        return it == m_EditReplies.end() ? CGridEditAction::TextEditor : it->second;
    }
    // "code@row,col" for each notification, text appended after '=' when sent, separated by blanks.
    std::string Codes() const
    {
        std::string out;
        for (const auto& n : m_Log)
            out += (out.empty() ? "" : " ") + std::to_string(n.code) + "@" + std::to_string(n.row) + "," +
                   std::to_string(n.col) + (n.hasText ? "=" + n.text : "");
        return out;
    }
    int Count(int code) const
    {
        return static_cast<int>(std::count_if(m_Log.begin(), m_Log.end(), [code](auto& n) { return n.code == code; }));
    }
    void Clear() { m_Log.clear(), m_Commands.clear(); }

    std::vector<CGridNotification> m_Log;
    std::map<int, int> m_Replies;
    std::vector<std::pair<int, int>> m_Commands;
    std::vector<std::string> m_Sorts, m_EditRequests;
    std::map<CGridEditTrigger, CGridEditAction> m_EditReplies;
    CGridCtrl* m_Grid = nullptr;
};

// Records drawing calls as text lines: rectangles "l,t,r,b", colours "#hex", points "x,y".
class CRecordingPainter : public CGridPainter {
public:
    void FillRect(const CGridRect& r, uint32_t colour) override { Add("fill " + Rect(r) + " " + Colour(colour)); }
    void FrameRect(const CGridRect& r, uint32_t colour) override { Add("frame " + Rect(r) + " " + Colour(colour)); }
    void DrawLine(int x1, int y1, int x2, int y2, uint32_t colour) override
    {
        Add("line " + Point({x1, y1}) + "-" + Point({x2, y2}) + " " + Colour(colour));
    }
    void DrawText(const CGridRect& r, const std::string& text, uint32_t format, uint32_t colour,
                  const CGridFont& font) override
    {
        Add("text '" + text + "' " + Rect(r) + " f" + Colour(format).substr(1) + " " + Colour(colour) + " " +
            font.faceName);
        m_Texts.push_back(text);
    }
    CGridSize TextExtent(const CGridFont&, const std::string& text) override
    {
        return {static_cast<int>(text.size()) * 7, 14};
    }
    void FillPattern(const CGridRect& r, const CGridBitmap& pattern, uint32_t fg, std::optional<uint32_t> bg) override
    {
        Add("pattern " + Rect(r) + " " + std::to_string(pattern.Width()) + "x" + std::to_string(pattern.Height()) +
            " " + Colour(fg) + " " + (bg ? Colour(*bg) : "none"));
    }
    void DrawPolyline(const std::vector<CGridPoint>& points, int width, uint32_t colour) override
    {
        Add("polyline w" + std::to_string(width) + " " + Colour(colour) + Points(points));
    }
    void FillPolygon(const std::vector<CGridPoint>& points, uint32_t fill, std::optional<uint32_t> outline) override
    {
        Add("polygon " + Colour(fill) + " " + (outline ? Colour(*outline) : "none") + Points(points));
    }
    void PushClip(const CGridRect& r) override { Add("clip " + Rect(r)); }
    void PopClip() override { Add("unclip"); }

    int CountPrefix(const std::string& prefix) const
    {
        auto starts = [&](const std::string& op) { return op.rfind(prefix, 0) == 0; };
        return static_cast<int>(std::count_if(m_Ops.begin(), m_Ops.end(), starts));
    }

    std::vector<std::string> m_Ops, m_Texts;

private:
    void Add(const std::string& op) { m_Ops.push_back(op); }
    static std::string Point(CGridPoint p) { return std::to_string(p.x) + "," + std::to_string(p.y); }
    static std::string Rect(const CGridRect& r) { return Point({r.left, r.top}) + "," + Point({r.right, r.bottom}); }
    static std::string Colour(uint32_t colour) { return (std::ostringstream() << "#" << std::hex << colour).str(); }
    static std::string Points(const std::vector<CGridPoint>& points)
    {
        std::string out;
        for (const CGridPoint& p : points)
            out += " " + Point(p);
        return out;
    }
};

// (1 + rows) x (1 + cols) with one fixed row and column, cells width x height, texts "r<row>c<col>".
inline void FillGrid(CGridCtrl& grid, int rows, int cols, int width, int height)
{
    grid.SetRowCount(rows + 1);
    grid.SetColumnCount(cols + 1);
    grid.SetFixedRowCount(1);
    grid.SetFixedColumnCount(1);
    for (int r = 0; r <= rows; ++r) {
        grid.SetRowHeight(r, height);
        for (int c = 0; c <= cols; ++c)
            grid.SetItemText(r, c, "r" + std::to_string(r) + "c" + std::to_string(c));
    }
    for (int c = 0; c <= cols; ++c)
        grid.SetColumnWidth(c, width);
}

// FillGrid's grid with cells of 50 x 20 on a fake view; with rows < 0 an empty grid.
struct CGridFixture {
    CGridCtrl grid;
    CFakeGridView view{grid};
    CRecordingOwner owner;

    explicit CGridFixture(int rows = 10, int cols = 5, CGridSize client = {400, 300})
    {
        view.m_Client = client;
        grid.SetView(&view);
        grid.SetOwner(&owner);
        owner.m_Grid = &grid;
        grid.SetControlId(1008);
        if (rows < 0)
            return;
        FillGrid(grid, rows, cols, 50, 20);
        grid.ResetScrollBars();
    }
    // The centre of a cell in client coordinates, at the current scroll position.
    CGridPoint Centre(int row, int col)
    {
        CGridRect r;
        grid.GetCellRect(row, col, r);
        return {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
    }
    void Click(int row, int col, unsigned modifiers = 0)
    {
        const CGridPoint p = Centre(row, col);
        grid.OnLButtonDown(p, modifiers);
        grid.OnLButtonUp(p);
    }
    // The texts of the non-fixed rows of a column, each followed by a blank.
    std::string Column(int col) const
    {
        std::string out;
        for (int row = grid.GetFixedRowCount(); row < grid.GetRowCount(); ++row)
            out += grid.GetItemText(row, col) + " ";
        return out;
    }
    // "focus row,col sel minRow,minCol-maxRow,maxCol/count": where the user is.
    std::string State() const
    {
        const CCellID focus = grid.GetFocusCell();
        const CCellRange s = grid.GetSelectedCellRange();
        auto n = [](int v) { return std::to_string(v); };
        return "focus " + n(focus.row) + "," + n(focus.col) + " sel " + n(s.minRow) + "," + n(s.minCol) + "-" +
               n(s.maxRow) + "," + n(s.maxCol) + "/" + n(grid.GetSelectedCount());
    }
};
