// The marker search rule spelled out character by character, slow and plain, to hold the fast
// search against.
#pragma once

#include <cctype>
#include <cstddef>
#include <string_view>

#include "text/gbk.h"

namespace lumoset::test {

inline std::size_t findByWalking(std::string_view text, std::string_view marker, std::size_t from,
                                 bool ignoreCase) {
    const auto sameAt = [&](std::size_t at) {
        if (marker.size() > text.size() - at) {
            return false;
        }
        for (std::size_t k = 0; k < marker.size(); ++k) {
            const auto a = static_cast<unsigned char>(text[at + k]);
            const auto b = static_cast<unsigned char>(marker[k]);
            if (a != b && !(ignoreCase && std::isalpha(a) && std::tolower(a) == std::tolower(b))) {
                return false;
            }
        }
        return true;
    };
    if (marker.empty()) {
        return from < text.size() ? from : notFound;
    }
    for (std::size_t i = from; i < text.size();) {
        const bool lead = static_cast<unsigned char>(text[i]) >= 0x80;
        if (lead && i + 1 == text.size()) {
            return notFound;
        }
        if (sameAt(i)) {
            return i;
        }
        i += lead ? 2 : 1;
    }
    return notFound;
}

}  // namespace lumoset::test
