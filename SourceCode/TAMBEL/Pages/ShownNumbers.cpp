#include "TAMBEL/Pages/ShownNumbers.h"

#include "CommonFiles/DataFormat.h"

std::string CShownNumbers::Show(int id, double value, int digits)
{
    return Remember(id, DataFormat::Format(value, digits, false), value);
}

std::string CShownNumbers::ShowFixed(int id, double value, int decimals)
{
    return Remember(id, DataFormat::FormatFixed(value, decimals), value);
}

std::string CShownNumbers::Remember(int id, std::string text, double value)
{
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
