#include "Renovix/RenovixLib/ZipReader.h"

#include "Platform/AtomicFile.h"
#include "Platform/WholeFile.h"
#include "Renovix/RenovixLib/RenovixLimits.h"
#include "Renovix/RenovixLib/ZipResult.h"

#include <minizip/unzip.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <fcntl.h>
#include <functional>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace {

constexpr size_t kChunkSize = 16384;
// What an item may give beyond its declared size before it counts as lying about it.
constexpr uint64_t kDeclaredSizeMargin = 64 * 1024;
// Permission bits an item may give its file: nobody but the owner may write.
constexpr unsigned kItemModeMask = 0755;
constexpr unsigned kMadeOnUnix = 3;
// External attribute bits: the DOS attributes in the low byte, a Unix mode in the high word.
constexpr unsigned long kUnixDirectory = 0x40000000;
constexpr unsigned long kUnixOwnerWrite = 0x00800000;

unzFile Zip(void* handle)
{
    return static_cast<unzFile>(handle);
}

uint16_t Little16(const unsigned char* p)
{
    return static_cast<uint16_t>(p[0] | (p[1] << 8));
}

uint32_t Little32(const unsigned char* p)
{
    return static_cast<uint32_t>(p[0]) | static_cast<uint32_t>(p[1]) << 8 | static_cast<uint32_t>(p[2]) << 16 |
           static_cast<uint32_t>(p[3]) << 24;
}

// The Unix times of an "UT" extra block: modification, access and creation time, each present
// when its flag bit is set. Every read stays inside the field, whatever its blocks claim.
void ReadUnixTimes(const std::vector<unsigned char>& extra, ZipItemInfo& item)
{
    size_t at = 0;
    while (at + 4 <= extra.size()) {
        const uint16_t tag = Little16(&extra[at]);
        const size_t size = Little16(&extra[at + 2]);
        const size_t data = at + 4;
        if (size > extra.size() - data)
            return;
        if (tag == 0x5455 && size >= 1) {
            const unsigned flags = extra[data];
            std::time_t* const times[] = {&item.modificationTime, &item.accessTime, &item.creationTime};
            size_t field = data + 1;
            for (unsigned bit = 0; bit < 3; ++bit) {
                if ((flags & (1u << bit)) == 0)
                    continue;
                if (field + 4 > data + size)
                    return;
                *times[bit] = static_cast<std::time_t>(Little32(&extra[field]));
                field += 4;
            }
            return;
        }
        at = data + size;
    }
}

}  // namespace

ZipReader::~ZipReader()
{
    Close();
}

int ZipReader::Open(std::unique_ptr<ZipSource> source)
{
    Close();
    char folder[PATH_MAX];
    m_root = getcwd(folder, sizeof folder) ? std::string(folder) + "/" : std::string("./");

    zlib_filefunc64_def functions;
    ZipSource::FillFunctions(functions);
    unzFile zip = unzOpen2_64(source.get(), &functions);
    if (zip == nullptr)
        return ZIP_RESULT_NO_FILE;
    unz_global_info64 info;
    if (unzGetGlobalInfo64(zip, &info) != UNZ_OK) {
        unzClose(zip);
        return ZIP_RESULT_NO_FILE;
    }
    m_zip = zip;
    m_source = std::move(source);
    m_count = static_cast<int>(std::min<ZPOS64_T>(info.number_entry, INT_MAX - 1));
    m_current = 0;
    return ZIP_RESULT_OK;
}

void ZipReader::Close()
{
    CloseMemoryItem();
    if (m_zip)
        unzClose(Zip(m_zip));
    m_zip = nullptr;
    m_source.reset();
    m_count = 0;
    m_cachedIndex = -1;
}

void ZipReader::CloseMemoryItem()
{
    if (m_memoryItem >= 0)
        unzCloseCurrentFile(Zip(m_zip));
    m_memoryItem = -1;
}

