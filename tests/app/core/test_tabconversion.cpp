#include "app/core/tabconversion.h"

#include "app/core/legendtables.h"
#include "platform/csettingsstore.h"
#include "platform/cstamptime.h"
#include "platform/cstringtable.h"
#include "platform/settingssandbox.h"
#include "support/testfiles.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>

#include <filesystem>
#include <utime.h>

namespace fs = std::filesystem;
using Hive = CSettingsStore::Hive;
using Outcome = CTabConversion::Outcome;

namespace {

// A table with the legends A, B and A again (the first run of A written in two
// cases), its legend folder set as LUT_PATH.
struct CConversionFixture {
    CSettingsSandbox sandbox;
    std::string lut = sandbox.Work("lut") + "/";
    std::string tab = sandbox.Work("host") + "/xs_colr.tab";

    CConversionFixture()
    {
        EXPECT_TRUE(LegendWithLabels({"A", "a", "B", "A"}).ExportTAB(tab));
        EXPECT_TRUE(SetCommonSetting("LUT_PATH", lut));
    }
    void SetModified(std::time_t t) const
    {
        utimbuf times{t, t};
        ::utime(tab.c_str(), &times);
    }
    std::optional<std::string> Stamp() const
    {
        return CSettingsStore::GetString(Hive::CurrentUser, TabStampKey, TabStampValue);
    }
    void StoreStamp(const std::string& text) const
    {
        EXPECT_TRUE(CSettingsStore::SetString(Hive::CurrentUser, TabStampKey, TabStampValue, text));
    }
};

std::time_t LocalTime(int y, int mo, int d, int h, int mi, int s)
{
    std::tm t{};
    t.tm_year = y - 1900;
    t.tm_mon = mo - 1;
    t.tm_mday = d;
    t.tm_hour = h;
    t.tm_min = mi;
    t.tm_sec = s;
    t.tm_isdst = -1;
    return std::mktime(&t);
}

} // namespace

TEST(ConvertTABToLEG, EachRunOfANameBecomesALegendFileInTheLegendFolder)
{
    CConversionFixture fx;
    CRecordingPrompt prompt;
    const CTabConversion result = ConvertTABToLEG(fx.tab, false, prompt);
    EXPECT_EQ(result.outcome, Outcome::Converted);
    EXPECT_EQ(result.folder, fx.lut);
    // A comes back after B and is converted again, to the same file.
    EXPECT_EQ(result.written,
              (std::vector<std::string>{fx.lut + "A.leg", fx.lut + "B.leg", fx.lut + "A.leg"}));
    EXPECT_TRUE(result.failed.empty());
    EXPECT_FALSE(result.fieldsMissing);
    EXPECT_TRUE(prompt.m_Messages.empty());

    CLLLegend a;
    a.ReadLEG(fx.lut + "A.leg");
    EXPECT_EQ(a.m_Name, "A");
    ASSERT_EQ(a.GetRowCount(), 3);
    EXPECT_EQ(a.m_From, (std::vector<double>{0.0, 1.0, 3.0}));
    CLLLegend b;
    b.ReadLEG(fx.lut + "B.leg");
    EXPECT_EQ(b.GetRowCount(), 1);
}

TEST(ConvertTABToLEG, WithoutALegendFolderTheFilesGoToTheCurrentFolder)
{
    CSettingsSandbox sandbox;
    const std::string tab = sandbox.Work("host") + "/t.tab";
    ASSERT_TRUE(LegendWithLabels({"Only"}).ExportTAB(tab));
    const std::string here = sandbox.Work("cwd");
    const fs::path previous = fs::current_path();
    fs::current_path(here);
    const CTabConversion result = ConvertTABToLEG(tab, false, CUserPrompt::Current());
    fs::current_path(previous);
    EXPECT_EQ(result.folder, "");
    EXPECT_EQ(result.written, (std::vector<std::string>{"Only.leg"}));
    EXPECT_TRUE(fs::exists(here + "/Only.leg"));
}

