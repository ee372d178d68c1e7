// Files of the report drawing tests: fixtures, and pages rendered into images.
#pragma once

#include <wx/image.h>

#include <cstdlib>
#include <string>

class CReport;

// The file in the tests' data folder for report drawing.
inline std::string DrawingDataPath(const std::string& name)
{
    const char* folder = std::getenv("ZEPHRIN_TEST_DATA");
    return std::string(folder != nullptr ? folder : "tests/data") + "/PagewrightWx/" + name;
}

// Writes the image as a PNG file of that name in the test's temporary folder, to be looked at;
// the path written.
std::string SaveForLooking(const wxImage& image, const std::string& name);

// The output page drawn at zoom 1 into a white image of its size at that resolution.
wxImage RenderPage(const CReport& report, int index, double dpi);
