// Creates the windows of a dialog template (DialogTemplate.h) as wx controls, direct children
// of one window: a dialog (CDynamicDialog) or a panel that a page or an embedded dialog shows.
// Positions and sizes are dialog units of that window's font, converted with
// ConvertDialogToPixels. Item ids become window ids through CWindowIds: 1 and 2 (OK and Cancel)
// are wxID_OK and wxID_CANCEL, so that wx's dialog handling closes the dialog with them, ids in
// wx's reserved range move out of it, and 0xFFFF (-1) gets a fresh id.
#pragma once

#include "HarbinaxCore/DialogTemplate.h"

#include <functional>
#include <map>
#include <string>
#include <vector>

class wxListCtrl;
class wxPoint;
class wxSize;
class wxString;
class wxTopLevelWindow;
class wxWindow;

// Creates the control of one item in place of the standard one, for controls of our own
// classes (filtered edits, data combo boxes, link statics ...): parent, the window id,
// the item, and its position and size in pixels. The control must be a direct child of parent.
using DialogControlFactory = std::function<wxWindow*(wxWindow* parent, int windowId, const SDialogItem& item,
                                                     const wxPoint& position, const wxSize& size)>;
// By item id.
using DialogControlFactories = std::map<int, DialogControlFactory>;

class CDialogControls {
public:
    // The window id of an item id.
    static int WindowId(int itemId);
    // The direct child of window created for that item id; null when there is none.
    static wxWindow* FindItem(const wxWindow* window, int itemId);

    // With DS_SETFONT or DS_FIXEDSYS and a point size, the header's font becomes the window's
    // (and so the controls') font; a width and height make the window's client size. Then one
    // control per item, in order. False with the reason in *error (when given), and no control
    // created, for an item of a class or style no control stands for or a factory that creates
    // nothing.
    static bool CreateControls(const SDialogTemplate& dialogTemplate, wxWindow* window,
                               const DialogControlFactories& factories, std::string* error);

    // Lays the controls that CreateControls made in the window out again for their present texts
    // (after a translation, or a label set at run time): every control gets the room its whole
    // text or GTK's natural size needs, the rows and columns behind it move away to make that
    // room, and the window grows with them; nothing shrinks below the template. Labels the
    // template ends in an ellipsis keep its width. CreateControls does it once itself.
    static void FitControls(wxWindow* window);
    // The same, but the window keeps its size (an owner lays it out): the client size the fitted
    // controls need; 0 x 0 for a window whose size the template does not give.
    static wxSize FitControlsInside(wxWindow* window);

    // A list column's width that a template gives in pixels of the classic dialog font, in
    // pixels of the list's font, and at least as wide as the heading shows.
    static int ColumnWidth(const wxWindow& list, const wxString& heading, int templatePixels);
    // Sets a report list's columns to the widths the template gives them (as ColumnWidth takes
    // them, one per column), each widened to show its heading and its longest entry whole. Where
    // together they are wider than the list, less a vertical scroll bar, the columns give up the
    // room beyond their texts alike, and the list scrolls sideways for what still does not fit.
    // The widths follow from the texts alone, so fitting again keeps them.
    static void FitColumns(wxListCtrl& list, const std::vector<int>& templatePixels);

    // How much wider a window must be to show its title whole in its title bar, which draws it in
    // a bold face of the desktop's font beside the bar's icon and buttons; 0 when it is wide enough.
    static int MissingTitleWidth(const wxTopLevelWindow& window);

    // Reads the dialog resource of that id (type "DIALOG", an XML text of DialogTemplate.h).
    static bool LoadResource(int dialogId, CDialogTemplate& dialogTemplate, std::string* error);
};
