#include "Harbinax/ThemeAttributes.h"

const wxVisualAttributes& CThemeAttributes::Get(const std::function<wxVisualAttributes()>& ask)
{
    if (!m_attributes)
        m_attributes = ask();
    return *m_attributes;
}
