// One complete HTTP or HTTPS exchange through a request object, with time-outs, proxy
// credentials and any server certificate accepted: the page request of the OCR client.
#pragma once

#include <optional>

#include "net/web_request.h"
#include "text/types.h"

namespace lumoset {

struct ComWebFetchArgs {
    Text url{};       // "http://" or "https://" and the rest
    int method = 0;   // 1 POST, otherwise GET
    Text bodyText{};  // the body when `bodyBytes` is empty; a GET carries it too
    // in/out: "name=value; ..." sent first as the Cookie header when not empty; receives the
    // cookies merged with those of the response (always, even after a failed exchange).
    Text cookieText{};
    Text returnedCookies{};  // out: the cookies the response set, without spaces
    // in/out: header lines joined by CR LF, each split into name and value at its first ":";
    // when empty it receives the default block, which is then sent.
    Text extraHeaders{};
    Text redirectTarget{};  // out: the "Location:" value, else all response headers
    bool noRedirect = false;
    Bytes bodyBytes{};       // the body, before `bodyText`
    Text proxy{};            // an HTTP proxy "host:port"; empty leaves the object's setting
    Text responseHeaders{};  // out: the response's header lines, each ended by CR LF
    // Seconds for each phase: below 1 means 15, except -1, which leaves the object's own.
    int timeout = 0;
    Text proxyUser{};  // with a proxy: set as credentials when not empty
    Text proxyPassword{};
    std::optional<int> credentialsFlags{};  // for setCredentials; 1 (the proxy) when not supplied
    // The caller's object, used instead of a fresh one; the settings made on it stay. Not owned.
    WebRequest* requestObject = nullptr;
};

// The default header block: Referer (the address), Accept, Accept-Language, User-Agent and
// Content-Type lines joined by CR LF.
Text defaultRequestHeaders(const Text& url);

// Carries out the exchange and returns the response body; on any failure of the exchange the
// body and the response headers are empty.
Bytes ComWebFetch(ComWebFetchArgs& args);

}  // namespace lumoset
