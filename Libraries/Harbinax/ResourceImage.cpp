#include "Harbinax/ResourceImage.h"

#include "Harbinax/Harbinax.h"

#include <wx/log.h>
#include <wx/mstream.h>

wxImage LoadResourceImage(const std::string& type, int id)
{
    std::string_view bytes;
    wxImage image;
    if (!CHarbinax::FindResource(type, id, bytes))
        return image;
    if (!wxImage::FindHandler(wxBITMAP_TYPE_PNG))
        wxInitAllImageHandlers();
    wxLogNull quiet;
    wxMemoryInputStream stream(bytes.data(), bytes.size());
    image.LoadFile(stream, wxBITMAP_TYPE_ANY);
    return image;
}
