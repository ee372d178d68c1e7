#include "TAMBEL/Pages/ShownNumbers.h"

#include "CommonFiles/DataFormat.h"

std::string CShownNumbers::Show(int id, double value, int digits)
{
    std::string text = DataFormat::Format(value, digits, false);
    m_shown[id] = {text, value};
    return text;
}

void CShownNumbers::Forget(int id)
{
    m_shown.erase(id);
}

void CShownNumbers::Clear()
{
    m_shown.clear();
}

bool CShownNumbers::Unedited(int id, const std::string& text, double& value) const
{
    const auto found = m_shown.find(id);
    if (found == m_shown.end() || found->second.text != text)
        return false;
    value = found->second.value;
    return true;
}
