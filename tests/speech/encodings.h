// Text in the encodings the speech library reads, for tests.
#pragma once

#include <string>

namespace lumoset::test {

// UTF-8 text in GB2312, GBK, BIG5, UNICODE (UTF-16LE), GB18030 or UTF8.
std::string encodeAs(const std::string& utf8, const std::string& encoding);

inline std::string gbk(const std::string& utf8) {
    return encodeAs(utf8, "GBK");
}

}  // namespace lumoset::test
