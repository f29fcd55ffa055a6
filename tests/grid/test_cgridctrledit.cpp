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
           (e ? ": " + std::to_string(e->m_Request.row) + "," + std::to_string(e->m_Request.col) + " key " +
                    std::to_string(e->m_Request.key)
              : "");
}

// Accepts only texts without an 'x'.
class CPickyCell : public CGridCell {
public:
    bool ValidateEdit(const std::string& text) override { return text.find('x') == std::string::npos; }
    void OnEndEdit() override
    {
        ++m_Ends;
        CGridCell::OnEndEdit();
    }
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
    EXPECT_EQ(std::to_string(r.controlId) + " " + r.text + " " + std::to_string(r.rect.left) + "," +
                  std::to_string(r.rect.top) + "," + std::to_string(r.rect.right) + "," + std::to_string(r.rect.bottom),
              "8 r2c2 100,40,149,59");
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
    EXPECT_EQ(f.owner.Codes(), Codes{"-105@4,2"});
    EXPECT_FALSE(f.grid.GetCell(4, 2)->IsEditing());
}

TEST(GridEditing, EndOfEditStoresValidatesNotifiesAndMarksModified)
{
    // An edit of (1, col) ends with `typed`; the owner answers `reply`. The cell's
    // text, the grid's and the cell's modified flags and the notifications after.
    const std::tuple<int, const char*, int, const char*> cases[] = {
        {1, "new text", 0, "new text 1 1 -106@1,1=new text "},
        {2, "r1c2", 0, "r1c2 0 0 "},                   // the same text: nothing sent or marked
        {3, "refused", -1, "r1c3 0 0 -106@1,3=refused "}, // the old text comes back
    };
    for (const auto& [col, typed, reply, result] : cases) {
        CGridFixture f(3, 3);
        f.grid.SetModified(false);
        f.owner.m_Replies[GridNotifyEndEdit] = reply;
        f.Edit(1, col, GridKey::MouseStart);
        f.owner.Clear();
        f.view.LastEditor()->Finish(typed, GridKey::Return);
        std::string got = f.grid.GetItemText(1, col) + " " + std::to_string(f.grid.GetModified()) + " " +
                          std::to_string((f.grid.GetItemState(1, col) & GridState::Modified) != 0) + " ";
        for (const std::string& code : f.owner.Codes())
            got += code + " ";
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
    EXPECT_EQ(p.grid.GetItemText(1, 1) + " " + std::to_string(p.owner.m_Log.size()) + " " +
                  std::to_string(cell->m_Ends) + " " + std::to_string(cell->IsEditing()),
              "keep 0 1 0");
    EXPECT_FALSE(p.grid.ValidateAndModifyCellContents(1, 1, "also x")); // the same rule
    EXPECT_EQ(p.grid.GetItemText(1, 1), "keep");
    EXPECT_TRUE(p.grid.ValidateAndModifyCellContents(1, 1, "fine"));
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
        EXPECT_EQ(f.grid.GetItemText(start.row, start.col), "5");
        const CCellID focus = f.grid.GetFocusCell();
        EXPECT_EQ(f.State().substr(0, 9) + " " + Editors(f), result);
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
        const bool moved = f.grid.GetScrollPos(true) > 0 || f.grid.GetScrollPos(false) > 0;
        EXPECT_EQ(f.view.LastEditor()->m_Ended, moved);
        EXPECT_EQ(f.grid.GetItemText(2, 2), moved ? "typed" : "r2c2");
        EXPECT_EQ(f.grid.GetCell(2, 2)->IsEditing(), !moved);
        EXPECT_EQ(moved, &scroll != &scrolls[4]);
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
    EXPECT_EQ(f.Column(1), " a b d ");
    EXPECT_EQ(f.owner.Codes(), Codes{"-106@4,1=d"});
    EXPECT_FALSE(edited->IsEditing());
    EXPECT_EQ(f.grid.GetItemState(4, 1) & GridState::Modified, GridState::Modified);
    EXPECT_EQ(f.grid.GetItemState(1, 1) & GridState::Modified, 0u);

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
        EXPECT_TRUE(r.owner.m_Log.empty());
        EXPECT_EQ(r.grid.GetItemText(3, 2), "");
        r.Edit(3, 2, '5'); // the new cell in its place edits like any other
        ASSERT_EQ(r.view.m_Editors.size(), 2u);
        r.view.LastEditor()->Finish("5", GridKey::Return);
        EXPECT_EQ(r.grid.GetItemText(3, 2), "5");
    }
}

// Logs its own end of edit and destruction, to see the order of the two.
class CLoggedCell : public CGridCell {
public:
    ~CLoggedCell() override { Log().push_back("gone"); }
    void OnEndEdit() override
    {
        Log().push_back("end");
        CGridCell::OnEndEdit();
    }
    static std::vector<std::string>& Log()
    {
        static std::vector<std::string> log;
        return log;
    }
};

