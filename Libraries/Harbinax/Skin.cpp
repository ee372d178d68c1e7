#include "Harbinax/Skin.h"

#include "Harbinax/SplashShape.h"
#include "HarbinaxCore/SkinBitmap.h"

#include <wx/image.h>

#include <algorithm>

CSkin::CSkin(const SSkinDefinition& definition) : m_definition(definition)
{
    wxFontInfo info = definition.captionFontSizePx > 0 ? wxFontInfo(wxSize(0, definition.captionFontSizePx))
                                                        : wxFontInfo();
    info.Family(wxFONTFAMILY_SWISS).Bold(definition.captionBold);
    if (!definition.captionFont.empty())
        info.FaceName(wxString::FromUTF8(definition.captionFont));
    m_font = wxFont(info);
}

bool CSkin::SetBitmap(std::string_view file, std::string& error)
{
    m_bitmap = wxBitmap();
    CSkinBitmap bitmap;
    if (!bitmap.Read(file, error) ||
        !CheckSkinRectangles(m_definition, bitmap.Width(), bitmap.Height(), error))
        return false;
    const std::vector<unsigned char>& rgb = bitmap.Rgb();
    for (int element = 0; element < SKIN_BORDER_COUNT; ++element) {
        const SSkinRect& piece = m_definition.borders[element].active;
        m_regions[element] = wxRegion();
        if (piece.IsEmpty())
            continue;
        const unsigned char* origin = rgb.data() + 3 * (static_cast<std::size_t>(piece.y) * bitmap.Width() + piece.x);
        for (const SShapeRun& run : OpaqueRuns(origin, bitmap.Width(), piece.width, piece.height, SSkinDefinition::kMagenta))
            m_regions[element].Union(run.x, run.y, run.width, 1);
    }
    wxImage image(bitmap.Width(), bitmap.Height(), false);
    std::copy(rgb.begin(), rgb.end(), image.GetData());
    m_bitmap = wxBitmap(image);
    // Magenta is transparent wherever a piece of the bitmap is drawn.
    m_bitmap.SetMask(new wxMask(m_bitmap, wxColour(255, 0, 255)));
    return true;
}
