#include "grid/cgriddefaultcell.h"

#include "grid/cgridctrl.h"

CGridDefaultCell::CGridDefaultCell()
{
    m_Format = GridText::DefaultFormat;
    m_TextColour = m_BackColour = m_Colour = kGridDefaultColour;
    m_Size = {30, 10};
    SetFont(&m_Font);
}

void CGridDefaultCell::SetFont(const CGridFont* font)
{
    if (font) {
        m_Font = *font;
        if (m_Font.faceName.size() > 31)
            m_Font.faceName.resize(31);
    }
    CGridView* view = m_Grid ? m_Grid->GetView() : nullptr;
    std::optional<CGridSize> space, sample;
    if (view) {
        space = view->MeasureText(m_Font, " ");
        sample = view->MeasureText(m_Font, " XXXXXXXXXXXX ");
    }
    if (space && sample) {
        m_Margin = space->cx;
        m_Size = {sample->cx, sample->cy * 3 / 2};
    } else {
        m_Margin = 3;
        m_Size = {40, 16};
    }
}
