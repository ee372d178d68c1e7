// The bytes minizip reads an archive from: an open file (a descriptor, or a file opened by
// name) or a block of memory. Positions count from where the archive starts, so an archive may
// begin in the middle of a file.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

struct zlib_filefunc64_def_s;

class ZipSource {
public:
    ~ZipSource();
    ZipSource(const ZipSource&) = delete;
    ZipSource& operator=(const ZipSource&) = delete;

    // From the descriptor's current position; the caller keeps its descriptor. Null with result
    // set for a descriptor that cannot be duplicated or is no regular file.
    static std::unique_ptr<ZipSource> FromDescriptor(int descriptor, int& result);
    static std::unique_ptr<ZipSource> FromFile(const std::string& path, int& result);
    // The memory is not copied and must outlive the source.
    static std::unique_ptr<ZipSource> FromMemory(const void* data, size_t length);

    // Bytes read; fewer at the end of the data, and 0 with the error mark set on a failed read.
    size_t Read(void* buffer, size_t size);
    uint64_t Tell() const { return m_position; }
    // 0, or -1 for an unknown origin or a position before the start.
    int Seek(int64_t offset, int origin);
    bool HasError() const { return m_error; }

    // minizip's input functions over a source; the source itself is passed as the file name.
    static void FillFunctions(zlib_filefunc64_def_s& functions);

private:
    ZipSource() = default;

    int m_descriptor = -1;  // -1: memory
    uint64_t m_start = 0;   // offset of the archive in the file
    const unsigned char* m_memory = nullptr;
    uint64_t m_length = 0;  // bytes from m_start (memory: the block) to the end
    uint64_t m_position = 0;
    bool m_error = false;
};
