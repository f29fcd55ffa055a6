#include "platform/cbmpfile.h"

#include "platform/cfileio.h"

#include <cstdlib>

namespace {

uint32_t U16(std::string_view d, size_t at)
{
    return static_cast<uint32_t>(static_cast<uint8_t>(d[at])) |
           (static_cast<uint32_t>(static_cast<uint8_t>(d[at + 1])) << 8);
}

uint32_t U32(std::string_view d, size_t at)
{
    return U16(d, at) | (U16(d, at + 2) << 16);
}

// Integer luminance with the usual video weights; below half is ink.
uint8_t InkOf(uint32_t blue, uint32_t green, uint32_t red)
{
    return (299 * red + 587 * green + 114 * blue) < 128 * 1000 ? 1 : 0;
}

std::optional<CBmpImage> Refuse(std::string& reason, const char* why)
{
    reason = why;
    return std::nullopt;
}

} // namespace

std::optional<CBmpImage> CBmpFile::Decode(std::string_view d, std::string& reason)
{
    constexpr size_t FileHeader = 14;
    if (d.size() < FileHeader + 4 || d[0] != 'B' || d[1] != 'M')
        return Refuse(reason, "not a bitmap file");
    const uint64_t pixelsAt = U32(d, 10);
    const uint32_t infoSize = U32(d, 14);
    if (infoSize == 12)
        return Refuse(reason, "old-style bitmap header not supported");
    if (infoSize < 40 || FileHeader + uint64_t{infoSize} > d.size())
        return Refuse(reason, "bitmap header cut short");
    const int32_t width = static_cast<int32_t>(U32(d, 18));
    const int32_t rawHeight = static_cast<int32_t>(U32(d, 22));
    const uint32_t planes = U16(d, 26);
    const uint32_t bits = U16(d, 28);
    const uint32_t compression = U32(d, 30);
    const uint32_t coloursUsed = U32(d, 46);
    if (planes != 1)
        return Refuse(reason, "bitmap with more than one plane");
    if (bits != 1 && bits != 4 && bits != 8 && bits != 24)
        return Refuse(reason, "unsupported number of bits per pixel");
    if (compression != 0)
        return Refuse(reason, "compressed bitmap not supported");
    if (width <= 0 || rawHeight == 0 || rawHeight == INT32_MIN)
        return Refuse(reason, "bitmap without pixels");
    const bool topDown = rawHeight < 0;
    const int64_t height = topDown ? -int64_t{rawHeight} : rawHeight;
    if (int64_t{width} * height > MaxPixels)
        return Refuse(reason, "bitmap too large for a pattern");

    // The palette, as ink or paper per entry.
    std::vector<uint8_t> palette;
    if (bits <= 8) {
        const uint32_t most = 1u << bits;
        const uint32_t count = coloursUsed == 0 ? most : coloursUsed;
        if (count > most)
            return Refuse(reason, "palette larger than the pixels can index");
        const uint64_t at = FileHeader + uint64_t{infoSize};
        if (at + uint64_t{count} * 4 > d.size())
            return Refuse(reason, "palette cut short");
        palette.reserve(count);
        for (uint32_t i = 0; i < count; ++i) {
            const size_t e = static_cast<size_t>(at + uint64_t{i} * 4);
            palette.push_back(InkOf(static_cast<uint8_t>(d[e]), static_cast<uint8_t>(d[e + 1]),
                                    static_cast<uint8_t>(d[e + 2])));
        }
    }

    const uint64_t stride = (uint64_t{static_cast<uint32_t>(width)} * bits + 31) / 32 * 4;
    if (pixelsAt > d.size() || stride * static_cast<uint64_t>(height) > d.size() - pixelsAt)
        return Refuse(reason, "pixel data cut short");

    CBmpImage image;
    image.width = width;
    image.height = static_cast<int>(height);
    image.ink.resize(static_cast<size_t>(int64_t{width} * height));
    for (int64_t y = 0; y < height; ++y) {
        const int64_t stored = topDown ? y : height - 1 - y;
        const size_t row = static_cast<size_t>(pixelsAt + static_cast<uint64_t>(stored) * stride);
        uint8_t* out = &image.ink[static_cast<size_t>(y * width)];
        for (int32_t x = 0; x < width; ++x) {
            if (bits == 24) {
                const size_t p = row + static_cast<size_t>(x) * 3;
                out[x] = InkOf(static_cast<uint8_t>(d[p]), static_cast<uint8_t>(d[p + 1]),
                               static_cast<uint8_t>(d[p + 2]));
                continue;
            }
            const size_t bit = static_cast<size_t>(x) * bits;
            const uint8_t byte = static_cast<uint8_t>(d[row + bit / 8]);
            const unsigned index = (byte >> (8 - bits - bit % 8)) & ((1u << bits) - 1);
            // An index past the palette shows black, as the system draws it.
            out[x] = index < palette.size() ? palette[index] : 1;
        }
    }
    reason.clear();
    return image;
}

std::optional<CBmpImage> CBmpFile::Read(const std::string& path, std::string& reason)
{
    std::string data;
    if (!CFileIO::ReadAll(path, data))
        return Refuse(reason, "cannot read the file");
    return Decode(data, reason);
}
