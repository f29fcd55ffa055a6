// Feeds arbitrary bytes to the .leg and colour look-up table readers. Besides
// not crashing, a legend that has been written once must write the same text
// again after another read: the format has to settle after one save.

#include "legend/cllegend.h"
#include "platform/cfileio.h"

#include <cstdint>
#include <cstdlib>
#include <string>
#include <unistd.h>

namespace {

std::string TempPath(const char* name)
{
    return "/tmp/tessarin-fuzz-" + std::to_string(getpid()) + "-" + name;
}

std::string ReadWrite(const std::string& in, const std::string& out)
{
    CLLLegend legend;
    legend.ReadLEG(in);
    legend.WriteLEG(out);
    std::string text;
    CFileIO::ReadAll(out, text);
    return text;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static const std::string a = TempPath("a.leg"), b = TempPath("b.leg"), c = TempPath("c.leg");
    CFileIO::WriteAtomically(a, std::string_view(reinterpret_cast<const char*>(data), size));

    CLLColourTable table;
    table.ReadLUT(a);
    CLLLegend lut;
    lut.ReadColourTable(a);

    ReadWrite(a, b);
    const std::string second = ReadWrite(b, c);
    const std::string third = ReadWrite(c, b);
    if (second != third)
        std::abort();
    return 0;
}
