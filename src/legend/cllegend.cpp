#include "legend/cllegend.h"

#include "platform/cufilename.h"

namespace {

template <typename T> T At(const std::vector<T>& list, int i, T fallback = T())
{
    return i >= 0 && i < static_cast<int>(list.size()) ? list[static_cast<size_t>(i)] : fallback;
}

template <typename T> void InsertAtIndex(std::vector<T>& list, int i, T value)
{
    list.insert(list.begin() + i, std::move(value));
}

template <typename T> void EraseAtIndex(std::vector<T>& list, int i)
{
    if (i >= 0 && i < static_cast<int>(list.size()))
        list.erase(list.begin() + i);
}

void InsertColour(CLLColourTable& table, int i, const CGColor& colour)
{
    table.m_Colours.insert(table.m_Colours.begin() + i, colour);
    table.m_Count = static_cast<int32_t>(table.m_Colours.size());
    table.m_LastIndex = table.m_Count - 1;
}

void AppendColour(CLLColourTable& table, const CGColor& colour)
{
    InsertColour(table, static_cast<int>(table.m_Colours.size()), colour);
}

} // namespace

void CLLLegend::SetDefault()
{
    Clear();
    m_FillColours.SetDefault();
    m_BackColours.SetDefault();
    m_LineColours.SetDefault();
    const auto n = static_cast<size_t>(GetRowCount());
    m_Labels.assign(n, std::string());
    m_Patterns.assign(n, 0);
    m_LineStyles.assign(n, 0);
    m_BackTransparent.assign(n, 0);
    m_FillTransparent.assign(n, 0);
    m_LineThickness.assign(n, 0.0f);
    // Sized too, so that a default legend can be written or shown as it stands.
    m_From.assign(n, 0.0);
    m_To.assign(n, 0.0);
    m_StringValues.assign(n, std::string());
    m_RowComments.assign(n, std::string());
    m_DataType = DataNumericContinuous;
}

void CLLLegend::Clear()
{
    m_FillColours.Clear();
    m_BackColours.Clear();
    m_LineColours.Clear();
    m_BackTransparent.clear();
    m_FillTransparent.clear();
    m_Labels.clear();
    m_Patterns.clear();
    m_LineStyles.clear();
    m_LineThickness.clear();
    m_StringValues.clear();
    m_Values.clear();
    m_From.clear();
    m_To.clear();
    m_HeaderComments.clear();
    m_RowComments.clear();
    m_Description.clear();
    m_Name.clear();
    m_DataType = DataNumericContinuous;
}

bool CLLLegend::GetRow(int i, CLLRow& row) const
{
    if (i < 0 || i > GetRowCount() - 1)
        return false;
    const auto k = static_cast<size_t>(i);
    row.label = At(m_Labels, i);
    row.text = At(m_StringValues, i);
    row.value = At(m_Values, i);
    row.from = At(m_From, i);
    row.to = At(m_To, i);
    row.fillColour = m_FillColours.m_Colours[k];
    row.backColour = At(m_BackColours.m_Colours, i);
    row.fillTransparent = At(m_FillTransparent, i) != 0;
    row.backTransparent = At(m_BackTransparent, i) != 0;
    row.pattern = At(m_Patterns, i);
    row.lineColour = At(m_LineColours.m_Colours, i);
    row.lineStyle = At(m_LineStyles, i);
    row.thickness = At(m_LineThickness, i);
    row.comment = At(m_RowComments, i);
    return true;
}

void CLLLegend::AddRow(const CLLRow& row)
{
    AppendColour(m_FillColours, row.fillColour);
    AppendColour(m_BackColours, row.backColour);
    AppendColour(m_LineColours, row.lineColour);
    m_FillTransparent.push_back(row.fillTransparent ? 1 : 0);
    m_BackTransparent.push_back(row.backTransparent ? 1 : 0);
    m_Labels.push_back(row.label);
    m_Patterns.push_back(row.pattern);
    m_LineStyles.push_back(row.lineStyle);
    m_LineThickness.push_back(row.thickness);
    m_RowComments.push_back(row.comment);
    m_StringValues.push_back(row.text);
    m_Values.push_back(row.value);
    m_From.push_back(row.from);
    m_To.push_back(row.to);
}

