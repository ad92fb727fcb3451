#include "net/web_request.h"

#include <algorithm>

#include "net/request_defaults.h"
#include "text/gbk.h"

namespace lumoset {

namespace {

bool hasWebScheme(const Text& url) {
    const Text lowered = asciiLower(std::string_view(url).substr(0, 8));
    return lowered.rfind("http://", 0) == 0 || lowered.rfind("https://", 0) == 0;
}

// The header lines of a raw block without its status line and closing empty line.
Text headerLinesOnly(const Text& block) {
    const std::size_t first = findGbk(block, lineBreak);
    if (first == notFound) {
        return {};
    }
    Text lines = block.substr(first + lineBreak.size());
    if (lines.size() >= lineBreak.size() &&
        std::string_view(lines).substr(lines.size() - lineBreak.size()) == lineBreak) {
        lines.resize(lines.size() - lineBreak.size());
    }
    return lines;
}

}  // namespace

void WebRequest::setTimeouts(int resolveMs, int connectMs, int sendMs, int receiveMs) {
    timeouts_ = {resolveMs, connectMs, sendMs, receiveMs};
}

void WebRequest::setProxy(Text server) {
    proxy_ = std::move(server);
}

bool WebRequest::setCredentials(Text user, Text password, int flags) {
    if (flags != credentialsForServer && flags != credentialsForProxy) {
        return false;
    }
    (flags == credentialsForProxy ? proxyCredentials_ : serverCredentials_) =
        Credentials{std::move(user), std::move(password)};
    return true;
}

void WebRequest::setRedirectsEnabled(bool enabled) {
    redirectsEnabled_ = enabled;
}

void WebRequest::setIgnoredCertificateErrors(int flags) {
    ignoredCertificateErrors_ = flags;
}

void WebRequest::open(Text verb, Text url) {
    verb_ = std::move(verb);
    url_ = std::move(url);
    headers_.clear();
    responseBody_.clear();
    responseHeaders_.clear();
}

bool WebRequest::setRequestHeader(Text name, Text value) {
    if (name.empty()) {
        return false;
    }
    const Text key = asciiLower(name);
    const auto known = std::find_if(headers_.begin(), headers_.end(), [&](const auto& header) {
        return asciiLower(header.first) == key;
    });
    if (known != headers_.end()) {
        known->second = std::move(value);
    } else {
        headers_.emplace_back(std::move(name), std::move(value));
    }
    return true;
}

bool WebRequest::send(const Bytes& body) {
    responseBody_.clear();
    responseHeaders_.clear();
    if (verb_.empty() || !hasWebScheme(url_)) {
        return false;
    }
    TransportRequest request;
    request.url = escapeForRequestLine(url_);
    request.verb = verb_;
    for (const auto& [name, value] : headers_) {
        request.headerLines.push_back(name + ": " + value);
    }
    if (verb_ != "GET" || !body.empty()) {
        request.body = body;
    }
    request.proxy = proxy_;
    request.proxyCredentials = proxyCredentials_;
    request.serverCredentials = serverCredentials_;
    request.followRedirects = redirectsEnabled_;
    request.verifyHost = (ignoredCertificateErrors_ & wrongName) == 0;
    request.verifyPeer =
        (ignoredCertificateErrors_ & (unknownAuthority | wrongUsage | outOfDate)) == 0;
    request.timeouts = timeouts_;

    TransportResponse response = exchange(request);
    if (!response.completed) {
        return false;
    }
    responseBody_ = std::move(response.body);
    responseHeaders_ = headerLinesOnly(response.headerBlock);
    return true;
}

}  // namespace lumoset
