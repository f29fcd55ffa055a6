#pragma once
// Numbers in files always use '.', whatever the user's locale (a GUI process
// runs with the user's LC_NUMERIC). Everything here works on a private "C"
// locale object and keeps the strtod/strtol rules: leading blanks, a sign,
// conversion stops at the first character that does not fit, no digits -> 0.

#include <cstdint>
#include <string>
#include <string_view>

// Each separator is the locale's own text, which may take several bytes (a
// narrow no-break space, a typographic apostrophe); empty means none.
struct CNumberSeparators {
    std::string thousands = ",";
    std::string decimal = ".";

    // The separators of the user's regional settings (LC_NUMERIC of the environment).
    static CNumberSeparators User();
};

class CNumberFormat {
public:
    static double ParseDouble(const char* text, const char** end = nullptr);
    static double ParseDouble(const std::string& text) { return ParseDouble(text.c_str()); }
    // The same rules on a piece of text that need not end in a zero byte; the
    // fast path of the file readers.
    static double ParseDouble(std::string_view text);
    // strtol rules with a 32-bit long: out-of-range values clamp to the 32-bit signed range.
    static int32_t ParseInt32(const char* text, const char** end = nullptr);
    static int32_t ParseInt32(const std::string& text) { return ParseInt32(text.c_str()); }
    static int32_t ParseInt32(std::string_view text);

    // printf-style formatting in the "C" locale.
    static std::string Format(const char* format, ...) __attribute__((format(printf, 1, 2)));

    // The user's-locale number rule: drop every thousands separator, turn the last
    // decimal separator into '.', leave the rest for the C-locale parser.
    static std::string Delocalise(std::string_view text, const CNumberSeparators& separators);
    static double ParseLocaleDouble(std::string_view text, const CNumberSeparators& separators);
};

// Makes the "C" locale current for this thread while it lives; used around
// bulk formatting so that each printf does not switch locales on its own.
class CCLocaleScope {
public:
    CCLocaleScope();
    ~CCLocaleScope();
    CCLocaleScope(const CCLocaleScope&) = delete;
    CCLocaleScope& operator=(const CCLocaleScope&) = delete;

private:
    void* m_Previous;
};
