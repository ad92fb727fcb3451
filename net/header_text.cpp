#include "net/header_text.h"

#include <string_view>

#include "net/cookies.h"
#include "net/request_defaults.h"
#include "text/gbk.h"

namespace lumoset {

namespace {

constexpr std::string_view locationMark = "Location:";
constexpr std::string_view cookieMark = "Set-Cookie";
constexpr std::string_view cookieStart = "Set-Cookie:";

// The text after `marker` up to the first `end` behind it, or to the line's end; empty when
// the line does not hold `marker`.
Text textAfter(std::string_view line, std::string_view marker, std::string_view end) {
    const std::size_t at = findGbk(line, marker);
    if (at == notFound) {
        return {};
    }
    const std::size_t begin = at + marker.size();
    const std::size_t stop = end.empty() ? notFound : findGbk(line, end, begin);
    return trimGbkSpaces(line.substr(begin, stop == notFound ? line.npos : stop - begin));
}

}  // namespace

std::vector<std::string> splitHeaderLines(const Text& block) {
    std::vector<std::string> lines;
    std::size_t at = 0;
    while (at < block.size()) {
        const std::size_t end = findGbk(block, lineBreak, at);
        std::string line = block.substr(at, end == notFound ? Text::npos : end - at);
        if (!line.empty()) {
            lines.push_back(std::move(line));
        }
        if (end == notFound) {
            break;
        }
        at = end + lineBreak.size();
    }
    return lines;
}

void readResponseHeaders(const Text& responseHeaders, Text* cookieText, Text& returnedCookies,
                         Text& redirectTarget) {
    returnedCookies.clear();
    redirectTarget.clear();
    for (const std::string& line : splitHeaderLines(responseHeaders)) {
        if (findGbk(line, locationMark) != notFound) {
            redirectTarget = textAfter(line, ":", {});
        }
        if (findGbk(line, cookieMark) != notFound) {
            returnedCookies += textAfter(line, cookieStart, ";") + "; ";
        }
    }

    if (returnedCookies.size() >= 2) {
        returnedCookies.resize(returnedCookies.size() - 2);
    }
    if (cookieText != nullptr) {
        mergeCookies(*cookieText, returnedCookies);
    }
    if (redirectTarget.empty()) {
        redirectTarget = responseHeaders;
    }
}

}  // namespace lumoset
