// Keeping one cookie text across a series of requests.
#pragma once

#include "text/types.h"

namespace lumoset {

// Folds `newCookies` (the items a response set, separated by ";") into `cookieText`. Spaces
// (ASCII and full-width) leave both arguments. The merged text lists the new items in their
// order, then the old items whose names the response did not set; items whose value ends in
// "=deleted" drop out together with older items of their name, and exact repeats fold into
// one. Items are joined by "; ". `cookieText` receives the merged text, which is also returned.
Text mergeCookies(Text& cookieText, Text& newCookies);

}  // namespace lumoset
