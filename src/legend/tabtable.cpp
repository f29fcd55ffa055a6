// TAB legend tables: one feature per legend row, no geometry, the style in
// attribute fields. Colours travel as 0xRRGGBB there, the reverse byte order
// of a legend colour.

#include "legend/cllegend.h"
#include "legend/tabtable.h"
#include "platform/cnumberformat.h"
#include "platform/ctextcodec.h"
#include "platform/cufilename.h"
#include "platform/cutext.h"
#include "platform/cuserprompt.h"
#include "platform/tabkit.h"

#include <algorithm>
#include <cctype>
#include <cstring>

namespace {

// Field indices of one table, -1 where the table lacks the field.
struct CFieldIndex {
    int std[TabField::StandardCount];
    int comments = -1;
    bool mapCode = false;
    int map[TabMapField::Count];

    CFieldIndex()
    {
        std::fill(std::begin(std), std::end(std), -1);
        std::fill(std::begin(map), std::end(map), -1);
    }
};

CFieldIndex IndexFields(TabKitTable* table)
{
    CFieldIndex ix;
    const int count = tabkit_c_get_field_count(table);
    for (int i = 0; i < count && !ix.mapCode; ++i) {
        const char* raw = tabkit_c_get_field_name(table, i);
        const std::string_view name = raw ? raw : "";
        if (CUText::EqualNoCase(name, TabMapField::Names[TabMapField::MapCode])) {
            ix.mapCode = true;
            break;
        }
        for (int f = 0; f < TabField::StandardCount; ++f)
            if (CUText::EqualNoCase(name, TabField::Names[f]))
                ix.std[f] = i;
        if (CUText::EqualNoCase(name, TabField::Names[TabField::Comments]))
            ix.comments = i;
    }
    if (ix.mapCode) {
        for (int i = 0; i < count; ++i) {
            const char* raw = tabkit_c_get_field_name(table, i);
            const std::string_view name = raw ? raw : "";
            for (int f = 0; f < TabMapField::Count; ++f)
                if (CUText::EqualNoCase(name, TabMapField::Names[f]))
                    ix.map[f] = i;
        }
    }
    return ix;
}

bool AllFound(const int* indices, int from, int to)
{
    for (int f = from; f <= to; ++f)
        if (indices[f] < 0)
            return false;
    return true;
}

// A missing field (index -1) reads as empty text.
std::string Text(TabKitFeature* feature, int field)
{
    return tabkit_c_get_field_as_string(feature, field);
}

int32_t Int(TabKitFeature* feature, int field)
{
    return CNumberFormat::ParseInt32(tabkit_c_get_field_as_string(feature, field));
}

int32_t PatternIn(int32_t stored)
{
    // Pattern 0 cannot be stored (the hosts read 0 as "no pattern field"), so
    // the table holds 1 for it and 1 comes back as 0.
    return stored == 1 ? 0 : stored;
}

int32_t PatternOut(int32_t pattern)
{
    return pattern == 0 ? 1 : pattern;
}

uint32_t Components(TabKitFeature* feature, const int* map, int red)
{
    return static_cast<uint32_t>(Int(feature, map[red])) +
           256u * static_cast<uint32_t>(Int(feature, map[red + 1])) +
           65536u * static_cast<uint32_t>(Int(feature, map[red + 2]));
}

} // namespace

TabLegendLayout InspectLegendTable(const std::string& path)
{
    TabKitTable* table = tabkit_c_open(path.c_str(), 1);
    if (!table)
        return TabLegendLayout::Unreadable;
    const CFieldIndex ix = IndexFields(table);
    tabkit_c_close(table);
    if (ix.mapCode)
        return AllFound(ix.map, TabMapField::ForeRed, TabMapField::PenThick) ? TabLegendLayout::MapCode
                                                                            : TabLegendLayout::Incomplete;
    return AllFound(ix.std, TabField::Name, TabField::LineColour) ? TabLegendLayout::Standard
                                                                 : TabLegendLayout::Incomplete;
}

