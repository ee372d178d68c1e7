#include "Renovix/RenovixLib/ZipSource.h"

#include "Renovix/RenovixLib/ZipResult.h"

#include <minizip/ioapi.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

voidpf OpenSource(voidpf, const void* source, int)
{
    return const_cast<void*>(source);
}

uLong ReadSource(voidpf, voidpf stream, void* buffer, uLong size)
{
    return static_cast<uLong>(static_cast<ZipSource*>(stream)->Read(buffer, size));
}

uLong WriteSource(voidpf, voidpf, const void*, uLong)
{
    return 0;
}

ZPOS64_T TellSource(voidpf, voidpf stream)
{
    return static_cast<ZipSource*>(stream)->Tell();
}

long SeekSource(voidpf, voidpf stream, ZPOS64_T offset, int origin)
{
    // minizip passes negative offsets from the end as their two's complement.
    return static_cast<ZipSource*>(stream)->Seek(static_cast<int64_t>(offset), origin);
}

// The archive object frees the source, not minizip.
int CloseSource(voidpf, voidpf)
{
    return 0;
}

int SourceError(voidpf, voidpf stream)
{
    return static_cast<ZipSource*>(stream)->HasError() ? 1 : 0;
}

}  // namespace

ZipSource::~ZipSource()
{
    if (m_descriptor >= 0)
        close(m_descriptor);
}

std::unique_ptr<ZipSource> ZipSource::FromDescriptor(int descriptor, int& result)
{
    struct stat info;
    if (fstat(descriptor, &info) != 0) {
        result = ZIP_RESULT_DUPLICATE_FAILED;
        return nullptr;
    }
    // Archives are read from the back; a pipe or socket cannot be.
    if (!S_ISREG(info.st_mode)) {
        result = ZIP_RESULT_UNSEEKABLE;
        return nullptr;
    }
    const off_t start = lseek(descriptor, 0, SEEK_CUR);
    const int own = fcntl(descriptor, F_DUPFD_CLOEXEC, 0);
    if (own < 0 || start < 0) {
        if (own >= 0)
            close(own);
        result = ZIP_RESULT_DUPLICATE_FAILED;
        return nullptr;
    }
    std::unique_ptr<ZipSource> source(new ZipSource());
    source->m_descriptor = own;
    source->m_start = static_cast<uint64_t>(start);
    source->m_length = static_cast<uint64_t>(info.st_size) > source->m_start ? info.st_size - source->m_start : 0;
    result = ZIP_RESULT_OK;
    return source;
}

std::unique_ptr<ZipSource> ZipSource::FromFile(const std::string& path, int& result)
{
    const int descriptor = open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (descriptor < 0) {
        result = ZIP_RESULT_NO_FILE;
        return nullptr;
    }
    std::unique_ptr<ZipSource> source = FromDescriptor(descriptor, result);
    close(descriptor);
    // A folder or a device by that name is no file to open either.
    if (!source)
        result = ZIP_RESULT_NO_FILE;
    return source;
}

std::unique_ptr<ZipSource> ZipSource::FromMemory(const void* data, size_t length)
{
    std::unique_ptr<ZipSource> source(new ZipSource());
    source->m_memory = static_cast<const unsigned char*>(data);
    source->m_length = data ? length : 0;
    return source;
}

size_t ZipSource::Read(void* buffer, size_t size)
{
    if (m_position >= m_length)
        return 0;
    const uint64_t available = m_length - m_position;
    if (size > available)
        size = static_cast<size_t>(available);
    if (m_descriptor < 0) {
        std::memcpy(buffer, m_memory + m_position, size);
        m_position += size;
        return size;
    }
    // pread keeps the caller's own file position, which a duplicated descriptor shares.
    size_t done = 0;
    while (done < size) {
        const ssize_t count = pread(m_descriptor, static_cast<char*>(buffer) + done, size - done,
                                    static_cast<off_t>(m_start + m_position + done));
        if (count < 0 && errno == EINTR)
            continue;
        if (count < 0) {
            m_error = true;
            break;
        }
        if (count == 0)
            break;
        done += static_cast<size_t>(count);
    }
    m_position += done;
    return done;
}

int ZipSource::Seek(int64_t offset, int origin)
{
    int64_t base;
    switch (origin) {
    case ZLIB_FILEFUNC_SEEK_SET: base = 0; break;
    case ZLIB_FILEFUNC_SEEK_CUR: base = static_cast<int64_t>(m_position); break;
    case ZLIB_FILEFUNC_SEEK_END: base = static_cast<int64_t>(m_length); break;
    default: return -1;
    }
    if ((offset < 0 && base + offset < 0) || (offset > 0 && base > INT64_MAX - offset))
        return -1;
    m_position = static_cast<uint64_t>(base + offset);
    return 0;
}

void ZipSource::FillFunctions(zlib_filefunc64_def& functions)
{
    functions.zopen64_file = OpenSource;
    functions.zread_file = ReadSource;
    functions.zwrite_file = WriteSource;
    functions.ztell64_file = TellSource;
    functions.zseek64_file = SeekSource;
    functions.zclose_file = CloseSource;
    functions.zerror_file = SourceError;
    functions.opaque = nullptr;
}
