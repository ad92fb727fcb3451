#include "text/gbk.h"

#include <cstring>

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

// The plain scan: every character in turn.
std::size_t findGbkWalking(std::string_view text, std::string_view marker, std::size_t from,
                           bool ignoreCase) {
    const unsigned char first = foldAscii(static_cast<unsigned char>(marker[0]));
    std::size_t i = from;
    while (i < text.size()) {
        const auto c = static_cast<unsigned char>(text[i]);
        const bool leadByte = c >= 0x80;
        if (leadByte && i + 1 == text.size()) {
            return notFound;
        }
        if ((ignoreCase ? foldAscii(c) : c) == first && matchesAt(text, marker, i, ignoreCase)) {
            return i;
        }
        i += leadByte ? 2 : 1;
    }
    return notFound;
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
    if (ignoreCase) {
        return findGbkWalking(text, marker, from, true);
    }
    // Candidates come from memchr. Whether a candidate starts a character depends only on the
    // bytes of 128 or more right before it: the byte after one below 128 always starts a
    // character, and from there such bytes pair up as first and second bytes. An odd run means
    // the candidate is a second byte. Runs are counted back no further than the previous
    // candidate, whose standing is known, so every byte is looked at a bounded number of times.
    const auto* bytes = reinterpret_cast<const unsigned char*>(text.data());
    const std::size_t size = text.size();
    const auto first = static_cast<unsigned char>(marker[0]);
    std::size_t known = from;  // a position known to start a character
    std::size_t at = from;
    while (at < size) {
        const void* hit = std::memchr(bytes + at, first, size - at);
        if (hit == nullptr) {
            return notFound;
        }
        const auto candidate =
            static_cast<std::size_t>(static_cast<const unsigned char*>(hit) - bytes);
        std::size_t run = 0;
        while (candidate - run > known && bytes[candidate - run - 1] >= 0x80) {
            ++run;
        }
        if (run % 2 == 0) {
            known = candidate;
            if (first >= 0x80 && candidate + 1 == size) {
                return notFound;
            }
            if (matchesAt(text, marker, candidate, false)) {
                return candidate;
            }
            at = candidate + (first >= 0x80 ? 2 : 1);
        } else {
            known = candidate + 1;
            at = candidate + 1;
        }
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
