#include "TAMBEL/Pages/PageDevice.h"

#include "HarbinaxCore/DialogTemplate.h"
#include "HarbinaxCore/StyleNames.h"

CPageDevice::CPageDevice()
    : CTemplatePage("CPageDevice")
{
}

bool CPageDevice::Create(wxWindow* parent)
{
    CDialogTemplate dialogTemplate;
    dialogTemplate.Header().style = DialogStyle::WS_CHILD;
    const SDialogTemplate* built = dialogTemplate.BuildTemplate();
    return built && CreateFromTemplate(parent, *built);
}
