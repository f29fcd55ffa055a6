// Feeds arbitrary bytes to the pen file reader and draws every style it
// declares (up to a few hundred) on a surface that only counts. Besides not
// crashing or reading past the bytes given, each sample must end (a motif
// that never moves is stopped), leave its clips balanced, and keep its calls
// to what the line's length allows.

#include "pickers/core/clinestylerenderer.h"
#include "pickers/core/cpenfile.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <vector>

namespace {

void Check(bool condition)
{
    if (!condition)
        std::abort();
}

class CCountingSurface : public CGridPainter {
public:
    void FillRect(const CGridRect&, uint32_t) override { ++calls; }
    void FrameRect(const CGridRect&, uint32_t) override { ++calls; }
    void DrawLine(int, int, int, int, uint32_t) override { ++calls; }
    void DrawText(const CGridRect&, const std::string&, uint32_t, uint32_t, const CGridFont&) override { ++calls; }
    CGridSize TextExtent(const CGridFont&, const std::string&) override { return {7, 14}; }
    void FillPattern(const CGridRect&, const CGridBitmap&, uint32_t, std::optional<uint32_t>) override { ++calls; }
    void DrawPolyline(const std::vector<CGridPoint>& points, int width, uint32_t) override
    {
        Check(!points.empty() && width >= 0 && width <= 256);
        ++calls;
    }
    void FillPolygon(const std::vector<CGridPoint>& points, uint32_t, std::optional<uint32_t>) override
    {
        Check(points.size() == 4);
        ++calls;
    }
    void PushClip(const CGridRect&) override { ++depth; }
    void PopClip() override
    {
        Check(depth > 0);
        --depth;
    }

    long calls = 0;
    int depth = 0;
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const CPenFile pen = CPenFile::Parse(std::vector<uint8_t>(data, data + size));
    Check(size >= 8 || pen.Status() == EPenFileStatus::Invalid);
    Check(pen.Status() == EPenFileStatus::Ok || pen.StyleCount() == 0);
    const int styles = std::min(pen.StyleCount(), 300);
    for (int style = 2; style < styles; ++style) {
        const auto& strokes = pen.Strokes(style);
        CCountingSurface surface;
        DrawLineStyle(surface, style, pen, 10, 20, 64, 16, 0);
        Check(surface.depth == 0);
        // Each repetition moves at least one pixel along the 54-pixel line and
        // runs at most 255 instructions of at most 3 calls each.
        long bound = 0;
        for (const auto& stroke : strokes)
            bound += 55 * 3 * static_cast<long>(stroke.size() + 1);
        Check(surface.calls <= bound);
    }
    return 0;
}