// Deletes the edited row when told of the change, as an owner that rebuilds its table might.
class CRebuildingOwner : public CRecordingOwner {
public:
    int OnGridNotify(const CGridNotification& n) override
    {
        CRecordingOwner::OnGridNotify(n);
        if (n.code == GridNotifyEndEdit && m_pGrid)
            m_pGrid->DeleteRow(n.row);
        return 0;
    }
    CGridCtrl* m_pGrid = nullptr;
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
    owner.m_pGrid = &f.grid;
    CLoggedCell::Log().clear();
    f.view.LastEditor()->Finish("changed", GridKey::Return);
    // The edited cell went with its row; nothing touched it afterwards, and
    // the row that moved up is not marked as changed.
    EXPECT_EQ(CLoggedCell::Log(), Codes{"gone"});
    EXPECT_EQ(f.Column(0) + std::to_string(f.grid.GetItemState(1, 0) & GridState::Modified), " two 0");
    f.grid.SetFocusCell(1, 0); // the validated change of Delete behaves alike
    CLoggedCell::Log().clear();
    EXPECT_FALSE(f.grid.ValidateAndModifyCellContents(1, 0, ""));
    EXPECT_EQ(CLoggedCell::Log(), Codes{"gone"});
    EXPECT_EQ(f.grid.GetRowCount(), 1);
}

