#include "net/com_web_fetch.h"

#include <algorithm>
#include <climits>

#include "net/header_text.h"
#include "net/request_defaults.h"
#include "text/gbk.h"

namespace lumoset {

namespace {

constexpr int defaultTimeoutMs = 15000;
constexpr int objectTimeouts = -1;

int timeoutMs(int seconds) {
    if (seconds < 1) {
        return defaultTimeoutMs;
    }
    return static_cast<int>(std::min<long long>(seconds * 1000LL, INT_MAX));
}

}  // namespace

Text defaultRequestHeaders(const Text& url) {
    Text block = Text(refererPrefix) + url;
    for (const std::string_view line : {acceptLine, acceptLanguageLine}) {
        block.append(lineBreak).append(line);
    }
    block.append(lineBreak).append("User-Agent: ").append(defaultAgent);
    block.append(lineBreak).append(formContentTypeLine);
    return block;
}

Bytes ComWebFetch(ComWebFetchArgs& args) {
    WebRequest own;
    WebRequest& request = args.requestObject ? *args.requestObject : own;

    if (args.timeout != objectTimeouts) {
        const int ms = timeoutMs(args.timeout);
        request.setTimeouts(ms, ms, ms, ms);
    }
    if (!args.proxy.empty()) {
        request.setProxy(args.proxy);
        if (!args.proxyUser.empty()) {
            request.setCredentials(args.proxyUser, args.proxyPassword,
                                   args.credentialsFlags.value_or(WebRequest::credentialsForProxy));
        }
    }
    request.open(args.method == 1 ? "POST" : "GET", args.url);
    if (args.noRedirect) {
        request.setRedirectsEnabled(false);
    }
    request.setIgnoredCertificateErrors(WebRequest::anyCertificateError);

    if (args.extraHeaders.empty()) {
        args.extraHeaders = defaultRequestHeaders(args.url);
    }
    if (!args.cookieText.empty()) {
        request.setRequestHeader("Cookie", args.cookieText);
    }
    for (const std::string& line : splitHeaderLines(args.extraHeaders)) {
        const std::size_t colon = findGbk(line, ":");
        if (colon == notFound) {
            request.setRequestHeader({}, {});
        } else {
            request.setRequestHeader(trimGbkSpaces(std::string_view(line).substr(0, colon)),
                                     trimGbkSpaces(std::string_view(line).substr(colon + 1)));
        }
    }

    request.send(args.bodyBytes.empty() ? toBytes(args.bodyText) : args.bodyBytes);
    Bytes body = request.responseBody();
    args.responseHeaders = request.allResponseHeaders();
    readResponseHeaders(args.responseHeaders, &args.cookieText, args.returnedCookies,
                        args.redirectTarget);
    return body;
}

}  // namespace lumoset
