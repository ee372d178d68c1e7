// Puts a selection list of the engine (text, item data) into a wx combo box, choice or list
// box. The item data travels as the item's untyped client data.
#pragma once

#include "CommonFiles/ComboItem.h"

class wxItemContainer;

// Replaces the control's items by the list, in order.
void FillItemContainer(wxItemContainer& control, const CComboItems& items);
// The item data of item n as FillItemContainer stored it.
int GetItemData(const wxItemContainer& control, unsigned int n);
