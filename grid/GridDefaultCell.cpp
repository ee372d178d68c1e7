#include "grid/GridDefaultCell.h"

#include "grid/GridCtrl.h"
#include "grid/GridTextMeasurer.h"

CGridDefaultCell::CGridDefaultCell()
{
    CGridCell::SetFormat(DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX | DT_END_ELLIPSIS);
    Measure(nullptr);
}

void CGridDefaultCell::SetFont(const CGridFont* font)
{
    if (!font)
        return;
    CGridCell::SetFont(font);
    Measure(GetGrid() ? GetGrid()->GetTextMeasurer() : nullptr);
}

void CGridDefaultCell::Measure(IGridTextMeasurer* measurer)
{
    if (!measurer) {
        SetMargin(3);
        m_Size = {40, 16};
        return;
    }
    SetMargin(static_cast<std::uint32_t>(measurer->TextExtent(" ", m_pFont.get()).cx));
    m_Size = measurer->TextExtent(" XXXXXXXXXXXX ", m_pFont.get());
    m_Size.cy = m_Size.cy * 3 / 2;
}