TEST(GridEditing, DeleteClearsThroughTheValidatedChange)
{
    // Whether the focus cell is read-only, the owner's begin-edit reply; the text after Delete.
    const std::tuple<bool, int, const char*, Codes> cases[] = {
        {false, 0, "", {"-105@2,2", "-106@2,2"}},
        {true, 0, "r2c2", {}},
        {false, -1, "r2c2", {"-105@2,2"}}, // a veto keeps the text
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
    EXPECT_EQ(f.grid.CopyTextFromGrid(), std::nullopt);
    EXPECT_FALSE(f.grid.CanCopy());

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
    EXPECT_EQ(c.view.m_Clipboard, "r1c1\tr1c2\nr2c1\tr2c2");
    EXPECT_EQ(c.Column(1) + c.Column(2), "  r3c1  r2c2 r3c2 ");
    EXPECT_EQ(c.owner.Count(GridNotifyEndEdit), 3);
    c.grid.SetEditable(false);
    EXPECT_FALSE(c.grid.CanCut());
    c.view.m_Clipboard.reset();
    c.grid.SetSelectedRange(3, 1, 3, 1);
    c.grid.OnEditCut();
    EXPECT_EQ(c.view.m_Clipboard, std::nullopt);
    EXPECT_EQ(c.grid.GetItemText(3, 1), "r3c1");
}

TEST(GridClipboard, PasteSplitsWritesAndSkips)
{
    CGridFixture f(4, 4);
    f.grid.SetFocusCell(2, 2);
    f.view.m_Clipboard = "1,2\n3,4";
    f.grid.OnKeyDown('V', GridModifier::Ctrl);
    EXPECT_EQ(f.Column(2) + f.Column(3), "r1c2 1 3 r4c2 r1c3 2 4 r4c3 ");
    EXPECT_EQ(f.owner.Codes(), (Codes{"-105@2,2", "-106@2,2=1", "-105@2,3", "-106@2,3=2", "-105@3,2", "-106@3,2=3",
                                      "-105@3,3", "-106@3,3=4"}));
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
    EXPECT_EQ(h.Column(1) + h.Column(2) + h.Column(3), "a r2c1 e r1c2 r2c2 r3c2 b r2c3 f ");
    EXPECT_EQ(h.grid.GetRowCount() * 10 + h.grid.GetColumnCount(), 44);
    // Written cells lose their selected flag; the others keep it.
    EXPECT_EQ(h.Selected(), (std::vector<CCellID>{{2, 1}, {1, 2}, {2, 2}, {3, 2}, {2, 3}}));
}

TEST(GridClipboard, PasteNeedsTextAndAnEditableTarget)
{
    CGridFixture f(3, 3);
    f.grid.SetFocusCell(1, 1);
    f.view.m_Clipboard.reset();
    f.grid.OnEditPaste();
    EXPECT_FALSE(f.grid.CanPaste());
    EXPECT_TRUE(f.owner.m_Log.empty());
    f.view.m_Clipboard = "z";
    EXPECT_TRUE(f.grid.CanPaste());
    f.ReadOnly(1, 1);
    f.grid.OnEditPaste();
    EXPECT_EQ(f.grid.GetItemText(1, 1), "r1c1");
    EXPECT_FALSE(f.grid.CanPaste());
    f.grid.SetFocusCell(-1, -1); // no focus: the top-left non-fixed cell takes the paste
    f.grid.SetScrollPos(false, 0);
    f.grid.SetItemState(1, 1, 0);
    f.grid.OnEditPaste();
    EXPECT_EQ(f.grid.GetItemText(1, 1), "z");
    f.grid.SetFocusCell(2, 2); // an open editor takes the paste instead of the grid
    f.Edit(2, 2, GridKey::MouseStart);
    f.grid.OnEditPaste();
    EXPECT_EQ(f.view.LastEditor()->m_Pastes, 1);
    EXPECT_EQ(f.grid.GetItemText(2, 2), "r2c2");

    CGridFixture a(2, 2); // select all notifies around the selection
    a.Click(1, 2);
    a.owner.Clear();
    a.grid.OnKeyDown('A', GridModifier::Ctrl);
    EXPECT_EQ(a.grid.GetSelectedCount(), 4);
    EXPECT_EQ(a.owner.Codes(), (Codes{"-100@1,2", "-101@1,2"}));
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
    EXPECT_EQ(f.Column(1), "-3 10 100 9 abc ");
    EXPECT_EQ(f.Column(2), "r5c2 r1c2 r3c2 r2c2 r4c2 "); // whole rows move, with their heights
    EXPECT_EQ(f.grid.GetRowHeight(4) * 100 + f.grid.GetRowHeight(2), 3320);
    EXPECT_EQ(f.State(), "focus -1,-1 sel 6,3--1,-1/0");
    EXPECT_EQ(f.grid.GetItemText(0, 1), "r0c1"); // the header stays
    for (int row = 1; row <= 5; ++row) // a numeric pivot compares as integers
        f.grid.GetCell(row, 1)->SetNumeric(true);
    f.grid.SortItems(1, true);
    EXPECT_EQ(f.Column(1), "-3 abc 9 10 100 ");
    f.grid.SortItems(1, false);
    EXPECT_EQ(f.Column(1), "100 10 9 abc -3 ");
    EXPECT_EQ(f.grid.GetSortColumn(), 1);
    EXPECT_FALSE(f.grid.GetSortAscending());
    EXPECT_FALSE(f.grid.SortItems(7, true));

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
    // Trigger, the owner's reply, whether (2, 2) is read-only; what the owner heard, and
    // whether an editor opened on (2, 2).
    const std::tuple<T, A, bool, std::vector<std::string>, bool> cases[] = {
        {T::Click, A::TextEditor, false, {"2,2 click #1"}, true},
        {T::Click, A::HandledByOwner, false, {"2,2 click #1"}, false},
        {T::Click, A::TextEditor, true, {}, false}, // a click on a read-only cell never starts an edit
        {T::DoubleClick, A::TextEditor, false, {"2,2 double click #1"}, true},
        {T::DoubleClick, A::Nothing, false, {"2,2 double click #1"}, false},
        {T::DoubleClick, A::HandledByOwner, true, {"2,2 double click #1"}, false}, // a chooser cell
        {T::Character, A::TextEditor, false, {"2,2 character #120"}, true},
        {T::Character, A::Nothing, false, {"2,2 character #120"}, false},
        {T::F2, A::TextEditor, false, {"2,2 F2 #1"}, true},
        {T::F2, A::HandledByOwner, false, {"2,2 F2 #1"}, false},
        {T::NextCell, A::TextEditor, false, {"2,1 F2 #1", "2,2 next cell #9"}, true},
        {T::NextCell, A::HandledByOwner, true, {"2,1 F2 #1", "2,2 next cell #9"}, false},
    };
    for (const auto& [trigger, reply, readOnly, heard, editorAt22] : cases) {
        SCOPED_TRACE(heard.empty() ? "read-only click" : heard.back());
        CGridFixture f(4, 4);
        f.owner.m_EditReplies[trigger] = reply;
        if (readOnly)
            f.ReadOnly(2, 2);
        f.grid.SetFocusCell(2, 2);
        if (trigger == T::Click)
            f.Click(2, 2);
        else if (trigger == T::DoubleClick)
            f.grid.OnLButtonDblClk(f.Centre(2, 2), 0);
        else if (trigger == T::Character)
            f.grid.OnChar('x', 0);
        else if (trigger == T::F2)
            f.grid.OnKeyDown(GridKey::F2, 0);
        if (trigger == T::NextCell) {
            f.grid.SetFocusCell(2, 1);
            f.grid.OnKeyDown(GridKey::F2, 0);
            ASSERT_NE(f.view.LastEditor(), nullptr);
            f.view.LastEditor()->Finish("typed", GridKey::Tab);
            EXPECT_EQ(f.grid.GetFocusCell(), CCellID(2, 2));
        }
        EXPECT_EQ(f.owner.m_EditRequests, heard);
        const CFakeEditor* editor = f.view.LastEditor();
        EXPECT_EQ(editor && editor->m_Request.row == 2 && editor->m_Request.col == 2, editorAt22);
    }
}

} // namespace
