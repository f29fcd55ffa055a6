#include "app/sheet/cpenfilesampler.h"

#include "pickers/core/clinestylerenderer.h"

void CPenFileSampler::DrawLineStyle(CGridPainter& painter, const CGridRect& rect, int32_t style,
                                    uint32_t colour)
{
    ::DrawLineStyle(painter, style, m_PenFile(), rect.left + 5, (rect.top + rect.bottom) / 2,
                    rect.Width(), rect.Height(), colour);
}
