#include "text/url_md5.h"

#include <openssl/evp.h>

#include "text/convert.h"

namespace lumoset {

namespace {

constexpr char upperHex[] = "0123456789ABCDEF";
constexpr char lowerHex[] = "0123456789abcdef";

bool isPlain(unsigned char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-' ||
           c == '.';
}

}  // namespace

Text urlEncode(const Text& text, bool keepPlain, bool asUtf8) {
    const Text bytes = asUtf8 ? toUtf8Text(text) : text;
    Text out(bytes.size() * 3, '\0');
    char* to = out.data();
    for (const char byte : bytes) {
        const auto c = static_cast<unsigned char>(byte);
        if (keepPlain && isPlain(c)) {
            *to++ = byte;
        } else {
            *to++ = '%';
            *to++ = upperHex[c >> 4];
            *to++ = upperHex[c & 15];
        }
    }
    out.resize(static_cast<std::size_t>(to - out.data()));
    return out;
}

Text md5Hex(const Text& text, bool asUtf8, bool upperCase, bool middle16) {
    const Text bytes = asUtf8 ? toUtf8Text(text) : text;
    // Fetched explicitly outside the FIPS provider: a system whose default properties ask for
    // FIPS would otherwise refuse MD5 and every signature would come out empty.
    EVP_MD* md5 = EVP_MD_fetch(nullptr, "MD5", "-fips");
    if (md5 == nullptr) {
        return {};
    }
    unsigned char digest[EVP_MAX_MD_SIZE];
    unsigned int length = 0;
    const bool ok = EVP_Digest(bytes.data(), bytes.size(), digest, &length, md5, nullptr) == 1;
    EVP_MD_free(md5);
    if (!ok) {
        return {};
    }
    const char* hex = upperCase ? upperHex : lowerHex;
    Text out;
    out.reserve(length * 2);
    for (unsigned int i = 0; i < length; ++i) {
        out.push_back(hex[digest[i] >> 4]);
        out.push_back(hex[digest[i] & 15]);
    }
    if (middle16) {
        return out.size() >= 24 ? out.substr(8, 16) : Text();
    }
    return out;
}

}  // namespace lumoset
