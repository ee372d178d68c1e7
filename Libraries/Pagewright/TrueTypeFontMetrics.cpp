#include "Pagewright/TrueTypeFontMetrics.h"

#include "Pagewright/FontFinder.h"
#include "Platform/AsciiText.h"
#include "Platform/TextEncoding.h"

#include <cmath>
#include <cstdint>
#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

// Big-endian numbers of a range of the file; every read says whether it was inside.
class CTrueTypeFontMetrics::CReader {
public:
    CReader(std::string_view data, std::size_t offset, std::size_t length) : m_ok(offset <= data.size() && length <= data.size() - offset)
    {
        if (m_ok)
            m_data = data.substr(offset, length);
    }
    bool Ok() const { return m_ok; }
    std::size_t Size() const { return m_data.size(); }
    bool U16(std::size_t at, std::uint32_t& value) const
    {
        if (at > m_data.size() || m_data.size() - at < 2)
            return false;
        value = Byte(at) << 8 | Byte(at + 1);
        return true;
    }
    bool S16(std::size_t at, int& value) const
    {
        std::uint32_t raw = 0;
        if (!U16(at, raw))
            return false;
        value = static_cast<std::int16_t>(raw);
        return true;
    }
    bool U32(std::size_t at, std::uint32_t& value) const
    {
        std::uint32_t high = 0;
        std::uint32_t low = 0;
        if (!U16(at, high) || !U16(at + 2, low))
            return false;
        value = high << 16 | low;
        return true;
    }
    bool U8(std::size_t at, std::uint32_t& value) const
    {
        if (at >= m_data.size())
            return false;
        value = Byte(at);
        return true;
    }

private:
    std::uint32_t Byte(std::size_t at) const { return static_cast<unsigned char>(m_data[at]); }
    std::string_view m_data;
    bool m_ok;
};

namespace {

// The font file mapped read-only for as long as the object lives.
class CMappedFile {
public:
    explicit CMappedFile(const std::string& path)
    {
        const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
        if (fd < 0)
            return;
        struct stat info {};
        if (::fstat(fd, &info) == 0 && S_ISREG(info.st_mode) && info.st_size > 0) {
            void* data = ::mmap(nullptr, static_cast<std::size_t>(info.st_size), PROT_READ, MAP_PRIVATE, fd, 0);
            if (data != MAP_FAILED) {
                m_data = static_cast<const char*>(data);
                m_size = static_cast<std::size_t>(info.st_size);
            }
        }
        ::close(fd);
    }
    ~CMappedFile()
    {
        if (m_data != nullptr)
            ::munmap(const_cast<char*>(m_data), m_size);
    }
    CMappedFile(const CMappedFile&) = delete;
    CMappedFile& operator=(const CMappedFile&) = delete;
    std::string_view Bytes() const { return std::string_view(m_data != nullptr ? m_data : "", m_size); }

private:
    const char* m_data = nullptr;
    std::size_t m_size = 0;
};

int Scale(long long value, long long unitsPerEm)
{
    return static_cast<int>(value * 1000 / unitsPerEm);
}

}  // namespace

void CTrueTypeFontMetrics::Clear()
{
    CFontMetrics::Clear();
    m_advances.clear();
    m_byteCodes.clear();
    m_unicodes.clear();
    m_symbolic = false;
    m_fixedPitch = false;
}

bool CTrueTypeFontMetrics::Load(const std::string& typeface, bool bold, bool italic)
{
    Clear();
    const std::string path = Pagewright::FindFontFile(typeface, bold, italic);
    if (path.empty())
        return false;
    const CMappedFile file(path);
    return !file.Bytes().empty() && LoadFromBytes(file.Bytes(), typeface);
}

int CTrueTypeFontMetrics::GlyphWidth(int glyph) const
{
    if (m_advances.empty() || glyph < 0)
        return 0;
    return glyph < static_cast<int>(m_advances.size()) ? m_advances[glyph] : m_advances.back();
}

