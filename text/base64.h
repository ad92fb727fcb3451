// Base64 (standard alphabet, always padded, one unbroken line).
#pragma once

#include <cstddef>

#include "text/types.h"

namespace lumoset {

// The Base64 text of `bytes`: 4 * ceil(n / 3) characters, "" for no bytes.
Text base64Encode(const Bytes& bytes);

// The same for a plain buffer.
Text base64Encode(const unsigned char* data, std::size_t size);

}  // namespace lumoset
