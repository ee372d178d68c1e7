// Archives that lie about their items, made from honest ones.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <string>

// Sets the uncompressed size of the archive's first item in its local header and in its central
// directory entry.
inline void DeclareSize(std::string& archive, uint32_t size)
{
    const struct {
        const char* signature;
        size_t offset;
    } fields[] = {{"PK\x03\x04", 22}, {"PK\x01\x02", 24}};
    for (const auto& field : fields) {
        const size_t at = archive.find(field.signature);
        ASSERT_NE(at, std::string::npos);
        for (int byte = 0; byte < 4; ++byte)
            archive[at + field.offset + byte] = static_cast<char>((size >> (8 * byte)) & 0xff);
    }
}
