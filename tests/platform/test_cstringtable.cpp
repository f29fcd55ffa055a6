#include "platform/cstringtable.h"

#include <gtest/gtest.h>

TEST(CStringTableFormat, ReplacesNumberedPlaceholders)
{
    const std::pair<std::string, std::string> cases[] = {
        {CStringTable::FormatId(Str::CouldNotOpen, {"/a/b.tab"}), "Could not open /a/b.tab"},
        {CStringTable::FormatId(Str::SaveChanges, {}), "Would you like to save your changes to the current legend?"},
        {CStringTable::Format("%2!s! before %1!d!", {"one", "two"}), "two before one"},
        // A missing argument leaves nothing; text that only looks like a placeholder stays.
        {CStringTable::Format("[%3!s!] 100% %x", {"a"}), "[] 100% %x"},
        {CStringTable::Load(99999), ""},
    };
    for (const auto& [formatted, expected] : cases)
        EXPECT_EQ(formatted, expected);
}
