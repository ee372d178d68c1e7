// One loaded skin: its definition, its bitmap, the caption font, and for each frame piece the
// region of its pixels that are not magenta (the window's shape along its edges).
#pragma once

#include "HarbinaxCore/SkinDefinition.h"

#include <wx/bitmap.h>
#include <wx/font.h>
#include <wx/region.h>

#include <string>
#include <string_view>

class CSkin {
public:
    explicit CSkin(const SSkinDefinition& definition);

    // The bitmap file's bytes (BMP, 8 or 24 bits): read, every rectangle of the definition
    // checked against it, the piece regions built. False with the reason in error; the skin
    // then has no bitmap.
    bool SetBitmap(std::string_view file, std::string& error);

    const SSkinDefinition& Definition() const { return m_definition; }
    bool HasBitmap() const { return m_bitmap.IsOk(); }
    // Masked where it is magenta.
    const wxBitmap& Bitmap() const { return m_bitmap; }
    // Piece coordinates: (0, 0) is the piece's top-left pixel.
    const wxRegion& PieceRegion(int element) const { return m_regions[element]; }
    const wxFont& CaptionFont() const { return m_font; }

private:
    SSkinDefinition m_definition;
    wxBitmap m_bitmap;
    wxRegion m_regions[SKIN_BORDER_COUNT];
    wxFont m_font;
};
