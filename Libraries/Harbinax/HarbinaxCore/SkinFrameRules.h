// The arithmetic of a skinned frame: where its pieces and caption buttons go, which part of the
// frame a point is on (with the hit-test codes the frame's handlers act on), and how small the
// window may get. Pure functions of the skin and the window's state, checked without a display.
#pragma once

#include "HarbinaxCore/SkinDefinition.h"

#include <vector>

// Hit-test codes of the frame.
enum ESkinHit {
    SKINHIT_NOWHERE = 0,
    SKINHIT_CLIENT = 1,
    SKINHIT_CAPTION = 2,
    SKINHIT_SYSMENU = 3,
    SKINHIT_RESTORE = 4,
    SKINHIT_MENU = 5,
    SKINHIT_MINBUTTON = 8,
    SKINHIT_MAXBUTTON = 9,
    SKINHIT_LEFT = 10,
    SKINHIT_RIGHT = 11,
    SKINHIT_TOP = 12,
    SKINHIT_TOPLEFT = 13,
    SKINHIT_TOPRIGHT = 14,
    SKINHIT_BOTTOM = 15,
    SKINHIT_BOTTOMLEFT = 16,
    SKINHIT_BOTTOMRIGHT = 17,
    SKINHIT_BORDER = 18,
    SKINHIT_CLOSE = 20,
    SKINHIT_PIN1 = 100,
    SKINHIT_PIN2 = 101,
    SKINHIT_ROLLUP = 102,
};

// The window as the frame rules need it: its style and state and its whole size.
struct SSkinFrameState {
    bool caption = true;
    bool sysMenu = true;
    bool minimizeBox = true;
    bool maximizeBox = true;
    bool resizable = true;
    bool active = true;
    bool maximized = false;
    bool pinButtons = false;
    bool pinned = false;
    bool rollUpButton = false;
    bool rolledUp = false;
    int width = 0;
    int height = 0;
    int menuHeight = 0;
};

// A frame piece placed in the window: which element, and the part of the window it covers
// (a last tile is cut short; it shows the element's first pixels).
struct SSkinPiece {
    int element;
    SSkinRect place;
};

// The caption button's code (ICON gives SKINHIT_SYSMENU).
int SkinButtonHitCode(int button);

// The button's rectangle in window coordinates; empty when the window does not show it.
SSkinRect SkinButtonRect(const SSkinDefinition& skin, const SSkinFrameState& window, int button);

// The part of the frame under the point (window coordinates) before any remapping: sizing
// borders (only on a resizable window, else SKINHIT_BORDER), caption, menu strip or client.
int SkinFrameArea(const SSkinDefinition& skin, const SSkinFrameState& window, int x, int y);

// A maximised window has no sizing borders (SKINHIT_BORDER); a rolled-up one has no height
// to size, so its top and bottom edges drag it and its corners size only its width.
int RemapSkinHit(int code, bool maximized, bool rolledUp);

// The whole hit test: area, remapping, then the caption buttons in index order.
int SkinHitTest(const SSkinDefinition& skin, const SSkinFrameState& window, int x, int y);

// The window-system size command for a sizing-border code: 0xF001 (left) to 0xF008
// (bottom-right); 0 for any other code.
int SkinSizeCommand(int code);

// The smallest size that still shows the frame and every shown caption button.
int SkinMinimumWidth(const SSkinDefinition& skin, const SSkinFrameState& window);
int SkinMinimumHeight(const SSkinDefinition& skin, const SSkinFrameState& window);

// The height of a rolled-up window: its top and bottom frame only.
int SkinRolledUpHeight(const SSkinDefinition& skin);

// The frame pieces of a window of that size: corners at the corners, edges tiled between them
// from the far end back, so a last, partial tile lands beside the first corner.
std::vector<SSkinPiece> SkinFramePieces(const SSkinDefinition& skin, int width, int height);

// The content's place inside the frame: below the caption and menu strip, inside the borders.
SSkinRect SkinClientRect(const SSkinDefinition& skin, const SSkinFrameState& window);
