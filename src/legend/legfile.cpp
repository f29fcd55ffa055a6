// The .leg text format: a lenient reader that keeps what it understands, and
// the writer whose exact layout the hosts expect.

#include "legend/cllegend.h"
#include "legend/clltokenizer.h"
#include "platform/cutext.h"
#include "platform/cfileio.h"
#include "platform/clinereader.h"

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
        CLLRow row;
        int32_t transparent = 0;
        CLLLegend::ColourIn(static_cast<uint32_t>(m_Registers.fill), row.fillColour, transparent);
        row.fillTransparent = transparent != 0;
        CLLLegend::ColourIn(static_cast<uint32_t>(m_Registers.back), row.backColour, transparent);
        row.backTransparent = transparent != 0;
        row.lineColour = CGColor(static_cast<uint32_t>(m_Registers.lineColour));
        row.label = label;
        row.pattern = m_Registers.pattern;
        row.lineStyle = m_Registers.lineStyle;
        row.thickness = m_Registers.thickness < 1.0f ? m_Legend.m_DefaultThickness : m_Registers.thickness;
        row.comment = std::move(comment);
        row.text = value;
        row.from = from;
        row.to = to;
        m_Legend.AddRow(std::move(row), CLLLegend::RowValues::OfDataType);
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
            ReserveRows(std::min(file.FileSize() / typicalShortestRow + 1, maxReservedRows));
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
    CCLocaleScope cLocale;
    char numbers[160];
    CLLRow row;
    for (int i = 0; GetRow(i, row); ++i) {
        if (text) {
            out += "\t\t\"";
            out += row.text;
            out += "\"\t\"";
            out += row.label;
            out += "\"\t";
        } else {
            std::snprintf(numbers, sizeof numbers, "\t\t%g\t%g\t\"", row.from, row.to);
            out += numbers;
            out += row.label;
            out += "\"\t\t";
        }
        std::snprintf(numbers, sizeof numbers, "%lu\t%lu\t%d\t%lu\t%d\t%.10g",
                      static_cast<unsigned long>(ColourOut(row.fillColour, row.fillTransparent)),
                      static_cast<unsigned long>(ColourOut(row.backColour, row.backTransparent)),
                      row.pattern, static_cast<unsigned long>(row.lineColour.GetPacked()), row.lineStyle,
                      static_cast<double>(row.thickness));
        out += numbers;
        if (!row.comment.empty()) {
            out += " # ";
            out += row.comment;
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
