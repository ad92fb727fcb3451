#include "text/gbk.h"

namespace lumoset {

namespace {

unsigned char foldAscii(unsigned char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<unsigned char>(c + ('a' - 'A')) : c;
}

bool matchesAt(std::string_view text, std::string_view marker, std::size_t at, bool ignoreCase) {
    if (marker.size() > text.size() - at) {
        return false;
    }
    if (!ignoreCase) {
        return text.compare(at, marker.size(), marker) == 0;
    }
    for (std::size_t i = 0; i < marker.size(); ++i) {
        if (foldAscii(static_cast<unsigned char>(text[at + i])) !=
            foldAscii(static_cast<unsigned char>(marker[i]))) {
            return false;
        }
    }
    return true;
}

}  // namespace

std::size_t findGbk(std::string_view text, std::string_view marker, std::size_t from,
                    bool ignoreCase) {
    if (from >= text.size()) {
        return notFound;
    }
    if (marker.empty()) {
        return from;
    }
    std::size_t i = from;
    while (i < text.size()) {
        const bool leadByte = static_cast<unsigned char>(text[i]) >= 0x80;
        if (leadByte && i + 1 == text.size()) {
            return notFound;
        }
        if (matchesAt(text, marker, i, ignoreCase)) {
            return i;
        }
        i += leadByte ? 2 : 1;
    }
    return notFound;
}

Text trimGbkSpaces(std::string_view text) {
    auto isSpaceAt = [&](std::size_t at) -> std::size_t {
        if (text[at] == ' ') {
            return 1;
        }
        if (at + 1 < text.size() && static_cast<unsigned char>(text[at]) == 0xA1 &&
            static_cast<unsigned char>(text[at + 1]) == 0xA1) {
            return 2;
        }
        return 0;
    };
    std::size_t begin = 0;
    while (begin < text.size()) {
        const std::size_t n = isSpaceAt(begin);
        if (n == 0) {
            break;
        }
        begin += n;
    }
    std::size_t end = text.size();
    while (end > begin) {
        if (text[end - 1] == ' ') {
            --end;
        } else if (end - begin >= 2 && static_cast<unsigned char>(text[end - 1]) == 0xA1 &&
                   static_cast<unsigned char>(text[end - 2]) == 0xA1) {
            end -= 2;
        } else {
            break;
        }
    }
    return Text(text.substr(begin, end - begin));
}

Text asciiLower(std::string_view text) {
    Text out(text);
    for (char& c : out) {
        c = static_cast<char>(foldAscii(static_cast<unsigned char>(c)));
    }
    return out;
}

}  // namespace lumoset
