#include "Platform/VersionInfo.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <fstream>
#include <string.h>
#include <vector>

// Defined by the source that zephrin_add_version_record generates for an executable.
extern "C" const unsigned char zephrin_version_record[] __attribute__((weak));

namespace Platform {

namespace {

// Record layout: 16 marker bytes, the four words little-endian, then the four words
// bit-inverted as a check against a chance match.
constexpr std::size_t markerSize = 16;
constexpr std::size_t recordSize = markerSize + 16;

// Then, in newer records, the rest: its length in 16 bits and the length bit-inverted, the
// product version's four words, the four 32-bit fields (flags, operating system, type,
// subtype), all little-endian, and the company name, product name and file description, each
// ending in a zero byte. Anything else after a record is not of it.
constexpr std::size_t restHeaderSize = 4;
constexpr std::size_t restFixedSize = 8 + 16;
constexpr std::size_t maxRestSize = restFixedSize + 3 * (SVersionRecord::MaxText + 1);

// The marker is kept scrambled and unscrambled through volatile reads, so neither this code
// nor anything the compiler folds from it puts the plain marker into a binary: a scan of a
// file that links this reader finds only a real record.
constexpr unsigned char markerKey = 0xA5;
volatile const unsigned char scrambledMarker[markerSize] = {
    0x7F ^ markerKey, 'Z' ^ markerKey, 'E' ^ markerKey, 'P' ^ markerKey, 'H' ^ markerKey, 'R' ^ markerKey,
    'I' ^ markerKey,  'N' ^ markerKey, '-' ^ markerKey, 'F' ^ markerKey, 'I' ^ markerKey, 'L' ^ markerKey,
    'E' ^ markerKey,  'V' ^ markerKey, 'E' ^ markerKey, 'R' ^ markerKey};

std::array<unsigned char, markerSize> Marker()
{
    std::array<unsigned char, markerSize> marker;
    for (std::size_t i = 0; i < markerSize; ++i)
        marker[i] = static_cast<unsigned char>(scrambledMarker[i] ^ markerKey);
    return marker;
}

unsigned Word(const unsigned char* bytes)
{
    return bytes[0] | (bytes[1] << 8);
}

std::uint32_t Long(const unsigned char* bytes)
{
    return Word(bytes) | (static_cast<std::uint32_t>(Word(bytes + 2)) << 16);
}

void AppendWord(std::string& out, unsigned value)
{
    out += static_cast<char>(value & 0xFF);
    out += static_cast<char>((value >> 8) & 0xFF);
}

// The rest that follows a record, at most size bytes of it at hand. False, and out untouched,
// when there is none (an older record) or it does not hold together.
bool DecodeRest(const unsigned char* rest, std::size_t size, SVersionRecord& out)
{
    if (size < restHeaderSize)
        return false;
    const unsigned length = Word(rest);
    if ((length ^ Word(rest + 2)) != 0xFFFF || length < restFixedSize + 3 || length > maxRestSize ||
        size < restHeaderSize + length)
        return false;
    const unsigned char* body = rest + restHeaderSize;
    const unsigned char* end = body + length;
    const unsigned char* text = body + restFixedSize;
    std::string texts[3];
    for (std::string& value : texts) {
        const void* zero = std::memchr(text, 0, static_cast<std::size_t>(end - text));
        if (!zero)
            return false;
        const auto* stop = static_cast<const unsigned char*>(zero);
        value.assign(reinterpret_cast<const char*>(text), std::min<std::size_t>(stop - text, SVersionRecord::MaxText));
        text = stop + 1;
    }
    for (int i = 0; i < 4; ++i)
        out.productVersion.part[i] = static_cast<unsigned short>(Word(body + 2 * i));
    out.fileFlags = Long(body + 8);
    out.fileOs = Long(body + 12);
    out.fileType = Long(body + 16);
    out.fileSubtype = Long(body + 20);
    out.companyName = std::move(texts[0]);
    out.productName = std::move(texts[1]);
    out.fileDescription = std::move(texts[2]);
    return true;
}

// record points at recordSize bytes that start with the marker.
bool DecodeRecord(const unsigned char* record, SFileVersion& out)
{
    const unsigned char* words = record + markerSize;
    SFileVersion version;
    for (int i = 0; i < 4; ++i) {
        const unsigned value = Word(words + 2 * i);
        if ((value ^ Word(words + 8 + 2 * i)) != 0xFFFF)
            return false;
        version.part[i] = static_cast<unsigned short>(value);
    }
    out = version;
    return true;
}

// First valid record that lies wholly in [data, data + size); where it starts.
const unsigned char* FindRecord(const unsigned char* data, std::size_t size,
                                const std::array<unsigned char, markerSize>& marker, SFileVersion& out)
{
    const unsigned char* end = data + size;
    const unsigned char* from = data;
    while (static_cast<std::size_t>(end - from) >= recordSize) {
        const void* hit = memmem(from, static_cast<std::size_t>(end - from) - (recordSize - markerSize),
                                 marker.data(), markerSize);
        if (!hit)
            return nullptr;
        const unsigned char* record = static_cast<const unsigned char*>(hit);
        if (DecodeRecord(record, out))
            return record;
        from = record + 1;
    }
    return nullptr;
}

}  // namespace

bool ReadVersionRecord(const std::string& path, SVersionRecord& out)
{
    out = SVersionRecord();
    std::ifstream file(path, std::ios::binary);
    if (!file)
        return false;
    const auto marker = Marker();
    constexpr std::size_t chunk = 1 << 20;
    std::vector<unsigned char> buffer(chunk + recordSize);
    std::size_t kept = 0;          // tail of the previous chunk that a record may straddle
    std::streamoff bufferAt = 0;   // file offset of the buffer's first byte
    for (;;) {
        file.read(reinterpret_cast<char*>(buffer.data() + kept), static_cast<std::streamsize>(chunk));
        const std::size_t size = kept + static_cast<std::size_t>(file.gcount());
        SFileVersion version;
        if (const unsigned char* record = FindRecord(buffer.data(), size, marker, version)) {
            out.fileVersion = version;
            out.productVersion = version;
            // The rest may lie beyond this chunk: read it from the file on its own.
            std::vector<unsigned char> rest(restHeaderSize + maxRestSize);
            file.clear();
            file.seekg(bufferAt + (record - buffer.data()) + static_cast<std::streamoff>(recordSize));
            file.read(reinterpret_cast<char*>(rest.data()), static_cast<std::streamsize>(rest.size()));
            DecodeRest(rest.data(), static_cast<std::size_t>(std::max<std::streamsize>(file.gcount(), 0)), out);
            return true;
        }
        if (!file)
            return false;
        const std::size_t next = std::min(size, recordSize - 1);
        bufferAt += static_cast<std::streamoff>(size - next);
        kept = next;
        std::memmove(buffer.data(), buffer.data() + size - kept, kept);
    }
}

bool ReadFileVersion(const std::string& path, SFileVersion& out)
{
    SVersionRecord record;
    const bool found = ReadVersionRecord(path, record);
    out = record.fileVersion;
    return found;
}

std::string VersionRecordBytes(const SFileVersion& version)
{
    const auto marker = Marker();
    std::string record(marker.begin(), marker.end());
    for (const unsigned value : version.part)
        AppendWord(record, value);
    for (const unsigned value : version.part)
        AppendWord(record, ~value & 0xFFFF);
    return record;
}

std::string VersionRecordBytes(const SVersionRecord& record)
{
    std::string body;
    for (const unsigned value : record.productVersion.part)
        AppendWord(body, value);
    for (const std::uint32_t value : {record.fileFlags, record.fileOs, record.fileType, record.fileSubtype}) {
        AppendWord(body, value & 0xFFFF);
        AppendWord(body, value >> 16);
    }
    for (const std::string* text : {&record.companyName, &record.productName, &record.fileDescription}) {
        // A zero byte ends the text.
        body.append(text->substr(0, std::min(text->find('\0'), SVersionRecord::MaxText)));
        body += '\0';
    }
    std::string bytes = VersionRecordBytes(record.fileVersion);
    AppendWord(bytes, static_cast<unsigned>(body.size()));
    AppendWord(bytes, ~static_cast<unsigned>(body.size()) & 0xFFFF);
    return bytes + body;
}

SFileVersion GetProgramVersion()
{
    return GetProgramVersionRecord().fileVersion;
}

SVersionRecord GetProgramVersionRecord()
{
    SVersionRecord record;
    if (!zephrin_version_record || std::memcmp(zephrin_version_record, Marker().data(), markerSize) != 0 ||
        !DecodeRecord(zephrin_version_record, record.fileVersion))
        return record;
    record.productVersion = record.fileVersion;
    // A compiled-in record always carries its rest, so its length can be trusted to read.
    const unsigned char* rest = zephrin_version_record + recordSize;
    if ((Word(rest) ^ Word(rest + 2)) == 0xFFFF)
        DecodeRest(rest, restHeaderSize + Word(rest), record);
    return record;
}

}  // namespace Platform
