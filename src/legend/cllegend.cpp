#include "legend/cllegend.h"

#include "platform/cmemorypolicy.h"
#include "platform/cufilename.h"

#include <type_traits>
#include <utility>

namespace {

// What a per-row list holds, which decides how the row operations treat it.
enum class RowListRole {
    Count,   // the fill colours: their number is the row count
    Colour,  // the other colour tables, defaulted with the table, padded in black
    Style,   // always one entry per row
    Text,    // the text values of a text legend
    Sampled, // the values of a colour table read as a legend
    Range,   // From and To of a numeric legend
};

// One per-row list: its entries, the colour table they belong to (whose counts
// must follow them), the CLLRow field it exchanges, what a new row puts in and
// what padding fills it with. Held by reference: the readers visit the lists
// once per row, and copying the defaults each time would cost them.
template <typename Items, typename Field, typename Table> struct RowList {
    using Item = typename std::remove_const_t<Items>::value_type;
    static constexpr bool InTable = !std::is_void_v<Table>;
    Items& items;
    Table* table;
    Field CLLRow::*field;
    const Item& inserted;
    const Item& padding;
    RowListRole role;
};

template <typename Field, typename Item>
auto ListOf(CLLColourTable& table, Field CLLRow::*field, const Item& inserted, const Item& padding,
            RowListRole role)
{
    return RowList<std::vector<CGColor>, Field, CLLColourTable>{table.m_Colours, &table, field,
                                                               inserted, padding, role};
}

template <typename Field, typename Item>
auto ListOf(const CLLColourTable& table, Field CLLRow::*field, const Item& inserted, const Item& padding,
            RowListRole role)
{
    return RowList<const std::vector<CGColor>, Field, const CLLColourTable>{
        table.m_Colours, &table, field, inserted, padding, role};
}

template <typename Items, typename Field, typename Item>
auto ListOf(Items& items, Field CLLRow::*field, const Item& inserted, const Item& padding,
            RowListRole role)
{
    return RowList<Items, Field, void>{items, nullptr, field, inserted, padding, role};
}

// The one place that names every per-row list of a legend. A list added to
// the document is added here, and every row operation then takes it along.
template <typename Legend, typename Visit> void ForEachRowList(Legend& l, Visit&& visit)
{
    using R = RowListRole;
    static const CGColor black(0u), white(CLLLegend::White);
    static const std::string none;
    static constexpr int32_t zero = 0, one = 1, two = 2;
    static constexpr float unit = 1.0f;
    static constexpr double nil = 0.0;
    visit(ListOf(l.m_FillColours, &CLLRow::fillColour, black, black, R::Count));
    visit(ListOf(l.m_BackColours, &CLLRow::backColour, white, black, R::Colour));
    visit(ListOf(l.m_LineColours, &CLLRow::lineColour, black, black, R::Colour));
    // A new row has a transparent background.
    visit(ListOf(l.m_BackTransparent, &CLLRow::backTransparent, one, zero, R::Style));
    visit(ListOf(l.m_FillTransparent, &CLLRow::fillTransparent, zero, zero, R::Style));
    visit(ListOf(l.m_Labels, &CLLRow::label, none, none, R::Style));
    visit(ListOf(l.m_Patterns, &CLLRow::pattern, one, zero, R::Style));
    visit(ListOf(l.m_LineStyles, &CLLRow::lineStyle, two, zero, R::Style));
    visit(ListOf(l.m_LineThickness, &CLLRow::thickness, unit, l.m_DefaultThickness, R::Style));
    visit(ListOf(l.m_RowComments, &CLLRow::comment, none, none, R::Style));
    visit(ListOf(l.m_StringValues, &CLLRow::text, none, none, R::Text));
    visit(ListOf(l.m_Values, &CLLRow::value, nil, nil, R::Sampled));
    visit(ListOf(l.m_From, &CLLRow::from, nil, nil, R::Range));
    visit(ListOf(l.m_To, &CLLRow::to, nil, nil, R::Range));
}

bool IsValueList(RowListRole role)
{
    return role == RowListRole::Text || role == RowListRole::Sampled || role == RowListRole::Range;
}

// A colour table keeps its count beside its colours; every change of the
// colours brings it up to date.
template <typename List> void Recount(const List& list)
{
    if constexpr (List::InTable) {
        list.table->m_Count = static_cast<int32_t>(list.items.size());
        list.table->m_LastIndex = list.table->m_Count - 1;
    }
}

template <typename List> using ListItem = typename std::decay_t<List>::Item;
template <typename List> constexpr bool InTable = std::decay_t<List>::InTable;

} // namespace