TEST(ConvertTABToLEG, UnopenableTableAndMissingFieldsAreReported)
{
    CConversionFixture fx;
    CRecordingPrompt prompt;
    const std::string missing = fx.sandbox.Work("host") + "/none.tab";
    EXPECT_EQ(ConvertTABToLEG(missing, false, prompt).outcome, Outcome::OpenFailed);
    ASSERT_EQ(prompt.m_Messages.size(), 1u);
    EXPECT_EQ(prompt.m_Messages[0].stringId, Str::CouldNotOpen);
    EXPECT_EQ(prompt.m_Messages[0].text,
              "Could not open " + missing + ": " + std::strerror(ENOENT));

    const std::string partial = fx.sandbox.Work("host") + "/partial.tab";
    ASSERT_TRUE(MakeTextTable(partial, {"P_Name", "P_From"}, {{"X", "1"}, {"Y", "2"}}));
    const CTabConversion result = ConvertTABToLEG(partial, false, prompt);
    ASSERT_GE(prompt.m_Messages.size(), 2u);
    EXPECT_EQ(prompt.m_Messages[1].stringId, Str::ChooseInputTab);
    EXPECT_EQ(prompt.m_Messages[1].text, partial + ": You must choose an input TAB file");
    EXPECT_EQ(result.written, (std::vector<std::string>{fx.lut + "X.leg", fx.lut + "Y.leg"}));
    EXPECT_TRUE(result.fieldsMissing);
}

TEST(ConvertTABToLEG, NamesThatAreNoFileNameInTheFolderAreSkippedAndReported)
{
    CConversionFixture fx;
    const std::string tab = fx.sandbox.Work("host") + "/names.tab";
    // Empty names at the start and in the middle alike; blank names are empty
    // ones; hidden files and control characters are refused.
    ASSERT_TRUE(LegendWithLabels({"", "ok", "../escaped", "", "  ", "x\\y", "a/b", "..", ".",
                                  ".hidden", "two\nlines", "\t", "del\x7F"})
                    .ExportTAB(tab));
    const CTabConversion result = ConvertTABToLEG(tab, false, CUserPrompt::Current());
    EXPECT_EQ(result.written, (std::vector<std::string>{fx.lut + "ok.leg"}));
    EXPECT_EQ(result.skipped,
              (std::vector<std::string>{"", "../escaped", "", "x\\y", "a/b", "..", ".", ".hidden",
                                        "two\nlines", "", "del\x7F"}));
    EXPECT_FALSE(fs::exists(fx.lut + "../escaped.leg"));
    std::vector<std::string> made;
    for (const auto& e : fs::directory_iterator(fx.lut))
        made.push_back(e.path().filename().string());
    EXPECT_EQ(made, (std::vector<std::string>{"ok.leg"}));
}

TEST(ConvertTABToLEG, EachFileHoldsWhatAnImportOfItsNameGives)
{
    CConversionFixture fx;
    const std::string tab = fx.sandbox.Work("host") + "/mixed.tab";
    CLLLegend mixed = LegendWithLabels({"A", "b", "a", "B", "A", "C"});
    mixed.m_DataType = DataText;
    mixed.m_StringValues = {"x", "", "y", "", "z", ""};
    ASSERT_TRUE(mixed.ExportTAB(tab));
    const CTabConversion result = ConvertTABToLEG(tab, false, CUserPrompt::Current());
    const std::vector<std::string> names = {"A", "b", "a", "B", "A", "C"};
    ASSERT_EQ(result.written.size(), names.size());
    const std::string expected = fx.sandbox.Work("expected") + "/";
    for (size_t i = 0; i < names.size(); ++i) {
        EXPECT_EQ(result.written[i], fx.lut + names[i] + ".leg");
        CLLLegend one;
        one.ImportTAB(tab, names[i], 0);
        ASSERT_EQ(one.WriteLEG(expected + names[i] + ".leg"), 1);
        EXPECT_EQ(ReadTextFile(result.written[i]), ReadTextFile(expected + names[i] + ".leg"))
            << names[i];
    }
}

