// MD5 digests as the update list writes them: 32 lower-case hex digits.
#pragma once

#include <md5.h>

#include <cstddef>
#include <string>

class CMd5Digest {
public:
    CMd5Digest() { MD5Init(&m_context); }

    void Add(const void* bytes, size_t count) { MD5Update(&m_context, static_cast<const uint8_t*>(bytes), count); }
    // Ends the digest; call once.
    std::string Hex();

    static std::string Of(const std::string& bytes);

private:
    MD5_CTX m_context;
};
