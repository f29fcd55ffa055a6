#pragma once
// Text the user types into a legend, as bytes for the legend. A legend keeps
// its texts as read; older files are Windows-1252, and a host of the original
// platform shows UTF-8 in such a file as mojibake. So a field the user did not
// change keeps its bytes, and new text in a Windows-1252 legend is written in
// Windows-1252 whenever every character has a byte there.

#include <string>

class CLLLegend;

// True when some text of the legend (header or rows) is not valid UTF-8.
bool IsWindows1252Legend(const CLLLegend& legend);

// `typed` is UTF-8 as the user sees it; `before` the bytes the field held.
std::string TypedLegendText(const std::string& typed, const std::string& before, bool windows1252);
