// Feeds arbitrary text to the INI reader. The input is the file text, then
// optionally a zero byte and "section\nkey" to look up. Besides not crashing,
// a value read back never holds a line break, and parsing is repeatable.

#include "platform/cinifile.h"

#include <cstdint>
#include <cstdlib>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string input(reinterpret_cast<const char*>(data), size);
    const size_t zero = input.find('\0');
    const std::string text = input.substr(0, zero);
    std::string section = "Settings", key = "Path";
    if (zero != std::string::npos) {
        const std::string query = input.substr(zero + 1);
        const size_t nl = query.find('\n');
        section = query.substr(0, nl);
        key = nl == std::string::npos ? std::string() : query.substr(nl + 1);
    }

    CIniFile ini;
    ini.Parse(text);
    const auto value = ini.Get(section, key);
    if (value && value->find('\n') != std::string::npos)
        std::abort();

    // Parsing is a pure function of the text.
    CIniFile again;
    again.Parse(text);
    if (again.Get(section, key) != value)
        std::abort();
    return 0;
}
