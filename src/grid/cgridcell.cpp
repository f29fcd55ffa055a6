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
    if (m_Format == kDefaultFormat) {
        if (const CGridCellBase* def = GetDefaultCell())
            return def->GetFormat();
        return GridText::DefaultFormat;
    }
    return m_Format;
}

uint32_t CGridCell::GetTextClr() const
{
    if (m_TextColour == kGridDefaultColour) {
        if (const CGridCellBase* def = GetDefaultCell())
            return def->GetTextClr();
    }
    return m_TextColour;
}

uint32_t CGridCell::GetBackClr() const
{
    if (m_BackColour == kGridDefaultColour) {
        if (const CGridCellBase* def = GetDefaultCell())
            return def->GetBackClr();
    }
    return m_BackColour;
}

uint32_t CGridCell::GetClr() const
{
    if (m_Colour == kGridDefaultColour) {
        if (const CGridCellBase* def = GetDefaultCell())
            return def->GetClr();
    }
    return m_Colour;
}

void CGridCell::SetFont(const CGridFont* font)
{
    if (font)
        m_OwnFont = std::make_unique<CGridFont>(*font);
    else
        m_OwnFont.reset();
}

const CGridFont& CGridCell::GetFont() const
{
    if (m_OwnFont)
        return *m_OwnFont;
    if (const CGridCellBase* def = GetDefaultCell())
        return def->GetFont();
    return FallbackFont();
}

int CGridCell::GetMargin() const
{
    if (m_Margin < 0) {
        if (const CGridCellBase* def = GetDefaultCell())
            return def->GetMargin();
        return 3;
    }
    return m_Margin;
}

void CGridCell::Reset()
{
    CGridCellBase::Reset();
    m_Text.clear();
    m_Data = 0;
    m_Image = -1;
    m_Format = kDefaultFormat;
    m_TextColour = m_BackColour = m_Colour = kGridDefaultColour;
    m_OwnFont.reset();
    m_Margin = -1;
    m_Editing = false;
    m_Editor = nullptr;
}

bool CGridCell::Edit(int row, int col, CGridRect rect, CGridPoint, int controlId, unsigned key)
{
    if (m_Editing) {
        if (m_Editor)
            m_Editor->SendKey(key);
        return true;
    }
    if (!m_Grid || !m_Grid->GetView())
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
    request.text = m_Text;
    request.key = key;
    m_Editing = true;
    m_Editor = m_Grid->GetView()->CreateInPlaceEdit(request);
    return true;
}

void CGridCell::EndEdit()
{
    if (m_Editor)
        m_Editor->EndEdit();
}

void CGridCell::OnEndEdit()
{
    m_Editing = false;
    m_Editor = nullptr;
}
