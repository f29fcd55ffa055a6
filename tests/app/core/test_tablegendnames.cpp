#include "app/core/tablegendnames.h"

#include "app/core/legendtables.h"
#include "platform/cstringtable.h"
#include "support/testfiles.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>

TEST(TABLegendNames, DistinctNamesInOrderOfFirstAppearanceComparedExactly)
{
    CTempDir dir;
    CRecordingPrompt prompt;
    ASSERT_TRUE(LegendWithLabels({"A", "B", "A", "a", "Rock type"}).ExportTAB(dir.File("t.tab")));
    const CTABLegendNames names = ReadTABLegendNames(dir.File("t.tab"), prompt);
    EXPECT_TRUE(names.opened);
    EXPECT_TRUE(names.hasNameField);
    EXPECT_FALSE(names.mapCode);
    EXPECT_EQ(names.names, (std::vector<std::string>{"A", "B", "a", "Rock type"}));
    EXPECT_TRUE(prompt.m_Messages.empty());
}

TEST(TABLegendNames, MapCodeTableIsOneLegend)
{
    CTempDir dir;
    CRecordingPrompt prompt;
    ASSERT_TRUE(MakeTextTable(dir.File("m.tab"), {"MapCode", "Desc1"}, {{"Qa", "x"}}));
    const CTABLegendNames names = ReadTABLegendNames(dir.File("m.tab"), prompt);
    EXPECT_TRUE(names.mapCode);
    EXPECT_TRUE(names.names.empty());
    EXPECT_TRUE(prompt.m_Messages.empty());
}

TEST(TABLegendNames, TablesThatAreNotLegendTablesAreReported)
{
    CTempDir dir;
    CRecordingPrompt prompt;
    const CTABLegendNames missing = ReadTABLegendNames(dir.File("none.tab"), prompt);
    EXPECT_FALSE(missing.opened);
    ASSERT_TRUE(MakeTextTable(dir.File("other.tab"), {"Name"}, {{"A"}}));
    const CTABLegendNames other = ReadTABLegendNames(dir.File("other.tab"), prompt);
    EXPECT_TRUE(other.opened);
    EXPECT_FALSE(other.hasNameField);
    EXPECT_TRUE(other.names.empty());

    ASSERT_EQ(prompt.m_Messages.size(), 2u);
    EXPECT_EQ(prompt.m_Messages[0].stringId, Str::CouldNotOpen);
    EXPECT_EQ(prompt.m_Messages[0].text,
              "Could not open " + dir.File("none.tab") + ": " + std::strerror(ENOENT));
    EXPECT_EQ(prompt.m_Messages[1].stringId, Str::NotAColourMapTable);
    EXPECT_EQ(prompt.m_Messages[1].text.find(dir.File("other.tab") + ": This file is not a valid"),
              0u);
}

TEST(TABLegendNames, OutputFileNameFromTheLegendOrTheMapCodeTable)
{
    EXPECT_EQ(ImportOutputFileName("C:\\data\\geol units.tab", "ignored", true), "geol_units.leg");
    EXPECT_EQ(ImportOutputFileName("/data/geol units.tab", "", true), "geol_units.leg");
    EXPECT_EQ(ImportOutputFileName("/data/t.tab", "Rock type", false), "Rock_type.leg");
    EXPECT_EQ(ImportOutputFileName("/data/t.tab", "a\tb c", false), "a_b_c.leg");
    EXPECT_EQ(ImportOutputFileName("/data/t.tab", "", false), "");
    for (const char* outside :
         {"../up", "a/b", "a\\b", "..", ".", ".hidden", "  ", " \t", "two\nlines", "del\x7F"})
        EXPECT_EQ(ImportOutputFileName("/data/t.tab", outside, false), "") << outside;
}
