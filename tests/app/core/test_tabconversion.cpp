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
    std::optional<std::string> Stamp() const { return CSettingsStore::GetString(Hive::CurrentUser, TabStampKey, TabStampValue); }
    void StoreStamp(const std::string& text) const
    {
        EXPECT_TRUE(CSettingsStore::SetString(Hive::CurrentUser, TabStampKey, TabStampValue, text));
    }
};

// "outcome [fields missing] folder: written... | skipped... | failed..." with the
// folder left out of the written files' paths.
std::string Show(const CTabConversion& r)
{
    static const char* const outcomes[] = {"converted", "unchanged", "open failed"};
    std::string out = std::string(outcomes[static_cast<int>(r.outcome)]) + (r.fieldsMissing ? " fields missing " : " ") +
                      r.folder + ":";
    for (const std::string& w : r.written)
        out += " " + (!r.folder.empty() && w.rfind(r.folder, 0) == 0 ? w.substr(r.folder.size()) : w);
    out += " | skipped";
    for (const std::string& name : r.skipped)
        out += " '" + name + "'";
    out += " | failed";
    for (const std::string& f : r.failed)
        out += " " + f;
    return out;
}

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
    // A comes back after B and is converted again, to the same file.
    EXPECT_EQ(Show(ConvertTABToLEG(fx.tab, false, prompt)), "converted " + fx.lut + ": A.leg B.leg A.leg | skipped | failed");
    EXPECT_TRUE(prompt.m_Messages.empty());
    CLLLegend a, b;
    a.ReadLEG(fx.lut + "A.leg");
    b.ReadLEG(fx.lut + "B.leg");
    EXPECT_EQ(a.m_Name + " " + std::to_string(b.GetRowCount()), "A 1");
    EXPECT_EQ(a.m_From, (std::vector<double>{0.0, 1.0, 3.0}));

    // Without a legend folder the files go to the current folder.
    CSettingsSandbox sandbox;
    const std::string tab = sandbox.Work("host") + "/t.tab", here = sandbox.Work("cwd");
    ASSERT_TRUE(LegendWithLabels({"Only"}).ExportTAB(tab));
    const fs::path previous = fs::current_path();
    fs::current_path(here);
    const CTabConversion result = ConvertTABToLEG(tab, false, prompt);
    fs::current_path(previous);
    EXPECT_EQ(Show(result), "converted : Only.leg | skipped | failed");
    EXPECT_TRUE(fs::exists(here + "/Only.leg"));
}

TEST(ConvertTABToLEG, UnopenableTableAndMissingFieldsAreReported)
{
    CConversionFixture fx;
    CRecordingPrompt prompt;
    const std::string missing = fx.sandbox.Work("host") + "/none.tab", partial = fx.sandbox.Work("host") + "/partial.tab";
    EXPECT_EQ(Show(ConvertTABToLEG(missing, false, prompt)), "open failed : | skipped | failed");
    ASSERT_TRUE(MakeTextTable(partial, {"P_Name", "P_From"}, {{"X", "1"}, {"Y", "2"}}));
    EXPECT_EQ(Show(ConvertTABToLEG(partial, false, prompt)),
              "converted fields missing " + fx.lut + ": X.leg Y.leg | skipped | failed");
    EXPECT_EQ(prompt.m_Messages[0].stringId, Str::CouldNotOpen);
    EXPECT_EQ(prompt.m_Messages[1].stringId, Str::ChooseInputTab);
    EXPECT_EQ(prompt.Texts(), (std::vector<std::string>{"Could not open " + missing + ": " + std::strerror(ENOENT),
                                                        partial + ": You must choose an input TAB file",
                                                        "Could not find all the standard fields in " + partial}));
}

