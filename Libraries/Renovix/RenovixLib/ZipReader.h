// One open zip archive: lists, finds and extracts its items. The archive format itself is read
// by minizip. An item's file goes where the caller names it, any folder the caller may write to;
// only folder items are made under their stored names, and never out of the folder the archive
// was opened in. An item's data is taken up to its declared size and at most the library's
// ceiling (RenovixLimits.h), and streamed, so no item, however large, is held in memory.
#pragma once

#include "Renovix/RenovixLib/ZipItemInfo.h"
#include "Renovix/RenovixLib/ZipSource.h"

#include <memory>
#include <string>

class ZipReader {
public:
    ZipReader() = default;
    ~ZipReader();
    ZipReader(const ZipReader&) = delete;
    ZipReader& operator=(const ZipReader&) = delete;

    // Opens the archive in source; relative destinations are taken under the current folder
    // of this moment. A result code.
    int Open(std::unique_ptr<ZipSource> source);
    void Close();

    // Item index, or for -1 the number of items in item.index.
    int GetItem(int index, ZipItemInfo& item);
    // index -1 and ZIP_RESULT_NOT_FOUND when there is no such item.
    int FindItem(const std::string& name, bool ignoreCase, int& index, ZipItemInfo* item);

    // Writes the item to the destination file, replacing it as a whole; folders of a relative
    // destination are made. A folder item makes its folder under the root. The target is never
    // left read-only; permission bits are taken from items made on Unix systems only, and never
    // make the file writable for group or others. ZIP_RESULT_MISSIZE for an item larger than it
    // declares or than the ceiling; the destination then stays as it was.
    int UnzipToFile(int index, const std::string& destination);
    // Writes the item's bytes to an open file at its current position; the same bounds.
    int UnzipToDescriptor(int index, int descriptor);
    // The item's bytes into buffer, as many as fit: ZIP_RESULT_MORE while bytes remain (the next
    // call continues there), ZIP_RESULT_OK once it was read to the end. *written (when not null)
    // is the number of bytes placed in the buffer.
    int UnzipToMemory(int index, void* buffer, size_t length, size_t* written);

    // A relative path made of plain names: no '..' part, no '\', not absolute, no drive letter.
    static bool IsSafeRelativePath(const std::string& path);

private:
    int GoTo(int index);
    int ReadItem(int index, ZipItemInfo& item);
    void CloseMemoryItem();
    void MakeFolders(const std::string& relativePath) const;

    void* m_zip = nullptr;  // minizip's handle
    std::unique_ptr<ZipSource> m_source;
    int m_count = 0;
    int m_current = 0;      // the item minizip stands on
    int m_memoryItem = -1;  // the item being read to memory
    int m_cachedIndex = -1;
    ZipItemInfo m_cached;
    std::string m_root;     // with a trailing '/'
};
