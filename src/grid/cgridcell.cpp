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
    if (m_nFormat == kDefaultFormat) {
        if (const CGridCellBase* def = GetDefaultCell())
            return def->GetFormat();
        return GridText::DefaultFormat;
    }
    return m_nFormat;
}

uint32_t CGridCell::GetTextClr() const
{
    if (m_crFgClr == kGridDefaultColour) {
        if (const CGridCellBase* def = GetDefaultCell())
            return def->GetTextClr();
    }
    return m_crFgClr;
}

uint32_t CGridCell::GetBackClr() const
{
    if (m_crBkClr == kGridDefaultColour) {
        if (const CGridCellBase* def = GetDefaultCell())
            return def->GetBackClr();
    }
    return m_crBkClr;
}

uint32_t CGridCell::GetClr() const
{
    if (m_crClr == kGridDefaultColour) {
        if (const CGridCellBase* def = GetDefaultCell())
            return def->GetClr();
    }
    return m_crClr;
}

void CGridCell::SetFont(const CGridFont* font)
{
    if (font)
        m_pFont = std::make_unique<CGridFont>(*font);
    else
        m_pFont.reset();
}

const CGridFont& CGridCell::GetFont() const
{
    if (m_pFont)
        return *m_pFont;
    if (const CGridCellBase* def = GetDefaultCell())
        return def->GetFont();
    return FallbackFont();
}

int CGridCell::GetMargin() const
{
    if (m_nMargin < 0) {
        if (const CGridCellBase* def = GetDefaultCell())
            return def->GetMargin();
        return 3;
    }
    return m_nMargin;
}

void CGridCell::Reset()
{
    CGridCellBase::Reset();
    m_strText.clear();
    m_lParam = 0;
    m_nImage = -1;
    m_nFormat = kDefaultFormat;
    m_crFgClr = m_crBkClr = m_crClr = kGridDefaultColour;
    m_pFont.reset();
    m_nMargin = -1;
    m_bEditing = false;
    m_pEditWnd = nullptr;
}

bool CGridCell::Edit(int row, int col, CGridRect rect, CGridPoint, int controlId, unsigned key)
{
    if (m_bEditing) {
        if (m_pEditWnd)
            m_pEditWnd->SendKey(key);
        return true;
    }
    if (!m_pGrid || !m_pGrid->GetView())
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
    request.text = m_strText;
    request.key = key;
    m_bEditing = true;
    m_pEditWnd = m_pGrid->GetView()->CreateInPlaceEdit(request);
    return true;
}

void CGridCell::EndEdit()
{
    if (m_pEditWnd)
        m_pEditWnd->EndEdit();
}

void CGridCell::OnEndEdit()
{
    m_bEditing = false;
    m_pEditWnd = nullptr;
}
