#include "net/url_split.h"

#include <algorithm>
#include <cctype>

#include "text/gbk.h"

namespace lumoset {

namespace {

constexpr int beyondAnyPort = 65536;

struct HostPart {
    Text text;
    std::size_t offset = 0;  // where it begins in the original address
};

// The host part and where it begins. Lowercasing keeps every byte where it was, so offsets in
// the lowercased address hold for the original too.
HostPart hostPartOf(std::string_view url) {
    Text lowered = asciiLower(url);
    if (lowered.empty() || lowered.back() != '/') {
        lowered += '/';
    }
    constexpr std::string_view secureScheme = "https://";
    constexpr std::string_view plainScheme = "http://";
    std::size_t begin = 0;
    std::size_t inserted = 0;
    if (lowered.rfind(secureScheme, 0) == 0) {
        begin = secureScheme.size();
    } else {
        if (findGbk(lowered, plainScheme) == notFound) {
            lowered.insert(0, plainScheme);
            inserted = plainScheme.size();
        }
        begin = findGbk(lowered, plainScheme) + plainScheme.size();
    }
    const std::size_t end = findGbk(lowered, "/", begin);
    if (end == notFound) {
        return {};
    }
    return {lowered.substr(begin, end - begin), begin - inserted};
}

// The leading decimal digits of `text`, 0 when there are none; anything past the largest
// port reads as an invalid port.
int leadingNumber(std::string_view text) {
    int value = 0;
    for (const char c : text) {
        if (!std::isdigit(static_cast<unsigned char>(c))) {
            break;
        }
        value = std::min(value * 10 + (c - '0'), beyondAnyPort);
    }
    return value;
}

}  // namespace

UrlParts splitUrl(std::string_view url) {
    UrlParts parts;
    parts.secure = asciiLower(url.substr(0, 5)) == "https";

    const HostPart hostPart = hostPartOf(url);
    const std::size_t firstColon = findGbk(hostPart.text, ":");
    parts.host = hostPart.text.substr(0, firstColon);
    if (firstColon != notFound) {
        parts.port =
            leadingNumber(std::string_view(hostPart.text).substr(hostPart.text.rfind(':') + 1));
    } else {
        parts.port = parts.secure ? 443 : 80;
    }

    // The host is looked for where the host part begins, not before: a short host such as
    // "h" or "tp" would otherwise be found inside the scheme.
    const std::size_t hostAt = findGbk(url, parts.host, hostPart.offset, true);
    const std::size_t slash = hostAt == notFound ? notFound : findGbk(url, "/", hostAt);
    parts.objectPath = slash == notFound ? Text("/") : Text(url.substr(slash));
    return parts;
}

bool isHostName(std::string_view host) {
    return !host.empty() && std::all_of(host.begin(), host.end(), [](char c) {
        return std::isalnum(static_cast<unsigned char>(c)) || c == '-' || c == '.' || c == '_';
    });
}

}  // namespace lumoset
