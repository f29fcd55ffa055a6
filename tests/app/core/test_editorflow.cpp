#include "app/core/clegendedit.h"
#include "app/core/rowinterpolation.h"
#include "app/core/editorfakes.h"
#include "platform/scratchfiles.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>

// "#Project alpha #System beta gamma"
static const std::string three = "write P/alpha 2; write S/beta 3; write S/gamma 1 third; ";

// Each row runs a script on a fresh bench (see CEditorBench::Run) and compares its whole result.
TEST(EditorFlow, Scripts)
{
    const CEditorHostFlags none, qx{.quarvex = true}, st{.strativ = true}, q3{.quarvex3D = true};
    const CEditorHostFlags s3{.strativ3D = true};
    const std::string changed =
        "\"S/shared.leg has been changed by another program since it was loaded.\nDo you want to "
        "overwrite it with your changes? Choose No to reload it and drop your changes, or Cancel "
        "to go on editing.\" ";
    const std::string noFile = std::strerror(ENOENT), cp1252 = "d\xe9j\xe0"; // "déjà" as older files hold it
    const std::string shared = "write S/shared 2; open; type mine; write S/shared 3 theirs; ",
                      onDisk = "; disk S/shared.leg";
    const std::string two = "write S/one 1; write S/two 2; open; type edited; ", solo = "write S/solo 1; open; ";
    const std::string alpha = "write S/alpha 2; open; type Gold; cell edited; ", copy = "write P/alpha 2; open; ";
    const std::string rocks =
        "write P/alpha 2; write P/beta 1; write W/t/rocks 3; export W/t/all.tab W/t/rocks.leg; open; ";
    const CEditorHostFlags q3pid{.quarvex = true, .gisHostProcessId = 42};
    const std::string start = three + "start";
    const std::string a0 = "write S/a0 1; tab S/all.tab; open; type unsaved; ", a0a1 = "write S/a1 1; " + a0;
    const std::string asked = "\"Would you like to delete S/a0.leg?\" ";
    const std::string moved = "write S/alpha 2; write W/other/moved 2; open; ";
    const std::tuple<CEditorHostFlags, std::string, std::string> cases[] = {
        // A host lists every legend as a system legend, without headings.
        {qx, start,
         "[patterns |list alpha beta gamma|select 0|writable|editing on|auto on|fill alpha 2|header "
         "alpha|alpha.leg||Numeric continuous] alpha 2 @0"},
        {none, start + " S/gone.leg; texts",
         "[patterns |list #Project alpha #System beta gamma|select -1|clear|editing off|header |||] \"Could not "
         "load S/gone.leg: " +
             noFile + "\" file=  0 @-1 noload"},
        // Choosing a heading moves off it the way the selection came, or back where it was at the top.
        {none, three + "open; choose 4; choose 2", "alpha 2 @1"},
        {none, three + "open; choose 2; choose 0", "beta 3 @3"},
        // A legend that fails to load leaves the shown one with its own file, and a save does not reach it.
        {none, three + "huge S/huge.leg; open; choose 4; choose 5; save; disk S/huge.leg",
         "none gamma 1 'third' @4 noload"},
        // The list follows files other programs add and remove; the shown legend stays, modified.
        {none,
         three + "open; choose 4; type x; write S/aardvark 1; rm S/beta.leg; follow; follow; rm S/gamma.leg; follow",
         "[list #Project alpha #System aardvark gamma|select 4] [] [list #Project alpha #System aardvark|select -1] "
         "gamma 1* 'x' @-1"},
        // Yes to "Save changes?" shows the chosen legend, or keeps the one the minimum rows refused.
        {qx, two + "choose 1; calls; disk S/one.leg", "[select 0] one||r one 1* 'edited' @0 save? tworows"},
        {none, two + "choose 2; calls; disk S/one.leg",
         "[list #System one two|select 1|writable|editing on|auto on|fill one 1|header one|one.leg|edited|Numeric "
         "continuous|writable|editing on|auto on|fill two 2|select 2|header two|two.leg||Numeric continuous] "
         "one|edited|r two 2 @2 save?"},
        // Save writes the description and a cell still being typed, and exports the table under a host.
        {none, "tab S/all.tab; " + alpha + "save; disk S/alpha.leg; rows S/all.tab",
         "alpha|Gold|edited,r 0 alpha 2 'Gold' @1"},
        {st, "tab S/all.tab; " + alpha + "save; disk S/alpha.leg; rows S/all.tab",
         "alpha|Gold|edited,r 2 alpha 2 'Gold' @0"},
        {st, "tab S/no/all.tab; " + alpha + "save; texts",
         "\"Could not write the TAB legend table S/no/all.tab: " + noFile + "\" alpha 2 'Gold' @0 noexport"},
        // Save As into another folder asks; the save names the legend after the file name field.
        {none, copy + "answer yes; saveas W/PROJECT/copy.leg; disk W/PROJECT/copy.leg",
         "from=P/alpha.leg to=W/PROJECT/ alpha||r,r alpha 2 @1 folder?"}, // another folder here
        {none, copy + "answer yes; saveas P/copy; disk P/copy.leg", "from=P/alpha.leg to=P/ alpha||r,r alpha 2 @1"},
        {none, copy + "answer yes; saveas P/alpha.leg/copy.leg",
         "from=P/alpha.leg to=P/alpha.leg/ alpha 2 @1 folder? 5001"},
        // A name that becomes an existing legend by its ".leg" is asked about.
        {none,
         copy + "type new; answer no; saveas P/alpha; disk P/alpha.leg; answer yes; saveas P/alpha; disk P/alpha.leg",
         "from=P/alpha.leg to=P/ alpha||r,r from=P/alpha.leg to=P/ alpha|new|r,r alpha 2 'new' @1 replace? replace?"},
        // Close asks only for a modified legend and stays open when the save is refused.
        {none, solo + "type ; answer cancel; close; disk S/solo.leg",
         "closes solo||r solo 1 @1"}, // typed back what was there
        {none, solo + "type new; answer yes; close; disk S/solo.leg", "closes solo|new|r solo 1 'new' @1 save?c"},
        {none, solo + "type new; answer no; close; disk S/solo.leg", "closes solo||r solo 1* 'new' @1 save?c"},
        {q3, solo + "type new; answer yes; close; disk S/solo.leg",
         "stays solo||r solo 1* 'new' @0 save?c tworows"}, // one row: refused
        // A Windows-1252 legend keeps its bytes, and typed text becomes Windows-1252.
        {none, "write S/solo 1 " + cp1252 + "; open; type d\xc3\xa9j\xc3\xa0 vu \xe2\x82\xac; close; disk S/solo.leg",
         "closes solo|d\xe9j\xe0 vu \x80|r solo 1 'd\xc3\xa9j\xc3\xa0 vu \xe2\x82\xac' @1 save?c"},
        {none, "write S/solo 1 " + cp1252 + "; open; type \xe2\x86\x92; close; disk S/solo.leg",
         "closes solo|\xe2\x86\x92|r solo 1 '\xe2\x86\x92' @1 save?c"}, // no byte for it
        // Saving over a legend changed on disk asks first: No reloads it, Cancel goes on editing.
        {none, shared + "answer yes; save; texts" + onDisk, changed + "shared|mine|r,r shared 2 'mine' @1 disk?c"},
        {none, shared + "answer no; save" + onDisk, "shared|theirs|r,r,r shared 3 'theirs' @1 disk?c"},
        {none, shared + "huge S/shared.leg; answer no; save" + onDisk,
         "none shared 2* 'mine' @1 disk?c noload"}, // the reload fails: the edits stay, unsaved
        {none, shared + "answer cancel; save" + onDisk, "shared|theirs|r,r,r shared 2* 'mine' @1 disk?c"},
        // Save names the legend after the file title, in the legend's own encoding where it has the bytes.
        {none, "write S/old 2 " + cp1252 + "; mv S/old.leg S/g\xc3\xa9ol.leg; open; save; disk S/g\xc3\xa9ol.leg",
         "g\xe9ol|" + cp1252 + "|r,r file=g\xc3\xa9ol.leg g\xe9ol 2 \'d\xc3\xa9j\xc3\xa0\' @1"},
        {none, "write S/old 2 plain; mv S/old.leg S/g\xe9ol.leg; open; save; disk S/g\xe9ol.leg",
         "g\xc3\xa9ol|plain|r,r file=g\xe9ol.leg g\xc3\xa9ol 2 \'plain\' @1"},
        {none,
         "write S/old 2 " + cp1252 +
             "; mv S/old.leg S/g\xc3\xa9ol \xe2\x86\x92.leg; open; save; disk S/g\xc3\xa9ol \xe2\x86\x92.leg",
         "g\xc3\xa9ol \xe2\x86\x92|" + cp1252 + "|r,r g\xc3\xa9ol \xe2\x86\x92 2 \'d\xc3\xa9j\xc3\xa0\' @1"},
        // New: the dialog writes the file, which is loaded, ramped from blue to red and saved; without it, nothing is.
        {q3pid,
         "write S/alpha 2; open; new a 0; fills S/a.leg; new b 1; fills S/b.leg; disk S/b.leg; new c 3; fills S/c.leg; "
         "disk S/c.leg",
         "S/||42  S/||42 ff0000/2/2, b||x S/||42 ff0000/2/2,ff00/2/2,ff/2/2, c||x,x,x c 3 @3 tworows tworows"},
        {none, "write S/alpha 2; open; new never -; disk S/never.leg", "S/|P/|-1 none file= alpha 2 @-1 noload"},
        {none, "write S/alpha 2; open; new - -", "S/|P/|-1 alpha 2 @1"}, // the dialog cancelled
        // Import asks about the edits before another legend is replaced; replacing the edited one drops them.
        {none, rocks + "import W/t/all.tab rocks rocks_copy; disk P/rocks_copy.leg",
         "rocks|| file=rocks_copy.leg rocks 3 @3"},
        {none,
         rocks + "type e; answer cancel; import W/t/all.tab rocks rocks_copy.leg; disk P/rocks_copy.leg; answer no; "
                 "import W/t/all.tab rocks alpha.leg; disk P/alpha.leg; answer yes; import W/t/all.tab rocks "
                 "alpha.leg; disk P/alpha.leg",
         "none alpha||r,r rocks|| file=alpha.leg rocks 3 @1 save?c replace? replace?"},
        {none, rocks + "import W/t/missing.tab rocks rocks_copy.leg; disk P/rocks_copy.leg", "none alpha 2 @1 0"},
        // Delete asks, removes and shows the next legend or nothing; the hosts' table holds the ones left.
        {s3, a0 + "answer yes; delete; calls; texts; disk S/a0.leg; rows S/all.tab",
         "[list|select -1|clear|editing off|header |||] " + asked + "none 0 file=  0 @-1 delete?"},
        {s3, a0a1 + "answer yes; delete; calls; texts; disk S/a0.leg; rows S/all.tab",
         "[list a1|select 0|writable|editing on|auto on|fill a1 1|header a1|a1.leg||Numeric continuous] " + asked +
             "none 1 a1 1 @0 delete?"},
        {s3, a0a1 + "answer no; delete; calls; texts; disk S/a0.leg",
         "[] " + asked + "a0||r a0 1* 'unsaved' @0 delete?"},
        // Settings store the folders and list the new legend folder from its first legend.
        {qx, moved + "settings W/other/", "1 W/other/ /x/a.pen W/other/patterns/ W/other/patterns/ moved 2 @0"},
        {none, moved + "type e; answer cancel; settings W/other/",
         "0 S/ - -  alpha 2* 'e' @1 save?c"}, // nothing stored, the edits stay
        // The running host is told, or the user that it could not be reached.
        {{.notify3D = true, .quarvex3D = true}, "notify 0 1", "Quarvex3D 0 file=  0 @-1 135"},
    };
    for (const auto& [flags, script, expected] : cases) {
        CEditorBench b(flags);
        EXPECT_EQ(b.Run(script), expected) << script;
    }
    CEditorBench b; // other programs read the legend chosen last from the profile
    b.Run("write S/solo 1; open; close");
    EXPECT_EQ(CSettingsStore::GetProfileString("Settings", "LastLegend"), "solo");
}