void CLLLegend::SetDefault()
{
    Clear();
    m_FillColours.SetDefault();
    m_BackColours.SetDefault();
    m_LineColours.SetDefault();
    const auto n = static_cast<size_t>(GetRowCount());
    // Sized with empty text and zeros, From, To and the text values too, so
    // that a default legend can be written or shown as it stands.
    ForEachRowList(*this, [n](const auto& list) {
        if constexpr (!InTable<decltype(list)>) {
            if (list.role != RowListRole::Sampled)
                list.items.assign(n, {});
        }
    });
    m_DataType = DataNumericContinuous;
}

void CLLLegend::Clear()
{
    ForEachRowList(*this, [](const auto& list) {
        if constexpr (InTable<decltype(list)>)
            list.table->Clear();
        else
            list.items.clear();
    });
    m_HeaderComments.clear();
    m_Description.clear();
    m_Name.clear();
    m_DataType = DataNumericContinuous;
}

// Flattened, like AppendRow below: the writer asks for every row in turn.
[[gnu::flatten]] bool CLLLegend::GetRow(int i, CLLRow& row) const
{
    if (i < 0 || i > GetRowCount() - 1)
        return false;
    const auto k = static_cast<size_t>(i);
    // A value list of another data type may be shorter: its entry reads as empty.
    ForEachRowList(*this, [&row, k](const auto& list) {
        using Field = std::remove_reference_t<decltype(row.*list.field)>;
        row.*list.field =
            static_cast<Field>(k < list.items.size() ? list.items[k] : ListItem<decltype(list)>{});
    });
    return true;
}

bool CLLLegend::SetRow(int i, const CLLRow& row)
{
    if (i < 0 || i > GetRowCount() - 1)
        return false;
    const auto k = static_cast<size_t>(i);
    ForEachRowList(*this, [&row, k](const auto& list) {
        if (k < list.items.size())
            list.items[k] = static_cast<ListItem<decltype(list)>>(row.*list.field);
    });
    return true;
}

// Flattened so that the visit of every list compiles to the plain appends; the
// readers add each row through here.
template <typename Row> [[gnu::flatten]] void CLLLegend::AppendRow(Row&& row, RowValues values)
{
    const bool text = m_DataType == DataText;
    ForEachRowList(*this, [&](const auto& list) {
        if (values == RowValues::OfDataType && IsValueList(list.role) &&
            list.role != (text ? RowListRole::Text : RowListRole::Range))
            return;
        list.items.emplace_back(std::forward<Row>(row).*list.field);
        Recount(list);
    });
}

void CLLLegend::AddRow(const CLLRow& row, RowValues values)
{
    AppendRow(row, values);
}

void CLLLegend::AddRow(CLLRow&& row, RowValues values)
{
    AppendRow(std::move(row), values);
}

void CLLLegend::InsertRow(int i)
{
    if (i < 0 || i > GetRowCount())
        return;
    const auto k = static_cast<size_t>(i);
    ForEachRowList(*this, [k](const auto& list) {
        // The value lists only take part when they are in use for this legend.
        if (k > list.items.size() || (IsValueList(list.role) && list.items.empty()))
            return;
        list.items.insert(list.items.begin() + static_cast<std::ptrdiff_t>(k), list.inserted);
        Recount(list);
    });
}

void CLLLegend::DeleteRow(int i)
{
    if (i < 0 || i >= GetRowCount())
        return;
    const auto k = static_cast<size_t>(i);
    ForEachRowList(*this, [k](const auto& list) {
        if (k >= list.items.size())
            return;
        list.items.erase(list.items.begin() + static_cast<std::ptrdiff_t>(k));
        Recount(list);
    });
}

bool CLLLegend::RowListsAgree() const
{
    const auto n = static_cast<size_t>(GetRowCount());
    const bool text = m_DataType == DataText;
    bool agree = true;
    ForEachRowList(*this, [&](const auto& list) {
        const size_t size = list.items.size();
        if constexpr (InTable<decltype(list)>) {
            if (list.table->m_Count != static_cast<int32_t>(size) ||
                list.table->m_LastIndex != list.table->m_Count - 1)
                agree = false;
        }
        const bool needed = !IsValueList(list.role) ||
                            list.role == (text ? RowListRole::Text : RowListRole::Range);
        if (size != n && (needed || size != 0))
            agree = false;
    });
    return agree;
}

// Large legends would otherwise spend most of their reading time copying lists
// as they grow. Untouched capacity costs no memory pages, so every list can be
// sized before the reader knows the data type, and the kernel is asked for
// huge pages over the whole of each, which a legend of many rows fills.
void CLLLegend::ReserveRows(size_t rows)
{
    ForEachRowList(*this, [rows](const auto& list) {
        list.items.reserve(rows);
        CMemoryPolicy::AdviseHugePages(list.items.data(),
                                       list.items.capacity() * sizeof(list.items[0]));
    });
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
    ForEachRowList(*this, [n](const auto& list) {
        if (list.role == RowListRole::Count)
            return;
        list.items.resize(n, list.padding);
        if constexpr (InTable<decltype(list)>)
            list.table->SetLevels(static_cast<int32_t>(n));
    });
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
