#include "Renovix/RenovixLib/ZipArchive.h"

#include "Renovix/RenovixLib/ZipReader.h"

#include <cstring>
#include <memory>
#include <new>

namespace {

constexpr int kOpenedForReading = 1;

thread_local int g_lastResult = ZIP_RESULT_OK;

int Keep(int result)
{
    g_lastResult = result;
    return result;
}

// ZIP_RESULT_OK when archive is a handle this front end opened.
int CheckHandle(HZIP archive)
{
    if (archive == nullptr)
        return ZIP_RESULT_ARGUMENTS;
    if (archive->kind != kOpenedForReading || archive->reader == nullptr)
        return ZIP_RESULT_MIXED_MODES;
    return ZIP_RESULT_OK;
}

const char* ResultText(int code)
{
    switch (code) {
    case ZIP_RESULT_OK: return "Success";
    case ZIP_RESULT_DUPLICATE_FAILED: return "Culdn't duplicate handle";
    case ZIP_RESULT_NO_FILE: return "Couldn't create/open file";
    case ZIP_RESULT_NO_MEMORY: return "Failed to allocate memory";
    case ZIP_RESULT_WRITE: return "Error writing to file";
    case ZIP_RESULT_NOT_FOUND: return "File not found in the zipfile";
    case ZIP_RESULT_MORE: return "Still more data to unzip";
    case ZIP_RESULT_CORRUPT: return "Zipfile is corrupt or not a zipfile";
    case ZIP_RESULT_READ: return "Error reading file";
    case ZIP_RESULT_ARGUMENTS: return "Caller: faulty arguments";
    case ZIP_RESULT_NOT_MEMORY_ARCHIVE: return "Caller: can only get memory of a memory zipfile";
    case ZIP_RESULT_MEMORY_SIZE: return "Caller: not enough space allocated for memory zipfile";
    case ZIP_RESULT_FAILED_BEFORE: return "Caller: there was a previous error";
    case ZIP_RESULT_ENDED: return "Caller: additions to the zip have already been ended";
    case ZIP_RESULT_MISSIZE: return "Zip-bug: the anticipated size turned out wrong";
    case ZIP_RESULT_PARTIALLY_UNZIPPED: return "Caller: the file had already been partially unzipped";
    case ZIP_RESULT_MIXED_MODES: return "Caller: mixing creation and opening of zip";
    case ZIP_RESULT_NOT_INITIALISED: return "Zip-bug: internal initialisation not completed";
    case ZIP_RESULT_UNSEEKABLE: return "Zip-bug: trying to seek the unseekable";
    case ZIP_RESULT_NO_CHANGE: return "Zip-bug: tried to change mind, but not allowed";
    case ZIP_RESULT_FLATE: return "Zip-bug: an internal error during flation";
    default: return "unknown zip result code";
    }
}

}  // namespace

HZIP ZipOpenArchive(const void* data, size_t length, int kind)
{
    int result = ZIP_RESULT_OK;
    std::unique_ptr<ZipSource> source;
    if (data == nullptr)
        result = ZIP_RESULT_ARGUMENTS;
    else if (kind == ZIP_KIND_DESCRIPTOR)
        source = ZipSource::FromDescriptor(*static_cast<const int*>(data), result);
    else if (kind == ZIP_KIND_FILE_NAME)
        source = ZipSource::FromFile(static_cast<const char*>(data), result);
    else if (kind == ZIP_KIND_MEMORY)
        source = ZipSource::FromMemory(data, length);
    else
        result = ZIP_RESULT_ARGUMENTS;
    if (!source) {
        Keep(result);
        return nullptr;
    }
    std::unique_ptr<ZipReader> reader(new ZipReader());
    result = reader->Open(std::move(source));
    Keep(result);
    if (result != ZIP_RESULT_OK)
        return nullptr;
    return new ZipArchiveHandle{kOpenedForReading, reader.release()};
}

int ZipGetItem(HZIP archive, int index, ZipItemInfo& item)
{
    const int result = CheckHandle(archive);
    return Keep(result != ZIP_RESULT_OK ? result : archive->reader->GetItem(index, item));
}

int ZipFindItem(HZIP archive, const char* name, bool ignoreCase, int& index, ZipItemInfo* item)
{
    index = -1;
    int result = CheckHandle(archive);
    if (result == ZIP_RESULT_OK && name == nullptr)
        result = ZIP_RESULT_ARGUMENTS;
    return Keep(result != ZIP_RESULT_OK ? result : archive->reader->FindItem(name, ignoreCase, index, item));
}

int ZipUnzipItem(HZIP archive, int index, void* destination, size_t length, int kind, size_t* written)
{
    if (written)
        *written = 0;
    int result = CheckHandle(archive);
    if (result == ZIP_RESULT_OK && destination == nullptr)
        result = ZIP_RESULT_ARGUMENTS;
    if (result != ZIP_RESULT_OK)
        return Keep(result);
    ZipReader& reader = *archive->reader;
    // A result code, never an end of the program, when memory runs short.
    try {
        switch (kind) {
        case ZIP_KIND_DESCRIPTOR: return Keep(reader.UnzipToDescriptor(index, *static_cast<const int*>(destination)));
        case ZIP_KIND_FILE_NAME: return Keep(reader.UnzipToFile(index, static_cast<const char*>(destination)));
        case ZIP_KIND_MEMORY: return Keep(reader.UnzipToMemory(index, destination, length, written));
        default: return Keep(ZIP_RESULT_ARGUMENTS);
        }
    } catch (const std::bad_alloc&) {
        return Keep(ZIP_RESULT_NO_MEMORY);
    }
}

int ZipCloseArchive(HZIP archive)
{
    const int result = CheckHandle(archive);
    if (result != ZIP_RESULT_OK)
        return Keep(result);
    delete archive->reader;
    delete archive;
    return Keep(ZIP_RESULT_OK);
}

size_t ZipFormatResult(int code, char* buffer, size_t size)
{
    const char* text = ResultText(code == 1 ? g_lastResult : code);
    const size_t length = std::strlen(text);
    if (buffer != nullptr && size > 0) {
        const size_t copied = length < size ? length : size - 1;
        std::memcpy(buffer, text, copied);
        buffer[copied] = '\0';
    }
    return length;
}
