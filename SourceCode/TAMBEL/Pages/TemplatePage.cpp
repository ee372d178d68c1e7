#include "TAMBEL/Pages/TemplatePage.h"

#include "Harbinax/DialogControls.h"
#include "Quillet/LogManager.h"

#include <wx/window.h>

CTemplatePage::CTemplatePage(const char* loggerName, bool scrollable)
    : cvBaseDialog(scrollable), m_log(CLogManager::GetInstance()->GetLogger(loggerName, LOGLEVEL_PARENT))
{
}

bool CTemplatePage::CreateFromResource(wxWindow* parent, int templateId, const DialogControlFactories& factories)
{
    CDialogTemplate dialogTemplate;
    std::string error;
    if (!CDialogControls::LoadResource(templateId, dialogTemplate, &error)) {
        QUILLET_POS(m_log);
        m_log.Error("Page template %d: %s", templateId, error.c_str());
        return false;
    }
    const SDialogTemplate* built = dialogTemplate.BuildTemplate();
    return built && CreateFromTemplate(parent, *built, factories);
}

bool CTemplatePage::CreateFromTemplate(wxWindow* parent, const SDialogTemplate& dialogTemplate,
                                       const DialogControlFactories& factories)
{
    const SDialogHeader& header = dialogTemplate.header;
    const wxSize size = parent->ConvertDialogToPixels(wxSize(header.width, header.height));
    if (!CreatePage(parent, wxRect(wxPoint(0, 0), size)))
        return false;
    std::string error;
    if (!CDialogControls::CreateControls(dialogTemplate, GetWindow(), factories, &error)) {
        QUILLET_POS(m_log);
        m_log.Error("Page controls: %s", error.c_str());
        return false;
    }
    // The template's font may have changed what its size comes to.
    m_contentSize = GetWindow()->GetClientSize();
    return true;
}
