// One complete HTTP or HTTPS exchange with the caller's headers and cookies, the page request
// of the translation client.
#pragma once

#include <optional>

#include "text/types.h"

namespace lumoset {

struct WebFetchArgs {
    Text url{};       // "http://" or "https://" (or no scheme), host, optional port, path, query
    int method = 0;   // 1 POST, otherwise GET; any value but 0 sends a body
    Text bodyText{};  // the body when `bodyBytes` is empty
    // in/out: "name=value; ..." to send. Supplied (even empty), it also receives the cookies
    // merged with those of the response; not supplied, nothing of it happens.
    std::optional<Text> cookieText{};
    Text returnedCookies{};  // out: the cookies the response set
    // in/out: request header lines joined by CR LF; receives the whole block that was sent.
    Text extraHeaders{};
    Text redirectTarget{};  // out: the "Location:" value, else the whole response header block
    bool noRedirect = false;
    Bytes bodyBytes{};  // in/out: the body; filled from `bodyText` when empty and a body goes out
    // An HTTP proxy "host:port" for http addresses; not supplied or empty means direct.
    std::optional<Text> proxy{};
    Text responseHeaders{};  // out: status line and header lines of the final response
};

// Carries out the exchange and returns the response body (empty on failure, short when the
// exchange broke off). Keeps nothing between calls and never follows a redirect from https to
// http. The transport adds no cookie of its own and keeps none it receives.
Bytes WebFetch(WebFetchArgs& args);

}  // namespace lumoset
