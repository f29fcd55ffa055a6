#pragma once
// Time stamps as text in the local time zone, the form the suite's tools keep
// in their settings. The conversion goes through the C library's local time,
// which only the platform layer calls.

#include <ctime>
#include <optional>
#include <string>

// "%Y/%m/%d %H:%M:%S" in local time, and back (nothing when the text does not
// hold such a time).
std::string FormatStampTime(std::time_t t);
std::optional<std::time_t> ParseStampTime(const std::string& text);
