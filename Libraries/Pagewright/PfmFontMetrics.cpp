#include "Pagewright/PfmFontMetrics.h"

#include "Pagewright/FontFinder.h"
#include "Pagewright/GlyphNames.h"
#include "Platform/AsciiText.h"
#include "Platform/WholeFile.h"

#include <algorithm>
#include <cstdarg>
#include <cstdint>
#include <cstdio>
#include <vector>

namespace {

// Little-endian reads that say whether they were inside the file.
class CPfmReader {
public:
    explicit CPfmReader(std::string_view data) : m_data(data) {}
    bool U8(std::size_t at, int& value) const
    {
        if (at >= m_data.size())
            return false;
        value = static_cast<unsigned char>(m_data[at]);
        return true;
    }
    bool U16(std::size_t at, int& value) const
    {
        int low = 0, high = 0;
        if (!U8(at, low) || !U8(at + 1, high))
            return false;
        value = low | high << 8;
        return true;
    }
    bool S16(std::size_t at, int& value) const
    {
        if (!U16(at, value))
            return false;
        value = static_cast<std::int16_t>(value);
        return true;
    }
    bool U32(std::size_t at, std::uint32_t& value) const
    {
        int low = 0, high = 0;
        if (!U16(at, low) || !U16(at + 2, high))
            return false;
        value = static_cast<std::uint32_t>(low) | static_cast<std::uint32_t>(high) << 16;
        return true;
    }
    // The zero-terminated text at the offset; false when it is outside or not terminated.
    bool Text(std::size_t at, std::string& text) const
    {
        if (at >= m_data.size())
            return false;
        const std::size_t end = m_data.find('\0', at);
        if (end == std::string_view::npos)
            return false;
        text = std::string(m_data.substr(at, end - at));
        return true;
    }

private:
    std::string_view m_data;
};

void AppendLine(std::string& afm, const char* format, ...) __attribute__((format(printf, 2, 3)));
void AppendLine(std::string& afm, const char* format, ...)
{
    char buffer[512];
    va_list args;
    va_start(args, format);
    std::vsnprintf(buffer, sizeof buffer, format, args);
    va_end(args);
    afm += buffer;
}

}  // namespace

