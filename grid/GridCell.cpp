#include "grid/GridCell.h"

#include "grid/GridCtrl.h"
#include "grid/GridPort.h"

CGridCell::CGridCell()
{
    Reset();
}

void CGridCell::Reset()
{
    CGridCellBase::Reset();
    m_strText.clear();
    m_nImage = -1;
    m_pGrid = nullptr;
    m_bEditing = false;
    m_nFormat = kGridDefaultFormat;
    m_crBack = kGridDefaultColour;
    m_crText = kGridDefaultColour;
    m_nMargin = kGridDefaultMargin;
    m_pFont.reset();
}

void CGridCell::SetFont(const CGridFont* font)
{
    if (!font) {
        m_pFont.reset();
        return;
    }
    if (m_pFont)
        *m_pFont = *font;
    else
        m_pFont = std::make_unique<CGridFont>(*font);
}

const CGridFont* CGridCell::GetFont() const
{
    if (m_pFont)
        return m_pFont.get();
    const CGridCellBase* def = GetDefaultCell();
    return def ? def->GetFont() : nullptr;
}

std::uint32_t CGridCell::GetFormat() const
{
    if (m_nFormat != kGridDefaultFormat)
        return m_nFormat;
    const CGridCellBase* def = GetDefaultCell();
    return def ? def->GetFormat() : 0;
}

std::uint32_t CGridCell::GetMargin() const
{
    if (m_nMargin != kGridDefaultMargin)
        return m_nMargin;
    const CGridCellBase* def = GetDefaultCell();
    return def ? def->GetMargin() : 0;
}

void CGridCell::ApplyRestrictions(CInputFilter& filter) const
{
    if (m_bIntegerInput)
        filter.SetInteger(true);
    if (m_bDecimalInput)
        filter.SetNumeric(true, true);
    filter.SetMaxLength(m_nMaxTextLength);
    if (!m_strAllowedChars.empty())
        filter.SetAllowedChars(m_strAllowedChars);
    filter.SetUpperCase(m_bUpperCase);
}

bool CGridCell::Edit(int row, int col, const CGridRect& rect, unsigned controlId, unsigned firstChar)
{
    IGridPort* port = m_pGrid ? m_pGrid->GetPort() : nullptr;
    if (m_bEditing) {
        if (port)
            port->TypeIntoEditor(firstChar);
        return true;
    }
    if (!port)
        return false;
    CGridEditRequest request;
    request.row = row;
    request.col = col;
    request.rect = rect;
    request.controlId = controlId;
    request.text = GetText();
    request.firstChar = firstChar;
    request.filter = CInputFilter(m_pGrid->GetDecimalSeparatorSource());
    PrepareEditor(request);
    m_bEditing = true;
    port->StartEditor(request);
    return true;
}

void CGridCell::PrepareEditor(CGridEditRequest& request) const
{
    const std::uint32_t format = GetFormat();
    request.alignment = (format & DT_RIGHT) ? 2 : (format & DT_CENTER) ? 1 : 0;
    ApplyRestrictions(request.filter);
}

void CGridCell::EndEdit()
{
    if (m_bEditing && m_pGrid && m_pGrid->GetPort())
        m_pGrid->GetPort()->EndEditor();
}
