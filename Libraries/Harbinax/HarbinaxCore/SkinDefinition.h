// What a skin definition XML says: caption colours and font, and where each frame piece and
// caption button lies in the skin's bitmap. No drawing here, so it is checked without a display.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

class TiXmlElement;

// Frame pieces, in the order the definition keeps them.
enum ESkinBorder { SKIN_TOPLEFT, SKIN_TOPRIGHT, SKIN_BOTTOMLEFT, SKIN_BOTTOMRIGHT, SKIN_LEFT, SKIN_RIGHT,
                   SKIN_TOP, SKIN_BOTTOM, SKIN_BORDER_COUNT };
// Caption buttons, in hit-test order.
enum ESkinButton { SKIN_ICON, SKIN_CLOSE, SKIN_MIN, SKIN_MAX, SKIN_RESTORE, SKIN_PIN1, SKIN_PIN2, SKIN_ROLLUP,
                   SKIN_BUTTON_COUNT };

struct SSkinRect {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;

    bool IsEmpty() const { return width <= 0 || height <= 0; }
    bool Contains(int px, int py) const { return !IsEmpty() && px >= x && py >= y && px < x + width && py < y + height; }
    bool operator==(const SSkinRect& other) const
    {
        return x == other.x && y == other.y && width == other.width && height == other.height;
    }
};

struct SSkinBorderElement {
    // Source rectangles in the bitmap, counted from its top row.
    SSkinRect active;
    SSkinRect inactive;
    int width = 0;
    int height = 0;
};

struct SSkinButton {
    SSkinRect active;
    SSkinRect inactive;
    SSkinRect hover;
    SSkinRect pressed;
    int width = 0;
    int height = 0;
    bool alignLeft = false;
    int offsetX = 0;
    int offsetY = 0;
};

struct SSkinDefinition {
    // 0x00BBGGRR, red in the low byte.
    static constexpr std::uint32_t kMagenta = 0xFF00FF;

    std::uint32_t activeCaption = 0;
    std::uint32_t shadeCaption = 0;  // magenta: no shadow under the active caption
    std::uint32_t inactiveCaption = 0;
    int captionOffsetX = 0;
    int captionOffsetY = 0;
    bool captionBold = false;
    int captionFontSizePx = 0;
    std::string captionFont;
    std::string bitmapFile;
    SSkinBorderElement borders[SKIN_BORDER_COUNT];
    SSkinButton buttons[SKIN_BUTTON_COUNT];
};

// "#FF0000", " ff0000 " and "FF0000" are red; leading '#' and blanks and trailing blanks are
// dropped, then exactly six characters are three hexadecimal pairs (a character that is no
// hexadecimal digit counts as 0); any other length is black. Result 0x00BBGGRR.
std::uint32_t ParseSkinColour(std::string_view text);

// Reads the root element "skindefinition" with its "borderelement" and "button" children;
// pieces and buttons with an unknown name are skipped, missing numbers are 0. False with a
// reason for another root element.
bool ReadSkinDefinition(const TiXmlElement& root, SSkinDefinition& definition, std::string& error);

// True when every source rectangle of the definition lies inside a bitmap of that size and no
// size is negative; an empty rectangle draws nothing and is fine. Otherwise false with the
// piece named in error, since drawing it would read outside the bitmap.
bool CheckSkinRectangles(const SSkinDefinition& definition, int bitmapWidth, int bitmapHeight, std::string& error);
