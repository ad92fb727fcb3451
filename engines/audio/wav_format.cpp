#include "engines/audio/wav_format.h"

#include <array>
#include <cstring>
#include <vector>

namespace lumoset::audio {

namespace {

constexpr std::uint32_t unknownSize = 0xFFFFFFFFu;
constexpr int formatPcm = 1;
constexpr int formatFloat = 3;
constexpr int formatExtensible = 0xFFFE;

std::uint32_t le32(const unsigned char* p) {
    return std::uint32_t(p[0]) | std::uint32_t(p[1]) << 8 | std::uint32_t(p[2]) << 16 |
           std::uint32_t(p[3]) << 24;
}

int le16(const unsigned char* p) {
    return p[0] | p[1] << 8;
}

bool readExactly(const ByteSource& source, std::uint64_t offset, unsigned char* into,
                 std::size_t count) {
    return offset + count <= source.available() && source.read(offset, into, count) == count;
}

std::optional<PcmFormat> parseFormat(const std::vector<unsigned char>& body) {
    if (body.size() < 16) {
        return std::nullopt;
    }
    int tag = le16(&body[0]);
    const int channels = le16(&body[2]);
    const std::uint32_t rate = le32(&body[4]);
    const int frameBytes = le16(&body[12]);
    const int bits = le16(&body[14]);
    if (tag == formatExtensible) {
        if (body.size() < 26) {
            return std::nullopt;
        }
        tag = le16(&body[24]);  // the first two bytes of the sub-format GUID
    }
    PcmFormat format;
    if (tag == formatPcm && bits == 8) {
        format.kind = SampleKind::unsigned8;
    } else if (tag == formatPcm && bits == 16) {
        format.kind = SampleKind::signed16;
    } else if (tag == formatPcm && bits == 24) {
        format.kind = SampleKind::signed24;
    } else if (tag == formatPcm && bits == 32) {
        format.kind = SampleKind::signed32;
    } else if (tag == formatFloat && bits == 32) {
        format.kind = SampleKind::float32;
    } else if (tag == formatFloat && bits == 64) {
        format.kind = SampleKind::float64;
    } else {
        return std::nullopt;
    }
    if (channels < 1 || channels > 8 || rate < 1000 || rate > 768000 ||
        frameBytes != channels * bits / 8) {
        return std::nullopt;
    }
    format.channels = channels;
    format.rate = static_cast<int>(rate);
    format.frameBytes = frameBytes;
    return format;
}

// Appends the entries of a LIST chunk of type INFO: "ID" size zero-terminated-text, each padded
// to an even size.
void appendInfoTags(const std::vector<unsigned char>& body, std::string& tags) {
    if (body.size() < 4 || std::memcmp(body.data(), "INFO", 4) != 0) {
        return;
    }
    std::size_t at = 4;
    while (at + 8 <= body.size()) {
        const std::uint32_t size = le32(&body[at + 4]);
        const std::size_t start = at + 8;
        if (size > body.size() - start) {
            break;
        }
        std::string value(reinterpret_cast<const char*>(&body[start]), size);
        value.erase(value.find_last_not_of('\0') + 1);
        if (!value.empty()) {
            if (!tags.empty()) {
                tags += '\n';
            }
            tags.append(reinterpret_cast<const char*>(&body[at]), 4);
            tags += '=';
            tags += value.substr(0, value.find('\0'));
        }
        at = start + size + (size & 1u);
    }
}

// Reads a chunk body that is small enough to hold (formats and tag lists).
bool readBody(const ByteSource& source, std::uint64_t offset, std::uint32_t size,
              std::vector<unsigned char>& body) {
    constexpr std::uint32_t largestHeld = 1u << 20;
    if (size > largestHeld) {
        return false;
    }
    body.resize(size);
    return readExactly(source, offset, body.data(), size);
}

}  // namespace

WavHeader readWavHeader(const ByteSource& source) {
    const WavHeader needMore{source.finished() ? WavStatus::invalid : WavStatus::needMore, {}};
    std::array<unsigned char, 12> riff;
    if (!readExactly(source, 0, riff.data(), riff.size())) {
        return needMore;
    }
    if (std::memcmp(riff.data(), "RIFF", 4) != 0 || std::memcmp(riff.data() + 8, "WAVE", 4) != 0) {
        return {};
    }
    WavHeader header;
    std::optional<PcmFormat> format;
    std::vector<unsigned char> body;
    bool haveData = false;
    std::uint64_t at = 12;
    for (;;) {
        std::array<unsigned char, 8> chunk;
        if (!readExactly(source, at, chunk.data(), chunk.size())) {
            break;
        }
        const std::uint32_t size = le32(chunk.data() + 4);
        const std::uint64_t bodyAt = at + 8;
        if (std::memcmp(chunk.data(), "fmt ", 4) == 0 && !haveData) {
            if (!readBody(source, bodyAt, size, body)) {
                return source.finished() || size > (1u << 20) ? WavHeader{} : needMore;
            }
            format = parseFormat(body);
            if (!format) {
                return {};
            }
        } else if (std::memcmp(chunk.data(), "LIST", 4) == 0) {
            if (readBody(source, bodyAt, size, body)) {
                appendInfoTags(body, header.layout.tags);
            } else if (!haveData && !source.finished()) {
                return needMore;
            }
        } else if (std::memcmp(chunk.data(), "data", 4) == 0 && !haveData) {
            if (!format) {
                return {};
            }
            haveData = true;
            header.layout.format = *format;
            header.layout.dataOffset = bodyAt;
            if (size != unknownSize) {
                header.layout.dataBytes = size;
            }
            // Chunks after the samples are read only where all bytes are there already.
            if (!source.finished() || size == unknownSize) {
                break;
            }
        }
        at = bodyAt + size + (size & 1u);
    }
    if (!haveData) {
        return source.finished() ? WavHeader{} : needMore;
    }
    WavLayout& layout = header.layout;
    if (source.finished()) {
        const std::uint64_t present =
            source.available() > layout.dataOffset ? source.available() - layout.dataOffset : 0;
        layout.dataBytes = layout.dataBytes ? std::min(*layout.dataBytes, present) : present;
    }
    if (layout.dataBytes) {
        const auto frame = static_cast<std::uint64_t>(layout.format.frameBytes);
        layout.dataBytes = *layout.dataBytes / frame * frame;
    }
    header.status = WavStatus::ok;
    return header;
}

}  // namespace lumoset::audio
