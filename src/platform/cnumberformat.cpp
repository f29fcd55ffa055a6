#include "platform/cnumberformat.h"

#include <charconv>
#include <clocale>
#include <cmath>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <langinfo.h>
#include <limits>
#include <locale.h>

namespace {

locale_t CLocale()
{
    static locale_t loc = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(nullptr));
    return loc;
}

} // namespace

CNumberSeparators CNumberSeparators::User()
{
    CNumberSeparators result;
    locale_t user = newlocale(LC_NUMERIC_MASK, "", static_cast<locale_t>(nullptr));
    if (!user)
        return result;
    // Taken as the locale gives them: a separator replaced by a look-alike
    // (a '.' for a narrow no-break space) would eat the user's decimal points.
    const char* dec = nl_langinfo_l(RADIXCHAR, user);
    const char* thou = nl_langinfo_l(THOUSEP, user);
    result.decimal = dec ? dec : "";
    result.thousands = thou ? thou : "";
    freelocale(user);
    return result;
}

double CNumberFormat::ParseDouble(const char* text, const char** end)
{
    char* stop = nullptr;
    const double value = strtod_l(text, &stop, CLocale());
    if (end)
        *end = stop;
    return value;
}

namespace {

bool IsBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

// Leading blanks and a '+' are allowed by the C parsers but not by from_chars.
std::string_view StripLead(std::string_view text, bool& negative)
{
    while (!text.empty() && IsBlank(text.front()))
        text.remove_prefix(1);
    negative = false;
    if (!text.empty() && (text.front() == '+' || text.front() == '-')) {
        negative = text.front() == '-';
        text.remove_prefix(1);
    }
    return text;
}

int32_t Clamp32(long long v)
{
    if (v > std::numeric_limits<int32_t>::max())
        return std::numeric_limits<int32_t>::max();
    if (v < std::numeric_limits<int32_t>::min())
        return std::numeric_limits<int32_t>::min();
    return static_cast<int32_t>(v);
}

} // namespace

double CNumberFormat::ParseDouble(std::string_view text)
{
    bool negative = false;
    const std::string_view body = StripLead(text, negative);
    if (!body.empty() && (body.front() == '+' || body.front() == '-'))
        return 0.0; // a second sign
    if (body.size() >= 2 && body[0] == '0' && (body[1] == 'x' || body[1] == 'X'))
        return ParseDouble(std::string(text).c_str()); // hexadecimal: rare, leave it to strtod
    double value = 0.0;
    const auto [ptr, ec] = std::from_chars(body.data(), body.data() + body.size(), value);
    (void)ptr;
    if (ec == std::errc::result_out_of_range) {
        // strtod gives HUGE_VAL on overflow and a value near zero on underflow.
        const double probe = ParseDouble(std::string(body).c_str());
        value = std::isinf(probe) ? HUGE_VAL : probe;
    } else if (ec != std::errc()) {
        return 0.0;
    }
    return negative ? -value : value;
}

int32_t CNumberFormat::ParseInt32(std::string_view text)
{
    bool negative = false;
    const std::string_view body = StripLead(text, negative);
    unsigned long long magnitude = 0;
    const auto [ptr, ec] = std::from_chars(body.data(), body.data() + body.size(), magnitude);
    (void)ptr;
    if (ec == std::errc::result_out_of_range)
        return negative ? std::numeric_limits<int32_t>::min() : std::numeric_limits<int32_t>::max();
    if (ec != std::errc())
        return 0;
    if (magnitude > (1ull << 40))
        magnitude = 1ull << 40; // far outside the 32-bit range either way
    const long long v = static_cast<long long>(magnitude);
    return Clamp32(negative ? -v : v);
}

int32_t CNumberFormat::ParseInt32(const char* text, const char** end)
{
    char* stop = nullptr;
    const long long value = strtoll_l(text, &stop, 10, CLocale());
    if (end)
        *end = stop;
    return Clamp32(value);
}

std::string CNumberFormat::Format(const char* format, ...)
{
    CCLocaleScope scope;
    char buffer[256];
    va_list args;
    va_start(args, format);
    va_list copy;
    va_copy(copy, args);
    const int n = std::vsnprintf(buffer, sizeof buffer, format, args);
    va_end(args);
    std::string result;
    if (n < 0) {
        va_end(copy);
        return result;
    }
    if (static_cast<size_t>(n) < sizeof buffer) {
        result.assign(buffer, static_cast<size_t>(n));
    } else {
        result.resize(static_cast<size_t>(n) + 1);
        std::vsnprintf(result.data(), result.size(), format, copy);
        result.resize(static_cast<size_t>(n));
    }
    va_end(copy);
    return result;
}

std::string CNumberFormat::Delocalise(std::string_view text, const CNumberSeparators& separators)
{
    std::string result;
    result.reserve(text.size());
    const std::string_view thousands = separators.thousands;
    while (!text.empty()) {
        if (!thousands.empty() && text.substr(0, thousands.size()) == thousands) {
            text.remove_prefix(thousands.size());
        } else {
            result += text.front();
            text.remove_prefix(1);
        }
    }
    const std::string& decimal = separators.decimal;
    const size_t lastDecimal = decimal.empty() ? std::string::npos : result.rfind(decimal);
    if (lastDecimal != std::string::npos)
        result.replace(lastDecimal, decimal.size(), ".");
    return result;
}

double CNumberFormat::ParseLocaleDouble(std::string_view text, const CNumberSeparators& separators)
{
    return ParseDouble(Delocalise(text, separators));
}

CCLocaleScope::CCLocaleScope() : m_Previous(uselocale(CLocale()))
{
}

CCLocaleScope::~CCLocaleScope()
{
    uselocale(static_cast<locale_t>(m_Previous));
}
