// The bytes of a report picture and its size in pixels, read from the image header (PNG, JPEG,
// GIF, BMP). Shared between an element and its clones; decoding is left to whoever draws it.
// A picture is bounded by the pixels its decoding takes, read from its headers before anything
// is decoded: beyond the bound it is no picture, and draws nothing as one that cannot be decoded.
#pragma once

#include <memory>
#include <string>

class CReportImage {
public:
    enum EKind { kPng, kGif, kBmp, kJpeg };
    // About what a 64 MiB 24-bit bitmap holds: decoded as 24-bit colour it takes 75 MB. A GIF's
    // frames are all decoded, so their pixels count together.
    static constexpr long long kMaxPixels = 25'000'000;

    // Null when the bytes are no image of a known kind, name no size, or more than kMaxPixels.
    static std::shared_ptr<const CReportImage> FromBytes(std::string bytes);

    const std::string& GetBytes() const { return m_bytes; }
    // The kind its header names: the decoder that the bound was read for.
    EKind GetKind() const { return m_kind; }
    int GetPixelWidth() const { return m_width; }
    int GetPixelHeight() const { return m_height; }

private:
    std::string m_bytes;
    EKind m_kind = kPng;
    int m_width = 0;
    int m_height = 0;
};