bool CTrueTypeFontMetrics::ReadSubtable(const CReader& cmap, std::size_t offset, std::size_t limit, bool reduceToByte,
                                        std::map<int, SGlyph>& target, bool formats06) const
{
    std::uint32_t format = 0;
    if (!cmap.U16(offset, format))
        return false;
    if (format == 0 && formats06) {
        for (int code = 0; code < 256; ++code) {
            std::uint32_t glyph = 0;
            if (!cmap.U8(offset + 6 + code, glyph))
                return false;
            target[code] = SGlyph{static_cast<int>(glyph), GlyphWidth(static_cast<int>(glyph))};
        }
        return true;
    }
    if (format == 6 && formats06) {
        std::uint32_t firstCode = 0;
        std::uint32_t count = 0;
        if (!cmap.U16(offset + 6, firstCode) || !cmap.U16(offset + 8, count))
            return false;
        for (std::uint32_t i = 0; i < count; ++i) {
            std::uint32_t glyph = 0;
            if (!cmap.U16(offset + 10 + 2 * i, glyph))
                return false;
            target[static_cast<int>(firstCode + i)] = SGlyph{static_cast<int>(glyph), GlyphWidth(static_cast<int>(glyph))};
        }
        return true;
    }
    if (format != 4)
        return true;  // a format this reader has no use for
    std::uint32_t segCountX2 = 0;
    if (!cmap.U16(offset + 6, segCountX2) || segCountX2 % 2 != 0)
        return false;
    const std::size_t endCodes = offset + 14;
    const std::size_t startCodes = endCodes + segCountX2 + 2;
    const std::size_t deltas = startCodes + segCountX2;
    const std::size_t rangeOffsets = deltas + segCountX2;
    if (rangeOffsets + segCountX2 > limit)
        return false;
    // Overlapping segments could make a small file ask for billions of look-ups.
    std::size_t budget = 0x20000;
    for (std::size_t seg = 0; seg < segCountX2 / 2; ++seg) {
        std::uint32_t end = 0;
        std::uint32_t start = 0;
        std::uint32_t delta = 0;
        std::uint32_t rangeOffset = 0;
        if (!cmap.U16(endCodes + 2 * seg, end) || !cmap.U16(startCodes + 2 * seg, start) ||
            !cmap.U16(deltas + 2 * seg, delta) || !cmap.U16(rangeOffsets + 2 * seg, rangeOffset))
            return false;
        if (start > end)
            continue;
        for (std::uint32_t code = start; code <= end && code != 0xFFFF; ++code) {
            if (budget-- == 0)
                return false;
            std::uint32_t glyph = 0;
            if (rangeOffset == 0) {
                glyph = (code + delta) & 0xFFFF;
            } else {
                const std::size_t at = rangeOffsets + 2 * seg + rangeOffset + 2 * (code - start);
                if (at + 2 > limit || !cmap.U16(at, glyph))
                    return false;
                if (glyph != 0)
                    glyph = (glyph + delta) & 0xFFFF;
            }
            const int key = reduceToByte ? static_cast<int>(code & 0xFF) : static_cast<int>(code);
            target[key] = SGlyph{static_cast<int>(glyph), GlyphWidth(static_cast<int>(glyph))};
        }
    }
    return true;
}

bool CTrueTypeFontMetrics::ReadCmap(const CReader& cmap, std::size_t length)
{
    std::uint32_t count = 0;
    if (!cmap.U16(2, count))
        return false;
    std::size_t macintosh = 0;
    std::size_t unicode = 0;
    std::size_t symbol = 0;
    for (std::uint32_t i = 0; i < count; ++i) {
        std::uint32_t platform = 0;
        std::uint32_t encoding = 0;
        std::uint32_t offset = 0;
        if (!cmap.U16(4 + 8 * i, platform) || !cmap.U16(6 + 8 * i, encoding) || !cmap.U32(8 + 8 * i, offset))
            return false;
        if (offset == 0 || offset >= length)
            return false;
        if (platform == 1 && encoding == 0)
            macintosh = offset;
        else if (platform == 3 && encoding == 1)
            unicode = offset;
        else if (platform == 3 && encoding == 0)
            symbol = offset;
    }
    m_symbolic = symbol != 0;
    if (macintosh != 0 && !ReadSubtable(cmap, macintosh, length, false, m_byteCodes, true))
        return false;
    if (unicode != 0 && !ReadSubtable(cmap, unicode, length, false, m_unicodes, false))
        return false;
    if (symbol != 0) {
        std::map<int, SGlyph> symbols;
        if (!ReadSubtable(cmap, symbol, length, true, symbols, false))
            return false;
        m_byteCodes = std::move(symbols);
    }
    return true;
}

