#include "app/core/legendtext.h"

#include "legend/cllegend.h"
#include "platform/ctextcodec.h"

#include <map>

namespace {

bool Is1252(const std::string& text)
{
    return !CTextCodec::IsValidUtf8(text);
}

// The UTF-8 form of every byte from 0x80 up, back to the byte.
const std::map<std::string, char>& Windows1252Bytes()
{
    static const std::map<std::string, char> bytes = [] {
        std::map<std::string, char> out;
        for (int b = 0x80; b <= 0xFF; ++b) {
            const std::string one(1, static_cast<char>(b));
            out.emplace(CTextCodec::ToUtf8(one), one[0]);
        }
        return out;
    }();
    return bytes;
}

// False when some character has no byte in Windows-1252.
bool ToWindows1252(const std::string& utf8, std::string& out)
{
    out.clear();
    for (size_t i = 0; i < utf8.size();) {
        const auto c = static_cast<unsigned char>(utf8[i]);
        const size_t length = c < 0x80 ? 1 : c < 0xE0 ? 2 : c < 0xF0 ? 3 : 4;
        if (length == 1) {
            out += utf8[i++];
            continue;
        }
        const auto found = Windows1252Bytes().find(utf8.substr(i, length));
        if (found == Windows1252Bytes().end())
            return false;
        out += found->second;
        i += length;
    }
    return true;
}

} // namespace

bool IsWindows1252Legend(const CLLLegend& legend)
{
    if (Is1252(legend.m_Name) || Is1252(legend.m_Description))
        return true;
    for (const std::string& comment : legend.m_HeaderComments)
        if (Is1252(comment))
            return true;
    CLLRow row;
    for (int i = 0; i < legend.GetRowCount(); ++i)
        if (legend.GetRow(i, row) && (Is1252(row.text) || Is1252(row.label) || Is1252(row.comment)))
            return true;
    return false;
}

std::string TypedLegendText(const std::string& typed, const std::string& before, bool windows1252)
{
    if (CTextCodec::ToUtf8(before) == typed)
        return before;
    std::string bytes;
    // Bytes that happen to be valid UTF-8 would read back as other characters.
    if (!windows1252 || !CTextCodec::IsValidUtf8(typed) || !ToWindows1252(typed, bytes) ||
        (bytes != typed && CTextCodec::IsValidUtf8(bytes)))
        return typed;
    return bytes;
}
