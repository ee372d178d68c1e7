#include "HarbinaxCore/SkinDefinition.h"

#include "Platform/XmlNumbers.h"

#include <tinyxml.h>

#include <algorithm>
#include <cctype>
#include <climits>
#include <cstring>

namespace {

const char* const borderNames[SKIN_BORDER_COUNT] = {"TOPLEFT", "TOPRIGHT", "BOTTOMLEFT", "BOTTOMRIGHT",
                                                    "LEFT",    "RIGHT",    "TOP",        "BOTTOM"};
const char* const buttonNames[SKIN_BUTTON_COUNT] = {"ICON", "CLOSE", "MIN", "MAX", "RESTORE", "PIN1", "PIN2", "ROLLUP"};

int HexDigit(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    return 0;
}

bool IsBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

std::string Upper(const char* text)
{
    std::string result = text ? text : "";
    for (char& c : result)
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 'a' + 'A');
    return result;
}

// atoi of the attribute, kept within int.
int Int(const TiXmlElement& element, const char* name)
{
    return static_cast<int>(std::clamp<long>(CXmlNumbers::AttributeAtoL(element, name), INT_MIN, INT_MAX));
}

std::uint32_t Colour(const TiXmlElement& element, const char* name)
{
    const char* text = element.Attribute(name);
    return ParseSkinColour(text ? text : "");
}

SSkinRect Rect(const TiXmlElement& element, const char* x, const char* y, int width, int height)
{
    return SSkinRect{Int(element, x), Int(element, y), width, height};
}

int IndexOf(const char* const* names, int count, const std::string& name)
{
    for (int i = 0; i < count; ++i)
        if (name == names[i])
            return i;
    return -1;
}

bool Inside(const SSkinRect& rect, int width, int height)
{
    if (rect.width < 0 || rect.height < 0)
        return false;
    if (rect.IsEmpty())
        return true;
    return rect.x >= 0 && rect.y >= 0 && static_cast<long long>(rect.x) + rect.width <= width &&
           static_cast<long long>(rect.y) + rect.height <= height;
}

}  // namespace

std::uint32_t ParseSkinColour(std::string_view text)
{
    while (!text.empty() && (text.front() == '#' || IsBlank(text.front())))
        text.remove_prefix(1);
    while (!text.empty() && IsBlank(text.back()))
        text.remove_suffix(1);
    if (text.size() != 6)
        return 0;
    std::uint32_t channels[3];
    for (int i = 0; i < 3; ++i) {
        const char high = static_cast<char>(std::tolower(static_cast<unsigned char>(text[2 * i])));
        const char low = static_cast<char>(std::tolower(static_cast<unsigned char>(text[2 * i + 1])));
        channels[i] = static_cast<std::uint32_t>(HexDigit(high) * 16 + HexDigit(low));
    }
    return channels[0] | channels[1] << 8 | channels[2] << 16;
}

bool ReadSkinDefinition(const TiXmlElement& root, SSkinDefinition& definition, std::string& error)
{
    if (std::strcmp(root.Value(), "skindefinition") != 0) {
        error = "the root element is not \"skindefinition\"";
        return false;
    }
    definition = SSkinDefinition();
    const char* bitmap = root.Attribute("bmpfile");
    definition.bitmapFile = bitmap ? bitmap : "";
    definition.activeCaption = Colour(root, "activecaption");
    definition.shadeCaption = Colour(root, "shadecaption");
    definition.inactiveCaption = Colour(root, "inactivecaption");
    definition.captionOffsetX = Int(root, "captionoffsetx");
    definition.captionOffsetY = Int(root, "captionoffsety");
    definition.captionBold = Upper(root.Attribute("captionbold")) == "TRUE";
    definition.captionFontSizePx = Int(root, "captionfontsizepx");
    const char* face = root.Attribute("captionfont");
    definition.captionFont = face ? face : "";

    for (const TiXmlElement* child = root.FirstChildElement(); child; child = child->NextSiblingElement()) {
        const std::string name = Upper(child->Attribute("name"));
        if (std::strcmp(child->Value(), "borderelement") == 0) {
            const int index = IndexOf(borderNames, SKIN_BORDER_COUNT, name);
            if (index < 0)
                continue;
            SSkinBorderElement& piece = definition.borders[index];
            piece.width = Int(*child, "width");
            piece.height = Int(*child, "height");
            piece.active = Rect(*child, "activex", "activey", piece.width, piece.height);
            piece.inactive = Rect(*child, "inactivex", "inactivey", piece.width, piece.height);
        } else if (std::strcmp(child->Value(), "button") == 0) {
            const int index = IndexOf(buttonNames, SKIN_BUTTON_COUNT, name);
            if (index < 0)
                continue;
            SSkinButton& button = definition.buttons[index];
            button.width = Int(*child, "width");
            button.height = Int(*child, "height");
            button.alignLeft = Upper(child->Attribute("align")) == "LEFT";
            button.offsetX = Int(*child, "offsetx");
            button.offsetY = Int(*child, "offsety");
            button.active = Rect(*child, "activex", "activey", button.width, button.height);
            button.inactive = Rect(*child, "inactivex", "inactivey", button.width, button.height);
            button.hover = Rect(*child, "hooverx", "hoovery", button.width, button.height);
            button.pressed = Rect(*child, "pressedx", "pressedy", button.width, button.height);
        }
    }
    return true;
}

bool CheckSkinRectangles(const SSkinDefinition& definition, int bitmapWidth, int bitmapHeight, std::string& error)
{
    for (int i = 0; i < SKIN_BORDER_COUNT; ++i) {
        const SSkinBorderElement& piece = definition.borders[i];
        if (!Inside(piece.active, bitmapWidth, bitmapHeight) || !Inside(piece.inactive, bitmapWidth, bitmapHeight)) {
            error = std::string("border element ") + borderNames[i] + " lies outside the bitmap";
            return false;
        }
    }
    for (int i = 0; i < SKIN_BUTTON_COUNT; ++i) {
        const SSkinButton& button = definition.buttons[i];
        for (const SSkinRect* rect : {&button.active, &button.inactive, &button.hover, &button.pressed}) {
            if (!Inside(*rect, bitmapWidth, bitmapHeight)) {
                error = std::string("button ") + buttonNames[i] + " lies outside the bitmap";
                return false;
            }
        }
    }
    return true;
}