bool CTrueTypeFontMetrics::LoadFromBytes(std::string_view file, const std::string& typeface)
{
    Clear();
    subtype = kTrueType;
    fontName = typeface;
    const CReader whole(file, 0, file.size());
    std::uint32_t version = 0;
    std::uint32_t tableCount = 0;
    if (!whole.U32(0, version) || version != 0x00010000 || !whole.U16(4, tableCount))
        return false;

    struct STable {
        const char* tag;
        std::size_t offset = 0;
        std::size_t length = 0;
        bool found = false;
    };
    STable tables[] = {{"head"}, {"hhea"}, {"os/2"}, {"hmtx"}, {"cmap"}, {"post"}};
    for (std::uint32_t i = 0; i < tableCount; ++i) {
        const std::size_t record = 12 + 16 * static_cast<std::size_t>(i);
        std::uint32_t offset = 0;
        std::uint32_t length = 0;
        if (record + 16 > file.size() || !whole.U32(record + 8, offset) || !whole.U32(record + 12, length))
            return false;
        const std::string tag = Platform::AsciiLowerText(file.substr(record, 4));
        for (STable& table : tables) {
            if (tag == table.tag) {
                table.offset = offset;
                table.length = length;
                table.found = true;
            }
        }
    }
    for (int i = 0; i < 5; ++i) {
        if (!tables[i].found)
            return false;
    }
    const CReader head(file, tables[0].offset, tables[0].length);
    const CReader hhea(file, tables[1].offset, tables[1].length);
    const CReader os2(file, tables[2].offset, tables[2].length);
    const CReader hmtx(file, tables[3].offset, tables[3].length);
    const CReader cmap(file, tables[4].offset, tables[4].length);
    if (!head.Ok() || !hhea.Ok() || !os2.Ok() || !hmtx.Ok() || !cmap.Ok())
        return false;

    std::uint32_t unitsPerEm = 0;
    int xMin = 0, yMin = 0, xMax = 0, yMax = 0;
    std::uint32_t macStyle = 0;
    if (!head.U16(18, unitsPerEm) || !head.S16(36, xMin) || !head.S16(38, yMin) || !head.S16(40, xMax) ||
        !head.S16(42, yMax) || !head.U16(44, macStyle))
        return false;
    // The em is 16 to 16384 units; anything else would divide by nothing or by nonsense.
    if (unitsPerEm < 16 || unitsPerEm > 16384)
        return false;
    int caretRise = 0, caretRun = 0;
    std::uint32_t hMetricCount = 0;
    if (!hhea.S16(18, caretRise) || !hhea.S16(20, caretRun) || !hhea.U16(34, hMetricCount) || hMetricCount == 0)
        return false;
    std::uint32_t os2Version = 0;
    int avgWidth = 0, typoAscender = 0, typoDescender = 0, capHeightUnits = 0;
    if (!os2.U16(0, os2Version) || !os2.S16(2, avgWidth) || !os2.S16(68, typoAscender) || !os2.S16(70, typoDescender))
        return false;
    if (typoDescender > 0)
        typoDescender = -typoDescender;
    if (os2Version >= 2) {
        if (!os2.S16(88, capHeightUnits))
            return false;
    } else {
        capHeightUnits = static_cast<int>(0.7 * unitsPerEm);
    }
    double angle = 0.0;
    if (tables[5].found) {
        const CReader post(file, tables[5].offset, tables[5].length);
        std::uint32_t fixed = 0;
        std::uint32_t fixedPitch = 0;
        if (!post.Ok() || !post.U32(4, fixed) || !post.U32(12, fixedPitch))
            return false;
        angle = static_cast<std::int32_t>(fixed) / 65536.0;
        m_fixedPitch = fixedPitch != 0;
    } else {
        angle = -std::atan2(caretRun, caretRise) * 180.0 / 3.14159265359;
    }

    if (static_cast<std::size_t>(hMetricCount) * 4 > hmtx.Size())
        return false;
    m_advances.reserve(hMetricCount);
    for (std::uint32_t i = 0; i < hMetricCount; ++i) {
        std::uint32_t advance = 0;
        hmtx.U16(4 * i, advance);
        m_advances.push_back(Scale(advance, unitsPerEm));
    }
    if (!ReadCmap(cmap, tables[4].length))
        return false;

    bboxLeft = Scale(xMin, unitsPerEm);
    bboxBottom = Scale(yMin, unitsPerEm);
    bboxRight = Scale(xMax, unitsPerEm);
    bboxTop = Scale(yMax, unitsPerEm);
    ascent = Scale(typoAscender, unitsPerEm);
    descent = Scale(typoDescender, unitsPerEm);
    capHeight = Scale(capHeightUnits, unitsPerEm);
    missingWidth = Scale(avgWidth, unitsPerEm);
    italicAngle = static_cast<int>(angle);
    stemV = 80;
    flags = (m_fixedPitch ? kFlagFixedPitch : 0) | (m_symbolic ? kFlagSymbolic : kFlagNonSymbolic);
    if (macStyle & 2)
        flags |= kFlagItalic;
    if (macStyle & 1)
        flags |= kFlagForceBold;
    firstChar = 32;
    lastChar = 255;
    encoding = kWinAnsiEncoding;
    widths.assign(lastChar - firstChar + 1, 0);
    for (int code = firstChar; code <= lastChar; ++code) {
        const std::map<int, SGlyph>* found = nullptr;
        std::map<int, SGlyph>::const_iterator it;
        if (!m_unicodes.empty()) {
            it = m_unicodes.find(static_cast<int>(CTextEncoding::Windows1252ToCodePoint(static_cast<unsigned char>(code))));
            if (it != m_unicodes.end())
                found = &m_unicodes;
        }
        if (found == nullptr) {
            it = m_byteCodes.find(code);
            if (it != m_byteCodes.end())
                found = &m_byteCodes;
        }
        widths[code - firstChar] = found != nullptr ? it->second.width : 0;
    }
    return true;
}
