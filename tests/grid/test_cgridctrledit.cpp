// The editing protocol, the validated change, clipboard text and sorting.

#include "grid/gridscript.h"

namespace {

using gridscript::Check;
using gridscript::Play;

TEST(GridEditing, StartEndAndTheKeyThatEnds)
{
    // No edit off screen (and no scrolling), on a read-only or missing cell, or when vetoed.
    Check(40, 3, {300, 200},
          {{"edit 2,2 7; editors; editing 2,2; end; editing 2,2; clear; edit 30,2 7; ro 3,2; edit "
            "3,2 7; edit 99,2 7; reply -105 -1; edit 4,2 7; editors; top; codes; editing 4,2",
            "1: 2,2 key 55 | editing 1 | editing 0 | 1: 2,2 key 55 | top 1 1 | -105@4,2 | "
            "editing 0"}});
    // A changed text is stored and reported; the same text does nothing; a refused one goes back.
    Check(3, 3, {400, 300},
          {{"unmod; edit 1,1 Mouse; clear; finish Return new text; get 1,1; modified 1,1; codes",
            "new text | mod 1 1 | -106@1,1=new text"},
           {"unmod; edit 1,2 Mouse; clear; finish Return r1c2; modified 1,2; codes", "mod 0 0 | "},
           {"unmod; reply -106 -1; edit 1,3 Mouse; clear; finish Return refused; get 1,3; modified 1,3; codes",
            "r1c3 | mod 0 0 | -106@1,3=refused"},
           // A key that ends an edit goes on in the next cell if there is one.
           {"focus 1,3; edit 1,3 5; finish Tab 5; get 1,3; ft; editors; editing 2,1",
            "5 | 2,1/1 | 2: 2,1 key 9 | editing 1"},
           {"focus 2,2; edit 2,2 5; finish Down 5; ft; editors; editing 3,2", "3,2/1 | 2: 3,2 key 1114152 | editing 1"},
           {"focus 3,3; edit 3,3 5; finish Tab 5; ft; editors", "3,3/1 | 1: 3,3 key 53"},
           {"focus 2,1; edit 2,1 5; finish Return 5; get 2,1; ft; editors; editing 2,1",
            "5 | 2,1/1 | 1: 2,1 key 53 | editing 0"},
           // Delete clears through the validated change; read-only or a veto keep the text.
           {"focus 2,2; key Delete; get 2,2; codes", " | -105@2,2 -106@2,2"},
           {"focus 2,2; ro 2,2; key Delete; get 2,2; codes", "r2c2 | "},
           {"focus 2,2; reply -105 -1; key Delete; get 2,2; ft; codes", "r2c2 | 2,2/1 | -105@2,2"}});
}

TEST(GridEditing, ScrollingOrRemovingTheCellEndsTheEdit)
{
    // A moved view would leave the box over another row: what was typed goes into its own cell.
    Check(50, 12, {400, 300},
          {{"focus 2,2; key F2; etext typed; wheel -120; editing 2,2; get 2,2; ended", "editing 0 | typed | ended 1 0"},
           {"focus 2,2; key F2; wheel 120; editing 2,2; top", "editing 1 | top 1 1"}});
    // An open editor follows its cell when rows move under it.
    Check(3, 1, {400, 300},
          {{"text 1,1 c; text 2,1 a; text 3,1 b; edit 1,1 Mouse; sort 1 +; insert 1 new; editing 4,1; clear; finish "
            "Return d; col 1; codes; modified 4,1; modified 1,1; editing 4,1",
            "1 | editing 1 |  a b d  | -106@4,1=d | mod 1 1 | mod 1 0 | editing 0"}});
    // Removing the edited row or column abandons the box without a report.
    const std::string again = "; ended; endedit; rows 4; cols 3; get 3,2; edit 3,2 5; editors; finish Return 5; get "
                              "3,2; codes",
                      edits = "1 | ended 1 1 | 1 | 1 |  | 2: 3,2 key 53 | 5 | -105@3,2 -106@3,2=5";
    for (const char* remove : {"rows 3", "delete 3", "cols 2"}) {
        CGridFixture r(3, 2);
        EXPECT_EQ(Play(r, "edit 3,2 4; clear; " + std::string(remove) + again), edits) << remove;
    }
}

TEST(GridClipboard, CopyCutAndPaste)
{
    // Hidden rows and columns give no text and no separator, wherever they lie.
    Check(3, 3, {400, 300},
          {{"colw 2 0; sel 1,1 3,3; focus 1,1; key C ctrl; clipboard", "r1c1\tr1c3\nr2c1\tr2c3\nr3c1\tr3c3"},
           {"rowh 1 0; colw 3 0; sel 1,1 3,3; copy", "r2c1\tr2c2\nr3c1\tr3c2"},
           // Unselected cells inside the block stay empty.
           {"click 1,1; click 2,3 ctrl; copy; can", "r1c1\t\t\n\t\tr2c3 | can 1 1 0"},
           // Cut copies, then clears what may be changed.
           {"focus 1,1; sel 1,1 2,2; ro 2,2; key X ctrl; clipboard; col 1; col 2; n -106; noedit; can; noclip; sel 3,1 "
            "3,1; cut; clipboard; get 3,1",
            "r1c1\tr1c2\nr2c1\tr2c2 |   r3c1  |  r2c2 r3c2  | n3 | can 1 0 0 | none | r3c1"},
           // Paste splits on tabs and commas, writes through the edit protocol and drops overflow.
           {"focus 2,2; clip 1,2\n3,4; key V ctrl; col 2; col 3; codes",
            "r1c2 1 3  | r1c3 2 4  | -105@2,2 -106@2,2=1 -105@2,3 -106@2,3=2 -105@3,2 -106@3,2=3 -105@3,3 -106@3,3=4"},
           // Texts are trimmed; the final line feed adds no line.
           {"focus 2,2; clip 5\t 7 \r\n8\n; key Insert shift; col 2; col 3", "r1c2 5 8  | r1c3 7 r3c3 "},
           // Hidden targets are skipped; written cells lose their selected flag.
           {"rowh 2 0; colw 2 0; sel 1,1 3,3; focus 1,1; clip a\tb\tc\td\ne\tf\tg\nh\ni; paste; col 1; col 2; col 3; "
            "selected",
            "a r2c1 e  | r1c2 r2c2 r3c2  | b r2c3 f  | 2,1 1,2 2,2 3,2 2,3 "},
           // Paste needs text and an editable target; an open editor takes it instead of the grid.
           {"focus 1,1; noclip; paste; can; codes; clip z; can; ro 1,1; paste; get 1,1; can; focus -1,-1; state0 1,1; "
            "paste; get 1,1; focus 2,2; edit 2,2 Mouse; paste; pastes; get 2,2",
            "can 0 0 0 |  | can 0 0 1 | r1c1 | can 0 0 0 | z | pastes 1 | r2c2"},
           // Select all notifies around the selection.
           {"click 1,2; clear; key A ctrl; count; codes", "count 9 | -100@1,2 -101@1,2"}});
}

TEST(GridSorting, OrdersWholeRowsByTextNumbersOrACompareFunction)
{
    // Whole rows move, with their heights; focus and selection go; numeric columns compare as integers.
    Check(5, 2, {400, 300},
          {{"text 1,1 10; text 2,1 9; text 3,1 100; text 4,1 abc; text 5,1 -3; rowh 2 33; focus 2,2; sel 1,1 3,2; sort "
            "1 +; col 1; col 2; h 4; h 2; state; get 0,1; numeric 1; sort 1 +; col 1; sort 1 -; sort 7 +; sorted",
            "-3 10 100 9 abc  | r5c2 r1c2 r3c2 r2c2 r4c2  | h33 | h20 | focus -1,-1 sel 6,3--1,-1/0 | r0c1 | -3 abc 9 "
            "10 100  | 1- 100 10 9 abc -3 "},
           // The owner hears each sort once the rows are in their new order.
           {"sortclick; click 0,2; click 0,2; sort 1 +; sort 9 +; sorts", "1008:2+ r1c2;1008:2- r5c2;1008:1+ r1c1;"}});
}

TEST(GridOwnerHooks, OwnerChoosesTheEditorPerCellAndTrigger)
{
    // A double click on a read-only cell is still heard: chooser cells open that way.
    Check(4, 4, {400, 300},
          {{"answer click text; click 2,2; requests; editors", "2,2 click #1; | 1: 2,2 key 1"},
           {"answer click text; ro 2,2; click 2,2; requests; editors", " | 0"},
           {"answer dbl nothing; dbl @2,2; requests; editors", "2,2 double click #1; | 0"},
           {"answer dbl owner; ro 2,2; dbl @2,2; requests; editors", "2,2 double click #1; | 0"},
           {"answer char text; char x; requests; editors", "2,2 character #120; | 1: 2,2 key 120"},
           {"answer F2 owner; key F2; requests; editors", "2,2 F2 #1; | 0"},
           {"answer next text; focus 2,1; key F2; finish Tab typed; requests; editors; ft",
            "2,1 F2 #1;2,2 next cell #9; | 2: 2,2 key 9 | 2,2/1"},
           {"answer next owner; ro 2,2; focus 2,1; key F2; finish Tab typed; requests; editors; ft",
            "2,1 F2 #1;2,2 next cell #9; | 1: 2,1 key 1 | 2,2/1"}},
          [](CGridFixture& f) { f.grid.SetFocusCell(2, 2); });
}

} // namespace
