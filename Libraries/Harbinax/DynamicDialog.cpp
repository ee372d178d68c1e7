#include "Harbinax/DynamicDialog.h"

#include "HarbinaxCore/StyleNames.h"
#include "Quillet/LogManager.h"

using namespace DialogStyle;

namespace {

long FrameStyle(const SDialogHeader& header)
{
    long style = 0;
    if ((header.style & WS_CAPTION) == WS_CAPTION)
        style |= wxCAPTION;
    if (header.style & WS_SYSMENU) {
        style |= wxSYSTEM_MENU | wxCLOSE_BOX;
        // The same bits are WS_GROUP and WS_TABSTOP on controls.
        if (header.style & WS_MINIMIZEBOX)
            style |= wxMINIMIZE_BOX;
        if (header.style & WS_MAXIMIZEBOX)
            style |= wxMAXIMIZE_BOX;
    }
    if (header.style & WS_THICKFRAME)
        style |= wxRESIZE_BORDER;
    if (header.exStyle & WS_EX_TOPMOST)
        style |= wxSTAY_ON_TOP;
    if (!(style & wxCAPTION))
        style |= (header.style & (WS_BORDER | WS_DLGFRAME | DS_MODALFRAME)) ? wxBORDER_SIMPLE : wxBORDER_NONE;
    return style;
}

}  // namespace

CDynamicDialog::CDynamicDialog(wxWindow* parent)
    : m_owner(parent), m_log(CLogManager::GetInstance()->GetLogger("CDynamicDialog", LOGLEVEL_PARENT))
{
}

CDynamicDialog::~CDynamicDialog() = default;

bool CDynamicDialog::CreateFromResource(int dialogId, bool modal)
{
    std::string error;
    if (!CDialogControls::LoadResource(dialogId, *this, &error) || !BuildTemplate()) {
        QUILLET_POS(m_log);
        m_log.Error("dialog %d not loaded: %s", dialogId, error.c_str());
        return false;
    }
    return CreateFromTemplate(modal);
}

bool CDynamicDialog::CreateFromTemplate(bool modal)
{
    const SDialogTemplate* dialogTemplate = GetTemplate();
    const char* refusal = nullptr;
    if (!dialogTemplate)
        refusal = "no template has been built";
    else if (GetHandle())
        refusal = "the dialog exists already";
    else if (dialogTemplate->header.style & WS_CHILD)
        refusal = "a child template is created into a panel (CDialogControls::CreateControls)";
    if (refusal) {
        QUILLET_POS(m_log);
        m_log.Error("Dialog not created: %s", refusal);
        return false;
    }

    const SDialogHeader& header = dialogTemplate->header;
    if (!Create(m_owner, wxID_ANY, wxString::FromUTF8(header.title), wxDefaultPosition, wxDefaultSize,
                FrameStyle(header))) {
        QUILLET_POS(m_log);
        m_log.Error("Dialog \"%s\" not created: no window", header.title.c_str());
        return false;
    }
    std::string error;
    if (!CDialogControls::CreateControls(*dialogTemplate, this, m_factories, &error)) {
        QUILLET_POS(m_log);
        m_log.Error("Dialog \"%s\" not created: %s", header.title.c_str(), error.c_str());
        return false;
    }

    if (header.style & (DS_CENTER | DS_CENTERMOUSE)) {
        CentreOnParent();
    } else {
        // Relative to the owner's client area unless the template says screen coordinates.
        wxPoint position = ConvertDialogToPixels(wxPoint(header.x, header.y));
        if (m_owner && !(header.style & DS_ABSALIGN))
            position = m_owner->ClientToScreen(position);
        Move(position);
    }
    if (!modal && (header.style & WS_VISIBLE))
        Show();
    return true;
}

void CDynamicDialog::SetControlFactory(int itemId, DialogControlFactory factory)
{
    m_factories[itemId] = std::move(factory);
}
