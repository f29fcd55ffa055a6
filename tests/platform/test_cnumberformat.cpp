#include "platform/cnumberformat.h"
#include "support/madelocale.h"

#include <clocale>
#include <cmath>
#include <gtest/gtest.h>

TEST(CNumberFormatParse, FollowsTheCParsersAndClampsIntegersToThe32BitRange)
{
    const std::tuple<const char*, double, int> cases[] = {
        {"  -1.5e3xyz", -1500.0, -1},
        {"abc", 0.0, 0},
        {"1,5", 1.0, 1},
        {"12.9", 12.9, 12},
        {"4278190080", 4278190080.0, 2147483647},
        {"-99999999999", -99999999999.0, -2147483647 - 1},
    };
    for (const auto& [text, real, integer] : cases) {
        EXPECT_DOUBLE_EQ(CNumberFormat::ParseDouble(text), real) << text;
        EXPECT_EQ(CNumberFormat::ParseInt32(text), integer) << text;
    }
    const char* end = nullptr;
    CNumberFormat::ParseDouble("  -1.5e3xyz", &end);
    EXPECT_STREQ(end, "xyz");
    // The file readers parse pieces of text in place; they must agree with strtod/strtol.
    for (const char* text : {"  -2.25e3x", "+7", "+-5", "", "1e", "-1e400", "1e-400", "0x1p3", "4278190080",
                             "-99999999999", "-99999999999999999999999", "inf", "-nan"}) {
        const std::string s(text);
        const double viaC = CNumberFormat::ParseDouble(s.c_str());
        const double viaView = CNumberFormat::ParseDouble(std::string_view(s));
        EXPECT_TRUE(std::isnan(viaC) ? std::isnan(viaView) : viaView == viaC) << text;
        EXPECT_EQ(CNumberFormat::ParseInt32(std::string_view(s)), CNumberFormat::ParseInt32(s.c_str())) << text;
    }
    const std::string_view line = "12345"; // a piece stops at its own end
    EXPECT_EQ(CNumberFormat::ParseInt32(line.substr(0, 2)), 12);
    EXPECT_DOUBLE_EQ(CNumberFormat::ParseDouble(line.substr(1, 3)), 234.0);
}

TEST(CNumberFormatLocale, FileNumbersIgnoreTheUsersDecimalComma)
{
    const std::string old = std::setlocale(LC_ALL, nullptr);
    if (!std::setlocale(LC_ALL, "de_DE.UTF-8"))
        GTEST_SKIP() << "de_DE.UTF-8 is not installed";
    const double parsed = CNumberFormat::ParseDouble("2.5");
    const std::string formatted = CNumberFormat::Format("%g|%.10g", 1234567.0, 0.25);
    std::setlocale(LC_ALL, old.c_str());
    EXPECT_EQ(parsed, 2.5);
    EXPECT_EQ(formatted, "1.23457e+06|0.25");
}

TEST(CNumberFormatLocale, UserSeparatorsAreTheLocalesOwnWhateverTheirLength)
{
    if (!HaveLocaledef())
        GTEST_SKIP() << "localedef is not installed";
    CTempDir dir;
    // The grouping marks of these locales take several bytes in UTF-8.
    ASSERT_TRUE(MakeLocale(dir.Path(), "fr_FR"));
    ASSERT_TRUE(MakeLocale(dir.Path(), "de_CH"));
    const CScopedEnv path("LOCPATH", dir.Path());
    // Locale, thousands and decimal marks, typed text, its value.
    const std::tuple<const char*, const char*, const char*, const char*, double> cases[] = {
        {"fr_FR.UTF-8", "\u202F", ",", "1\u202F234,5", 1234.5},
        {"fr_FR.UTF-8", "\u202F", ",", "0.1", 0.1},
        {"de_CH.UTF-8", "\u2019", ".", "1\u2019234.5", 1234.5},
        {"de_CH.UTF-8", "\u2019", ".", "2,5", 2.0},
        {"C", "", ".", "1,234.5", 1.0}};
    for (const auto& [name, thousands, decimal, typed, value] : cases) {
        const CScopedEnv locale("LC_ALL", name);
        const CNumberSeparators user = CNumberSeparators::User();
        EXPECT_EQ(user.thousands + "|" + user.decimal, std::string(thousands) + "|" + decimal) << name;
        EXPECT_DOUBLE_EQ(CNumberFormat::ParseLocaleDouble(typed, user), value) << typed;
    }
}

TEST(CNumberFormatLocale, UserSeparatorsAreReplacedByTheFixedRule)
{
    const std::tuple<CNumberSeparators, const char*, const char*> cases[] = {
        {{".", ","}, "1.234,5", "1234.5"},
        {{".", ","}, "1,2,3", "1,2.3"}, // only the last decimal separator becomes the point
        {{",", "."}, "1,234.5", "1234.5"},
        {{"\u202F", ","}, "-1\u202F234\u202F567,25", "-1234567.25"},
        {{"\u202F", ","}, "1\3425", "1\3425"}, // a lone byte (0xE2) of a multi-byte separator is none
        {{"", ","}, "1 234,5", "1 234.5"},
        {{"'", ""}, "1'234.5", "1234.5"}};
    for (const auto& [separators, typed, delocalised] : cases)
        EXPECT_EQ(CNumberFormat::Delocalise(typed, separators), delocalised) << typed;
}
