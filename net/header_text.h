// Header text as both page requests write and read it.
#pragma once

#include <string>
#include <vector>

#include "text/types.h"

namespace lumoset {

// The lines of a header block joined by CR LF, empty lines left out.
std::vector<std::string> splitHeaderLines(const Text& block);

// Reads `responseHeaders` line by line (lines end at CR LF):
// - a line holding "Location:" (so "Content-Location:" too) makes the text after its first ":",
//   trimmed, the redirect target; a later such line wins;
// - a line holding "Set-Cookie" adds the text after "Set-Cookie:" up to the first ";",
//   trimmed, to the returned cookies, which are joined by "; ".
// When `cookieText` is given the returned cookies are merged into it by mergeCookies (and lose
// their spaces, leaving ";" between items). A redirect target still empty at the end becomes a
// copy of `responseHeaders`. Every search is exact in case.
void readResponseHeaders(const Text& responseHeaders, Text* cookieText, Text& returnedCookies,
                         Text& redirectTarget);

}  // namespace lumoset