int ZipReader::GoTo(int index)
{
    // After a failed step minizip stands nowhere; start again from the first item.
    if (m_current < 0 || index < m_current) {
        m_current = -1;
        if (unzGoToFirstFile(Zip(m_zip)) != UNZ_OK)
            return ZIP_RESULT_CORRUPT;
        m_current = 0;
    }
    while (m_current < index) {
        if (unzGoToNextFile(Zip(m_zip)) != UNZ_OK) {
            m_current = -1;
            return ZIP_RESULT_CORRUPT;
        }
        ++m_current;
    }
    return ZIP_RESULT_OK;
}

int ZipReader::GetItem(int index, ZipItemInfo& item)
{
    if (m_zip == nullptr || index < -1 || index >= m_count)
        return ZIP_RESULT_ARGUMENTS;
    CloseMemoryItem();
    if (index == -1) {
        item = ZipItemInfo();
        item.index = m_count;
        return ZIP_RESULT_OK;
    }
    if (index == m_cachedIndex) {
        item = m_cached;
        return ZIP_RESULT_OK;
    }
    int result = GoTo(index);
    if (result == ZIP_RESULT_OK)
        result = ReadItem(index, item);
    if (result != ZIP_RESULT_OK)
        return result;
    m_cached = item;
    m_cachedIndex = index;
    return ZIP_RESULT_OK;
}

int ZipReader::ReadItem(int index, ZipItemInfo& item)
{
    unzFile zip = Zip(m_zip);
    unz_file_info64 info;
    if (unzGetCurrentFileInfo64(zip, &info, nullptr, 0, nullptr, 0, nullptr, 0) != UNZ_OK)
        return ZIP_RESULT_CORRUPT;
    std::vector<char> name(info.size_filename + 1, '\0');
    if (unzGetCurrentFileInfo64(zip, &info, name.data(), static_cast<uLong>(name.size()), nullptr, 0, nullptr, 0) !=
        UNZ_OK)
        return ZIP_RESULT_CORRUPT;

    // The local header's extra field, which holds all the times the item keeps.
    if (unzOpenCurrentFile2(zip, nullptr, nullptr, 1) != UNZ_OK)
        return ZIP_RESULT_CORRUPT;
    const int extraSize = unzGetLocalExtrafield(zip, nullptr, 0);
    std::vector<unsigned char> extra(extraSize > 0 ? extraSize : 0);
    const int extraRead = extra.empty() ? 0 : unzGetLocalExtrafield(zip, extra.data(), static_cast<unsigned>(extra.size()));
    unzCloseCurrentFile(zip);
    if (extraSize < 0 || extraRead != static_cast<int>(extra.size()))
        return ZIP_RESULT_READ;

    item = ZipItemInfo();
    item.index = index;
    item.name = name.data();

    const unsigned long a = info.external_fa;
    const bool madeOnUnix = (info.version >> 8) == kMadeOnUnix;
    item.attributes = ZIP_ATTRIBUTE_NORMAL;
    if ((a & kUnixDirectory) || (a & ZIP_ATTRIBUTE_DIRECTORY) || (!item.name.empty() && item.name.back() == '/'))
        item.attributes |= ZIP_ATTRIBUTE_DIRECTORY;
    item.attributes |= a & (ZIP_ATTRIBUTE_ARCHIVE | ZIP_ATTRIBUTE_HIDDEN | ZIP_ATTRIBUTE_SYSTEM);
    // Only a Unix maker stores a mode; a DOS maker leaves those bits clear, which must not read
    // as "nobody may write".
    if ((a & ZIP_ATTRIBUTE_READONLY) || (madeOnUnix && (a & kUnixOwnerWrite) == 0))
        item.attributes |= ZIP_ATTRIBUTE_READONLY;
    item.unixMode = madeOnUnix ? static_cast<unsigned>((a >> 16) & 07777) : 0;

    // DOS times are local times.
    std::tm tm{};
    tm.tm_year = static_cast<int>(info.tmu_date.tm_year) - 1900;
    tm.tm_mon = static_cast<int>(info.tmu_date.tm_mon);
    tm.tm_mday = static_cast<int>(info.tmu_date.tm_mday);
    tm.tm_hour = static_cast<int>(info.tmu_date.tm_hour);
    tm.tm_min = static_cast<int>(info.tmu_date.tm_min);
    tm.tm_sec = static_cast<int>(info.tmu_date.tm_sec);
    tm.tm_isdst = -1;
    const std::time_t dosTime = std::mktime(&tm);
    item.accessTime = item.creationTime = item.modificationTime = dosTime;
    ReadUnixTimes(extra, item);

    item.compressedSize = info.compressed_size;
    item.uncompressedSize = info.uncompressed_size;
    return ZIP_RESULT_OK;
}

