// The bytes of a report picture and its size in pixels, read from the image header (PNG, JPEG,
// GIF, BMP). Shared between an element and its clones; decoding is left to whoever draws it.
#pragma once

#include <memory>
#include <string>

class CReportImage {
public:
    // Null when the bytes are no image of a known kind or name no size.
    static std::shared_ptr<const CReportImage> FromBytes(std::string bytes);

    const std::string& GetBytes() const { return m_bytes; }
    int GetPixelWidth() const { return m_width; }
    int GetPixelHeight() const { return m_height; }

private:
    std::string m_bytes;
    int m_width = 0;
    int m_height = 0;
};
