// Colour look-up table files, read as a bare colour table or as a legend.

#include "legend/cllegend.h"
#include "legend/clltokenizer.h"
#include "platform/cutext.h"
#include "platform/cfileio.h"

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

namespace {

// A table holds at most this many colours (indices 0 to 65,534). Entry lines
// with an index outside that range are skipped: one short line could otherwise
// ask for billions of colours.
constexpr int64_t MaxEntries = 65535;

enum class ValuePlace { None, AfterColour, BeforeColour };

struct LutHeader {
    bool rgb = true;
    double componentRange = 65535.0;
    ValuePlace place = ValuePlace::None;
    int32_t dataType = DataNumericContinuous;
};

struct LutEntry {
    int index = 0;
    float c1 = 0.0f, c2 = 0.0f, c3 = 0.0f; // fractions of the component range
    std::string value;                     // the value column, when the line has one
    bool hasValue = false;
};

bool IsLutComment(std::string_view token)
{
    if (token.empty())
        return false;
    switch (token.front()) {
    case '\'':
    case '!':
    case '/':
    case '\\':
    case '#':
        return true;
    default:
        return false;
    }
}

// Takes the next line, with its line end (LF, CR LF or a lone CR), from the
// front of `data`. Lines longer than the reader's 511-character buffer arrive
// in pieces, each piece read as a line of its own. Lines are taken one at a
// time so that a table of millions of short lines costs no list of them.
bool TakeLine(std::string_view& data, std::string_view& line)
{
    constexpr size_t maxLine = 511;
    if (data.empty())
        return false;
    const size_t end = data.substr(0, maxLine).find_first_of("\r\n");
    const size_t take = end == std::string_view::npos
                            ? std::min(data.size(), maxLine)
                            : std::min(end + (data.substr(end, 2) == "\r\n" ? 2 : 1), maxLine);
    line = data.substr(0, take);
    data.remove_prefix(take);
    return true;
}

class CLutParser {
public:
    // Without `useScale` the SCALE line is ignored and components are always of 65535.
    CLutParser(const std::string& data, bool useScale) : m_Rest(data), m_UseScale(useScale)
    {
        ReadHeader();
    }

    const LutHeader& Header() const { return m_Header; }

    // The next entry line with the right number of columns; false at the end.
    bool NextEntry(LutEntry& entry)
    {
        for (std::string_view line; TakeLine(m_Rest, line);) {
            CLLTokenizer tok(line, CLLTokenizer::LutDelimiters);
            std::vector<std::string_view> columns;
            for (std::string_view t = tok.Next(); !t.empty() || !tok.Rest().empty(); t = tok.Next()) {
                if (IsLutComment(t))
                    break;
                if (!t.empty())
                    columns.push_back(t);
            }
            if (Parse(columns, entry))
                return true;
        }
        return false;
    }

private:
    void ReadHeader()
    {
        for (std::string_view line; TakeLine(m_Rest, line);) {
            CLLTokenizer tok(line, CLLTokenizer::LutDelimiters);
            const std::string_view key = tok.Next();
            if (CUText::EqualNoCase(key, "LUT"))
                return;
            const std::string_view value = tok.Next();
            if (CUText::EqualNoCase(key, "INTERPOLATION")) {
                m_Header.rgb = CUText::EqualNoCase(value, "RGB");
            } else if (CUText::EqualNoCase(key, "SCALE")) {
                if (m_UseScale)
                    m_Header.componentRange = CUText::EqualNoCase(value, "WORD") ? 65535.0 : 255.0;
            } else if (CUText::EqualNoCase(key, "DATARANGE")) {
                if (CUText::EqualNoCase(value, "POSTCOLOUR") ||
                    CUText::EqualNoCase(value, "POSTCOLOR"))
                    m_Header.place = ValuePlace::AfterColour;
                else if (CUText::EqualNoCase(value, "PRECOLOUR") ||
                         CUText::EqualNoCase(value, "PRECOLOR"))
                    m_Header.place = ValuePlace::BeforeColour;
                else
                    m_Header.place = ValuePlace::None;
            } else if (CUText::EqualNoCase(key, "DATATYPE")) {
                if (CUText::EqualNoCase(value, "NUMERICDISCRETE"))
                    m_Header.dataType = DataNumericDiscrete;
                else if (CUText::EqualNoCase(value, "TEXT"))
                    m_Header.dataType = DataText;
                else
                    m_Header.dataType = DataNumericContinuous;
            }
            // NAME, DESCRIPTION, LOADMETHOD and NRENTRIES carry nothing we use.
        }
    }