TEST(EditorFlow, AWriteProtectedLegendIsShownReadOnlyAndIsNotDeleted)
{
    // Permissions do not hold for root: the bench runs as an unprivileged user then.
    const std::string said = InChild(
        [] {
            return CEditorBench().Run("write S/kept 1; chmod 444 S/kept.leg; start; delete; texts; disk S/kept.leg");
        },
        true);
    if (said == "skip")
        GTEST_SKIP() << "no unprivileged user to run as";
    EXPECT_EQ(said, "[patterns |list #System kept|select 0|select 1|read-only|editing off|auto on|fill kept 1|header "
                    "kept|kept.leg||Numeric continuous] \"Would you like to delete S/kept.leg?\" \"S/kept.leg does not "
                    "have write-permission!\" kept||r kept 1 @1 delete? nowrite");
}

// Undo drops a cell still being typed, whose text would land on the rows put back.
TEST(EditorFlow, UndoDropsACellStillBeingTyped)
{
    struct : CEditorHistory {
        std::vector<CLegendEdit> edits;
        void Recorded(CLegendEdit edit) override { edits.push_back(std::move(edit)); }
        void Reset() override {}
        void Saved() override {}
    } history;
    CEditorBench b;
    b.flow.SetHistory(&history);
    b.Run("write S/alpha 2; open; type ; type x; cell typed"); // typing what was there is no edit
    b.flow.ApplyEdit(history.edits.at(0), true);
    b.view.CommitPendingEdits();
    EXPECT_EQ(b.Run("calls") + " " + b.flow.Legend().m_Labels[0],
              "[cancel|fill alpha 2|header alpha|alpha.leg||Numeric continuous] alpha 2* @1 r");
}

