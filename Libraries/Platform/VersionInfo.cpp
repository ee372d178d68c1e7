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

// First valid record that lies wholly in [data, data + size).
bool FindRecord(const unsigned char* data, std::size_t size,
                const std::array<unsigned char, markerSize>& marker, SFileVersion& out)
{
    const unsigned char* end = data + size;
    const unsigned char* from = data;
    while (static_cast<std::size_t>(end - from) >= recordSize) {
        const void* hit = memmem(from, static_cast<std::size_t>(end - from) - (recordSize - markerSize),
                                 marker.data(), markerSize);
        if (!hit)
            return false;
        const unsigned char* record = static_cast<const unsigned char*>(hit);
        if (DecodeRecord(record, out))
            return true;
        from = record + 1;
    }
    return false;
}

}  // namespace

bool ReadFileVersion(const std::string& path, SFileVersion& out)
{
    out = SFileVersion();
    std::ifstream file(path, std::ios::binary);
    if (!file)
        return false;
    const auto marker = Marker();
    constexpr std::size_t chunk = 1 << 20;
    std::vector<unsigned char> buffer(chunk + recordSize);
    std::size_t kept = 0;  // tail of the previous chunk that a record may straddle
    for (;;) {
        file.read(reinterpret_cast<char*>(buffer.data() + kept), static_cast<std::streamsize>(chunk));
        const std::size_t size = kept + static_cast<std::size_t>(file.gcount());
        if (FindRecord(buffer.data(), size, marker, out))
            return true;
        if (!file)
            return false;
        kept = std::min(size, recordSize - 1);
        std::memmove(buffer.data(), buffer.data() + size - kept, kept);
    }
}

std::string VersionRecordBytes(const SFileVersion& version)
{
    const auto marker = Marker();
    std::string record(marker.begin(), marker.end());
    for (const unsigned value : version.part) {
        record += static_cast<char>(value & 0xFF);
        record += static_cast<char>(value >> 8);
    }
    for (const unsigned value : version.part) {
        record += static_cast<char>(~value & 0xFF);
        record += static_cast<char>((~value >> 8) & 0xFF);
    }
    return record;
}

SFileVersion GetProgramVersion()
{
    SFileVersion version;
    if (zephrin_version_record && std::memcmp(zephrin_version_record, Marker().data(), markerSize) == 0)
        DecodeRecord(zephrin_version_record, version);
    return version;
}

}  // namespace Platform