    bool Parse(const std::vector<std::string_view>& columns, LutEntry& entry) const
    {
        size_t first = 0; // column of the index
        entry.hasValue = false;
        switch (m_Header.place) {
        case ValuePlace::None:
            if (columns.size() != 4)
                return false;
            break;
        case ValuePlace::AfterColour:
            if (columns.size() != 4 && columns.size() != 5)
                return false;
            if (columns.size() == 5) {
                entry.value = std::string(columns[4]);
                entry.hasValue = true;
            }
            break;
        case ValuePlace::BeforeColour:
            if (columns.size() != 5)
                return false;
            entry.value = std::string(columns[0]);
            entry.hasValue = true;
            first = 1;
            break;
        }
        const auto number = [](std::string_view t) { return CNumberFormat::ParseInt32(t); };
        const auto fraction = [&](std::string_view t) {
            return static_cast<float>(number(t) / m_Header.componentRange);
        };
        entry.index = number(columns[first]);
        if (entry.index < 0 || entry.index >= MaxEntries)
            return false;
        entry.c1 = fraction(columns[first + 1]);
        entry.c2 = fraction(columns[first + 2]);
        entry.c3 = fraction(columns[first + 3]);
        return true;
    }

    std::string_view m_Rest; // the lines not read yet
    bool m_UseScale;
    LutHeader m_Header;
};

// Adds the colour of an entry at its index; a gap is filled with a blend from
// the last colour, in the table's colour space; an index that does not advance
// adds nothing. Returns the number of colours added.
size_t PlaceColour(std::vector<CGColor>& colours, int index, const CGColor& colour, bool rgb)
{
    if (colours.empty()) {
        colours.insert(colours.end(), static_cast<size_t>(std::max(index, -1) + 1), colour);
        return colours.size();
    }
    const int64_t gap = int64_t{index} - (static_cast<int64_t>(colours.size()) - 1);
    if (gap < 1)
        return 0;
    if (gap == 1) {
        colours.push_back(colour);
        return 1;
    }
    const CGColor last = colours.back();
    float a[4], b[4];
    if (rgb) {
        a[0] = last.GetRed(), a[1] = last.GetGreen(), a[2] = last.GetBlue();
        b[0] = colour.GetRed(), b[1] = colour.GetGreen(), b[2] = colour.GetBlue();
    } else {
        CGColor::RGB2HSL(last.GetRed(), last.GetGreen(), last.GetBlue(), a[0], a[1], a[2]);
        CGColor::RGB2HSL(colour.GetRed(), colour.GetGreen(), colour.GetBlue(), b[0], b[1], b[2]);
    }
    a[3] = last.GetAlpha();
    b[3] = colour.GetAlpha();
    for (int64_t s = 1; s <= gap; ++s) {
        const float t = static_cast<float>(s) / static_cast<float>(gap);
        float m[4];
        for (int k = 0; k < 4; ++k)
            m[k] = a[k] + (b[k] - a[k]) * t;
        colours.emplace_back(m[0], m[1], m[2], m[3], rgb ? CGColor::ModeRGB : CGColor::ModeHSL);
    }
    return static_cast<size_t>(gap);
}

} // namespace

void CLLColourTable::ReadLUT(const std::string& path)
{
    std::string data;
    if (!CFileIO::ReadAll(path, data))
        data.clear();
    ReadLUTText(data, path);
}

void CLLColourTable::ReadLUTText(const std::string& data, const std::string& path)
{
    m_Colours.clear();
    CLutParser parser(data, true);
    const bool rgb = parser.Header().rgb;
    LutEntry entry;
    while (parser.NextEntry(entry))
        PlaceColour(m_Colours, entry.index,
                    CGColor(entry.c1, entry.c2, entry.c3, 1.0f, rgb ? CGColor::ModeRGB : CGColor::ModeHSL),
                    rgb);
    m_Kind = KindLUT;
    m_FileName = path;
    SetLevels(-1);
}

void CLLLegend::ReadColourTable(const std::string& path, CNumberSeparators separators)
{
    std::string data;
    if (!CFileIO::ReadAll(path, data)) {
        SetDefault();
        return;
    }
    ReadColourTableText(data, path, separators);
}

void CLLLegend::ReadColourTableText(const std::string& data, const std::string& path,
                                    CNumberSeparators separators)
{
    Clear();
    CLutParser parser(data, false);
    const LutHeader& header = parser.Header();
    m_DataType = header.dataType;
    const bool text = m_DataType == DataText;
    std::string value = text ? std::string() : "0";
    // The colours placed so far, gaps blended, one row each.
    std::vector<CGColor> colours;
    CLLRow row;
    row.thickness = m_DefaultThickness;
    LutEntry entry;
    while (parser.NextEntry(entry)) {
        CGColor colour;
        if (header.rgb)
            colour.SetRGB(entry.c1, entry.c2, entry.c3);
        else
            colour.SetHSL(entry.c1, entry.c2, entry.c3);
        // A value column that is left out repeats the previous entry's value.
        if (entry.hasValue)
            value = entry.value;
        // One row for every colour the entry placed, all with its value: the
        // blends of a gap lead up to it, and an index that does not advance
        // places nothing, so its value goes too.
        const size_t placed = PlaceColour(colours, entry.index, colour, header.rgb);
        if (placed == 0)
            continue;
        if (text)
            row.text = value;
        else
            row.value = CNumberFormat::ParseLocaleDouble(value, separators);
        for (size_t k = colours.size() - placed; k < colours.size(); ++k) {
            row.fillColour = row.backColour = row.lineColour = colours[k];
            AddRow(row);
        }
    }
    FinishRead(path);
}
