#include "platform/cstringtable.h"
#include "support/recordingprompt.h"

#include <gtest/gtest.h>

TEST(CStringTableFormat, ReplacesNumberedPlaceholders)
{
    EXPECT_EQ(CStringTable::FormatId(Str::CouldNotOpen, {"/a/b.tab"}), "Could not open /a/b.tab");
    EXPECT_EQ(CStringTable::FormatId(Str::DeleteRowsMany, {"3"}),
              "You are about to delete 3 rows. Are you sure?");
    EXPECT_EQ(CStringTable::Format("%2!s! before %1!d!", {"one", "two"}), "two before one");
    // A missing argument leaves nothing; text that only looks like a placeholder stays.
    EXPECT_EQ(CStringTable::Format("[%3!s!] 100% %x", {"a"}), "[] 100% %x");
    EXPECT_EQ(CStringTable::Load(99999), "");
}

TEST(CUserPromptRouting, RecordingPromptSeesStringNumberAndScriptedAnswers)
{
    CRecordingPrompt prompt;
    prompt.m_Answers = {CUserPrompt::Answer::No};
    EXPECT_EQ(prompt.ShowString(Str::SaveChanges, {}, CUserPrompt::Buttons::YesNoCancel),
              CUserPrompt::Answer::No);
    prompt.ShowFixed("Could not create /x");
    ASSERT_EQ(prompt.m_Messages.size(), 2u);
    EXPECT_EQ(prompt.m_Messages[0].stringId, Str::SaveChanges);
    EXPECT_EQ(prompt.m_Messages[0].text, "Would you like to save your changes to the current legend?");
    EXPECT_EQ(prompt.m_Messages[1].stringId, 0);
    EXPECT_EQ(prompt.m_Messages[1].text, "Could not create /x");
}
