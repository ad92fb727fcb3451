// Small helpers for reading what a page request put on the wire.
#pragma once

#include <string>
#include <vector>

#include "tests/fakes/http/fake_http.h"
#include "text/types.h"

namespace lumoset::test {

// A plain page whose body is "answer".
inline const std::string page = fake::httpResponse(200, {{"X-Page", "1"}}, "answer");

// The header names a request carried besides the transport's own Host and Content-Length.
inline std::vector<std::string> callerHeaderNames(const fake::ReceivedRequest& request) {
    std::vector<std::string> names;
    for (const std::string& name : request.headerNames()) {
        if (name != "Host" && name != "Content-Length") {
            names.push_back(name);
        }
    }
    return names;
}

inline std::string bodyText(const Bytes& body) {
    return std::string(body.begin(), body.end());
}

// Answers "/start" with a redirect to "/next" that also sets a cookie, and "/next" with a page.
inline fake::Reply redirectWithCookie(const fake::ReceivedRequest& request) {
    if (request.target == "/start") {
        return {fake::httpResponse(302, {{"Location", "/next"}, {"Set-Cookie", "s=1; path=/"}})};
    }
    return {fake::httpResponse(200, {{"Set-Cookie", "n=2"}}, "final page")};
}

}  // namespace lumoset::test
