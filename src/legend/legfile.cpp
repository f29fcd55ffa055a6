// The .leg text format: a lenient reader that keeps what it understands, and
// the writer whose exact layout the hosts expect.

#include "legend/cllegend.h"
#include "legend/clltokenizer.h"
#include "platform/cutext.h"
#include "platform/cfileio.h"
#include "platform/clinereader.h"
#include "platform/cmemorypolicy.h"

#include <algorithm>
#include <cerrno>
#include <cinttypes>
#include <cstdio>
#include <new>

namespace {

enum ReadState { OutsideTable = 0, InHeader = 1, InRows = 2 };

// Values a row line leaves out are taken from the last row line that had them.
struct RowRegisters {
    int32_t fill = 0;
    int32_t back = 0;
    int32_t pattern = 0;
    int32_t lineColour = 0;
    int32_t lineStyle = 0;
    float thickness = 1.0f;
};

double TokenDouble(std::string_view token)
{
    return CNumberFormat::ParseDouble(token);
}

int32_t TokenInt(std::string_view token)
{
    return CNumberFormat::ParseInt32(token);
}

const char* TypeKeyword(int32_t dataType)
{
    if (dataType == DataText)
        return "TEXT";
    if (dataType == DataNumericContinuous)
        return "NUMERICCONTINUOUS";
    return "NUMERICDISCRETE";
}

int32_t TypeFromKeyword(std::string_view keyword)
{
    if (CUText::EqualNoCase(keyword, "NUMERICDISCRETE"))
        return DataNumericDiscrete;
    if (CUText::EqualNoCase(keyword, "TEXT"))
        return DataText;
    return DataNumericContinuous;
}

class CLegReader {
public:
    explicit CLegReader(CLLLegend& legend) : m_Legend(legend)
    {
        m_Registers.thickness = legend.m_DefaultThickness;
    }

    void ReadLine(std::string_view line)
    {
        CLLTokenizer tok(line, CLLTokenizer::LegendDelimiters);
        const std::string_view first = tok.Next();
        if (CLLTokenizer::IsCommentMarker(first)) {
            std::string comment(first);
            comment += ' ';
            comment += tok.Rest();
            m_Legend.m_HeaderComments.push_back(std::move(comment));
        } else if (CUText::EqualNoCase(first, "LegendTable")) {
            const std::string_view next = tok.Next();
            if (CUText::EqualNoCase(next, "Begin"))
                m_State = InHeader;
            else if (CUText::EqualNoCase(next, "End"))
                m_State = OutsideTable;
        } else if (CUText::EqualNoCase(first, "LEG")) {
            const std::string_view next = tok.Next();
            if (next == "{")
                m_State = InRows;
            else if (next == "}")
                m_State = InHeader;
        } else if (m_State == InHeader) {
            if (CUText::EqualNoCase(first, "NAME"))
                m_Legend.m_Name = tok.Next();
            else if (CUText::EqualNoCase(first, "DESCRIPTION"))
                m_Description = tok.Next();
            else if (CUText::EqualNoCase(first, "DATATYPE"))
                m_Legend.m_DataType = TypeFromKeyword(tok.Next());
        } else if (m_State == InRows) {
            ReadRow(line);
        }
    }

    const std::string& Description() const { return m_Description; }

