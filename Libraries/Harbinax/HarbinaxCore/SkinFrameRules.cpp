#include "HarbinaxCore/SkinFrameRules.h"

#include <algorithm>

namespace {

const int buttonCodes[SKIN_BUTTON_COUNT] = {SKINHIT_SYSMENU,   SKINHIT_CLOSE, SKINHIT_MINBUTTON,
                                            SKINHIT_MAXBUTTON, SKINHIT_RESTORE, SKINHIT_PIN1,
                                            SKINHIT_PIN2,      SKINHIT_ROLLUP};

bool IsSizingCode(int code)
{
    return code >= SKINHIT_LEFT && code <= SKINHIT_BOTTOMRIGHT;
}

bool ButtonShown(const SSkinDefinition& skin, const SSkinFrameState& window, int button)
{
    if ((button == SKIN_ICON || button == SKIN_CLOSE) && window.sysMenu)
        return true;
    const SSkinButton& b = skin.buttons[button];
    if ((window.active ? b.active : b.inactive).IsEmpty())
        return false;
    switch (button) {
    case SKIN_CLOSE:
        return window.sysMenu;
    case SKIN_MIN:
        return window.minimizeBox;
    case SKIN_MAX:
        return window.maximizeBox && !window.maximized;
    case SKIN_RESTORE:
        return (window.minimizeBox || window.maximizeBox) && window.maximized;
    case SKIN_PIN1:
        return window.pinButtons && !window.pinned;
    case SKIN_PIN2:
        return window.pinButtons && window.pinned;
    case SKIN_ROLLUP:
        return window.rollUpButton;
    default:
        return true;
    }
}

// Tiles of length tile covering [start, end) laid from end back toward start.
void AddTiles(std::vector<SSkinPiece>& pieces, int element, int start, int end, int tile, bool horizontal,
              int across, int thickness)
{
    if (tile <= 0 || thickness <= 0)
        return;
    for (int far = end; far > start; far -= tile) {
        const int from = std::max(start, far - tile);
        const SSkinRect place = horizontal ? SSkinRect{from, across, far - from, thickness}
                                           : SSkinRect{across, from, thickness, far - from};
        pieces.push_back({element, place});
    }
}

}  // namespace

int SkinButtonHitCode(int button)
{
    return button >= 0 && button < SKIN_BUTTON_COUNT ? buttonCodes[button] : SKINHIT_NOWHERE;
}

SSkinRect SkinButtonRect(const SSkinDefinition& skin, const SSkinFrameState& window, int button)
{
    if (!window.caption || !ButtonShown(skin, window, button))
        return SSkinRect();
    const SSkinButton& b = skin.buttons[button];
    const int x = b.alignLeft ? b.offsetX : window.width - b.offsetX - b.width;
    return SSkinRect{x, b.offsetY, b.width, b.height};
}

int SkinFrameArea(const SSkinDefinition& skin, const SSkinFrameState& window, int x, int y)
{
    if (x < 0 || y < 0 || x >= window.width || y >= window.height)
        return SKINHIT_NOWHERE;
    const SSkinBorderElement* b = skin.borders;
    const int top = b[SKIN_TOP].height;
    // The top piece holds the caption; only a band as thick as the bottom frame sizes.
    const int topGrip = std::min(top, std::max(1, b[SKIN_BOTTOM].height));
    const bool left = x < b[SKIN_LEFT].width;
    const bool right = x >= window.width - b[SKIN_RIGHT].width;
    const bool upper = y < topGrip;
    const bool lower = y >= window.height - b[SKIN_BOTTOM].height;
    if (left || right || upper || lower) {
        if (!window.resizable)
            return SKINHIT_BORDER;
        // Along an edge, the stretch beside a corner piece sizes both ways, as the corner does.
        const bool nearTop = y < std::max(b[SKIN_TOPLEFT].height, b[SKIN_TOPRIGHT].height);
        const bool nearBottom = y >= window.height - std::max(b[SKIN_BOTTOMLEFT].height, b[SKIN_BOTTOMRIGHT].height);
        const bool nearLeft = x < std::max(b[SKIN_TOPLEFT].width, b[SKIN_BOTTOMLEFT].width);
        const bool nearRight = x >= window.width - std::max(b[SKIN_TOPRIGHT].width, b[SKIN_BOTTOMRIGHT].width);
        const int row = upper ? 0 : lower ? 2 : nearTop ? 0 : nearBottom ? 2 : 1;
        const int column = left ? 0 : right ? 2 : nearLeft ? 0 : nearRight ? 2 : 1;
        static const int codes[3][3] = {{SKINHIT_TOPLEFT, SKINHIT_TOP, SKINHIT_TOPRIGHT},
                                        {SKINHIT_LEFT, SKINHIT_NOWHERE, SKINHIT_RIGHT},
                                        {SKINHIT_BOTTOMLEFT, SKINHIT_BOTTOM, SKINHIT_BOTTOMRIGHT}};
        return codes[row][column];
    }
    if (y < top)
        return window.caption ? SKINHIT_CAPTION : SKINHIT_BORDER;
    if (!window.rolledUp && y < top + window.menuHeight)
        return SKINHIT_MENU;
    return SKINHIT_CLIENT;
}

