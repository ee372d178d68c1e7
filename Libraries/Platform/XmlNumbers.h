// Numbers in XML attributes, always in the C conventions ('.' as decimal point) whatever the
// process locale is. TinyXML's own double helpers print and scan under the process locale and
// would write "1,5" on a German desktop.
#pragma once

class TiXmlElement;

class CXmlNumbers
{
public:
    // The shortest text that reads back to exactly the same value ("0.1", "2").
    static void SetDoubleAttribute(TiXmlElement& element, const char* name, double value);
    // As printf("%.*<conversion>") would write it in the C locale, e.g. ('f', 6) for "%f".
    static void SetDoubleAttribute(TiXmlElement& element, const char* name, double value, char conversion,
                                   int precision);
    static void SetLongAttribute(TiXmlElement& element, const char* name, long value);
    // For stored files: as the first SetDoubleAttribute, but a value that is not finite, which
    // ReadOptionalDouble would refuse, is not written and gives false.
    static bool SetFiniteDoubleAttribute(TiXmlElement& element, const char* name, double value);

    // The whole attribute must be one number (blanks around it allowed) within the type's
    // range. False, value unchanged, when the attribute is missing or is not such a number.
    static bool QueryDoubleAttribute(const TiXmlElement& element, const char* name, double& value);
    static bool QueryLongAttribute(const TiXmlElement& element, const char* name, long& value);
    static bool QueryIntAttribute(const TiXmlElement& element, const char* name, int& value);

    // For stored files, where an attribute may be left out but a number given must be one: a
    // missing attribute leaves value as it is and gives true; a present one must read as the
    // Query functions above read it and, for a double, be finite, else false with value unchanged.
    static bool ReadOptionalDouble(const TiXmlElement& element, const char* name, double& value);
    static bool ReadOptionalInt(const TiXmlElement& element, const char* name, int& value);

    // Like atol of the attribute in the C locale: the leading number of the text, the rest
    // ignored; 0 when the attribute is missing or does not start with a number.
    static long AttributeAtoL(const TiXmlElement& element, const char* name);
};
