#pragma once
// One-line renderings of what the legend readers and writers keep.

#include "legend/cllegend.h"
#include "platform/cnumberformat.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

inline const std::string NC = "NUMERICCONTINUOUS";

// Rows in the writer's layout (tabs, an empty column after a numeric row's label) from lines split by single spaces ("0
// 1 \"a b\" 0 0 0 0 0 1 # c").
inline std::string Rows(const std::string& lines)
{
    std::string out, line;
    for (std::istringstream in(lines); std::getline(in, line);) {
        const size_t hash = line.find(" # ");
        std::string row = "\t\t";
        bool quoted = false;
        int column = 0;
        for (const char c : line.substr(0, hash)) {
            quoted ^= c == '"';
            if (c != ' ' || quoted)
                row += c;
            else
                row += ++column == 3 && row[2] != '"' ? "\t\t" : "\t";
        }
        out += row + (hash == std::string::npos ? "" : line.substr(hash)) + "\n";
    }
    return out;
}

// A legend file in the exact layout the writer produces, its rows as Rows() takes them.
inline std::string Leg(const std::string& type, const std::string& rows, const std::string& name = "",
                       const std::string& description = "")
{
    return "LegendTable Begin\n\tVersion\t= \"1.0\"\n\tName\t\t= \"" + name + "\"\n\tDescription = \"" + description +
           "\"\n\tDataType\t= " + type + "\n\tLEG\t\t= {\n" + Rows(rows) + "\t}\nLegendTable End\n";
}

// The packed colours in hex, joined by ' '.
inline std::string Hex(const CLLColourTable& table)
{
    std::string s;
    for (const CGColor& c : table.m_Colours)
        s += (s.empty() ? "" : " ") + CNumberFormat::Format("%x", c.GetPacked());
    return s;
}

// Kind, file name, levels and count of a colour table.
inline std::string Header(const CLLColourTable& t)
{
    return CNumberFormat::Format("%d %s %d/%d", t.m_Kind, t.m_FileName.c_str(), t.m_Levels, t.m_Count);
}

// The fill colours, the back and line ones where they differ, '!' for lists out of step.
inline std::string Colours(const CLLLegend& l)
{
    const std::string fill = Hex(l.m_FillColours);
    std::string s = fill;
    if (Hex(l.m_BackColours) != fill || Hex(l.m_LineColours) != fill)
        s += " back " + Hex(l.m_BackColours) + " line " + Hex(l.m_LineColours);
    return s + (l.RowListsAgree() ? "" : " !");
}

// "type: values" of a legend, its texts when it is a text legend.
inline std::string Values(const CLLLegend& l)
{
    std::string s = std::to_string(l.m_DataType) + ":";
    if (l.m_DataType == DataText) {
        for (const std::string& t : l.m_StringValues)
            s += " " + t;
    } else {
        for (const double v : l.m_Values)
            s += CNumberFormat::Format(" %g", v);
    }
    return s;
}
