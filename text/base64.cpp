#include "text/base64.h"

#include <array>
#include <bit>
#include <cstdint>
#include <cstring>

namespace lumoset {

namespace {

constexpr char alphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";

// Two output characters for every 12-bit value, in memory order, so that three input bytes
// take two lookups and two 16-bit stores.
struct PairTable {
    std::array<std::uint16_t, 4096> pairs{};
    constexpr PairTable() {
        for (unsigned v = 0; v < 4096; ++v) {
            const auto first = static_cast<unsigned char>(alphabet[v >> 6]);
            const auto second = static_cast<unsigned char>(alphabet[v & 63]);
            pairs[v] = static_cast<std::uint16_t>(std::endian::native == std::endian::little
                                                      ? first | (second << 8)
                                                      : (first << 8) | second);
        }
    }
};
constexpr PairTable table;

inline void putPairs(char* to, std::uint32_t group) {
    const std::uint16_t high = table.pairs[group >> 12];
    const std::uint16_t low = table.pairs[group & 0xFFF];
    std::memcpy(to, &high, 2);
    std::memcpy(to + 2, &low, 2);
}

inline std::uint32_t group3(const unsigned char* from) {
    return (std::uint32_t{from[0]} << 16) | (std::uint32_t{from[1]} << 8) | from[2];
}

}  // namespace

Text base64Encode(const unsigned char* data, std::size_t size) {
    if (size == 0) {
        return {};
    }
    Text out((size + 2) / 3 * 4, '\0');
    char* to = out.data();
    const unsigned char* from = data;
    const unsigned char* const whole = data + size / 3 * 3;
    // Twelve bytes per round as four independent groups.
    while (whole - from >= 12) {
        putPairs(to, group3(from));
        putPairs(to + 4, group3(from + 3));
        putPairs(to + 8, group3(from + 6));
        putPairs(to + 12, group3(from + 9));
        from += 12;
        to += 16;
    }
    while (from < whole) {
        putPairs(to, group3(from));
        from += 3;
        to += 4;
    }
    const std::size_t rest = size % 3;
    if (rest != 0) {
        const unsigned char tail[3] = {from[0], rest == 2 ? from[1] : static_cast<unsigned char>(0),
                                       0};
        putPairs(to, group3(tail));
        to[3] = '=';
        if (rest == 1) {
            to[2] = '=';
        }
    }
    return out;
}

Text base64Encode(const Bytes& bytes) {
    return base64Encode(bytes.data(), bytes.size());
}

}  // namespace lumoset
