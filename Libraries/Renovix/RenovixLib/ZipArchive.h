// Handle-based front end of the zip reader, as the update run uses it: open an archive, query,
// find and extract items, close. Every operation returns a result code of ZipResult.h and keeps
// it as the thread's last result.
#pragma once

#include "Renovix/RenovixLib/ZipItemInfo.h"
#include "Renovix/RenovixLib/ZipResult.h"

#include <cstddef>

class ZipReader;

// Where archive bytes come from, and where extracted bytes go.
enum EZipKind {
    ZIP_KIND_DESCRIPTOR = 1,  // data points to an int holding an open file descriptor
    ZIP_KIND_FILE_NAME = 2,   // data is a zero-terminated path
    ZIP_KIND_MEMORY = 3,      // data is a block of length bytes
};

struct ZipArchiveHandle {
    int kind;  // 1: opened for reading
    ZipReader* reader;
};
using HZIP = ZipArchiveHandle*;

// Null on failure, with nothing left allocated. A memory block is not copied and must outlive
// the handle; a descriptor is duplicated, the caller keeps its own.
HZIP ZipOpenArchive(const void* data, size_t length, int kind);
// Index -1 gives the number of items in item.index.
int ZipGetItem(HZIP archive, int index, ZipItemInfo& item);
int ZipFindItem(HZIP archive, const char* name, bool ignoreCase, int& index, ZipItemInfo* item);
// To a file name, an open descriptor, or a buffer of length bytes (ZIP_RESULT_MORE while bytes
// remain; *written, when not null, tells how many bytes the call placed).
int ZipUnzipItem(HZIP archive, int index, void* destination, size_t length, int kind, size_t* written = nullptr);
int ZipCloseArchive(HZIP archive);

// Copies the text of code (1: the last result) into buffer, cut to size - 1 characters and
// zero-terminated; copies nothing without a buffer or with size 0. Returns the full length.
size_t ZipFormatResult(int code, char* buffer, size_t size);
