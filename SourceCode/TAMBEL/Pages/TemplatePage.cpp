#include "TAMBEL/Pages/TemplatePage.h"

#include "Harbinax/DialogControls.h"
#include "Quillet/LogManager.h"

#include <wx/window.h>

CTemplatePage::CTemplatePage(const char* loggerName, bool scrollable)
    : cvBaseDialog(scrollable), m_log(CLogManager::GetInstance()->GetLogger(loggerName, LOGLEVEL_PARENT))
{
}

const SDialogTemplate* CTemplatePage::LoadTemplate(int templateId, CDialogTemplate& dialogTemplate)
{
    std::string error;
    if (!CDialogControls::LoadResource(templateId, dialogTemplate, &error)) {
        QUILLET_POS(m_log);
        m_log.Error("Page template %d: %s", templateId, error.c_str());
        return nullptr;
    }
    return dialogTemplate.BuildTemplate();
}

bool CTemplatePage::CreateFromResource(wxWindow* parent, int templateId, const DialogControlFactories& factories)
{
    CDialogTemplate dialogTemplate;
    const SDialogTemplate* built = LoadTemplate(templateId, dialogTemplate);
    return built && CreateFromTemplate(parent, *built, factories);
}

bool CTemplatePage::SizeFromResource(wxWindow* parent, int templateId)
{
    CDialogTemplate dialogTemplate;
    const SDialogTemplate* built = LoadTemplate(templateId, dialogTemplate);
    if (!built || !parent)
        return false;
    // Dialog units follow the font of the top-level window, whatever font the page sets.
    m_contentSize = parent->ConvertDialogToPixels(wxSize(built->header.width, built->header.height));
    return true;
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
        // A page made when first shown is tried again then; it must not show half its controls.
        GetWindow()->Destroy();
        return false;
    }
    // The template's font may have changed what its size comes to.
    m_contentSize = GetWindow()->GetClientSize();
    return true;
}
