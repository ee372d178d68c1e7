#include "Harbinax/ThemeAttributes.h"

const wxVisualAttributes& CThemeAttributes::Get(const std::function<wxVisualAttributes()>& ask)
{
    if (!m_attributes)
        m_attributes = ask();
    return *m_attributes;
}

void CThemeAttributes::ForgetOnThemeChange(wxWindow* window)
{
    window->Bind(wxEVT_SYS_COLOUR_CHANGED, [this](wxSysColourChangedEvent& event) {
        m_attributes.reset();
        event.Skip();
    });
}
