// The text encodings the speech library reads and writes, through ICU converters.
#pragma once

#include <string>
#include <string_view>

namespace lumoset::msc {

// The ICU converter for an encoding name (GB2312, GBK, BIG5, UNICODE, GB18030, UTF8; any case),
// or empty when the name is unknown. GB2312 text is read as GBK, its superset, so a GBK-only
// character in text declared GB2312 still speaks; UNICODE is UTF-16 little-endian.
std::string converterFor(std::string_view encoding);

// Decodes `bytes` strictly: false when they are not valid in the encoding. A leading byte-order
// mark is dropped.
bool decodeToUtf8(const std::string& converter, std::string_view bytes, std::string& utf8);

// Encodes UTF-8 text; characters the encoding lacks become "?". UTF-16 output ends with two
// zero bytes so it stays terminated as UTF-16.
std::string encodeFromUtf8(const std::string& converter, std::string_view utf8);

}  // namespace lumoset::msc
