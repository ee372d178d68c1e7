#include "PolyglottaWx/TranslatorWx.h"

#include "PolyglottaWx/WindowIds.h"

#include <wx/menu.h>
#include <wx/window.h>

namespace {

// Top-level windows set their title through SetLabel.
void SetText(wxWindow& window, const std::string& text)
{
    window.SetLabel(wxString::FromUTF8(text));
}

void TranslateControlOf(const CTranslator& translator, const CTranslator::CDialogEntry& entry,
                        wxWindow& control)
{
    const int id = CWindowIds::ToResourceId(control.GetId());
    if (id == 0)
        return;
    const auto found = entry.controls.find(id);
    if (found != entry.controls.end())
        SetText(control, translator.GetText(&found->second));
}

void TranslateMenuEntries(const CTranslator& translator, const CTranslator::CMenuEntry& entry, wxMenu& menu)
{
    int position = 0;
    for (wxMenuItem* item : menu.GetMenuItems()) {
        const int key = item->IsSubMenu() ? position : CWindowIds::ToResourceId(item->GetId());
        ++position;
        if (item->IsSeparator() || (!item->IsSubMenu() && key <= 0))
            continue;
        const CTranslator::CMenuEntry* child = entry.FindChild(key);
        if (!child)
            continue;
        item->SetItemLabel(wxString::FromUTF8(translator.GetText(&child->caption)));
        if (item->IsSubMenu())
            TranslateMenuEntries(translator, *child, *item->GetSubMenu());
    }
}

}  // namespace

void CTranslatorWx::TranslateDialog(const CTranslator& translator, int dialogId, wxWindow* dialog)
{
    const CTranslator::CDialogEntry* entry = dialog ? translator.FindDialog(dialogId) : nullptr;
    if (!entry)
        return;
    SetText(*dialog, translator.GetText(&entry->caption));
    for (wxWindow* child : dialog->GetChildren()) {
        // Dialogs owned by this one are windows of their own, not its controls.
        if (!child->IsTopLevel())
            TranslateControlOf(translator, *entry, *child);
    }
}

void CTranslatorWx::TranslateControl(const CTranslator& translator, int dialogId, wxWindow* control)
{
    const CTranslator::CDialogEntry* entry = control ? translator.FindDialog(dialogId) : nullptr;
    if (entry)
        TranslateControlOf(translator, *entry, *control);
}

void CTranslatorWx::TranslateMenu(const CTranslator& translator, int menuId, wxMenuBar* menuBar)
{
    const CTranslator::CMenuEntry* entry = menuBar ? translator.FindMenu(menuId) : nullptr;
    if (!entry)
        return;
    for (size_t position = 0; position < menuBar->GetMenuCount(); ++position) {
        const CTranslator::CMenuEntry* child = entry->FindChild(static_cast<int>(position));
        if (!child)
            continue;
        menuBar->SetMenuLabel(position, wxString::FromUTF8(translator.GetText(&child->caption)));
        TranslateMenuEntries(translator, *child, *menuBar->GetMenu(position));
    }
}

void CTranslatorWx::TranslateMenu(const CTranslator& translator, int menuId, wxMenu* menu)
{
    const CTranslator::CMenuEntry* entry = menu ? translator.FindMenu(menuId) : nullptr;
    if (entry)
        TranslateMenuEntries(translator, *entry, *menu);
}
