// Searching and trimming GBK text the way every marker search of the program does.
#pragma once

#include <cstddef>
#include <string_view>

#include "text/types.h"

namespace lumoset {

inline constexpr std::size_t notFound = static_cast<std::size_t>(-1);

// Finds `marker` in `text` at or after the 0-based `from`, stepping over GBK double-byte
// characters as whole characters: a byte of 128 or more starts a two-byte character and no
// match is tried at its second byte; such a first byte as the last byte ends the search.
// With `ignoreCase` only the ASCII letters compare equal to their other case. An empty marker
// matches at `from` while any text remains there. Returns the 0-based offset or `notFound`.
std::size_t findGbk(std::string_view text, std::string_view marker, std::size_t from = 0,
                    bool ignoreCase = false);

// Removes ASCII spaces and the full-width space (A1 A1) from both ends.
Text trimGbkSpaces(std::string_view text);

// Replaces ASCII letters A to Z by a to z; every other byte stays.
Text asciiLower(std::string_view text);

}  // namespace lumoset
