// A page of the main window made from a dialog template: a hidden child panel of the template's
// size with the template's controls. The pages of the program derive from it and add their
// fields and the page protocol.
#pragma once

#include "Harbinax/BaseDialog.h"
#include "Harbinax/DialogControls.h"
#include "Quillet/Logger.h"

class CTemplatePage : public cvBaseDialog {
public:
    explicit CTemplatePage(const char* loggerName);

    // False (and logged) when the template is missing or its controls cannot be made.
    bool CreateFromResource(wxWindow* parent, int templateId);
    // Controls with a factory are made by it (filtered edits, data combo boxes ...).
    bool CreateFromTemplate(wxWindow* parent, const SDialogTemplate& dialogTemplate,
                            const DialogControlFactories& factories = DialogControlFactories());

protected:
    CLogger m_log;
};
