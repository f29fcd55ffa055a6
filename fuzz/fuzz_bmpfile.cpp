// Feeds arbitrary bytes to the pattern bitmap reader. Besides not crashing or
// reading past the bytes given, a decoded picture must have one ink value of
// 0 or 1 per pixel within the size limit, and a refusal must say why.

#include "platform/cbmpfile.h"

#include <cstdint>
#include <cstdlib>
#include <string_view>

namespace {
void Check(bool condition)
{
    if (!condition)
        std::abort();
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    std::string reason;
    const auto image =
        CBmpFile::Decode(std::string_view(reinterpret_cast<const char*>(data), size), reason);
    if (!image) {
        Check(!reason.empty());
        return 0;
    }
    Check(reason.empty());
    Check(image->width > 0 && image->height > 0);
    Check(int64_t{image->width} * image->height <= CBmpFile::MaxPixels);
    Check(image->ink.size() ==
          static_cast<size_t>(image->width) * static_cast<size_t>(image->height));
    for (uint8_t ink : image->ink)
        Check(ink <= 1);
    return 0;
}
