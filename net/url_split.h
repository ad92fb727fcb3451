// How a page request reads the server, port and object path out of an address.
#pragma once

#include <string_view>

#include "text/types.h"

namespace lumoset {

struct UrlParts {
    Text host;            // lowercased, up to the first ":" of the host part
    int port = 0;         // from the host part, else 443 for "https", else 80
    Text objectPath;      // from the original address: path and query, case kept; "/" when none
    bool secure = false;  // the address begins with "https" in any case
};

// Splits `url` ("http://" or "https://" optional) the way the page request addresses its server.
// The host part is what lies between the first "http://" or a leading "https://" of the
// lowercased address and the next "/", so a "?" before any "/" stays in the host part.
UrlParts splitUrl(std::string_view url);

// Whether `host` can name a server: letters, digits, "-", "." and "_" only.
bool isHostName(std::string_view host);

}  // namespace lumoset
