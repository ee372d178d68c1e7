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

double CShownNumbers::Stored(int id, const std::string& text, double typed) const
{
    const auto found = m_shown.find(id);
    return found != m_shown.end() && found->second.text == text ? found->second.value : typed;
}
