// URL encoding, the MD5 digest and Base64 on arbitrary bytes: results decode back to the input
// and Base64 agrees with OpenSSL's encoder.
#include <openssl/evp.h>

#include "tests/fuzz/fuzz_check.h"
#include "text/base64.h"
#include "text/url_md5.h"

namespace {

using lumoset::fuzz::check;

int hexValue(char c) {
    return c >= '0' && c <= '9' ? c - '0' : c >= 'A' && c <= 'F' ? c - 'A' + 10 : -1;
}

std::string percentDecode(const std::string& text) {
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '%') {
            out.push_back(text[i]);
            continue;
        }
        check(i + 2 < text.size() && hexValue(text[i + 1]) >= 0 && hexValue(text[i + 2]) >= 0);
        out.push_back(static_cast<char>(hexValue(text[i + 1]) * 16 + hexValue(text[i + 2])));
        i += 2;
    }
    return out;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace lumoset;
    const Text text(reinterpret_cast<const char*>(data), size);

    check(percentDecode(urlEncode(text, true)) == text);
    check(urlEncode(text).size() == 3 * size);
    check(urlEncode(text, size % 2 == 0, true).size() >= size);

    check(md5Hex(text).size() == 32 && md5Hex(text, true, true, true).size() == 16);

    const Text encoded = base64Encode(Bytes(data, data + size));
    std::string reference(4 * ((size + 2) / 3) + 1, '\0');
    reference.resize(static_cast<std::size_t>(EVP_EncodeBlock(
        reinterpret_cast<unsigned char*>(reference.data()), data, static_cast<int>(size))));
    check(encoded == reference);
    return 0;
}
