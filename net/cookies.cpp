#include "net/cookies.h"

#include <algorithm>
#include <string_view>
#include <vector>

#include "text/gbk.h"

namespace lumoset {

namespace {

constexpr std::string_view deletedMark = "=deleted";

// Drops every ASCII space and every full-width space character (A1 A1).
Text withoutSpaces(std::string_view text) {
    Text out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size();) {
        const unsigned char c = static_cast<unsigned char>(text[i]);
        if (c >= 0x80 && i + 1 < text.size()) {
            if (c != 0xA1 || static_cast<unsigned char>(text[i + 1]) != 0xA1) {
                out.append(text.substr(i, 2));
            }
            i += 2;
        } else {
            if (c != ' ') {
                out.push_back(text[i]);
            }
            ++i;
        }
    }
    return out;
}

// The pieces between separators; a separator at the very end gives no empty last piece.
std::vector<Text> splitAt(std::string_view text, std::string_view separator) {
    std::vector<Text> items;
    std::size_t at = 0;
    while (at < text.size()) {
        const std::size_t next = findGbk(text, separator, at);
        if (next == notFound) {
            items.emplace_back(text.substr(at));
            break;
        }
        items.emplace_back(text.substr(at, next - at));
        at = next + separator.size();
    }
    return items;
}

Text cookieName(std::string_view item) {
    return trimGbkSpaces(item.substr(0, findGbk(item, "=")));
}

bool isDeleted(std::string_view item) {
    return item.size() >= deletedMark.size() &&
           item.substr(item.size() - deletedMark.size()) == deletedMark;
}

}  // namespace

Text mergeCookies(Text& cookieText, Text& newCookies) {
    cookieText = withoutSpaces(cookieText);
    newCookies = withoutSpaces(newCookies);

    std::vector<Text> working = splitAt(newCookies, ";");
    for (const Text& old : splitAt(cookieText, ";")) {
        const Text name = cookieName(old);
        const bool taken = std::any_of(working.begin(), working.end(),
                                       [&](const Text& item) { return cookieName(item) == name; });
        if (!taken) {
            working.push_back(old);
        }
    }

    Text kept;
    for (const Text& item : working) {
        if (!isDeleted(item)) {
            kept += item + "; ";
        }
    }
    if (kept.size() >= 2) {
        kept.resize(kept.size() - 2);
    }

    std::vector<Text> unique;
    for (const Text& item : splitAt(kept, "; ")) {
        if (std::find(unique.begin(), unique.end(), item) == unique.end()) {
            unique.push_back(item);
        }
    }
    Text merged;
    for (std::size_t i = 0; i < unique.size(); ++i) {
        merged += (i == 0 ? "" : "; ") + unique[i];
    }
    cookieText = merged;
    return merged;
}

}  // namespace lumoset
