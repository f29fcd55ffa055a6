#include "grid/cgriddefaultcell.h"

#include "grid/cgridctrl.h"

CGridDefaultCell::CGridDefaultCell()
{
    m_format = GridText::DefaultFormat;
    m_textColour = m_backColour = m_colour = kGridDefaultColour;
    m_size = {30, 10};
    SetFont(&m_font);
}

void CGridDefaultCell::SetFont(const CGridFont* font)
{
    if (font) {
        m_font = *font;
        if (m_font.faceName.size() > 31)
            m_font.faceName.resize(31);
    }
    CGridView* view = m_grid ? m_grid->GetView() : nullptr;
    std::optional<CGridSize> space, sample;
    if (view) {
        space = view->MeasureText(m_font, " ");
        sample = view->MeasureText(m_font, " XXXXXXXXXXXX ");
    }
    if (space && sample) {
        m_margin = space->cx;
        m_size = {sample->cx, sample->cy * 3 / 2};
    } else {
        m_margin = 3;
        m_size = {40, 16};
    }
}
