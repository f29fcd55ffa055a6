#include "grid/cgridcell.h"

#include "grid/cgridctrl.h"

namespace {
const CGridFont& FallbackFont()
{
    static const CGridFont font;
    return font;
}
} // namespace

CGridCell::CGridCell() = default;

CGridCell::~CGridCell() = default;

uint32_t CGridCell::GetFormat() const
{
    if (m_format == kDefaultFormat) {
        if (const CGridCellBase* def = GetDefaultCell())
            return def->GetFormat();
        return GridText::DefaultFormat;
    }
    return m_format;
}

uint32_t CGridCell::GetTextClr() const
{
    if (m_textColour == kGridDefaultColour) {
        if (const CGridCellBase* def = GetDefaultCell())
            return def->GetTextClr();
    }
    return m_textColour;
}

uint32_t CGridCell::GetBackClr() const
{
    if (m_backColour == kGridDefaultColour) {
        if (const CGridCellBase* def = GetDefaultCell())
            return def->GetBackClr();
    }
    return m_backColour;
}

uint32_t CGridCell::GetClr() const
{
    if (m_colour == kGridDefaultColour) {
        if (const CGridCellBase* def = GetDefaultCell())
            return def->GetClr();
    }
    return m_colour;
}

void CGridCell::SetFont(const CGridFont* font)
{
    if (font)
        m_ownFont = std::make_unique<CGridFont>(*font);
    else
        m_ownFont.reset();
}

const CGridFont& CGridCell::GetFont() const
{
    if (m_ownFont)
        return *m_ownFont;
    if (const CGridCellBase* def = GetDefaultCell())
        return def->GetFont();
    return FallbackFont();
}

int CGridCell::GetMargin() const
{
    if (m_margin < 0) {
        if (const CGridCellBase* def = GetDefaultCell())
            return def->GetMargin();
        return 3;
    }
    return m_margin;
}

void CGridCell::Reset()
{
    CGridCellBase::Reset();
    m_text.clear();
    m_data = 0;
    m_image = -1;
    m_format = kDefaultFormat;
    m_textColour = m_backColour = m_colour = kGridDefaultColour;
    m_ownFont.reset();
    m_margin = -1;
    m_editing = false;
    m_editor = nullptr;
}

bool CGridCell::Edit(int row, int col, CGridRect rect, CGridPoint, int controlId, unsigned key)
{
    if (m_editing) {
        if (m_editor)
            m_editor->SendKey(key);
        return true;
    }
    if (!m_grid || !m_grid->GetView())
        return false;
    CGridEditRequest request;
    request.row = row;
    request.col = col;
    request.controlId = controlId;
    request.rect = {rect.left, rect.top, rect.right, rect.bottom};
    const uint32_t format = GetFormat();
    if (format & GridText::Right)
        request.align = CGridEditRequest::Align::Right;
    else if (format & GridText::Center)
        request.align = CGridEditRequest::Align::Center;
    request.text = m_text;
    request.key = key;
    m_editing = true;
    m_editor = m_grid->GetView()->CreateInPlaceEdit(request);
    return true;
}

void CGridCell::EndEdit()
{
    if (m_editor)
        m_editor->EndEdit();
}

void CGridCell::OnEndEdit()
{
    m_editing = false;
    m_editor = nullptr;
}
