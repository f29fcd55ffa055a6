// Feeds arbitrary bytes to the .leg reader, in memory. Besides not crashing, a
// legend that has been written once must write the same text again after
// another read: the format has to settle after one save.

#include "legend/cllegend.h"

#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

namespace {

std::string ReadWrite(std::string_view in)
{
    CLLLegend legend;
    legend.ReadLEGText(in, "fuzz.leg");
    return legend.LEGText();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string first = ReadWrite(std::string_view(reinterpret_cast<const char*>(data), size));
    const std::string second = ReadWrite(first);
    const std::string third = ReadWrite(second);
    if (second != third)
        std::abort();
    return 0;
}
