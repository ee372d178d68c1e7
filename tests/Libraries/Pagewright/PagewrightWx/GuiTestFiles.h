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

// The output page drawn at zoom 1 into a white image of its size at that resolution.
wxImage RenderPage(const CReport& report, int index, double dpi);