TEST(ConvertTABToLEGTimeStamp, WithoutAStoredStampTheTableIsConvertedEveryTimeAndNoStampIsMade)
{
    CConversionFixture fx;
    EXPECT_EQ(ConvertTABToLEG(fx.tab, true, CUserPrompt::Current()).outcome, Outcome::Converted);
    EXPECT_EQ(ConvertTABToLEG(fx.tab, true, CUserPrompt::Current()).outcome, Outcome::Converted);
    EXPECT_FALSE(fx.Stamp());
}

TEST(ConvertTABToLEGTimeStamp, UnchangedTableIsSkippedAndAChangedOneConverted)
{
    CConversionFixture fx;
    const std::time_t first = LocalTime(2023, 3, 4, 5, 6, 7);
    fx.SetModified(first);
    fx.StoreStamp("never");

    EXPECT_EQ(ConvertTABToLEG(fx.tab, true, CUserPrompt::Current()).outcome, Outcome::Converted);
    EXPECT_EQ(fx.Stamp(), "2023/03/04 05:06:07");

    fs::remove(fx.lut + "A.leg");
    const CTabConversion again = ConvertTABToLEG(fx.tab, true, CUserPrompt::Current());
    EXPECT_EQ(again.outcome, Outcome::Unchanged);
    EXPECT_TRUE(again.written.empty());
    EXPECT_FALSE(fs::exists(fx.lut + "A.leg"));
    // Without the check the same table is converted.
    EXPECT_EQ(ConvertTABToLEG(fx.tab, false, CUserPrompt::Current()).outcome, Outcome::Converted);

    fx.SetModified(first + 61);
    EXPECT_EQ(ConvertTABToLEG(fx.tab, true, CUserPrompt::Current()).outcome, Outcome::Converted);
    EXPECT_EQ(fx.Stamp(), "2023/03/04 05:07:08");
}

TEST(ConvertTABToLEGTimeStamp, StampsAreComparedAsTimesNotAsTexts)
{
    CConversionFixture fx;
    fx.SetModified(LocalTime(2024, 1, 2, 3, 4, 5));
    fx.StoreStamp("2024/1/2 3:04:05");
    EXPECT_EQ(ConvertTABToLEG(fx.tab, true, CUserPrompt::Current()).outcome, Outcome::Unchanged);
    // The stamp is rewritten in the program's own form either way.
    EXPECT_EQ(fx.Stamp(), "2024/01/02 03:04:05");
}

TEST(ConvertTABToLEGTimeStamp, StampTextsParseBackToTheSameTime)
{
    const std::time_t t = LocalTime(1999, 12, 31, 23, 59, 58);
    EXPECT_EQ(FormatStampTime(t), "1999/12/31 23:59:58");
    EXPECT_EQ(ParseStampTime(FormatStampTime(t)), t);
    EXPECT_FALSE(ParseStampTime(""));
    EXPECT_FALSE(ParseStampTime("31.12.1999 23:59:58"));
}

TEST(DefaultTABPath, OnlyQuarvexHostsGetTheConfiguredTable)
{
    CSettingsSandbox sandbox;
    EXPECT_EQ(DefaultTABPath(true, false, ""), "");
    ASSERT_TRUE(CSettingsStore::SetString(Hive::CurrentUser, "Software\\Ferrolin\\Quarvex\\Setup",
                                          "ConfigDir", "/opt/quarvex/cfg"));
    EXPECT_EQ(DefaultTABPath(true, false, ""), "/opt/quarvex/cfg/xs_colr.tab");
    EXPECT_EQ(DefaultTABPath(false, true, ""), "/opt/quarvex/cfg/xs_colr.tab");
    EXPECT_EQ(DefaultTABPath(false, false, ""), "");
    EXPECT_EQ(DefaultTABPath(true, false, "/given.tab"), "/given.tab");
    ASSERT_TRUE(CSettingsStore::SetString(Hive::CurrentUser, "Software\\Ferrolin\\Quarvex\\Setup",
                                          "ConfigDir", "C:\\cfg\\"));
    EXPECT_EQ(DefaultTABPath(true, false, ""), "C:\\cfg\\xs_colr.tab");
}
