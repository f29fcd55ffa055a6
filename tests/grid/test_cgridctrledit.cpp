// The editing protocol, the validated change, clipboard text and sorting.

#include "grid/gridfakes.h"

#include <gtest/gtest.h>

#include <functional>

namespace {

using Codes = std::vector<std::string>;

// "count: row,col key K" of the editors opened so far, the last one's request.
std::string Editors(CGridFixture& f)
{
    const CFakeEditor* e = f.view.LastEditor();
    return std::to_string(f.view.m_Editors.size()) +
           (e ? ": " + Nums(e->m_Request.row) + "," + Nums(e->m_Request.col) + " key " + Nums(e->m_Request.key) : "");
}

// Accepts only texts without an 'x'.
struct CPickyCell : CGridCell {
    bool ValidateEdit(const std::string& text) override { return text.find('x') == std::string::npos; }
    void OnEndEdit() override { ++m_Ends, CGridCell::OnEndEdit(); }
    int m_Ends = 0;
};

TEST(GridEditing, EditStartsOnlyOnVisibleEditableCellsAndCanBeVetoed)
{
    CGridFixture f(40, 3, {300, 200});
    f.grid.SetItemFormat(2, 2, GridText::Right | GridText::SingleLine);
    f.Edit(2, 2, '7');
    ASSERT_EQ(Editors(f), "1: 2,2 key 55");
    const CGridEditRequest& r = f.view.LastEditor()->m_Request;
    EXPECT_EQ(r.align, CGridEditRequest::Align::Right);
    EXPECT_EQ(Nums(r.controlId, r.rect.left, r.rect.top, r.rect.right, r.rect.bottom) + " " + r.text,
              "8 100 40 149 59 r2c2");
    EXPECT_TRUE(f.grid.GetCell(2, 2)->IsEditing());
    f.view.LastEditor()->EndEdit();
    EXPECT_FALSE(f.grid.GetCell(2, 2)->IsEditing());
    f.owner.Clear();
    f.Edit(30, 2, '7'); // scrolled out of view: no edit, no scrolling
    f.grid.SetItemState(3, 2, GridState::ReadOnly);
    f.Edit(3, 2, '7');
    f.Edit(99, 2, '7');
    f.owner.m_Replies[GridNotifyBeginEdit] = -1;
    f.Edit(4, 2, '7');
    EXPECT_EQ(Editors(f) + " top " + std::to_string(f.grid.GetTopleftNonFixedCell().row), "1: 2,2 key 55 top 1");
    EXPECT_EQ(f.owner.Codes(), "-105@4,2");
    EXPECT_FALSE(f.grid.GetCell(4, 2)->IsEditing());
}

TEST(GridEditing, EndOfEditStoresValidatesNotifiesAndMarksModified)
{
    // An edit of (1, col) ends with `typed`; the owner answers `reply`. The cell's
    // text, the grid's and the cell's modified flags and the notifications after.
    const std::tuple<int, const char*, int, const char*> cases[] = {
        {1, "new text", 0, "new text 1 1 -106@1,1=new text"},
        {2, "r1c2", 0, "r1c2 0 0 "},                  // the same text: nothing sent or marked
        {3, "refused", -1, "r1c3 0 0 -106@1,3=refused"}, // the old text comes back
    };
    for (const auto& [col, typed, reply, result] : cases) {
        CGridFixture f(3, 3);
        f.grid.SetModified(false);
        f.owner.m_Replies[GridNotifyEndEdit] = reply;
        f.Edit(1, col, GridKey::MouseStart);
        f.owner.Clear();
        f.view.LastEditor()->Finish(typed, GridKey::Return);
        std::string got = f.grid.GetItemText(1, col) + " " +
                          Nums(f.grid.GetModified(), (f.grid.GetItemState(1, col) & GridState::Modified) != 0) + " ";
        got += f.owner.Codes();
        EXPECT_EQ(got, result);
    }

    // A cell that refuses the text restores it silently; its end hook always runs.
    CGridFixture p(-1);
    p.grid.SetCellType<CPickyCell>();
    p.grid.SetRowCount(2);
    p.grid.SetColumnCount(2);
    p.grid.SetItemText(1, 1, "keep");
    auto* cell = static_cast<CPickyCell*>(p.grid.GetCell(1, 1));
    p.Edit(1, 1, GridKey::MouseStart);
    p.owner.Clear();
    p.view.LastEditor()->Finish("bad x", GridKey::Return);
    EXPECT_EQ(p.grid.GetItemText(1, 1) + " " + Nums(p.owner.m_Log.size(), cell->m_Ends, cell->IsEditing()),
              "keep 0 1 0");
    const bool refused = !p.grid.ValidateAndModifyCellContents(1, 1, "also x"); // the same rule
    const std::string kept = p.grid.GetItemText(1, 1);
    EXPECT_TRUE(refused && kept == "keep" && p.grid.ValidateAndModifyCellContents(1, 1, "fine"));
    EXPECT_EQ(p.grid.GetItemText(1, 1), "fine");
}

TEST(GridEditing, AKeyThatEndsAnEditContinuesInTheNextCellIfThereIsOne)
{
    // Start cell, ending key; the focus after and the editors then.
    const std::tuple<CCellID, unsigned, const char*> cases[] = {
        {{1, 3}, GridKey::Tab, "focus 2,1 2: 2,1 key 9"},   {{2, 2}, GridKey::Down, "focus 3,2 2: 3,2 key 1114152"},
        {{3, 3}, GridKey::Tab, "focus 3,3 1: 3,3 key 53"},  {{3, 2}, GridKey::Down, "focus 3,2 1: 3,2 key 53"},
        {{1, 1}, GridKey::Up, "focus 1,1 1: 1,1 key 53"},   {{1, 1}, GridKey::Left, "focus 1,1 1: 1,1 key 53"},
        {{2, 1}, GridKey::Return, "focus 2,1 1: 2,1 key 53"},
    };
    for (const auto& [start, key, result] : cases) {
        CGridFixture f(3, 3);
        f.grid.SetFocusCell(start);
        f.Edit(start.row, start.col, '5');
        f.view.LastEditor()->Finish("5", key);
        const CCellID focus = f.grid.GetFocusCell();
        EXPECT_EQ(f.grid.GetItemText(start.row, start.col) + " " + f.State().substr(0, 9) + " " + Editors(f),
                  std::string("5 ") + result);
        EXPECT_EQ(f.grid.GetCell(focus.row, focus.col)->IsEditing(), f.view.m_Editors.size() == 2);
    }
}

TEST(GridEditing, ScrollingEndsTheEditIntoItsOwnCell)
{
    // However the view moves, the open box would stay over another row.
    using Scroll = std::function<void(CGridCtrl&)>;
    const Scroll scrolls[] = {
        [](CGridCtrl& g) { g.OnMouseWheel(-120); },    [](CGridCtrl& g) { g.SetScrollPos(true, 45); },
        [](CGridCtrl& g) { g.ScrollLines(false, 1); }, [](CGridCtrl& g) { g.ScrollPages(true, 1); },
        [](CGridCtrl& g) { g.OnMouseWheel(120); }, // goes nowhere: the edit stays open
    };
    for (const Scroll& scroll : scrolls) {
        CGridFixture f(50, 12);
        f.grid.SetFocusCell(2, 2);
        f.grid.OnKeyDown(GridKey::F2, 0);
        ASSERT_NE(f.view.LastEditor(), nullptr);
        f.view.LastEditor()->m_Text = "typed";
        scroll(f.grid);
        const bool moved = &scroll != &scrolls[4];
        EXPECT_EQ(Nums(f.grid.GetScrollPos(true) > 0 || f.grid.GetScrollPos(false) > 0, f.view.LastEditor()->m_Ended,
                       f.grid.GetCell(2, 2)->IsEditing()) + " " + f.grid.GetItemText(2, 2),
                  moved ? "1 1 0 typed" : "0 0 1 r2c2");
    }
}

TEST(GridEditing, AnOpenEditorFollowsItsCellOrClosesSilentlyWhenItGoes)
{
    CGridFixture f(3, 1);
    for (int row = 1; row <= 3; ++row)
        f.grid.SetItemText(row, 1, std::string(1, "cab"[row - 1]));
    f.Edit(1, 1, GridKey::MouseStart);
    CGridCellBase* edited = f.grid.GetCell(1, 1);
    f.grid.SortItems(1, true); // "c" moves to the last row under the open box
    f.grid.InsertRow("new", 1);
    ASSERT_EQ(f.grid.GetCell(4, 1), edited);
    f.owner.Clear();
    f.view.LastEditor()->Finish("d", GridKey::Return);
    EXPECT_EQ(f.Column(1) + f.owner.Codes(), " a b d -106@4,1=d");
    EXPECT_EQ(Nums(edited->IsEditing(), f.grid.GetItemState(4, 1) & GridState::Modified,
                   f.grid.GetItemState(1, 1) & GridState::Modified), Nums(0, GridState::Modified, 0));

    // Removing the edited row or column abandons the box without a report.
    using Removal = std::function<void(CGridCtrl&)>;
    const Removal removals[] = {[](CGridCtrl& g) { g.SetRowCount(3); }, [](CGridCtrl& g) { g.DeleteRow(3); },
                                [](CGridCtrl& g) { g.SetColumnCount(2); }};
    for (const Removal& remove : removals) {
        CGridFixture r(3, 2);
        r.Edit(3, 2, '4');
        r.owner.Clear();
        remove(r.grid);
        EXPECT_TRUE(r.view.LastEditor()->m_Abandoned);
        r.grid.EndEditing();
        r.grid.SetRowCount(4);
        r.grid.SetColumnCount(3);
        const std::string after = r.grid.GetItemText(3, 2);
        r.Edit(3, 2, '5'); // the new cell in its place edits like any other
        ASSERT_EQ(r.view.m_Editors.size(), 2u);
        r.view.LastEditor()->Finish("5", GridKey::Return);
        EXPECT_EQ(Nums(r.owner.m_Log.size()) + "|" + after + "|" + r.grid.GetItemText(3, 2), "2||5");
    }
}

// Logs its own end of edit and destruction, to see the order of the two.
std::vector<std::string> g_CellLog;
struct CLoggedCell : CGridCell {
    ~CLoggedCell() override { g_CellLog.push_back("gone"); }
    void OnEndEdit() override { g_CellLog.push_back("end"), CGridCell::OnEndEdit(); }
};

// Deletes the edited row when told of the change, as an owner that rebuilds its table might.
struct CRebuildingOwner : CRecordingOwner {
    int OnGridNotify(const CGridNotification& n) override
    {
        if (n.code == GridNotifyEndEdit && m_grid)
            m_grid->DeleteRow(n.row);
        return 0;
    }
    CGridCtrl* m_grid = nullptr;
};

TEST(GridEditing, AnOwnerThatDeletesTheEditedRowInItsReplyIsSafe)
{
    CGridFixture f(-1);
    CRebuildingOwner owner;
    f.grid.SetOwner(&owner);
    f.grid.SetCellType<CLoggedCell>();
    f.grid.SetRowCount(3);
    f.grid.SetColumnCount(1);
    f.grid.SetItemText(1, 0, "one");
    f.grid.SetItemText(2, 0, "two");
    f.Edit(1, 0, GridKey::MouseStart);
    owner.m_grid = &f.grid;
    g_CellLog.clear();
    f.view.LastEditor()->Finish("changed", GridKey::Return);
    // The edited cell went with its row; nothing touched it afterwards, and
    // the row that moved up is not marked as changed.
    EXPECT_EQ(g_CellLog, Codes{"gone"});
    EXPECT_EQ(f.Column(0) + std::to_string(f.grid.GetItemState(1, 0) & GridState::Modified), " two 0");
    f.grid.SetFocusCell(1, 0); // the validated change of Delete behaves alike
    g_CellLog.clear();
    EXPECT_FALSE(f.grid.ValidateAndModifyCellContents(1, 0, ""));
    EXPECT_EQ(g_CellLog, Codes{"gone"});
    EXPECT_EQ(f.grid.GetRowCount(), 1);
}

TEST(GridEditing, DeleteClearsThroughTheValidatedChange)
{
    // Whether the focus cell is read-only, the owner's begin-edit reply; the text after Delete.
    const std::tuple<bool, int, const char*, const char*> cases[] = {
        {false, 0, "", "-105@2,2 -106@2,2"}, {true, 0, "r2c2", ""},
        {false, -1, "r2c2", "-105@2,2"}, // a veto keeps the text
    };
    for (const auto& [readOnly, reply, text, codes] : cases) {
        CGridFixture f(3, 3);
        f.grid.SetFocusCell(2, 2);
        if (readOnly)
            f.ReadOnly(2, 2);
        f.owner.m_Replies[GridNotifyBeginEdit] = reply;
        EXPECT_TRUE(f.grid.OnKeyDown(GridKey::Delete, 0));
        EXPECT_EQ(f.grid.GetItemText(2, 2) + " " + f.State().substr(0, 9), std::string(text) + " focus 2,2");
        EXPECT_EQ(f.owner.Codes(), codes);
    }
}

TEST(GridClipboard, CopyAndCutTakeOnlyVisibleSelectedCells)
{
    // Hidden rows and columns give no text and no separator, wherever they lie.
    const std::tuple<int, int, std::string> hidden[] = {
        {-1, 2, "r1c1\tr1c3\nr2c1\tr2c3\nr3c1\tr3c3"}, {-1, 3, "r1c1\tr1c2\nr2c1\tr2c2\nr3c1\tr3c2"},
        {3, -1, "r1c1\tr1c2\tr1c3\nr2c1\tr2c2\tr2c3"}, {1, 1, "r2c2\tr2c3\nr3c2\tr3c3"},
        {2, 3, "r1c1\tr1c2\nr3c1\tr3c2"}};
    for (const auto& [row, col, text] : hidden) {
        CGridFixture f(3, 3);
        f.grid.SetRowHeight(row, 0);
        f.grid.SetColumnWidth(col, 0);
        f.grid.SetSelectedRange(1, 1, 3, 3);
        f.grid.SetFocusCell(1, 1);
        f.grid.OnKeyDown('C', GridModifier::Ctrl);
        EXPECT_EQ(f.view.m_Clipboard, text) << row << "," << col;
    }
    CGridFixture f(3, 5); // pasted back, a block with a hidden last column ends where it ended
    f.grid.SetColumnWidth(3, 0);
    f.grid.SetSelectedRange(1, 1, 1, 3);
    f.grid.SetFocusCell(1, 4);
    f.grid.OnKeyDown(GridKey::Insert, GridModifier::Ctrl);
    f.grid.OnKeyDown('V', GridModifier::Ctrl);
    EXPECT_EQ(f.grid.GetItemText(1, 4) + "|" + f.grid.GetItemText(1, 5), "r1c1|r1c2");
    f.grid.ResetSelectedRange();
    EXPECT_TRUE(!f.grid.CopyTextFromGrid() && !f.grid.CanCopy());

    CGridFixture u(3, 3); // unselected cells inside the block stay empty
    u.Click(1, 1);
    u.Click(2, 3, GridModifier::Ctrl);
    EXPECT_EQ(u.grid.CopyTextFromGrid(), "r1c1\t\t\n\t\tr2c3");
    EXPECT_TRUE(u.grid.CanCut());

    CGridFixture c(3, 3); // cut copies, then clears what may be changed
    c.grid.SetFocusCell(1, 1);
    c.grid.SetSelectedRange(1, 1, 2, 2);
    c.ReadOnly(2, 2);
    c.grid.OnKeyDown('X', GridModifier::Ctrl);
    EXPECT_EQ(*c.view.m_Clipboard + "|" + c.Column(1) + c.Column(2) + Nums(c.owner.Count(GridNotifyEndEdit)),
              "r1c1\tr1c2\nr2c1\tr2c2|  r3c1  r2c2 r3c2 3");
    c.grid.SetEditable(false);
    EXPECT_FALSE(c.grid.CanCut());
    c.view.m_Clipboard.reset();
    c.grid.SetSelectedRange(3, 1, 3, 1);
    c.grid.OnEditCut();
    EXPECT_EQ(c.view.m_Clipboard.value_or("none") + " " + c.grid.GetItemText(3, 1), "none r3c1");
}

TEST(GridClipboard, PasteSplitsWritesAndSkips)
{
    CGridFixture f(4, 4);
    f.grid.SetFocusCell(2, 2);
    f.view.m_Clipboard = "1,2\n3,4";
    f.grid.OnKeyDown('V', GridModifier::Ctrl);
    EXPECT_EQ(f.Column(2) + f.Column(3), "r1c2 1 3 r4c2 r1c3 2 4 r4c3 ");
    EXPECT_EQ(f.owner.Codes(), "-105@2,2 -106@2,2=1 -105@2,3 -106@2,3=2 -105@3,2 -106@3,2=3 -105@3,3 -106@3,3=4");
    f.grid.SetPasteTabOnly(1);
    f.view.m_Clipboard = "5,6\t 7 \r\n8,9\n"; // trimmed; the final line feed adds no line
    f.grid.OnKeyDown(GridKey::Insert, GridModifier::Shift);
    EXPECT_EQ(f.Column(2) + f.Column(3), "r1c2 5,6 8,9 r4c2 r1c3 7 4 r4c3 ");

    CGridFixture h(3, 3); // overflow is dropped; hidden targets are skipped
    h.grid.SetRowHeight(2, 0);
    h.grid.SetColumnWidth(2, 0);
    h.grid.SetSelectedRange(1, 1, 3, 3);
    h.grid.SetFocusCell(1, 1);
    h.view.m_Clipboard = "a\tb\tc\td\ne\tf\tg\nh\ni";
    h.grid.OnEditPaste();
    EXPECT_EQ(h.Column(1) + h.Column(2) + h.Column(3) + Nums(h.grid.GetRowCount(), h.grid.GetColumnCount()),
              "a r2c1 e r1c2 r2c2 r3c2 b r2c3 f 4 4");
    // Written cells lose their selected flag; the others keep it.
    EXPECT_EQ(h.Selected(), (std::vector<CCellID>{{2, 1}, {1, 2}, {2, 2}, {3, 2}, {2, 3}}));
}

TEST(GridClipboard, PasteNeedsTextAndAnEditableTarget)
{
    CGridFixture f(3, 3);
    f.grid.SetFocusCell(1, 1);
    f.view.m_Clipboard.reset();
    f.grid.OnEditPaste();
    EXPECT_TRUE(!f.grid.CanPaste() && f.owner.m_Log.empty());
    f.view.m_Clipboard = "z";
    EXPECT_TRUE(f.grid.CanPaste());
    f.ReadOnly(1, 1);
    f.grid.OnEditPaste();
    EXPECT_EQ(f.grid.GetItemText(1, 1) + Nums(f.grid.CanPaste()), "r1c10");
    f.grid.SetFocusCell(-1, -1); // no focus: the top-left non-fixed cell takes the paste
    f.grid.SetItemState(1, 1, 0);
    f.grid.OnEditPaste();
    EXPECT_EQ(f.grid.GetItemText(1, 1), "z");
    f.grid.SetFocusCell(2, 2); // an open editor takes the paste instead of the grid
    f.Edit(2, 2, GridKey::MouseStart);
    f.grid.OnEditPaste();
    EXPECT_EQ(Nums(f.view.LastEditor()->m_Pastes) + f.grid.GetItemText(2, 2), "1r2c2");

    CGridFixture a(2, 2); // select all notifies around the selection
    a.Click(1, 2);
    a.owner.Clear();
    a.grid.OnKeyDown('A', GridModifier::Ctrl);
    EXPECT_EQ(Nums(a.grid.GetSelectedCount()) + " " + a.owner.Codes(),
              "4 -100@1,2 -101@1,2");
}

TEST(GridSorting, OrdersWholeRowsByTextNumbersOrACompareFunction)
{
    CGridFixture f(5, 2);
    const char* values[] = {"10", "9", "100", "abc", "-3"};
    for (int i = 0; i < 5; ++i)
        f.grid.SetItemText(i + 1, 1, values[i]);
    f.grid.SetRowHeight(2, 33);
    f.grid.SetFocusCell(2, 2);
    f.grid.SetSelectedRange(1, 1, 3, 2);
    f.grid.SortItems(1, true);
    // Whole rows move, with their heights; the header stays; focus and selection go.
    EXPECT_EQ(f.Column(1) + "| " + f.Column(2) + Nums(f.grid.GetRowHeight(4), f.grid.GetRowHeight(2)) + " " +
                  f.State() + " " + f.grid.GetItemText(0, 1),
              "-3 10 100 9 abc | r5c2 r1c2 r3c2 r2c2 r4c2 33 20 focus -1,-1 sel 6,3--1,-1/0 r0c1");
    for (int row = 1; row <= 5; ++row) // a numeric pivot compares as integers
        f.grid.GetCell(row, 1)->SetNumeric(true);
    f.grid.SortItems(1, true);
    EXPECT_EQ(f.Column(1), "-3 abc 9 10 100 ");
    f.grid.SortItems(1, false);
    EXPECT_FALSE(f.grid.SortItems(7, true));
    EXPECT_EQ(f.Column(1) + Nums(f.grid.GetSortColumn(), f.grid.GetSortAscending()), "100 10 9 abc -3 1 0");

    CGridFixture c(4, 1);
    const char* words[] = {"bb", "a", "dddd", "ccc"};
    for (int i = 0; i < 4; ++i)
        c.grid.SetItemText(i + 1, 1, words[i]);
    intptr_t seen = 0;
    c.grid.SetCompareFunction([&seen](const CGridCellBase& a, const CGridCellBase& b, intptr_t param) {
        seen = param;
        const size_t la = a.GetText().size(), lb = b.GetText().size();
        return la < lb ? 1 : (la == lb ? 0 : -1); // longest first
    });
    c.grid.SortItems(1, true, 42);
    EXPECT_EQ(c.Column(1) + std::to_string(seen), "dddd ccc bb a 42");

    CGridFixture big(2000, 1);
    std::string sorted;
    for (int row = 1; row <= 2000; ++row) {
        big.grid.SetItemText(row, 1, std::to_string((row * 7919) % 2000));
        big.grid.GetCell(row, 1)->SetNumeric(true);
        sorted += std::to_string(row - 1) + " ";
    }
    big.grid.SortItems(1, true);
    EXPECT_EQ(big.Column(1), sorted);
}

// What the owner hears of sorts, and how it decides per cell whether an edit opens the text editor.

TEST(GridOwnerHooks, OwnerHearsEachSortAfterTheRowsMoved)
{
    CGridFixture f(3, 2);
    // The owner reads the first data row when it hears: the rows are in their new order by then.
    struct CSortWatcher : CRecordingOwner {
        CGridCtrl* grid = nullptr;
        void OnGridSorted(int controlId, int column, bool ascending) override
        {
            CRecordingOwner::OnGridSorted(controlId, column, ascending);
            m_Sorts.back() += " " + grid->GetItemText(1, column);
        }
    } owner;
    owner.grid = &f.grid;
    f.grid.SetOwner(&owner);
    f.grid.SetSortOnClick(true);
    f.Click(0, 2);
    f.Click(0, 2);
    EXPECT_TRUE(f.grid.SortItems(1, true));
    EXPECT_FALSE(f.grid.SortItems(9, true));
    EXPECT_EQ(owner.m_Sorts, (std::vector<std::string>{"1008:2+ r1c2", "1008:2- r3c2", "1008:1+ r1c1"}));
}

TEST(GridOwnerHooks, OwnerChoosesTheEditorPerCellAndTrigger)
{
    using T = CGridEditTrigger;
    using A = CGridEditAction;
    // Trigger, the owner's reply, whether (2, 2) is read-only; what the owner heard ("" for nothing,
    // the F2 on (2, 1) that leads to the next cell left out), and whether an editor opened on (2, 2).
    const std::tuple<T, A, bool, std::string, bool> cases[] = {
        {T::Click, A::TextEditor, false, "click #1", true},
        {T::Click, A::HandledByOwner, false, "click #1", false},
        {T::Click, A::TextEditor, true, "", false}, // a click on a read-only cell never starts an edit
        {T::DoubleClick, A::TextEditor, false, "double click #1", true},
        {T::DoubleClick, A::Nothing, false, "double click #1", false},
        {T::DoubleClick, A::HandledByOwner, true, "double click #1", false}, // a chooser cell
        {T::Character, A::TextEditor, false, "character #120", true},
        {T::Character, A::Nothing, false, "character #120", false},
        {T::F2, A::TextEditor, false, "F2 #1", true},
        {T::F2, A::HandledByOwner, false, "F2 #1", false},
        {T::NextCell, A::TextEditor, false, "next cell #9", true},
        {T::NextCell, A::HandledByOwner, true, "next cell #9", false},
    };
    for (const auto& [trigger, reply, readOnly, heard, editorAt22] : cases) {
        SCOPED_TRACE(heard);
        CGridFixture f(4, 4);
        f.owner.m_EditReplies[trigger] = reply;
        if (readOnly)
            f.ReadOnly(2, 2);
        f.grid.SetFocusCell(trigger == T::NextCell ? CCellID(2, 1) : CCellID(2, 2));
        if (trigger == T::Click)
            f.Click(2, 2);
        else if (trigger == T::DoubleClick)
            f.grid.OnLButtonDblClk(f.Centre(2, 2), 0);
        else if (trigger == T::Character)
            f.grid.OnChar('x', 0);
        else
            f.grid.OnKeyDown(GridKey::F2, 0);
        if (trigger == T::NextCell) {
            ASSERT_NE(f.view.LastEditor(), nullptr);
            f.view.LastEditor()->Finish("typed", GridKey::Tab);
            EXPECT_EQ(f.grid.GetFocusCell(), CCellID(2, 2));
            EXPECT_EQ(f.owner.m_EditRequests.at(0), "2,1 F2 #1");
            f.owner.m_EditRequests.erase(f.owner.m_EditRequests.begin());
        }
        EXPECT_EQ(f.owner.m_EditRequests, heard.empty() ? std::vector<std::string>{}
                                                        : std::vector<std::string>{"2,2 " + heard});
        const CFakeEditor* editor = f.view.LastEditor();
        EXPECT_EQ(editor && editor->m_Request.row == 2 && editor->m_Request.col == 2, editorAt22);
    }
}

} // namespace
