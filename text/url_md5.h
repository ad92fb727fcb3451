// Preparing request parameters: percent-encoding and MD5 digests as hexadecimal text.
#pragma once

#include "text/types.h"

namespace lumoset {

// Percent-encodes every byte of `text` as "%" and two upper-case hex digits. With `keepPlain`
// the ASCII letters, digits, "-" and "." pass unchanged. With `asUtf8` the UTF-8 bytes of the
// GBK text are encoded instead of the GBK bytes.
Text urlEncode(const Text& text, bool keepPlain = false, bool asUtf8 = false);

// The MD5 digest of the bytes of `text` (of its UTF-8 bytes with `asUtf8`) as 32 hex digits,
// lower case unless `upperCase`; with `middle16` only digits 9 to 24. Empty when no digest
// can be computed.
Text md5Hex(const Text& text, bool asUtf8 = false, bool upperCase = false, bool middle16 = false);

}  // namespace lumoset
