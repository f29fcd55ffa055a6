// The editing protocol, the validated change, clipboard text and sorting.

#include "grid/gridfakes.h"

#include <gtest/gtest.h>

#include <functional>

namespace {

using Codes = std::vector<std::string>;

std::string Column(CGridCtrl& grid, int col)
{
    std::string out;
    for (int row = grid.GetFixedRowCount(); row < grid.GetRowCount(); ++row)
        out += grid.GetItemText(row, col) + " ";
    return out;
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
    f.grid.OnEditCell(2, 2, {-1, -1}, '7');
    ASSERT_EQ(f.view.m_Editors.size(), 1u);
    const CGridEditRequest& request = f.view.LastEditor()->m_Request;
    EXPECT_EQ(request.controlId, 8);
    EXPECT_EQ(request.align, CGridEditRequest::Align::Right);
    EXPECT_EQ(request.text, "r2c2");
    EXPECT_EQ((CGridRect{request.rect.left, request.rect.top, request.rect.right, request.rect.bottom}),
              (CGridRect{100, 40, 149, 59}));
    EXPECT_TRUE(f.grid.GetCell(2, 2)->IsEditing());
    f.view.LastEditor()->EndEdit();
    EXPECT_FALSE(f.grid.GetCell(2, 2)->IsEditing());

    f.owner.Clear();
    f.grid.OnEditCell(30, 2, {-1, -1}, '7'); // scrolled out of view: no edit, no scrolling
    f.grid.SetItemState(3, 2, GridState::ReadOnly);
    f.grid.OnEditCell(3, 2, {-1, -1}, '7');
    f.grid.OnEditCell(99, 2, {-1, -1}, '7');
    EXPECT_EQ(f.view.m_Editors.size(), 1u);
    EXPECT_TRUE(f.owner.m_Log.empty());
    EXPECT_EQ(f.grid.GetTopleftNonFixedCell().row, 1);
    f.owner.m_Replies[GridNotifyBeginEdit] = -1;
    f.grid.OnEditCell(4, 2, {-1, -1}, '7');
    EXPECT_EQ(f.view.m_Editors.size(), 1u);
    EXPECT_EQ(f.owner.Codes(), Codes{"-105@4,2"});
    EXPECT_FALSE(f.grid.GetCell(4, 2)->IsEditing());
}

TEST(GridEditing, EndOfEditStoresValidatesNotifiesAndMarksModified)
{
    // The cell's text, the grid's modified flag and the notifications after
    // an edit of (1, col) ends with `typed`; the owner answers `reply`.
    struct Case {
        int col;
        const char* typed;
        int reply;
        const char* text;
        bool modified;
        Codes codes;
    } cases[] = {
        {1, "new text", 0, "new text", true, {"-106@1,1=new text"}},
        {2, "r1c2", 0, "r1c2", false, {}},   // the same text: nothing sent or marked
        {3, "refused", -1, "r1c3", false, {"-106@1,3=refused"}}, // the old text comes back
    };
    for (const Case& c : cases) {
        CGridFixture f(3, 3);
        f.grid.SetModified(false);
        f.owner.m_Replies[GridNotifyEndEdit] = c.reply;
        f.grid.OnEditCell(1, c.col, {-1, -1}, GridKey::MouseStart);
        f.owner.Clear();
        f.view.LastEditor()->Finish(c.typed, GridKey::Return);
        EXPECT_EQ(f.grid.GetItemText(1, c.col), c.text);
        EXPECT_EQ(f.grid.GetModified(), c.modified) << c.typed;
        EXPECT_EQ((f.grid.GetItemState(1, c.col) & GridState::Modified) != 0, c.modified) << c.typed;
        EXPECT_EQ(f.owner.Codes(), c.codes);
    }

    // A cell that refuses the text restores it silently; its end hook always runs.
    CGridCtrl grid;
    CFakeGridView view(grid);
    CRecordingOwner owner;
    grid.SetView(&view);
    grid.SetOwner(&owner);
    grid.SetCellType<CPickyCell>();
    grid.SetRowCount(2);
    grid.SetColumnCount(2);
    grid.SetItemText(1, 1, "keep");
    auto* cell = static_cast<CPickyCell*>(grid.GetCell(1, 1));
    grid.OnEditCell(1, 1, {-1, -1}, GridKey::MouseStart);
    owner.Clear();
    view.LastEditor()->Finish("bad x", GridKey::Return);
    EXPECT_EQ(grid.GetItemText(1, 1), "keep");
    EXPECT_TRUE(owner.m_Log.empty());
    EXPECT_EQ(cell->m_Ends, 1);
    EXPECT_FALSE(cell->IsEditing());
    EXPECT_FALSE(grid.ValidateAndModifyCellContents(1, 1, "also x")); // the same rule
    EXPECT_EQ(grid.GetItemText(1, 1), "keep");
    EXPECT_TRUE(grid.ValidateAndModifyCellContents(1, 1, "fine"));
    EXPECT_EQ(grid.GetItemText(1, 1), "fine");
}

TEST(GridEditing, AKeyThatEndsAnEditContinuesInTheNextCellIfThereIsOne)
{
    // Start cell, ending key, focus after, and whether an editor opened there.
    struct Case {
        CCellID start;
        unsigned key;
        CCellID focus;
        bool reopened;
    } cases[] = {
        {{1, 3}, GridKey::Tab, {2, 1}, true},  {{2, 2}, GridKey::Down, {3, 2}, true},
        {{3, 3}, GridKey::Tab, {3, 3}, false}, {{3, 2}, GridKey::Down, {3, 2}, false},
        {{1, 1}, GridKey::Up, {1, 1}, false},  {{1, 1}, GridKey::Left, {1, 1}, false},
        {{2, 1}, GridKey::Return, {2, 1}, false},
    };
    for (const Case& c : cases) {
        CGridFixture f(3, 3);
        f.grid.SetFocusCell(c.start);
        f.grid.OnEditCell(c.start.row, c.start.col, {-1, -1}, '5');
        f.view.LastEditor()->Finish("5", c.key);
        EXPECT_EQ(f.grid.GetItemText(c.start.row, c.start.col), "5");
        EXPECT_EQ(f.grid.GetFocusCell(), c.focus);
        EXPECT_EQ(f.view.m_Editors.size(), c.reopened ? 2u : 1u) << c.start.row << "," << c.start.col;
        EXPECT_EQ(f.grid.GetCell(c.focus.row, c.focus.col)->IsEditing(), c.reopened);
        if (c.reopened) {
            EXPECT_EQ(f.view.LastEditor()->m_Request.key, c.key);
            EXPECT_EQ(f.view.LastEditor()->m_Request.row, c.focus.row);
            EXPECT_EQ(f.view.LastEditor()->m_Request.col, c.focus.col);
        }
    }
}

TEST(GridEditing, ScrollingEndsTheEditIntoItsOwnCell)
{
    // However the view moves, the open box would stay over another row.
    using Scroll = std::function<void(CGridCtrl&)>;
    const Scroll scrolls[] = {
        [](CGridCtrl& g) { g.OnMouseWheel(-120); },      [](CGridCtrl& g) { g.SetScrollPos(true, 45); },
        [](CGridCtrl& g) { g.ScrollLines(false, 1); },   [](CGridCtrl& g) { g.ScrollPages(true, 1); },
    };
    for (const Scroll& scroll : scrolls) {
        CGridFixture f(50, 12);
        f.grid.SetFocusCell(2, 2);
        f.grid.OnKeyDown(GridKey::F2, 0);
        CFakeEditor* editor = f.view.LastEditor();
        ASSERT_NE(editor, nullptr);
        editor->m_Text = "typed";
        scroll(f.grid);
        EXPECT_TRUE(editor->m_Ended);
        EXPECT_EQ(f.grid.GetItemText(2, 2), "typed");
        EXPECT_FALSE(f.grid.GetCell(2, 2)->IsEditing());
        EXPECT_TRUE(f.grid.GetScrollPos(true) > 0 || f.grid.GetScrollPos(false) > 0);
    }
    CGridFixture f(50, 3); // a scroll that goes nowhere leaves the edit open
    f.grid.SetFocusCell(1, 1);
    f.grid.OnKeyDown(GridKey::F2, 0);
    f.grid.OnMouseWheel(120);
    EXPECT_FALSE(f.view.LastEditor()->m_Ended);
}

TEST(GridEditing, AnOpenEditorFollowsItsCellOrClosesSilentlyWhenItGoes)
{
    CGridFixture f(3, 1);
    f.grid.SetItemText(1, 1, "c");
    f.grid.SetItemText(2, 1, "a");
    f.grid.SetItemText(3, 1, "b");
    f.grid.OnEditCell(1, 1, {-1, -1}, GridKey::MouseStart);
    CGridCellBase* edited = f.grid.GetCell(1, 1);
    f.grid.SortItems(1, true); // "c" moves to the last row under the open box
    f.grid.InsertRow("new", 1);
    ASSERT_EQ(f.grid.GetCell(4, 1), edited);
    f.owner.Clear();
    f.view.LastEditor()->Finish("d", GridKey::Return);
    EXPECT_EQ(Column(f.grid, 1), " a b d ");
    EXPECT_EQ(f.owner.Codes(), Codes{"-106@4,1=d"});
    EXPECT_FALSE(edited->IsEditing());
    EXPECT_TRUE(f.grid.GetItemState(4, 1) & GridState::Modified);
    EXPECT_FALSE(f.grid.GetItemState(1, 1) & GridState::Modified);

    // Removing the edited row or column abandons the box without a report.
    using Removal = std::function<void(CGridCtrl&)>;
    const Removal removals[] = {[](CGridCtrl& g) { g.SetRowCount(3); }, [](CGridCtrl& g) { g.DeleteRow(3); },
                                [](CGridCtrl& g) { g.SetColumnCount(2); }};
    for (const Removal& remove : removals) {
        CGridFixture r(3, 2);
        r.grid.OnEditCell(3, 2, {-1, -1}, '4');
        r.owner.Clear();
        remove(r.grid);
        EXPECT_TRUE(r.view.LastEditor()->m_Abandoned);
        r.grid.EndEditing();
        r.grid.SetRowCount(4);
        r.grid.SetColumnCount(3);
        EXPECT_TRUE(r.owner.m_Log.empty());
        EXPECT_EQ(r.grid.GetItemText(3, 2), "");
        r.grid.OnEditCell(3, 2, {-1, -1}, '5'); // the new cell in its place edits like any other
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
    CGridCtrl grid;
    CFakeGridView view(grid);
    CRebuildingOwner owner;
    grid.SetView(&view);
    grid.SetOwner(&owner);
    grid.SetCellType<CLoggedCell>();
    grid.SetRowCount(3);
    grid.SetColumnCount(1);
    grid.SetItemText(1, 0, "one");
    grid.SetItemText(2, 0, "two");
    grid.OnEditCell(1, 0, {-1, -1}, GridKey::MouseStart);
    owner.m_pGrid = &grid;
    CLoggedCell::Log().clear();
    view.LastEditor()->Finish("changed", GridKey::Return);
    // The edited cell went with its row; nothing touched it afterwards, and
    // the row that moved up is not marked as changed.
    EXPECT_EQ(CLoggedCell::Log(), Codes{"gone"});
    EXPECT_EQ(grid.GetItemText(1, 0), "two");
    EXPECT_FALSE(grid.GetItemState(1, 0) & GridState::Modified);
    grid.SetFocusCell(1, 0); // the validated change of Delete behaves alike
    CLoggedCell::Log().clear();
    EXPECT_FALSE(grid.ValidateAndModifyCellContents(1, 0, ""));
    EXPECT_EQ(CLoggedCell::Log(), Codes{"gone"});
    EXPECT_EQ(grid.GetRowCount(), 1);
}

TEST(GridEditing, DeleteClearsThroughTheValidatedChange)
{
    // The focus cell, read-only or not, the owner's begin-edit reply; the text after Delete.
    struct Case {
        bool readOnly;
        int reply;
        const char* text;
        Codes codes;
    } cases[] = {
        {false, 0, "", {"-105@2,2", "-106@2,2"}},
        {true, 0, "r2c2", {}},
        {false, -1, "r2c2", {"-105@2,2"}}, // a veto keeps the text
    };
    for (const Case& c : cases) {
        CGridFixture f(3, 3);
        f.grid.SetFocusCell(2, 2);
        f.grid.SetItemState(2, 2, f.grid.GetItemState(2, 2) | (c.readOnly ? GridState::ReadOnly : 0));
        f.owner.m_Replies[GridNotifyBeginEdit] = c.reply;
        EXPECT_TRUE(f.grid.OnKeyDown(GridKey::Delete, 0));
        EXPECT_EQ(f.grid.GetItemText(2, 2), c.text);
        EXPECT_EQ(f.owner.Codes(), c.codes);
        EXPECT_EQ(f.grid.GetFocusCell(), CCellID(2, 2));
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
    EXPECT_FALSE(f.grid.CopyTextFromGrid().has_value());
    EXPECT_FALSE(f.grid.CanCopy());

    CGridFixture u(3, 3); // unselected cells inside the block stay empty
    u.Click(1, 1);
    u.Click(2, 3, GridModifier::Ctrl);
    EXPECT_EQ(u.grid.CopyTextFromGrid(), "r1c1\t\t\n\t\tr2c3");
    EXPECT_TRUE(u.grid.CanCut());

    CGridFixture c(3, 3); // cut copies, then clears what may be changed
    c.grid.SetFocusCell(1, 1);
    c.grid.SetSelectedRange(1, 1, 2, 2);
    c.grid.SetItemState(2, 2, c.grid.GetItemState(2, 2) | GridState::ReadOnly);
    c.grid.OnKeyDown('X', GridModifier::Ctrl);
    EXPECT_EQ(c.view.m_Clipboard, "r1c1\tr1c2\nr2c1\tr2c2");
    EXPECT_EQ(Column(c.grid, 1) + Column(c.grid, 2), "  r3c1  r2c2 r3c2 ");
    EXPECT_EQ(c.owner.Count(GridNotifyEndEdit), 3);
    c.grid.SetEditable(false);
    EXPECT_FALSE(c.grid.CanCut());
    c.view.m_Clipboard.reset();
    c.grid.SetSelectedRange(3, 1, 3, 1);
    c.grid.OnEditCut();
    EXPECT_FALSE(c.view.m_Clipboard.has_value());
    EXPECT_EQ(c.grid.GetItemText(3, 1), "r3c1");
}

TEST(GridClipboard, PasteSplitsWritesAndSkips)
{
    CGridFixture f(4, 4);
    f.grid.SetFocusCell(2, 2);
    f.view.m_Clipboard = "1,2\n3,4";
    f.grid.OnKeyDown('V', GridModifier::Ctrl);
    EXPECT_EQ(Column(f.grid, 2) + Column(f.grid, 3), "r1c2 1 3 r4c2 r1c3 2 4 r4c3 ");
    EXPECT_EQ(f.owner.Codes(), (Codes{"-105@2,2", "-106@2,2=1", "-105@2,3", "-106@2,3=2", "-105@3,2", "-106@3,2=3",
                                      "-105@3,3", "-106@3,3=4"}));
    f.grid.SetPasteTabOnly(1);
    f.view.m_Clipboard = "5,6\t 7 \r\n8,9\n"; // trimmed; the final line feed adds no line
    f.grid.OnKeyDown(GridKey::Insert, GridModifier::Shift);
    EXPECT_EQ(Column(f.grid, 2) + Column(f.grid, 3), "r1c2 5,6 8,9 r4c2 r1c3 7 4 r4c3 ");

    CGridFixture h(3, 3); // overflow is dropped; hidden targets are skipped
    h.grid.SetRowHeight(2, 0);
    h.grid.SetColumnWidth(2, 0);
    h.grid.SetSelectedRange(1, 1, 3, 3);
    h.grid.SetFocusCell(1, 1);
    h.view.m_Clipboard = "a\tb\tc\td\ne\tf\tg\nh\ni";
    h.grid.OnEditPaste();
    EXPECT_EQ(Column(h.grid, 1) + Column(h.grid, 2) + Column(h.grid, 3), "a r2c1 e r1c2 r2c2 r3c2 b r2c3 f ");
    EXPECT_EQ(h.grid.GetRowCount() * 10 + h.grid.GetColumnCount(), 44);
    // Written cells lose their selected flag; the others keep it.
    EXPECT_FALSE(h.grid.IsCellSelected(1, 1));
    EXPECT_FALSE(h.grid.IsCellSelected(3, 3));
    EXPECT_TRUE(h.grid.IsCellSelected(1, 2));
    EXPECT_EQ(h.grid.GetSelectedCount(), 5);
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
    f.grid.SetItemState(1, 1, f.grid.GetItemState(1, 1) | GridState::ReadOnly);
    f.grid.OnEditPaste();
    EXPECT_EQ(f.grid.GetItemText(1, 1), "r1c1");
    EXPECT_FALSE(f.grid.CanPaste());
    f.grid.SetFocusCell(-1, -1); // no focus: the top-left non-fixed cell takes the paste
    f.grid.SetScrollPos(false, 0);
    f.grid.SetItemState(1, 1, 0);
    f.grid.OnEditPaste();
    EXPECT_EQ(f.grid.GetItemText(1, 1), "z");
    f.grid.SetFocusCell(2, 2); // an open editor takes the paste instead of the grid
    f.grid.OnEditCell(2, 2, {-1, -1}, GridKey::MouseStart);
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
    EXPECT_EQ(Column(f.grid, 1), "-3 10 100 9 abc ");
    EXPECT_EQ(Column(f.grid, 2), "r5c2 r1c2 r3c2 r2c2 r4c2 "); // whole rows move, with their heights
    EXPECT_EQ(f.grid.GetRowHeight(4), 33);
    EXPECT_EQ(f.grid.GetRowHeight(2), 20);
    EXPECT_EQ(f.grid.GetSelectedCount(), 0);
    EXPECT_FALSE(f.grid.GetFocusCell().IsValid());
    EXPECT_EQ(f.grid.GetItemText(0, 1), "r0c1"); // the header stays
    for (int row = 1; row <= 5; ++row) // a numeric pivot compares as integers
        f.grid.GetCell(row, 1)->SetNumeric(true);
    f.grid.SortItems(1, true);
    EXPECT_EQ(Column(f.grid, 1), "-3 abc 9 10 100 ");
    f.grid.SortItems(1, false);
    EXPECT_EQ(Column(f.grid, 1), "100 10 9 abc -3 ");
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
    EXPECT_EQ(Column(c.grid, 1), "dddd ccc bb a ");
    EXPECT_EQ(seen, 42);

    CGridFixture big(2000, 1);
    for (int row = 1; row <= 2000; ++row) {
        big.grid.SetItemText(row, 1, std::to_string((row * 7919) % 2000));
        big.grid.GetCell(row, 1)->SetNumeric(true);
    }
    big.grid.SortItems(1, true);
    for (int row = 1; row <= 2000; ++row)
        ASSERT_EQ(big.grid.GetItemText(row, 1), std::to_string(row - 1));
}

} // namespace

namespace {

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
    struct Case {
        T trigger;
        A reply;
        bool readOnly;
        std::vector<std::string> heard;
        bool editorAt22;
    };
    const Case cases[] = {
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
    for (const Case& c : cases) {
        SCOPED_TRACE(c.heard.empty() ? "read-only click" : c.heard.back());
        CGridFixture f(4, 4);
        f.owner.m_EditReplies[c.trigger] = c.reply;
        if (c.readOnly)
            f.grid.SetItemState(2, 2, f.grid.GetItemState(2, 2) | GridState::ReadOnly);
        f.grid.SetFocusCell(2, 2);
        switch (c.trigger) {
        case T::Click:
            f.Click(2, 2);
            break;
        case T::DoubleClick:
            f.grid.OnLButtonDblClk(f.Centre(2, 2), 0);
            break;
        case T::Character:
            f.grid.OnChar('x', 0);
            break;
        case T::F2:
            f.grid.OnKeyDown(GridKey::F2, 0);
            break;
        case T::NextCell:
            f.grid.SetFocusCell(2, 1);
            f.grid.OnKeyDown(GridKey::F2, 0);
            ASSERT_NE(f.view.LastEditor(), nullptr);
            f.view.LastEditor()->Finish("typed", GridKey::Tab);
            EXPECT_EQ(f.grid.GetFocusCell(), CCellID(2, 2));
            break;
        }
        EXPECT_EQ(f.owner.m_EditRequests, c.heard);
        const CFakeEditor* editor = f.view.LastEditor();
        EXPECT_EQ(editor && editor->m_Request.row == 2 && editor->m_Request.col == 2, c.editorAt22);
    }
}

} // namespace
