#include "Wx/ComboItemsWx.h"

#include <wx/ctrlsub.h>

#include <cstdint>

void FillItemContainer(wxItemContainer& control, const CComboItems& items)
{
    control.Clear();
    for (const CComboItem& item : items)
        control.Append(wxString::FromUTF8(item.text),
                       reinterpret_cast<void*>(static_cast<std::intptr_t>(item.data)));
}

int GetItemData(const wxItemContainer& control, unsigned int n)
{
    return static_cast<int>(reinterpret_cast<std::intptr_t>(control.GetClientData(n)));
}