std::string FitTabText(const std::string& text, int field)
{
    const size_t limit = static_cast<size_t>(TabField::Widths[field]);
    if (text.size() <= limit)
        return text;
    // Legends from older installations hold Windows-1252, one byte a
    // character; only UTF-8 text has characters that a byte cut can split.
    size_t cut = limit;
    if (CTextCodec::IsValidUtf8(text))
        while (cut > 0 && (static_cast<unsigned char>(text[cut]) & 0xC0u) == 0x80u)
            --cut;
    return text.substr(0, cut);
}

TabKitTable* CreateLegendTable(const std::string& path)
{
    TabKitTable* table = tabkit_c_create(path.c_str(), "tab", 0, 0.0, 0.0, 0.0, 0.0, 1);
    if (!table)
        return nullptr;
    for (int f = 0; f < TabField::Count; ++f)
        tabkit_c_add_field(table, TabField::Names[f], TabField::Types[f], TabField::Widths[f], 0, 0,
                           0);
    if (!tabkit_c_commit_fields(table)) {
        tabkit_c_close(table);
        return nullptr;
    }
    return table;
}

int FindTabField(TabKitTable* table, std::string_view name)
{
    int found = -1;
    const int count = tabkit_c_get_field_count(table);
    for (int i = 0; i < count; ++i) {
        const char* raw = tabkit_c_get_field_name(table, i);
        if (raw && CUText::EqualNoCase(raw, name))
            found = i;
    }
    return found;
}

void FormatLegendRow(const CLLLegend& legend, int i, TabRowRules rules,
                     std::string (&values)[TabField::Count])
{
    CLLRow row;
    legend.GetRow(i, row);
    const bool allLegends = rules == TabRowRules::AllLegends;
    const bool text = legend.m_DataType == DataText;
    auto colour = [](const CGColor& c) {
        return CNumberFormat::Format("%ld", static_cast<long>(SwapRedBlue(c.GetPacked())));
    };
    values[TabField::Name] = FitTabText(allLegends ? legend.m_FileTitle : row.label, TabField::Name);
    values[TabField::From] = CNumberFormat::Format("%g", allLegends && text ? 0.0 : row.from);
    values[TabField::To] = CNumberFormat::Format("%g", allLegends && text ? 0.0 : row.to);
    values[TabField::Value] = text ? FitTabText(row.text, TabField::Value) : std::string();
    if (allLegends)
        values[TabField::Pattern] =
            row.pattern < 1 ? std::string()
                            : CNumberFormat::Format("%ld", static_cast<long>(row.pattern));
    else
        values[TabField::Pattern] = CNumberFormat::Format("%d", PatternOut(row.pattern));
    values[TabField::FillColour] = colour(row.fillColour);
    values[TabField::BackColour] = row.backTransparent ? std::string("-1") : colour(row.backColour);
    values[TabField::Thickness] = CNumberFormat::Format("%.10g", static_cast<double>(row.thickness));
    values[TabField::LineStyle] = CNumberFormat::Format("%d", row.lineStyle);
    values[TabField::LineColour] = colour(row.lineColour);
    values[TabField::Comments] = FitTabText(row.comment, TabField::Comments);
}

bool WriteLegendFeature(TabKitTable* table, const std::string (&values)[TabField::Count])
{
    TabKitFeature* feature = tabkit_c_create_feature(table, 0);
    if (!feature)
        return false;
    for (int f = 0; f < TabField::Count; ++f)
        tabkit_c_set_field(feature, f, values[f].c_str());
    const bool ok = tabkit_c_write_feature(table, feature) != 0;
    tabkit_c_destroy_feature(feature);
    return ok;
}