int ZipReader::FindItem(const std::string& name, bool ignoreCase, int& index, ZipItemInfo* item)
{
    index = -1;
    if (item) {
        *item = ZipItemInfo();
        item->index = -1;
    }
    if (m_zip == nullptr)
        return ZIP_RESULT_ARGUMENTS;
    CloseMemoryItem();
    // minizip stays on its item when the name is not found.
    if (unzLocateFile(Zip(m_zip), name.c_str(), ignoreCase ? 2 : 1) != UNZ_OK)
        return ZIP_RESULT_NOT_FOUND;
    unz_file_pos position;
    if (unzGetFilePos(Zip(m_zip), &position) != UNZ_OK) {
        m_current = -1;
        return ZIP_RESULT_CORRUPT;
    }
    m_current = static_cast<int>(position.num_of_file);
    index = m_current;
    return item ? GetItem(index, *item) : ZIP_RESULT_OK;
}

bool ZipReader::IsSafeRelativePath(const std::string& path)
{
    if (path.empty() || path[0] == '/' || (path.size() >= 2 && path[1] == ':') ||
        path.find('\\') != std::string::npos || path.find('\0') != std::string::npos)
        return false;
    size_t start = 0;
    while (start <= path.size()) {
        const size_t end = std::min(path.find('/', start), path.size());
        if (path.compare(start, end - start, "..") == 0)
            return false;
        start = end + 1;
    }
    return true;
}

void ZipReader::MakeFolders(const std::string& relativePath) const
{
    // Errors are found when the file is written.
    for (size_t end = relativePath.find('/'); ; end = relativePath.find('/', end + 1)) {
        const std::string folder = relativePath.substr(0, end);
        if (!folder.empty())
            mkdir((m_root + folder).c_str(), 0755);
        if (end == std::string::npos)
            break;
    }
}

namespace {

// Reads the item minizip stands on to its end into sink: ZIP_RESULT_WRITE for damaged data (its
// checksum wrong or its bytes fewer than declared) and for a sink that fails, ZIP_RESULT_MISSIZE
// as soon as the item gives more than it declares or than the ceiling.
int CopyItem(unzFile zip, uint64_t declared, const std::function<bool(const char*, size_t)>& sink)
{
    if (declared > kRenovixFileCeiling)
        return ZIP_RESULT_MISSIZE;
    const uint64_t limit = std::min(declared + kDeclaredSizeMargin, kRenovixFileCeiling);
    if (unzOpenCurrentFile(zip) != UNZ_OK)
        return ZIP_RESULT_WRITE;
    std::vector<char> buffer(kChunkSize);
    uint64_t total = 0;
    int result = ZIP_RESULT_OK;
    for (;;) {
        const int count = unzReadCurrentFile(zip, buffer.data(), static_cast<unsigned>(buffer.size()));
        if (count == 0)
            break;
        if (count < 0) {
            result = ZIP_RESULT_WRITE;
            break;
        }
        total += static_cast<uint64_t>(count);
        if (total > limit) {
            result = ZIP_RESULT_MISSIZE;
            break;
        }
        if (!sink(buffer.data(), static_cast<size_t>(count))) {
            result = ZIP_RESULT_WRITE;
            break;
        }
    }
    // minizip compares the checksum only of an item read to its declared end.
    const int closed = unzCloseCurrentFile(zip);
    if (result == ZIP_RESULT_OK && (closed != UNZ_OK || total < declared))
        result = ZIP_RESULT_WRITE;
    return result;
}

}  // namespace

