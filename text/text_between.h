// Cutting values out of answers and composite texts: the text between two markers.
#pragma once

#include "text/types.h"

namespace lumoset {

// "#引号" in GBK: in markers and patterns it stands for one double quote.
inline constexpr char quotePlaceholder[] = "#\xD2\xFD\xBA\xC5";

// `text` with every "#引号" replaced by a double quote.
Text replaceQuotePlaceholder(const Text& text);

// The bytes of `source` strictly between the end of the first `startMarker` found at or after
// the 1-based `startPosition` (0, 1 or negative: the beginning) and the first `endMarker`
// after it; empty when either marker is missing. Both searches step over GBK double-byte
// characters as whole characters; `ignoreCase` folds the ASCII letters only. "#引号" in a
// marker stands for a double quote.
Text textBetween(const Text& source, const Text& startMarker, const Text& endMarker,
                 int startPosition = 0, bool ignoreCase = false);

}  // namespace lumoset