TEST(ConvertTABToLEG, NamesThatAreNoFileNameInTheFolderAreSkippedAndReported)
{
    CConversionFixture fx;
    const std::string tab = fx.sandbox.Work("host") + "/names.tab";
    // Empty names at the start and in the middle alike; blank names are empty
    // ones; hidden files and control characters are refused.
    ASSERT_TRUE(LegendWithLabels({"", "ok", "../escaped", "", "  ", "x\\y", "a/b", "..", ".", ".hidden", "two\nlines",
                                  "\t", "del\x7F"})
                    .ExportTAB(tab));
    CRecordingPrompt prompt;
    EXPECT_EQ(Show(ConvertTABToLEG(tab, false, prompt)),
              "converted " + fx.lut + ": ok.leg | skipped '' '../escaped' '' 'x\\y' 'a/b' '..' '.' '.hidden' "
              "'two\nlines' '' 'del\x7F' | failed");
    EXPECT_FALSE(fs::exists(fx.lut + "../escaped.leg"));
    EXPECT_EQ(std::distance(fs::directory_iterator(fx.lut), fs::directory_iterator()), 1);
}

TEST(ConvertTABToLEG, EachFileHoldsWhatAnImportOfItsNameGives)
{
    CConversionFixture fx;
    const std::string tab = fx.sandbox.Work("host") + "/mixed.tab";
    CLLLegend mixed = LegendWithLabels({"A", "b", "a", "B", "A", "C"});
    mixed.m_DataType = DataText;
    mixed.m_StringValues = {"x", "", "y", "", "z", ""};
    ASSERT_TRUE(mixed.ExportTAB(tab));
    CRecordingPrompt prompt;
    const CTabConversion result = ConvertTABToLEG(tab, false, prompt);
    const std::vector<std::string> names = {"A", "b", "a", "B", "A", "C"};
    ASSERT_EQ(result.written.size(), names.size());
    const std::string expected = fx.sandbox.Work("expected") + "/";
    for (size_t i = 0; i < names.size(); ++i) {
        EXPECT_EQ(result.written[i], fx.lut + names[i] + ".leg");
        CLLLegend one;
        one.ImportTAB(tab, names[i], 0, prompt);
        ASSERT_EQ(one.WriteLEG(expected + names[i] + ".leg"), 1);
        EXPECT_EQ(ReadTextFile(result.written[i]), ReadTextFile(expected + names[i] + ".leg"))
            << names[i];
    }
}

TEST(ConvertTABToLEGTimeStamp, UnchangedTableIsSkippedAndAChangedOneConverted)
{
    CConversionFixture fx;
    CRecordingPrompt prompt;
    auto convert = [&](bool check) {
        return Show(ConvertTABToLEG(fx.tab, check, prompt)).substr(0, 9);
    };
    // Without a stored stamp the table is converted every time and no stamp is made.
    EXPECT_EQ(convert(true) + convert(true), "convertedconverted");
    EXPECT_FALSE(fx.Stamp());
    const std::time_t first = LocalTime(2023, 3, 4, 5, 6, 7);
    fx.SetModified(first);
    fx.StoreStamp("never");
    EXPECT_EQ(convert(true), "converted");
    EXPECT_EQ(fx.Stamp(), "2023/03/04 05:06:07");
    fs::remove(fx.lut + "A.leg");
    EXPECT_EQ(Show(ConvertTABToLEG(fx.tab, true, prompt)), "unchanged : | skipped | failed");
    EXPECT_FALSE(fs::exists(fx.lut + "A.leg"));
    EXPECT_EQ(convert(false), "converted"); // without the check the same table is converted
    fx.SetModified(first + 61);
    EXPECT_EQ(convert(true), "converted");
    EXPECT_EQ(fx.Stamp(), "2023/03/04 05:07:08");

    // Stamps are compared as times, not as texts, and rewritten in the program's own form.
    fx.SetModified(LocalTime(2024, 1, 2, 3, 4, 5));
    fx.StoreStamp("2024/1/2 3:04:05");
    EXPECT_EQ(convert(true), "unchanged");
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
    EXPECT_EQ(DefaultTABPath(true, false, "") + "|" + DefaultTABPath(false, true, "") + "|" +
                  DefaultTABPath(false, false, "") + "|" + DefaultTABPath(true, false, "/given.tab"),
              "/opt/quarvex/cfg/xs_colr.tab|/opt/quarvex/cfg/xs_colr.tab||/given.tab");
    ASSERT_TRUE(CSettingsStore::SetString(Hive::CurrentUser, "Software\\Ferrolin\\Quarvex\\Setup",
                                          "ConfigDir", "C:\\cfg\\"));
    EXPECT_EQ(DefaultTABPath(true, false, ""), "C:\\cfg\\xs_colr.tab");
}