int ZipReader::UnzipToFile(int index, const std::string& destination)
{
    if (m_zip == nullptr || index < 0 || index >= m_count || destination.empty())
        return ZIP_RESULT_ARGUMENTS;
    ZipItemInfo item;
    int result = GetItem(index, item);
    if (result != ZIP_RESULT_OK)
        return result;
    if (item.IsDirectory()) {
        if (!IsSafeRelativePath(item.name))
            return ZIP_RESULT_NO_FILE;
        MakeFolders(item.name);
        return ZIP_RESULT_OK;
    }

    const size_t slash = destination.rfind('/');
    if (slash != std::string::npos && slash > 0 && IsSafeRelativePath(destination.substr(0, slash)))
        MakeFolders(destination.substr(0, slash));
    const std::string target = destination[0] == '/' ? destination : m_root + destination;

    result = GoTo(index);
    if (result != ZIP_RESULT_OK)
        return result;
    // Streamed into a file beside the target and renamed over it: a program file is either the
    // old one or the new one, and a large item never sits in memory.
    int copied = ZIP_RESULT_OK;
    const auto produce = [this, &item, &copied](const CAtomicFile::Sink& sink) {
        copied = CopyItem(Zip(m_zip), item.uncompressedSize, sink);
        return copied == ZIP_RESULT_OK;
    };
    if (!CAtomicFile::WriteFrom(target, produce, nullptr))
        return copied != ZIP_RESULT_OK ? copied : ZIP_RESULT_NO_FILE;
    // The owner may always write, so the next update can replace the file.
    if (item.unixMode != 0)
        chmod(target.c_str(), (item.unixMode & kItemModeMask) | S_IWUSR);
    const timespec times[2] = {{item.accessTime, 0}, {item.modificationTime, 0}};
    utimensat(AT_FDCWD, target.c_str(), times, 0);
    return ZIP_RESULT_OK;
}

int ZipReader::UnzipToDescriptor(int index, int descriptor)
{
    if (m_zip == nullptr || index < 0 || index >= m_count || descriptor < 0)
        return ZIP_RESULT_ARGUMENTS;
    ZipItemInfo item;
    int result = GetItem(index, item);
    if (result != ZIP_RESULT_OK || item.IsDirectory())
        return result;
    result = GoTo(index);
    if (result != ZIP_RESULT_OK)
        return result;
    result = CopyItem(Zip(m_zip), item.uncompressedSize,
                      [descriptor](const char* data, size_t size) { return Platform::WriteAll(descriptor, data, size); });
    if (result != ZIP_RESULT_OK)
        return result;
    struct stat info;
    if (fstat(descriptor, &info) == 0 && S_ISREG(info.st_mode)) {
        const timespec times[2] = {{item.accessTime, 0}, {item.modificationTime, 0}};
        futimens(descriptor, times);
    }
    return ZIP_RESULT_OK;
}

int ZipReader::UnzipToMemory(int index, void* buffer, size_t length, size_t* written)
{
    if (written)
        *written = 0;
    if (m_zip == nullptr || buffer == nullptr || length == 0)
        return ZIP_RESULT_ARGUMENTS;
    if (index != m_memoryItem) {
        CloseMemoryItem();
        if (index < 0 || index >= m_count)
            return ZIP_RESULT_ARGUMENTS;
        const int result = GoTo(index);
        if (result != ZIP_RESULT_OK)
            return result;
        if (unzOpenCurrentFile(Zip(m_zip)) != UNZ_OK)
            return ZIP_RESULT_CORRUPT;
        m_memoryItem = index;
    }
    const unsigned chunk = static_cast<unsigned>(std::min<size_t>(length, 1u << 30));
    const int count = unzReadCurrentFile(Zip(m_zip), buffer, chunk);
    if (count > 0) {
        if (written)
            *written = static_cast<size_t>(count);
        return ZIP_RESULT_MORE;
    }
    // The checksum is compared when the item is closed at its end.
    const int closed = unzCloseCurrentFile(Zip(m_zip));
    m_memoryItem = -1;
    return count < 0 || closed != UNZ_OK ? ZIP_RESULT_FLATE : ZIP_RESULT_OK;
}
