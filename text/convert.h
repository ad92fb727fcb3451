// Conversions between GBK (the program's Text), UTF-8 (the web and file-system side) and
// UTF-16 (the toolkit side). Every conversion goes through UTF-16. Nothing fails: bytes that
// can't be decoded become U+FFFD, characters GBK can't hold become "?".
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "text/types.h"

namespace lumoset {

// UTF-8 bytes of GBK `text` followed by one zero byte; empty for an empty text.
Bytes toUtf8(const Text& text);

// GBK text of the UTF-8 `bytes`. A base character followed by combining marks is composed
// into its precomposed character first where one exists (e + U+0301 becomes A8 A6). The
// result ends at its first zero byte, so a zero byte in the input ends the text.
Text fromUtf8(const Bytes& bytes);

// GBK text of a Text holding UTF-8 bytes, ending at its first zero byte.
Text toGbk(const Text& utf8);

// The UTF-8 bytes of GBK `text`, as a Text.
Text toUtf8Text(const Text& text);

// UTF-16 little-endian code units of GBK `text` followed by one zero unit; empty for an empty
// text.
Bytes toUtf16(const Text& text);

// The building blocks of the conversions above, for code that works on UTF-16 itself.

// Decodes GBK bytes. When `byteOffsets` is given it receives, for every code unit, the offset
// of the byte that starts its character, plus `gbk.size()` as a final entry.
std::u16string decodeGbk(std::string_view gbk, std::vector<std::int32_t>* byteOffsets = nullptr);

// Encodes UTF-16 into GBK with "?" for what GBK can't hold; `composeMarks` composes a base
// character and its combining marks into the precomposed character first.
Text encodeGbk(std::u16string_view units, bool composeMarks = false);

std::u16string decodeUtf8(std::string_view utf8);
std::string encodeUtf8(std::u16string_view units);

}  // namespace lumoset
