#include "Renovix/RenovixLib/Md5Digest.h"

std::string CMd5Digest::Hex()
{
    uint8_t digest[MD5_DIGEST_LENGTH];
    MD5Final(digest, &m_context);
    static const char kHex[] = "0123456789abcdef";
    std::string text;
    for (uint8_t byte : digest) {
        text += kHex[byte >> 4];
        text += kHex[byte & 15];
    }
    return text;
}

std::string CMd5Digest::Of(const std::string& bytes)
{
    CMd5Digest digest;
    digest.Add(bytes.data(), bytes.size());
    return digest.Hex();
}
