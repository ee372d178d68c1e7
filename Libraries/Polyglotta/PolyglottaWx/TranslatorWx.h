// Applies the texts of a CTranslator to wx windows: a dialog's caption and the texts of its
// direct child controls by control id, and the items of a menu by command id and its pop-ups by
// position, recursively. Texts come in the translator's current language.
#pragma once

#include "Polyglotta/Translator.h"

class wxMenu;
class wxMenuBar;
class wxWindow;

class CTranslatorWx {
public:
    // Nothing for a null window or a dialog id without an entry. Otherwise the caption becomes
    // the entry's caption text (empty when the entry has none) and every direct child whose
    // control id has an entry gets that text; other children keep theirs. Window ids are taken
    // as resource ids through CWindowIds, so the entry of control 1 translates wxID_OK.
    static void TranslateDialog(const CTranslator& translator, int dialogId, wxWindow* dialog);
    // The same for one control of the dialog.
    static void TranslateControl(const CTranslator& translator, int dialogId, wxWindow* control);

    // Nothing for a null menu or a menu id without an entry. A menu bar holds pop-ups only, keyed
    // by position. In a menu, items with a command id above 0 are keyed by that id and pop-ups by
    // their position; a pop-up's entry also translates its menu. Separators and items without an
    // entry keep their text. Command ids are taken as resource ids through CWindowIds.
    static void TranslateMenu(const CTranslator& translator, int menuId, wxMenuBar* menuBar);
    static void TranslateMenu(const CTranslator& translator, int menuId, wxMenu* menu);
};
