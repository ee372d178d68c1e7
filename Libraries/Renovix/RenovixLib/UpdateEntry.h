// One file or folder of the update list: where it lies on the server, where it goes, and what
// decides whether the installed one is replaced. A value record.
#pragma once

#include "Platform/VersionInfo.h"

#include <string>

class TiXmlElement;

enum EUpdateEntryFlag {
    UPDATE_ENTRY_FILE = 0x1,
    UPDATE_ENTRY_DIR = 0x2,
    UPDATE_ENTRY_UPDATE_EXISTING = 0x4,
    UPDATE_ENTRY_IGNORE_HASH = 0x8,
    UPDATE_ENTRY_IGNORE_VERSION = 0x10,
    UPDATE_ENTRY_COMPRESSION_ZIP = 0x20,  // the server holds source + ".zip", item 0 is the file
    UPDATE_ENTRY_WIN_CE = 0x100,          // the target lies on a connected Windows CE device
};

// Processor codes a device reports.
constexpr int kCePlatformAny = 0xFFFF;

class CUpdateEntry {
public:
    // Reads an updateentry element: source, name and destination stored scrambled.
    static CUpdateEntry FromElement(const TiXmlElement& element);

    // The whole text as a decimal integer; 0 for anything else, a number out of range included.
    static int ParseSizeKB(const std::string& text);
    static int ParseFlags(const std::string& text);
    // Up to four numbers separated by '.', missing parts 0.
    static SFileVersion ParseVersion(const std::string& text);
    static int ParseCePlatform(const std::string& text);
    // Lower case, blanks around gone; empty or "*" means every installation, "all". The settings
    // take their package names the same way.
    static std::string ParsePackages(const std::string& text);

    bool Has(int flag) const { return (flags & flag) != 0; }

    std::string id;  // MD5 of source followed by destination when the list gives none
    std::string source;
    std::string destination;
    int sizeKB = 0;
    int flags = 0;
    std::string hash;
    SFileVersion version;
    std::string packages = "all";
    int cePlatform = kCePlatformAny;
};
