#include "legend/cllcolourtable.h"
#include "legend/legendtext.h"

#include <gtest/gtest.h>

// A new table, as each colour list of a new legend, runs from blue to red in 32
// colours, through green (by hue) rather than through grey.
TEST(CLLColourTable, TheDefaultRunsFromBlueToRedThroughGreen)
{
    const CLLColourTable table;
    EXPECT_EQ(CNumberFormat::Format("%x %d %x ", table.m_Colours.front().GetPacked(), table.m_Colours.at(16).Green255(),
                                    table.m_Colours.back().GetPacked()) +
                  Header(table),
              "ff0000 255 ff 0  32/32");
}
