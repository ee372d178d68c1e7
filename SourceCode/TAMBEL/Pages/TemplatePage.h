// A page of the main window made from a dialog template: a hidden child panel of the template's
// size with the template's controls. The pages of the program derive from it and add their
// fields and the page protocol.
#pragma once

#include "Harbinax/BaseDialog.h"
#include "Harbinax/DialogControls.h"
#include "Quillet/Logger.h"

class CTemplatePage : public cvBaseDialog {
public:
    // A scrollable page scrolls its content when its window is smaller.
    explicit CTemplatePage(const char* loggerName, bool scrollable = false);

    // False (and logged) when the template is missing or its controls cannot be made.
    bool CreateFromResource(wxWindow* parent, int templateId,
                            const DialogControlFactories& factories = DialogControlFactories());
    // The items of the factories get controls of the page's own classes.
    bool CreateFromTemplate(wxWindow* parent, const SDialogTemplate& dialogTemplate,
                            const DialogControlFactories& factories = DialogControlFactories());
    // The content size the page will have as a child of parent, from its template alone: the
    // owner lays out for a page that is made only when first shown. False (logged) when the
    // template is missing.
    bool SizeFromResource(wxWindow* parent, int templateId);

protected:
    // The built template of the resource; null (logged) when it is missing or cannot be built.
    const SDialogTemplate* LoadTemplate(int templateId, CDialogTemplate& dialogTemplate);

    CLogger m_log;
};
