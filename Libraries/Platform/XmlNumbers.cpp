#include "Platform/XmlNumbers.h"

#include "Platform/NumberText.h"

#include <tinyxml.h>

#include <climits>
#include <cmath>

void CXmlNumbers::SetDoubleAttribute(TiXmlElement& element, const char* name, double value)
{
    element.SetAttribute(name, Platform::DoubleToText(value));
}

void CXmlNumbers::SetDoubleAttribute(TiXmlElement& element, const char* name, double value, char conversion,
                                     int precision)
{
    element.SetAttribute(name, Platform::DoubleToText(value, conversion, precision));
}

void CXmlNumbers::SetLongAttribute(TiXmlElement& element, const char* name, long value)
{
    element.SetAttribute(name, Platform::LongToText(value));
}

bool CXmlNumbers::SetFiniteDoubleAttribute(TiXmlElement& element, const char* name, double value)
{
    if (!std::isfinite(value))
        return false;
    SetDoubleAttribute(element, name, value);
    return true;
}

bool CXmlNumbers::QueryDoubleAttribute(const TiXmlElement& element, const char* name, double& value)
{
    const char* text = element.Attribute(name);
    return text && Platform::TextToDouble(text, value);
}

bool CXmlNumbers::QueryLongAttribute(const TiXmlElement& element, const char* name, long& value)
{
    const char* text = element.Attribute(name);
    return text && Platform::TextToLong(text, value);
}

bool CXmlNumbers::QueryIntAttribute(const TiXmlElement& element, const char* name, int& value)
{
    long number;
    if (!QueryLongAttribute(element, name, number) || number < INT_MIN || number > INT_MAX)
        return false;
    value = static_cast<int>(number);
    return true;
}

bool CXmlNumbers::ReadOptionalDouble(const TiXmlElement& element, const char* name, double& value)
{
    if (element.Attribute(name) == nullptr)
        return true;
    double number = 0.0;
    if (!QueryDoubleAttribute(element, name, number) || !std::isfinite(number))
        return false;
    value = number;
    return true;
}

bool CXmlNumbers::ReadOptionalInt(const TiXmlElement& element, const char* name, int& value)
{
    return element.Attribute(name) == nullptr || QueryIntAttribute(element, name, value);
}

long CXmlNumbers::AttributeAtoL(const TiXmlElement& element, const char* name)
{
    return Platform::AtoL(element.Attribute(name));
}
