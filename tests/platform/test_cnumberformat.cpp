#include "platform/cnumberformat.h"
#include "support/madelocale.h"

#include <clocale>
#include <cmath>
#include <cstdlib>
#include <gtest/gtest.h>

namespace {

// Switches the process to a decimal-comma locale for one test, as a GUI
// process would be; skipped where no such locale is installed.
class DecimalCommaLocale {
public:
    DecimalCommaLocale()
    {
        const char* old = std::setlocale(LC_ALL, nullptr);
        m_Old = old ? old : "C";
        m_Active = std::setlocale(LC_ALL, "de_DE.UTF-8") != nullptr;
    }
    ~DecimalCommaLocale() { std::setlocale(LC_ALL, m_Old.c_str()); }
    bool Active() const { return m_Active; }

private:
    std::string m_Old;
    bool m_Active = false;
};

} // namespace

TEST(CNumberFormatParse, FollowsTheStrtodRules)
{
    const char* end = nullptr;
    EXPECT_DOUBLE_EQ(CNumberFormat::ParseDouble("  -1.5e3xyz", &end), -1500.0);
    EXPECT_STREQ(end, "xyz");
    EXPECT_DOUBLE_EQ(CNumberFormat::ParseDouble("abc"), 0.0);
    EXPECT_DOUBLE_EQ(CNumberFormat::ParseDouble("1,5"), 1.0);
    EXPECT_EQ(CNumberFormat::ParseInt32(" +42abc"), 42);
    EXPECT_EQ(CNumberFormat::ParseInt32("12.9"), 12);
    EXPECT_EQ(CNumberFormat::ParseInt32("none"), 0);
}

TEST(CNumberFormatParse, IntegersClampToThe32BitRange)
{
    EXPECT_EQ(CNumberFormat::ParseInt32("4278190080"), 2147483647);
    EXPECT_EQ(CNumberFormat::ParseInt32("-99999999999"), -2147483647 - 1);
    EXPECT_EQ(CNumberFormat::ParseInt32("99999999999999999999999"), 2147483647);
}

TEST(CNumberFormatLocale, FileNumbersIgnoreTheUsersDecimalComma)
{
    DecimalCommaLocale locale;
    if (!locale.Active())
        GTEST_SKIP() << "de_DE.UTF-8 is not installed";
    EXPECT_DOUBLE_EQ(CNumberFormat::ParseDouble("2.5"), 2.5);
    EXPECT_EQ(CNumberFormat::Format("%g|%.10g", 1234567.0, 0.25), "1.23457e+06|0.25");
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
    struct Case {
        const char* locale;
        const char* thousands;
        const char* decimal;
        const char* typed;
        double value;
    };
    for (const Case& c : {Case{"fr_FR.UTF-8", "\u202F", ",", "1\u202F234,5", 1234.5},
                          Case{"fr_FR.UTF-8", "\u202F", ",", "0.1", 0.1},
                          Case{"de_CH.UTF-8", "\u2019", ".", "1\u2019234.5", 1234.5},
                          Case{"de_CH.UTF-8", "\u2019", ".", "2,5", 2.0},
                          Case{"C", "", ".", "1,234.5", 1.0}}) {
        const CScopedEnv locale("LC_ALL", c.locale);
        const CNumberSeparators user = CNumberSeparators::User();
        EXPECT_EQ(user.thousands, c.thousands) << c.locale;
        EXPECT_EQ(user.decimal, c.decimal) << c.locale;
        EXPECT_DOUBLE_EQ(CNumberFormat::ParseLocaleDouble(c.typed, user), c.value) << c.typed;
    }
}

TEST(CNumberFormatLocale, UserSeparatorsAreReplacedByTheFixedRule)
{
    struct Case {
        CNumberSeparators separators;
        const char* typed;
        const char* delocalised;
    };
    for (const Case& c : {Case{{".", ","}, "1.234,5", "1234.5"},
                          // Only the last decimal separator becomes the point.
                          Case{{".", ","}, "1,2,3", "1,2.3"},
                          Case{{",", "."}, "1,234.5", "1234.5"},
                          Case{{"\u202F", ","}, "-1\u202F234\u202F567,25", "-1234567.25"},
                          // A lone byte of a multi-byte separator is no separator.
                          Case{{"\u202F", ","}, "1\xE2" "5", "1\xE2" "5"},
                          Case{{"", ","}, "1 234,5", "1 234.5"},
                          Case{{"'", ""}, "1'234.5", "1234.5"}})
        EXPECT_EQ(CNumberFormat::Delocalise(c.typed, c.separators), c.delocalised) << c.typed;
    EXPECT_DOUBLE_EQ(CNumberFormat::ParseDouble("1.234,5"), 1.234);
}

TEST(CNumberFormatFormat, LongResultsAreNotCut)
{
    const std::string big = CNumberFormat::Format("%300.1f", 1.0);
    EXPECT_EQ(big.size(), 300u);
    EXPECT_EQ(big.substr(296), " 1.0");
}

TEST(CNumberFormatParse, PiecesOfTextFollowTheSameRulesAsTheCParsers)
{
    // The file readers parse tokens in place; they must agree with strtod/strtol.
    for (const char* text : {"1.5", "  -2.25e3x", "+7", "-", "", "abc", ".5", "1e", "1e400", "-1e400",
                             "1e-400", "0x1p3", "  0X10", "12.9", "4278190080", "-99999999999",
                             "+-5", "- 5", "007", "inf", "-nan"}) {
        const std::string s(text);
        const double viaC = CNumberFormat::ParseDouble(s.c_str());
        const double viaView = CNumberFormat::ParseDouble(std::string_view(s));
        if (std::isnan(viaC))
            EXPECT_TRUE(std::isnan(viaView)) << text;
        else
            EXPECT_EQ(viaView, viaC) << text;
        EXPECT_EQ(CNumberFormat::ParseInt32(std::string_view(s)), CNumberFormat::ParseInt32(s.c_str())) << text;
    }
    // A piece of a longer text stops at its own end.
    const std::string line = "12345";
    EXPECT_EQ(CNumberFormat::ParseInt32(std::string_view(line).substr(0, 2)), 12);
    EXPECT_DOUBLE_EQ(CNumberFormat::ParseDouble(std::string_view(line).substr(1, 3)), 234.0);
}
