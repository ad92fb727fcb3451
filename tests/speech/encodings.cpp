#include "tests/speech/encodings.h"

#include <unicode/ucnv.h>

#include <vector>

namespace lumoset::test {

std::string encodeAs(const std::string& utf8, const std::string& encoding) {
    const std::string name = encoding == "UNICODE" ? "UTF-16LE"
                             : encoding == "BIG5"  ? "windows-950"
                             : encoding == "UTF8"  ? "UTF-8"
                                                   : encoding;
    UErrorCode status = U_ZERO_ERROR;
    std::vector<char> out(utf8.size() * 4 + 8);
    const int32_t length =
        ucnv_convert(name.c_str(), "UTF-8", out.data(), static_cast<int32_t>(out.size()),
                     utf8.data(), static_cast<int32_t>(utf8.size()), &status);
    return U_FAILURE(status) ? std::string() : std::string(out.data(), length);
}

}  // namespace lumoset::test