void CLLLegend::ImportTAB(const std::string& tabPath, const std::string& legendName,
                          int32_t localeNumbers, CUserPrompt& prompt, CNumberSeparators separators)
{
    Clear();
    TabKitTable* table = tabkit_c_open(tabPath.c_str(), 1);
    if (!table) {
        prompt.ShowFixed("Could not open " + TabKitFailure(tabPath));
        return;
    }
    const CFieldIndex ix = IndexFields(table);
    if (ix.mapCode ? !AllFound(ix.map, TabMapField::ForeRed, TabMapField::PenThick)
                   : !AllFound(ix.std, TabField::Name, TabField::LineColour))
        prompt.ShowFixed("Could not find all the standard fields in " + tabPath);

    // Numeric columns come out of the table library as C-locale text ("0.1");
    // only a character column holds what a user typed with their separators.
    auto typedByUser = [&](int field) {
        return localeNumbers && tabkit_c_get_field_type(table, field) == TABKIT_FIELD_CHAR;
    };
    const bool localeFrom = typedByUser(ix.std[TabField::From]);
    const bool localeTo = typedByUser(ix.std[TabField::To]);
    auto number = [&](TabKitFeature* f, int field, bool locale) {
        const char* text = tabkit_c_get_field_as_string(f, field);
        return locale ? CNumberFormat::ParseLocaleDouble(text, separators)
                      : CNumberFormat::ParseDouble(text);
    };

    m_DataType = ix.mapCode ? DataText : DataNumericContinuous;
    const int count = tabkit_c_get_feature_count(table);
    for (int id = 1; id <= count; ++id) {
        TabKitFeature* f = tabkit_c_read_feature(table, id);
        if (tabkit_c_get_type(f) == -1 ||
            (!legendName.empty() &&
             !CUText::EqualNoCase(Text(f, ix.std[TabField::Name]), legendName))) {
            tabkit_c_destroy_feature(f);
            continue;
        }
        CLLRow row;
        if (ix.mapCode) {
            const int* m = ix.map;
            row.text = Text(f, m[TabMapField::MapCode]);
            row.fillColour = CGColor(Components(f, m, TabMapField::ForeRed));
            row.pattern = PatternIn(Int(f, m[TabMapField::Pattern]));
            row.backColour = CGColor(Components(f, m, TabMapField::BackRed));
            row.lineColour = CGColor(Components(f, m, TabMapField::PenRed));
            row.lineStyle = Int(f, m[TabMapField::PenStyle]);
            row.thickness = static_cast<float>(
                CNumberFormat::ParseDouble(Text(f, m[TabMapField::PenThick])));
            row.comment = Text(f, m[TabMapField::Desc1]);
        } else {
            const int* s = ix.std;
            row.from = number(f, s[TabField::From], localeFrom);
            row.to = number(f, s[TabField::To], localeTo);
            row.text = Text(f, s[TabField::Value]);
            if (!row.text.empty())
                m_DataType = DataText;
            row.fillColour = CGColor(SwapRedBlue(static_cast<uint32_t>(Int(f, s[TabField::FillColour]))));
            const int32_t back = Int(f, s[TabField::BackColour]);
            if (back == -1) {
                row.backColour = CGColor(0u);
                row.backTransparent = true;
            } else {
                row.backColour = CGColor(SwapRedBlue(static_cast<uint32_t>(back)));
            }
            row.pattern = PatternIn(Int(f, s[TabField::Pattern]));
            row.lineColour = CGColor(SwapRedBlue(static_cast<uint32_t>(Int(f, s[TabField::LineColour]))));
            row.lineStyle = Int(f, s[TabField::LineStyle]);
            row.thickness = static_cast<float>(
                CNumberFormat::ParseDouble(Text(f, s[TabField::Thickness])));
            row.comment = Text(f, ix.comments);
        }
        AddRow(row);
        tabkit_c_destroy_feature(f);
    }

    FinishRead(tabPath);
    m_Name = ix.mapCode ? CUFilename::FileTitle(tabPath) : legendName;
    m_Description.clear();
    tabkit_c_close(table);
}

bool CLLLegend::ExportTAB(const std::string& path, std::string* why) const
{
    std::string target = path;
    if (target.size() > 4 && !CUText::EndsWithNoCase(target, ".tab"))
        target += ".tab";
    auto fail = [&] {
        if (why)
            *why = "Could not create " + TabKitFailure(target);
        return false;
    };
    TabKitTable* table = CreateLegendTable(target);
    if (!table)
        return fail();
    bool ok = true;
    CCLocaleScope cLocale;
    for (int i = 0; i < GetRowCount(); ++i) {
        std::string values[TabField::Count];
        FormatLegendRow(*this, i, TabRowRules::OwnTable, values);
        ok = WriteLegendFeature(table, values) && ok;
    }
    // A table that could not be written whole is not put in place, so the
    // user is told as for one that could not be created.
    if (tabkit_c_close(table) == 0 || !ok)
        return fail();
    return true;
}
