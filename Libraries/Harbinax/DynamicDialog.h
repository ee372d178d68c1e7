// A dialog whose template is not a resource of its own but assembled at run time, from an XML
// text or from add-item calls (CDialogTemplate), built once and then created as a wx dialog
// with its controls (CDialogControls). Typical use:
//
//   CDynamicDialog dialog(parent);
//   dialog.LoadFromXml(xml);            // or Header() fields and AddStatic, AddEdit, ...
//   dialog.BuildTemplate();
//   if (dialog.CreateFromTemplate(true) && dialog.ShowModal() == wxID_OK) ...
//
// A template meant for a child window (WS_CHILD) is created into a panel with
// CDialogControls::CreateControls(*dialog.GetTemplate(), panel, ...), since a wx dialog is
// always a window of its own.
#pragma once

#include "Harbinax/DialogControls.h"
#include "HarbinaxCore/DialogTemplate.h"
#include "Quillet/Logger.h"

#include <wx/dialog.h>

class CDynamicDialog : public wxDialog, public CDialogTemplate {
public:
    explicit CDynamicDialog(wxWindow* parent);
    ~CDynamicDialog() override;

    // Creates the dialog window and its controls from the built template, owned by the parent
    // given to the constructor. Modal: the caller then runs ShowModal. Modeless: the dialog is
    // shown when its style has WS_VISIBLE. False (and logged) without a built template, when the
    // window exists already, for a child template, or when a control cannot be created.
    bool CreateFromTemplate(bool modal);
    // The dialog resource loaded into the template, built, and the window created from it as
    // CreateFromTemplate does; false (and logged) when a step fails.
    bool CreateFromResource(int dialogId, bool modal);

    // The control of that item is made by factory instead of the standard control (set before
    // CreateFromTemplate).
    void SetControlFactory(int itemId, DialogControlFactory factory);
    // The control created for that item id (1 and 2 are the OK and Cancel buttons); null when
    // there is none.
    wxWindow* GetItem(int itemId) const { return CDialogControls::FindItem(this, itemId); }
    wxWindow* GetOwner() const { return m_owner; }

private:
    wxWindow* m_owner;
    DialogControlFactories m_factories;
    CLogger m_log;
};