    // Sizes the row lists once for at most `rows` rows instead of growing them
    // row by row; large legends otherwise spend most of their time copying.
    void Reserve(size_t rows)
    {
        CLLLegend& l = m_Legend;
        for (CLLColourTable* t : {&l.m_FillColours, &l.m_BackColours, &l.m_LineColours})
            t->m_Colours.reserve(rows);
        l.m_FillTransparent.reserve(rows);
        l.m_BackTransparent.reserve(rows);
        l.m_Labels.reserve(rows);
        l.m_Patterns.reserve(rows);
        l.m_LineStyles.reserve(rows);
        l.m_LineThickness.reserve(rows);
        l.m_RowComments.reserve(rows);
        // Untouched capacity costs no memory pages, so both kinds of value list
        // can be sized before the data type is known.
        l.m_From.reserve(rows);
        l.m_To.reserve(rows);
        l.m_StringValues.reserve(rows);
        const auto advise = [](const auto& list) {
            CMemoryPolicy::AdviseHugePages(list.data(), list.capacity() * sizeof(list[0]));
        };
        for (CLLColourTable* t : {&l.m_FillColours, &l.m_BackColours, &l.m_LineColours})
            advise(t->m_Colours);
        advise(l.m_FillTransparent);
        advise(l.m_BackTransparent);
        advise(l.m_Labels);
        advise(l.m_Patterns);
        advise(l.m_LineStyles);
        advise(l.m_LineThickness);
        advise(l.m_RowComments);
        advise(l.m_From);
        advise(l.m_To);
        advise(l.m_StringValues);
    }

private:
    void ReadRow(std::string_view line)
    {
        const bool text = m_Legend.m_DataType == DataText;
        // Text rows have no To column: shift them onto the numeric column numbers.
        const int shift = text ? 1 : 0;
        CLLTokenizer tok(line, CLLTokenizer::LegendDelimiters);
        int column = 0;
        std::string comment;
        std::string_view label, value;
        double from = 0.0, to = 0.0;
        while (!tok.Rest().empty()) {
            // Rows of other tools end in tabs: the empty token that trailing
            // delimiters leave fills the next column like any other.
            const std::string_view token = tok.Next();
            if (CLLTokenizer::IsCommentMarker(token)) {
                std::string whole(token);
                whole += tok.Rest();
                comment = whole.substr(1);
                break;
            }
            if (!token.empty() && token.front() == '}')
                break;
            const int c = column + (text && column > 0 ? shift : 0);
            switch (c) {
            case 0:
                if (text)
                    value = token;
                else
                    from = TokenDouble(token);
                break;
            case 1:
                to = TokenDouble(token);
                break;
            case 2: label = token; break;
            case 3: m_Registers.fill = TokenInt(token); break;
            case 4: m_Registers.back = TokenInt(token); break;
            case 5: m_Registers.pattern = TokenInt(token); break;
            case 6: m_Registers.lineColour = TokenInt(token); break;
            case 7: m_Registers.lineStyle = TokenInt(token); break;
            case 8: m_Registers.thickness = static_cast<float>(TokenDouble(token)); break;
            default: break;
            }
            ++column;
        }
        if (column < (text ? 5 : 6))
            return;
        CLLLegend& l = m_Legend;
        CGColor colour;
        int32_t transparent = 0;
        CLLLegend::ColourIn(static_cast<uint32_t>(m_Registers.fill), colour, transparent);
        AppendColour(l.m_FillColours, colour);
        l.m_FillTransparent.push_back(transparent);
        CLLLegend::ColourIn(static_cast<uint32_t>(m_Registers.back), colour, transparent);
        AppendColour(l.m_BackColours, colour);
        l.m_BackTransparent.push_back(transparent);
        AppendColour(l.m_LineColours, CGColor(static_cast<uint32_t>(m_Registers.lineColour)));
        l.m_Labels.emplace_back(label);
        l.m_Patterns.push_back(m_Registers.pattern);
        l.m_LineStyles.push_back(m_Registers.lineStyle);
        l.m_LineThickness.push_back(m_Registers.thickness < 1.0f ? l.m_DefaultThickness
                                                                 : m_Registers.thickness);
        l.m_RowComments.push_back(std::move(comment));
        if (text) {
            l.m_StringValues.emplace_back(value);
        } else {
            l.m_From.push_back(from);
            l.m_To.push_back(to);
        }
    }

    static void AppendColour(CLLColourTable& table, const CGColor& colour)
    {
        // Counts are brought up to date once, when the file is finished.
        table.m_Colours.push_back(colour);
    }

    CLLLegend& m_Legend;
    RowRegisters m_Registers;
    int m_State = OutsideTable;
    std::string m_Description;
};

} // namespace

void CLLLegend::ReadLEGText(std::string_view data, const std::string& path)
{
    Clear();
    m_DataType = DataNumericContinuous;
    CLegReader reader(*this);
    // The same line rule as the file reader: LF, CR LF and a lone CR end a line.
    while (!data.empty()) {
        const size_t nl = data.find_first_of("\r\n");
        std::string_view line = data.substr(0, nl);
        data.remove_prefix(nl == std::string_view::npos
                               ? data.size()
                               : nl + (data.substr(nl, 2) == "\r\n" ? 2 : 1));
        reader.ReadLine(line);
    }
    FinishRead(path);
    m_Description = reader.Description();
}