int RemapSkinHit(int code, bool maximized, bool rolledUp)
{
    if (maximized && IsSizingCode(code))
        return SKINHIT_BORDER;
    if (!rolledUp)
        return code;
    switch (code) {
    case SKINHIT_TOP:
    case SKINHIT_BOTTOM:
        return SKINHIT_CAPTION;
    case SKINHIT_TOPLEFT:
    case SKINHIT_BOTTOMLEFT:
        return SKINHIT_LEFT;
    case SKINHIT_TOPRIGHT:
    case SKINHIT_BOTTOMRIGHT:
        return SKINHIT_RIGHT;
    default:
        return code;
    }
}

int SkinHitTest(const SSkinDefinition& skin, const SSkinFrameState& window, int x, int y)
{
    const int code = RemapSkinHit(SkinFrameArea(skin, window, x, y), window.maximized, window.rolledUp);
    if (window.caption) {
        for (int button = 0; button < SKIN_BUTTON_COUNT; ++button)
            if (SkinButtonRect(skin, window, button).Contains(x, y))
                return buttonCodes[button];
    }
    return code;
}

int SkinSizeCommand(int code)
{
    return IsSizingCode(code) ? 0xF000 + (code - 9) : 0;
}

int SkinMinimumWidth(const SSkinDefinition& skin, const SSkinFrameState& window)
{
    int leftLimit = std::max(skin.captionOffsetX, skin.borders[SKIN_LEFT].width);
    int rightLimit = window.width - skin.borders[SKIN_RIGHT].width;
    for (int button = 0; button < SKIN_BUTTON_COUNT; ++button) {
        const SSkinRect rect = SkinButtonRect(skin, window, button);
        if (rect.IsEmpty())
            continue;
        if (skin.buttons[button].alignLeft)
            leftLimit = std::max(leftLimit, rect.x + rect.width);
        else
            rightLimit = std::min(rightLimit, rect.x);
    }
    return window.width + leftLimit - rightLimit;
}

int SkinMinimumHeight(const SSkinDefinition& skin, const SSkinFrameState& window)
{
    return SkinRolledUpHeight(skin) + window.menuHeight + 1;
}

int SkinRolledUpHeight(const SSkinDefinition& skin)
{
    return skin.borders[SKIN_TOP].height + skin.borders[SKIN_BOTTOM].height;
}

std::vector<SSkinPiece> SkinFramePieces(const SSkinDefinition& skin, int width, int height)
{
    const SSkinBorderElement* b = skin.borders;
    std::vector<SSkinPiece> pieces;
    const auto corner = [&](int element, int x, int y) {
        if (b[element].width > 0 && b[element].height > 0)
            pieces.push_back({element, SSkinRect{x, y, b[element].width, b[element].height}});
    };
    corner(SKIN_TOPLEFT, 0, 0);
    corner(SKIN_TOPRIGHT, width - b[SKIN_TOPRIGHT].width, 0);
    corner(SKIN_BOTTOMLEFT, 0, height - b[SKIN_BOTTOMLEFT].height);
    corner(SKIN_BOTTOMRIGHT, width - b[SKIN_BOTTOMRIGHT].width, height - b[SKIN_BOTTOMRIGHT].height);
    AddTiles(pieces, SKIN_TOP, b[SKIN_TOPLEFT].width, width - b[SKIN_TOPRIGHT].width, b[SKIN_TOP].width, true, 0,
             b[SKIN_TOP].height);
    AddTiles(pieces, SKIN_BOTTOM, b[SKIN_BOTTOMLEFT].width, width - b[SKIN_BOTTOMRIGHT].width, b[SKIN_BOTTOM].width,
             true, height - b[SKIN_BOTTOM].height, b[SKIN_BOTTOM].height);
    AddTiles(pieces, SKIN_LEFT, b[SKIN_TOPLEFT].height, height - b[SKIN_BOTTOMLEFT].height, b[SKIN_LEFT].height,
             false, 0, b[SKIN_LEFT].width);
    AddTiles(pieces, SKIN_RIGHT, b[SKIN_TOPRIGHT].height, height - b[SKIN_BOTTOMRIGHT].height, b[SKIN_RIGHT].height,
             false, width - b[SKIN_RIGHT].width, b[SKIN_RIGHT].width);
    return pieces;
}

SSkinRect SkinClientRect(const SSkinDefinition& skin, const SSkinFrameState& window)
{
    const SSkinBorderElement* b = skin.borders;
    const int top = b[SKIN_TOP].height + (window.rolledUp ? 0 : window.menuHeight);
    const int width = window.width - b[SKIN_LEFT].width - b[SKIN_RIGHT].width;
    const int height = window.rolledUp ? 0 : window.height - top - b[SKIN_BOTTOM].height;
    return SSkinRect{b[SKIN_LEFT].width, top, std::max(0, width), std::max(0, height)};
}
