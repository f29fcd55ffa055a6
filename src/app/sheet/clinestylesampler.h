#pragma once
// Draws a numbered line style as a horizontal sample; the pen file renderer
// implements it. The LStyle cells draw through it.

#include "grid/cgridpainter.h"

#include <cstdint>

class CLineStyleSampler {
public:
    virtual ~CLineStyleSampler() = default;
    // Style `style` in `colour`, across `rect` at its vertical middle.
    virtual void DrawLineStyle(CGridPainter& painter, const CGridRect& rect, int32_t style,
                               uint32_t colour) = 0;
};