CFileResult CLLLegend::ReadLEG(const std::string& path)
{
    Clear();
    m_DataType = DataNumericContinuous;
    CLineReader file(path);
    CLegReader reader(*this);
    CFileResult result;
    try {
        if (file.IsOpen()) {
            // Row lines written by any of the tools are longer than this, so the lists
            // seldom have to grow; a file of shorter lines merely grows them. The cap
            // keeps a file of mostly empty lines from reserving gigabytes.
            constexpr size_t typicalShortestRow = 16, maxReservedRows = 1'000'000;
            reader.Reserve(std::min(file.FileSize() / typicalShortestRow + 1, maxReservedRows));
            std::string_view line;
            while (file.Next(line))
                reader.ReadLine(line);
        }
        result = file.Result();
    } catch (const std::bad_alloc&) {
        Clear();
        result.error = ENOMEM;
    }
    if (!result.Ok())
        SetDefault();
    FinishRead(path);
    m_Description = result.Ok() ? reader.Description() : std::string();
    return result;
}

int CLLLegend::WriteLEG(const std::string& path) const
{
    return SaveLEG(path).Ok() ? 1 : 0;
}

CFileResult CLLLegend::SaveLEG(const std::string& path) const
{
    CAtomicFileWriter file(path);
    if (!file.IsOpen())
        return file.Result();
    FormatLEG([&file](std::string_view piece) { file.Write(piece); });
    file.Commit();
    return file.Result();
}

std::string CLLLegend::LEGText() const
{
    std::string text;
    FormatLEG([&text](std::string_view piece) { text += piece; });
    return text;
}

void CLLLegend::FormatLEG(const std::function<void(std::string_view)>& write) const
{
    std::string out;
    constexpr size_t piece = 1 << 16;
    out.reserve(piece + 1024);
    for (const std::string& comment : m_HeaderComments) {
        out += comment;
        out += '\n';
    }
    if (!m_HeaderComments.empty())
        out += '\n';
    out += "LegendTable Begin\n";
    out += "\tVersion\t= \"1.0\"\n";
    out += "\tName\t\t= \"" + m_Name + "\"\n";
    out += "\tDescription = \"" + m_Description + "\"\n";
    out += "\tDataType\t= ";
    out += TypeKeyword(m_DataType);
    out += "\n\tLEG\t\t= {\n";

    const bool text = m_DataType == DataText;
    const auto colourAt = [](const CLLColourTable& table, size_t i) {
        return i < table.m_Colours.size() ? table.m_Colours[i] : CGColor();
    };
    const auto flagAt = [](const std::vector<int32_t>& list, size_t i) {
        return i < list.size() ? list[i] : 0;
    };
    const std::string empty;
    const auto textAt = [&empty](const std::vector<std::string>& list, size_t i) -> const std::string& {
        return i < list.size() ? list[i] : empty;
    };

    CCLocaleScope cLocale;
    char numbers[160];
    for (size_t i = 0; i < m_Patterns.size(); ++i) {
        const unsigned long fill =
            CLLLegend::ColourOut(colourAt(m_FillColours, i), flagAt(m_FillTransparent, i));
        const unsigned long back =
            CLLLegend::ColourOut(colourAt(m_BackColours, i), flagAt(m_BackTransparent, i));
        const unsigned long line = colourAt(m_LineColours, i).GetPacked();
        const int pattern = m_Patterns[i];
        const int style = i < m_LineStyles.size() ? m_LineStyles[i] : 0;
        const double thickness = i < m_LineThickness.size() ? m_LineThickness[i] : 1.0;
        if (text) {
            out += "\t\t\"";
            out += textAt(m_StringValues, i);
            out += "\"\t\"";
            out += textAt(m_Labels, i);
            out += "\"\t";
        } else {
            const double from = i < m_From.size() ? m_From[i] : 0.0;
            const double to = i < m_To.size() ? m_To[i] : 0.0;
            std::snprintf(numbers, sizeof numbers, "\t\t%g\t%g\t\"", from, to);
            out += numbers;
            out += textAt(m_Labels, i);
            out += "\"\t\t";
        }
        std::snprintf(numbers, sizeof numbers, "%lu\t%lu\t%d\t%lu\t%d\t%.10g", fill, back, pattern,
                      line, style, thickness);
        out += numbers;
        const std::string& comment = textAt(m_RowComments, i);
        if (!comment.empty()) {
            out += " # ";
            out += comment;
        }
        out += '\n';
        if (out.size() >= piece) {
            write(out);
            out.clear();
        }
    }
    out += "\t}\n";
    out += "LegendTable End\n";
    write(out);
}
