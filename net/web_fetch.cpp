#include "net/web_fetch.h"

#include <string_view>

#include "net/header_text.h"
#include "net/request_defaults.h"
#include "net/transport.h"
#include "net/url_split.h"
#include "text/gbk.h"

namespace lumoset {

namespace {

constexpr std::string_view agentMark = "User-Agent:";

// The agent named by the extra headers (any case), else the default one.
Text agentOf(const Text& extraHeaders) {
    const std::size_t at = findGbk(extraHeaders, agentMark, 0, true);
    if (at == notFound) {
        return Text(defaultAgent);
    }
    const std::size_t begin = at + agentMark.size();
    const std::size_t end = findGbk(extraHeaders, lineBreak, begin);
    return trimGbkSpaces(
        std::string_view(extraHeaders)
            .substr(begin, end == notFound ? std::string_view::npos : end - begin));
}

void appendLine(Text& block, std::string_view line) {
    block.append(lineBreak).append(line);
}

// The extra headers with the lines every request carries added where the block lacks them
// (exact case), and the cookies at the end.
Text headerBlock(const Text& extraHeaders, const Text& url, const Text& cookies) {
    Text block = extraHeaders;
    if (findGbk(block, "Referer:") == notFound) {
        if (block.empty()) {
            block = Text(refererPrefix) + url;
        } else {
            appendLine(block, Text(refererPrefix) + url);
        }
    }
    if (findGbk(block, "Accept:") == notFound) {
        appendLine(block, acceptLine);
    }
    if (findGbk(block, "Accept-Language:") == notFound) {
        appendLine(block, acceptLanguageLine);
    }
    if (findGbk(block, "Content-Type:") == notFound) {
        appendLine(block, formContentTypeLine);
    }
    if (!cookies.empty()) {
        appendLine(block, "Cookie: " + cookies);
    }
    return block;
}

}  // namespace

Bytes WebFetch(WebFetchArgs& args) {
    const UrlParts parts = splitUrl(args.url);
    if (parts.host.empty()) {
        return {};  // no server to connect to: nothing has changed
    }
    TransportRequest request;
    request.verb = args.method == 1 ? "POST" : "GET";
    request.agent = agentOf(args.extraHeaders);
    const Text block = headerBlock(args.extraHeaders, args.url, args.cookieText.value_or(Text()));
    args.extraHeaders = block;
    request.headerLines = splitHeaderLines(block);
    request.followRedirects = !args.noRedirect;
    const int port = parts.port != 0 ? parts.port : (parts.secure ? 443 : 80);
    request.url = (parts.secure ? "https://" : "http://") + parts.host + ":" +
                  std::to_string(port) + escapeForRequestLine(parts.objectPath);
    // The proxy serves plain HTTP addresses only; https ones go direct.
    if (args.proxy && !parts.secure) {
        request.proxy = *args.proxy;
    }
    if (args.method != 0) {
        if (args.bodyBytes.empty()) {
            args.bodyBytes = toBytes(args.bodyText);
        }
        request.body = args.bodyBytes;
    }

    TransportResponse response;
    if (isHostName(parts.host)) {
        response = exchange(request);
    }
    args.responseHeaders = response.headerBlock;
    readResponseHeaders(args.responseHeaders, args.cookieText ? &*args.cookieText : nullptr,
                        args.returnedCookies, args.redirectTarget);
    return std::move(response.body);
}

}  // namespace lumoset
