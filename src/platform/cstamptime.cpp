#include "platform/cstamptime.h"

#include <time.h>

std::string FormatStampTime(std::time_t t)
{
    std::tm local{};
    if (!::localtime_r(&t, &local))
        return {};
    char text[64];
    const size_t n = std::strftime(text, sizeof text, "%Y/%m/%d %H:%M:%S", &local);
    return std::string(text, n);
}

std::optional<std::time_t> ParseStampTime(const std::string& text)
{
    std::tm local{};
    const char* end = ::strptime(text.c_str(), "%Y/%m/%d %H:%M:%S", &local);
    if (!end)
        return std::nullopt;
    local.tm_isdst = -1;
    const std::time_t t = std::mktime(&local);
    if (t == static_cast<std::time_t>(-1))
        return std::nullopt;
    return t;
}
