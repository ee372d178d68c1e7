// Files of the report drawing tests: fixtures, and pages rendered into images.
#pragma once

#include <wx/image.h>

#include <cstdint>
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

// A grey PNG of the size, every pixel of the value: its rows compress to about a thousandth, so
// a picture of many million pixels is a file of a few ten KB.
std::string GreyPng(std::uint32_t width, std::uint32_t height, unsigned char value);

// A black bitmap of 24 bits a pixel, uncompressed: 54 bytes and three a pixel, rows padded to
// four bytes.
std::string BlackBmp(std::uint32_t width, std::uint32_t height);

// A PNG of quarters of eight by eight pixels: red, green on top, blue, yellow below.
std::string FourColourPng();
