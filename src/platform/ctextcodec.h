#pragma once
// Legend files from older installations hold Windows-1252 bytes; new text is
// UTF-8. The core keeps bytes as read and converts only where text leaves it
// for display or JSON, through this one function.

#include <string>
#include <string_view>

class CTextCodec {
public:
    static bool IsValidUtf8(std::string_view bytes);
    // Valid UTF-8 is returned unchanged; anything else is decoded as Windows-1252.
    static std::string ToUtf8(std::string_view bytes);
};
