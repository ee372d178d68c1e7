#include "Pagewright/ReportValues.h"

#include "Platform/AsciiText.h"
#include "Platform/NumberText.h"

#include <tinyxml.h>

#include <climits>
#include <cmath>
#include <cstdio>

namespace Pagewright {

namespace {

long long Saturate(long long value)
{
    return value > INT_MAX ? INT_MAX : value < INT_MIN ? INT_MIN : value;
}

int ReportHexDigit(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    return 0;
}

}  // namespace

int ParseCoordinate(const char* text)
{
    if (text == nullptr)
        return 0;
    long long sum = 0;
    long long current = 0;
    int sign = 1;
    for (const char* p = text; *p != '\0'; ++p) {
        if (*p >= '0' && *p <= '9') {
            current = Saturate(current * 10 + (*p - '0'));
        } else if (*p == '+' || *p == '-') {
            sum = Saturate(sum + sign * current);
            current = 0;
            sign = *p == '-' ? -1 : 1;
        }
    }
    return static_cast<int>(Saturate(sum + sign * current));
}

ReportColor ParseReportColor(const std::string& text)
{
    std::size_t first = 0;
    while (first < text.size() && (text[first] == '#' || text[first] == ' '))
        ++first;
    const std::string value = Platform::AsciiLowerText(Platform::TrimAsciiBlanks(std::string_view(text).substr(first)));
    if (value.size() != 6)
        return 0;
    ReportColor color = 0;
    for (int pair = 0; pair < 3; ++pair) {
        const int byte = ReportHexDigit(value[2 * pair]) * 16 + ReportHexDigit(value[2 * pair + 1]);
        color |= static_cast<ReportColor>(byte) << (8 * pair);
    }
    return color;
}

std::string FormatReportColor(ReportColor color, bool upperCase)
{
    char text[8];
    std::snprintf(text, sizeof text, upperCase ? "#%02X%02X%02X" : "#%02x%02x%02x", color & 0xFF,
                  (color >> 8) & 0xFF, (color >> 16) & 0xFF);
    return text;
}

bool IsTrueText(const char* text)
{
    return text != nullptr && Platform::EqualsNoCase(text, "TRUE");
}

std::string AttributeText(const TiXmlElement& element, const char* name)
{
    const char* text = element.Attribute(name);
    return text != nullptr ? text : std::string();
}

int CoordinateAttribute(const TiXmlElement& element, const char* name)
{
    return ParseCoordinate(element.Attribute(name));
}

bool FlagAttribute(const TiXmlElement& element, const char* name)
{
    return IsTrueText(element.Attribute(name));
}

std::string ReadContent(const TiXmlElement& element)
{
    const TiXmlNode* child = element.FirstChild();
    const TiXmlText* text = child != nullptr ? child->ToText() : nullptr;
    return text != nullptr ? text->ValueStr() : std::string();
}

void WriteContent(TiXmlElement& element, const std::string& content)
{
    if (!content.empty())
        element.InsertEndChild(TiXmlText(content));
}

int AngleTenths(double degrees)
{
    const double tenths = std::round(degrees * 10.0);
    if (!(tenths > INT_MIN && tenths < INT_MAX))
        return 0;
    return static_cast<int>(tenths);
}

int LeadingInt(const char* text)
{
    return static_cast<int>(Saturate(Platform::AtoL(text)));
}

int ClampToInt(long long value)
{
    return static_cast<int>(Saturate(value));
}

bool ReadIntAttribute(const TiXmlElement& element, const char* name, int& value)
{
    const char* text = element.Attribute(name);
    if (text == nullptr)
        return false;
    value = LeadingInt(text);
    return true;
}

void RotatePoint(int cx, int cy, SReportPoint& point, double angle)
{
    const double pi = 3.14159265359;
    const double dx = static_cast<double>(point.x) - cx;
    const double dy = static_cast<double>(point.y) - cy;
    const double r = std::floor(std::sqrt(dx * dx + dy * dy) + 0.5);
    if (r == 0.0 || dy / r < -1.0 || dy / r > 1.0)
        return;
    const double theta = ((360.0 - angle) + (90.0 - std::acos(dy / r) * 180.0 / pi)) * pi / 180.0;
    point.x = static_cast<int>(Saturate(static_cast<long long>(cx + std::floor(std::cos(theta) * r + 0.5))));
    point.y = static_cast<int>(Saturate(static_cast<long long>(cy + std::floor(std::sin(theta) * r + 0.5))));
}

std::string UnescapeReportText(std::string text)
{
    static const struct {
        const char* escape;
        char replacement;
    } kEscapes[] = {{"\\n", '\n'}, {"\\t", '\t'}, {"\\r", '\r'},  {"\\b", '\b'},  {"\\f", '\f'},
                    {"\\v", '\v'}, {"\\'", '\''}, {"\\\"", '"'}, {"\\?", '?'}, {"\\\\", '\\'}};
    // Each escape in turn over the whole text, in this order, as the templates were written for.
    for (const auto& entry : kEscapes) {
        std::string result;
        result.reserve(text.size());
        std::size_t from = 0;
        for (std::size_t at; (at = text.find(entry.escape, from)) != std::string::npos; from = at + 2) {
            result.append(text, from, at - from);
            result += entry.replacement;
        }
        result.append(text, from, std::string::npos);
        text.swap(result);
    }
    return text;
}

bool IsNumericText(const std::string& text)
{
    // Machine text: the values the program sets are written with '.', whatever the desktop's locale.
    bool separatorSeen = false;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c >= '0' && c <= '9')
            continue;
        if (c == '.' && !separatorSeen) {
            separatorSeen = true;
            continue;
        }
        if ((c == '+' || c == '-') && i == 0)
            continue;
        return false;
    }
    return true;
}

}  // namespace Pagewright
