// Fetching a web picture for display.
#pragma once

#include "text/types.h"

namespace lumoset {

// Fetches `url` (GBK; http or https) with a plain GET: no cookies, no headers of the program's
// own, redirects followed, no proxy, the server's certificate checked. Returns the body of a
// successful (2xx) answer, otherwise empty bytes. Gives up when the server can't be reached
// within 15 seconds or no byte moves for 15.
Bytes downloadDisplayPicture(const Text& url);

}  // namespace lumoset
