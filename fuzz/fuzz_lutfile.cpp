// Feeds arbitrary bytes to the colour look-up table readers, in memory. Besides
// not crashing, both readers must stay within the table's bound, and a legend
// read from a table must have every per-row list of its row count, with each
// value beside a colour.

#include "legend/cllegend.h"

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <string>

namespace {

constexpr size_t MaxColours = 65535;

void Check(bool condition)
{
    if (!condition)
        std::abort();
}

void CheckTable(CLLColourTable& table)
{
    Check(table.m_Colours.size() <= MaxColours);
    Check(table.m_Count == static_cast<int32_t>(table.m_Colours.size()));
    for (double f : {-1e300, -0.5, 0.0, 0.3, 0.999, 1.0, 1e12, std::nan(""), HUGE_VAL}) {
        const int32_t i = table.IndexOf(f);
        Check(i >= 0 && (table.m_Colours.empty() || i < table.m_Count));
        Check((table.GetColourRef(f) != nullptr) == !table.m_Colours.empty());
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string text(reinterpret_cast<const char*>(data), size);

    CLLColourTable table;
    table.ReadLUTText(text, "fuzz.lut");
    CheckTable(table);

    // The decimal comma of many locales, and the apostrophe of Swiss numbers.
    CNumberSeparators separators;
    if (size > 0 && (data[0] & 1)) {
        separators.thousands = '.';
        separators.decimal = ',';
    } else if (size > 0 && (data[0] & 2)) {
        separators.thousands = '\'';
    }
    CLLLegend legend;
    legend.ReadColourTableText(text, "fuzz.lut", separators);
    const auto rows = static_cast<size_t>(legend.GetRowCount());
    Check(rows <= MaxColours);
    // A colour table read as a legend fills the value lists of every data type.
    Check(legend.RowListsAgree());
    for (size_t n : {legend.m_StringValues.size(), legend.m_Values.size(), legend.m_From.size(),
                     legend.m_To.size()})
        Check(n == rows);
    CheckTable(legend.m_FillColours);
    // Both readers place the same entries; only the colours' scale differs.
    Check(rows == table.m_Colours.size());
    return 0;
}
