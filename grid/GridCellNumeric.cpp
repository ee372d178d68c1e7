#include "grid/GridCellNumeric.h"

#include "grid/GridPort.h"

void CGridCellNumeric::PrepareEditor(CGridEditRequest& request) const
{
    request.alignment = 0;
    request.filter.SetAllowedChars(L"0123456789");
}
