// What the zip reader tells about one item of an archive.
#pragma once

#include <cstdint>
#include <ctime>
#include <string>

// Attribute bits of an item, as the archive's makers' systems know them.
enum EZipAttribute : unsigned long {
    ZIP_ATTRIBUTE_READONLY = 0x01,
    ZIP_ATTRIBUTE_HIDDEN = 0x02,
    ZIP_ATTRIBUTE_SYSTEM = 0x04,
    ZIP_ATTRIBUTE_DIRECTORY = 0x10,
    ZIP_ATTRIBUTE_ARCHIVE = 0x20,
    ZIP_ATTRIBUTE_NORMAL = 0x80,
};

struct ZipItemInfo {
    // Position in the archive; for the query of item -1 the number of items.
    int index = 0;
    // The path as stored in the archive.
    std::string name;
    unsigned long attributes = 0;
    // Permission bits of an item made on a Unix system; 0 for any other maker.
    unsigned unixMode = 0;
    // The stored times; the modification time also stands for the others when the item keeps
    // only that one.
    std::time_t accessTime = 0;
    std::time_t creationTime = 0;
    std::time_t modificationTime = 0;
    uint64_t compressedSize = 0;
    uint64_t uncompressedSize = 0;

    bool IsDirectory() const { return (attributes & ZIP_ATTRIBUTE_DIRECTORY) != 0; }
};
