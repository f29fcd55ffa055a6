#pragma once
// A spreadsheet filled from a legend, recording the choosers it opens; helpers render rows as strings.

#include "app/sheet/cmygridcell.h"
#include "app/sheet/cmygridctrl.h"
#include "app/sheet/crowcommands.h"
#include "grid/gridfakes.h"
#include "support/madelocale.h"
#include "support/recordingprompt.h"

#include <gtest/gtest.h>

#include <locale>
#include <sstream>
#include <utility>

class CRecordingChoosers : public CChooserHost {
public:
    CGridPoint ClientOrigin() const override { return {300, 200}; }
    void CloseStyleChoosers() override { log.push_back("close"); }
    void OpenColourPicker(const CColourPickerRequest& r) override
    {
        Add("colour " + std::to_string(r.colour), r, (r.offerTransparent ? " transparent " : " ") + r.customText);
    }
    void OpenPatternChooser(const CPatternChooserRequest& r) override
    {
        Add("pattern " + std::to_string(r.pattern), r, " " + r.patternFolder + (r.patterns ? "" : " no table"));
    }
    void OpenLineStyleChooser(const CLineStyleChooserRequest& r) override
    {
        Add("lstyle " + std::to_string(r.lineStyle), r, " " + r.penFile);
    }
    void Redraw() override { log.push_back("redraw"); }
    template <class Request>
    void Add(const std::string& what, const Request& r, const std::string& rest)
    {
        log.push_back(what + " r" + std::to_string(r.row) + "c" + std::to_string(r.col) + rest);
    }
    std::vector<std::string> log;
};

// Draws the style as a line as wide as its number, across the middle.
class CWidthSampler : public CLineStyleSampler {
public:
    void DrawLineStyle(CGridPainter& painter, const CGridRect& rect, int32_t style, uint32_t colour) override
    {
        const int mid = (rect.top + rect.bottom) / 2;
        painter.DrawPolyline({{rect.left, mid}, {rect.right, mid}}, style, colour);
    }
};

// The items joined by `sep`, numbers as the stream writes them.
template <class List>
std::string Join(const List& items, const char* sep = ",")
{
    std::ostringstream out;
    out.imbue(std::locale::classic());
    const char* between = "";
    for (const auto& item : items)
        out << std::exchange(between, sep) << item;
    return out.str();
}

struct CSheet {
    CLLLegend legend;
    CMyGridCtrl sheet;
    CFakeGridView view{sheet, {900, 400}};
    CRecordingChoosers choosers;
    CWidthSampler sampler;
    CRecordingPrompt prompt;
    CRowCommands commands{sheet, prompt};
    int changes = 0; // legend changes and edits marked without one

    explicit CSheet(const std::vector<CLLRow>& rows, int32_t dataType = DataNumericContinuous, bool host = false)
    {
        legend.Clear();
        legend.m_DataType = dataType;
        for (const CLLRow& row : rows)
            legend.AddRow(row, CLLLegend::RowValues::OfDataType);
        sheet.SetView(&view);
        sheet.SetChooserHost(&choosers);
        sheet.SetLineStyleSampler(&sampler);
        sheet.SetQuarvexOrStrativ(host);
        sheet.SetPatternFolder("/pat/");
        sheet.SetPenFile("host.pen");
        sheet.SetChangeFunction([this](const CMyGridCtrl::LegendChange& change) {
            ++changes;
            change(legend);
        });
        sheet.SetMarkModifiedFunction([this] { ++changes; });
        sheet.FillFromLegend(legend);
        choosers.log.clear();
    }
    // The texts of one spreadsheet row, '|'-separated.
    std::string Texts(int row) const
    {
        std::string out;
        for (int c = 0; c < sheet.GetColumnCount(); ++c)
            out += (c ? "|" : "") + sheet.GetItemText(row, c);
        return out;
    }
    // From|To|text|label|Fg|Bg (T when transparent)|pattern|line|style|thickness|comment.
    std::string Row(int i) const
    {
        CLLRow r;
        legend.GetRow(i, r);
        return CNumberFormat::Format("%.10g|%.10g|%s|%s|%u%s|%u%s|%d|%u|%d|%g|%s", r.from, r.to, r.text.c_str(),
                                     r.label.c_str(), r.fillColour.GetPacked(), r.fillTransparent ? "T" : "",
                                     r.backColour.GetPacked(), r.backTransparent ? "T" : "", r.pattern,
                                     r.lineColour.GetPacked(), r.lineStyle, static_cast<double>(r.thickness),
                                     r.comment.c_str());
    }
    // Fg/Bg/pattern/line colour/style of every row, colours in hex.
    std::string Styles() const
    {
        std::string out;
        CLLRow r;
        for (int i = 0; legend.GetRow(i, r); ++i)
            out += CNumberFormat::Format("%x%s/%x%s/%d/%x/%d ", r.fillColour.GetPacked(), r.fillTransparent ? "T" : "",
                                         r.backColour.GetPacked(), r.backTransparent ? "T" : "", r.pattern,
                                         r.lineColour.GetPacked(), r.lineStyle);
        return out;
    }
    // Selects the rectangle (none for r1 < 0), runs the button and returns the message ids, questions with text.
    std::string Run(int button, int r1, int c1, int r2, int c2)
    {
        sheet.ResetSelectedRange();
        if (r1 >= 0)
            sheet.SetSelectedRange(r1, c1, r2, c2);
        changes = 0;
        EXPECT_TRUE(commands.OnButton(button));
        std::string out;
        for (const CUserPrompt::Message& m : prompt.m_Messages)
            out += std::to_string(m.stringId) + (m.title.empty() ? "" : " " + m.text + " [" + m.title + "]") + ";";
        return out;
    }
    // Per row above `rows`: height, then per cell its text, '-' when closed to typing, the
    // item data of a style cell and the legend row it carries, as a fresh fill shows them.
    void ExpectInStep(int rows = -1) const
    {
        CMyGridCtrl fresh;
        fresh.FillFromLegend(legend);
        ASSERT_EQ(sheet.GetRowCount(), legend.GetRowCount() + 1);
        ASSERT_TRUE(legend.RowListsAgree());
        auto snapshot = [rows = rows < 0 ? sheet.GetRowCount() : rows](const CMyGridCtrl& g) {
            std::string out;
            for (int r = 1; r < rows; ++r) {
                out += std::to_string(g.GetRowHeight(r)) + ":";
                for (int c = 0; c < g.GetColumnCount(); ++c)
                    out += g.GetItemText(r, c) + (g.IsCellEditable(r, c) ? "" : "-") +
                           (g.Columns().IsChooser(c) ? std::to_string(g.GetItemData(r, c)) : "") + "@" +
                           std::to_string(dynamic_cast<const CMyGridCell*>(g.GetCell(r, c))->GetLegendRow()) + "|";
                out += "\n";
            }
            return out;
        };
        EXPECT_EQ(snapshot(sheet), snapshot(fresh));
    }
};
