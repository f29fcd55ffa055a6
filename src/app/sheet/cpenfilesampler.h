#pragma once
// Draws the LStyle cells from the pen file of the settings, through the line
// style renderer the chooser uses, so a cell shows what the chooser showed.

#include "app/sheet/clinestylesampler.h"

#include <functional>
#include <string>

class CPenFileSampler : public CLineStyleSampler {
public:
    // Asked for the path at every drawing, so a pen file changed in the
    // settings is used from the next paint on.
    explicit CPenFileSampler(std::function<std::string()> penFile) : m_PenFile(std::move(penFile))
    {
    }

    // The sample starts 5 pixels into the cell and, as the renderer leaves
    // 10 pixels at its end, stops 5 pixels before the cell's right edge.
    void DrawLineStyle(CGridPainter& painter, const CGridRect& rect, int32_t style,
                       uint32_t colour) override;

private:
    std::function<std::string()> m_PenFile;
};