void CLLLegend::InsertRow(int i)
{
    if (i < 0 || i > static_cast<int>(m_Patterns.size()))
        return;
    InsertColour(m_FillColours, i, CGColor(0u));
    InsertColour(m_BackColours, i, CGColor(White));
    InsertColour(m_LineColours, i, CGColor(0u));
    InsertAtIndex(m_BackTransparent, i, 1);
    InsertAtIndex(m_FillTransparent, i, 0);
    InsertAtIndex(m_Labels, i, std::string());
    InsertAtIndex(m_Patterns, i, 1);
    InsertAtIndex(m_LineStyles, i, 2);
    InsertAtIndex(m_LineThickness, i, 1.0f);
    InsertAtIndex(m_RowComments, i, std::string());
    // The value lists only take part when they are in use for this legend.
    const auto fits = [i](const auto& list) { return !list.empty() && i <= static_cast<int>(list.size()); };
    if (fits(m_StringValues))
        InsertAtIndex(m_StringValues, i, std::string());
    if (fits(m_Values))
        InsertAtIndex(m_Values, i, 0.0);
    if (fits(m_From))
        InsertAtIndex(m_From, i, 0.0);
    if (fits(m_To))
        InsertAtIndex(m_To, i, 0.0);
}

void CLLLegend::DeleteRow(int i)
{
    if (i < 0 || i >= static_cast<int>(m_Patterns.size()))
        return;
    m_FillColours.RemoveAt(i);
    m_BackColours.RemoveAt(i);
    m_LineColours.RemoveAt(i);
    EraseAtIndex(m_BackTransparent, i);
    EraseAtIndex(m_FillTransparent, i);
    EraseAtIndex(m_Labels, i);
    EraseAtIndex(m_Patterns, i);
    EraseAtIndex(m_LineStyles, i);
    EraseAtIndex(m_LineThickness, i);
    EraseAtIndex(m_RowComments, i);
    EraseAtIndex(m_StringValues, i);
    EraseAtIndex(m_Values, i);
    EraseAtIndex(m_From, i);
    EraseAtIndex(m_To, i);
}

void CLLLegend::ColourIn(uint32_t number, CGColor& colour, int32_t& transparent)
{
    if (number > White) {
        colour = CGColor(White);
        transparent = 1;
    } else {
        colour = CGColor(number);
        transparent = 0;
    }
}

uint32_t CLLLegend::ColourOut(const CGColor& colour, int32_t transparent)
{
    return transparent ? TransparentColour : colour.GetPacked();
}

void CLLLegend::FitRowLists()
{
    const auto n = static_cast<size_t>(GetRowCount());
    const auto pad = [n](CLLColourTable& table) {
        table.m_Colours.resize(n, CGColor(0u));
        table.SetLevels(static_cast<int32_t>(n));
    };
    pad(m_BackColours);
    pad(m_LineColours);
    m_BackTransparent.resize(n, 0);
    m_FillTransparent.resize(n, 0);
    m_Labels.resize(n);
    m_Patterns.resize(n, 0);
    m_LineStyles.resize(n, 0);
    m_LineThickness.resize(n, m_DefaultThickness);
    m_RowComments.resize(n);
    m_From.resize(n, 0.0);
    m_To.resize(n, 0.0);
    m_StringValues.resize(n);
    m_Values.resize(n, 0.0);
}

void CLLLegend::FinishRead(const std::string& path)
{
    for (CLLColourTable* table : {&m_FillColours, &m_BackColours, &m_LineColours}) {
        table->m_Kind = CLLColourTable::KindLegend;
        table->m_FileName = path;
        table->SetLevels(static_cast<int32_t>(table->m_Colours.size()));
    }
    m_FileTitle = CUFilename::FileTitle(path);
    m_FilePath = path;
}