bool CPfmFontMetrics::ConvertPfmToAfm(std::string_view pfm, std::string& afm)
{
    afm.clear();
    const CPfmReader in(pfm);
    std::uint32_t fileSize = 0, faceOffset = 0, extMetrics = 0, extentTable = 0, kernTable = 0, nameOffset = 0;
    int sizeFields = 0;
    if (!in.U32(2, fileSize) || fileSize != pfm.size() || !in.U16(117, sizeFields) || sizeFields != 30 ||
        !in.U32(139, nameOffset) || nameOffset < 75 || nameOffset > 512)
        return false;
    int ascent = 0, italic = 0, weight = 0, charSet = 0, pitchAndFamily = 0, avgWidth = 0, maxWidth = 0;
    int first = 0, last = 0;
    if (!in.U16(74, ascent) || !in.U8(80, italic) || !in.U16(83, weight) || !in.U8(85, charSet) ||
        !in.U8(90, pitchAndFamily) || !in.U16(91, avgWidth) || !in.U16(93, maxWidth) || !in.U8(95, first) ||
        !in.U8(96, last) || !in.U32(105, faceOffset) || !in.U32(119, extMetrics) || !in.U32(123, extentTable) ||
        !in.U32(131, kernTable) || last < first)
        return false;
    std::string name;
    std::string face;
    if (!in.Text(nameOffset, name) || (faceOffset != 0 && !in.Text(faceOffset, face)))
        return false;
    int etmCapHeight = 0, etmXHeight = 0, etmAscent = 0, etmDescent = 0;
    if (!in.S16(extMetrics + 14, etmCapHeight) || !in.S16(extMetrics + 16, etmXHeight) ||
        !in.S16(extMetrics + 18, etmAscent) || !in.S16(extMetrics + 20, etmDescent))
        return false;
    std::vector<int> extents(last - first + 1);
    for (int code = first; code <= last; ++code) {
        if (!in.U16(extentTable + 2 * static_cast<std::size_t>(code - first), extents[code - first]))
            return false;
    }
    struct SKernPair {
        int first, second, amount;
    };
    std::vector<SKernPair> kerns;
    if (kernTable != 0) {
        int count = 0;
        if (!in.U16(kernTable, count))
            return false;
        for (int i = 0; i < count; ++i) {
            SKernPair pair{};
            const std::size_t at = kernTable + 2 + 4 * static_cast<std::size_t>(i);
            if (!in.U8(at, pair.first) || !in.U8(at + 1, pair.second) || !in.S16(at + 2, pair.amount))
                return false;
            if (pair.amount != 0)
                kerns.push_back(pair);
        }
    }

    std::string notice(pfm.substr(6, 60));
    notice.resize(std::min(notice.find('\0'), notice.size()));
    const std::string lowerName = Platform::AsciiLowerText(name);
    afm = "StartFontMetrics 2.0\n";
    if (!notice.empty())
        afm += "Comment " + notice + "\n";
    afm += "FontName " + name;
    afm += charSet != 0 ? "\nEncodingScheme FontSpecific\n" : "\nEncodingScheme AdobeStandardEncoding\n";
    std::string fullName = name;
    std::replace(fullName.begin(), fullName.end(), '-', ' ');
    afm += "FullName " + fullName;
    if (faceOffset != 0)
        afm += "\nFamilyName " + face;
    const char* weightName = "Medium";
    if (weight > 475 || lowerName.find("bold") != std::string::npos)
        weightName = "Bold";
    else if ((weight < 325 && weight != 0) || lowerName.find("light") != std::string::npos)
        weightName = "Light";
    else if (lowerName.find("black") != std::string::npos)
        weightName = "Black";
    afm += std::string("\nWeight ") + weightName;
    afm += italic != 0 || lowerName.find("italic") != std::string::npos ? "\nItalicAngle -12.00" : "\nItalicAngle 0";
    const bool fixedPitch = !((pitchAndFamily & 1) != 0 && avgWidth != maxWidth);
    afm += fixedPitch ? "\nIsFixedPitch true" : "\nIsFixedPitch false";
    // The descent is stored as a distance below the baseline; AFM wants it negative.
    const int descender = etmDescent > 0 ? -etmDescent : etmDescent;
    AppendLine(afm, "\nFontBBox %d %d %d %d", fixedPitch ? -20 : -100, descender - 5, maxWidth + 10, ascent + 5);
    AppendLine(afm, "\nCapHeight %d\nXHeight %d\nDescender %d\nAscender %d\n", etmCapHeight, etmXHeight, descender,
               etmAscent);
    AppendLine(afm, "StartCharMetrics %d\n", last - first + 1);
    if (charSet != 0) {
        for (int code = first; code <= last; ++code) {
            if (extents[code - first] != 0)
                AppendLine(afm, "C %d ; WX %d ;\n", code, extents[code - first]);
        }
    } else {
        std::vector<std::pair<int, int>> standard;  // standard code, Windows code
        for (int code = first; code <= last; ++code) {
            const int position = Pagewright::StandardEncodingCode(static_cast<unsigned char>(code));
            if (position != 0)
                standard.emplace_back(position, code);
        }
        std::stable_sort(standard.begin(), standard.end());
        std::vector<bool> written(last - first + 1, false);
        for (const auto& [position, code] : standard) {
            AppendLine(afm, "C %d ; WX %d ; N %s ;\n", position, extents[code - first],
                       Pagewright::WindowsGlyphName(static_cast<unsigned char>(code)));
            written[code - first] = true;
        }
        for (int code = first; code <= last; ++code) {
            if (!written[code - first] && extents[code - first] != 0)
                AppendLine(afm, "C -1 ; WX %d ; N %s ;\n", extents[code - first],
                           Pagewright::WindowsGlyphName(static_cast<unsigned char>(code)));
        }
    }
    afm += "EndCharMetrics\n";
    if (!kerns.empty()) {
        AppendLine(afm, "StartKernData\nStartKernPairs %d\n", static_cast<int>(kerns.size()));
        for (const SKernPair& pair : kerns)
            AppendLine(afm, "KPX %s %s %d\n", Pagewright::WindowsGlyphName(static_cast<unsigned char>(pair.first)),
                       Pagewright::WindowsGlyphName(static_cast<unsigned char>(pair.second)), pair.amount);
        afm += "EndKernPairs\nEndKernData\n";
    }
    afm += "EndFontMetrics\n";
    return true;
}

bool CPfmFontMetrics::LoadPfm(const std::string& path)
{
    Clear();
    std::string pfm;
    std::string afm;
    return Platform::ReadWholeFile(path, pfm) && ConvertPfmToAfm(pfm, afm) && LoadAfmText(afm);
}

bool CPfmFontMetrics::Load(const std::string& typeface, bool bold, bool italic)
{
    Clear();
    const std::string file = Pagewright::FindType1MetricsFile(typeface, bold, italic);
    if (file.empty())
        return false;
    const bool loaded =
        Platform::AsciiLowerText(file.substr(file.size() - 4)) == ".pfm" ? LoadPfm(file) : LoadAfm(file);
    // The writer names a styled font by the typeface and the style it adds, not by the face's own
    // PostScript name.
    if (loaded && (bold || italic))
        fontName = typeface;
    return loaded;
}