namespace {

CLLLegend Numbered(int rows)
{
    CLLLegend legend;
    legend.Clear();
    for (int i = 0; i < rows; ++i)
        legend.AddRow(CLLRow{.label = "r" + std::to_string(i), .from = i * 1.0, .to = i + 1.0, .pattern = i});
    return legend;
}

} // namespace

TEST(LegendEdit, RedoAndUndoGiveTheExactLegendsAndKeepOnlyWhatChanged)
{
    // The legend's rows, the change; the first row the edit keeps and how many rows before and after.
    const std::tuple<int, std::function<void(CLLLegend&)>, int, size_t, size_t> cases[] = {
        {100, [](CLLLegend& l) { l.m_Labels[50] = "changed"; }, 50, 1, 1},
        {10, [](CLLLegend& l) { l.InsertRow(3); }, 3, 0, 1},
        {10, [](CLLLegend& l) { l.DeleteRow(4); }, 4, 1, 0},
        {4,
         [](CLLLegend& l) {
             l.m_Patterns = {9, 9, 9, 9};
         },
         0, 4, 4},                                           // every row changes, as in a sort
        {3, [](CLLLegend& l) { l = Numbered(0); }, 0, 3, 0}, // undone, an empty legend takes rows of its data type
        {3, [](CLLLegend& l) { l.m_Description = "typed"; }, 3, 0, 0}, // the description only
    };
    for (const auto& [rows, change, first, keptBefore, keptAfter] : cases) {
        SCOPED_TRACE(rows);
        const CLLLegend before = Numbered(rows);
        CLLLegend after = before;
        change(after);
        const CLegendEdit edit = CLegendEdit::Between(before, after);
        EXPECT_EQ(std::make_tuple(edit.FirstRow(), edit.RowsBefore().size(), edit.RowsAfter().size(), edit.IsEmpty()),
                  std::make_tuple(first, keptBefore, keptAfter, false));
        CLLLegend legend = before;
        edit.Apply(legend, false);
        EXPECT_EQ(legend.LEGText(), after.LEGText());
        EXPECT_TRUE(legend.RowListsAgree());
        edit.Apply(legend, true);
        EXPECT_EQ(legend.LEGText(), before.LEGText());
        EXPECT_TRUE(legend.RowListsAgree());
    }
    EXPECT_TRUE(CLegendEdit::Between(Numbered(3), Numbered(3)).IsEmpty());
}

TEST(InterpolateColourColumn, RecomputesEveryRowButTheFirstInSinglePrecision)
{
    const uint32_t red = 0x0000FF, green = 0x00FF00, blue = 0xFF0000;
    const std::tuple<std::vector<uint32_t>, CColourColumn, CInterpolationMode, std::vector<uint32_t>> cases[] = {
        // Hue runs from 2/3 down to 0 through 1/3, never the short way round.
        {{blue, 0, red}, CColourColumn::Back, CInterpolationMode::HSL, {blue, green, red}},
        {{blue, 0, 0, 0, red}, CColourColumn::Line, CInterpolationMode::HSL, {blue, 0xFFFF00, green, 0x00FFFF, red}},
        // Two rows: the last is recomputed from itself and stays.
        {{red, 0x123456}, CColourColumn::Fill, CInterpolationMode::RGB, {red, 0x123456}},
    };
    for (const auto& [colours, column, mode, expected] : cases) {
        CLLLegend legend;
        legend.Clear();
        for (uint32_t colour : colours)
            legend.AddRow({.fillColour = CGColor(colour),
                           .backColour = CGColor(colour),
                           .fillTransparent = true,
                           .backTransparent = true,
                           .lineColour = CGColor(colour)});
        const int last = static_cast<int>(colours.size()) - 1;
        EXPECT_EQ(InterpolateColourColumn(legend, 0, last, column, mode), last);
        const bool back = column == CColourColumn::Back;
        const CLLColourTable& table = column == CColourColumn::Fill ? legend.m_FillColours
                                      : back                        ? legend.m_BackColours
                                                                    : legend.m_LineColours;
        std::vector<uint32_t> got;
        for (const CGColor& colour : table.m_Colours)
            got.push_back(colour.GetPacked());
        EXPECT_EQ(got, expected);
        // Rows that got a colour are opaque in that column only; the first keeps its flag.
        std::vector<int32_t> flags(colours.size(), 1);
        if (column != CColourColumn::Line)
            std::fill(flags.begin() + 1, flags.end(), 0);
        EXPECT_EQ(back ? legend.m_BackTransparent : legend.m_FillTransparent, flags);
        EXPECT_EQ(back ? legend.m_FillTransparent : legend.m_BackTransparent, std::vector<int32_t>(colours.size(), 1));
    }
}
