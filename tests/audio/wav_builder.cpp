#include "tests/audio/wav_builder.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace lumoset::test {

namespace {

void put(Bytes& out, std::uint64_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) {
        out.push_back(static_cast<unsigned char>(value >> (8 * i)));
    }
}

void putText(Bytes& out, const std::string& text) {
    out.insert(out.end(), text.begin(), text.end());
}

std::uint64_t encodeInteger(double x, int bits) {
    if (bits == 8) {
        return static_cast<std::uint64_t>(std::clamp(std::lround(128 + x * 128), 0L, 255L));
    }
    const double scale = std::ldexp(1.0, bits - 1);
    const auto top = static_cast<long long>(scale) - 1;
    const long long value = std::clamp(std::llround(x * scale), -top - 1, top);
    return static_cast<std::uint64_t>(value);
}

std::uint64_t encodeFloat(double x, int bits) {
    if (bits == 32) {
        const float f = static_cast<float>(x);
        std::uint32_t raw;
        std::memcpy(&raw, &f, sizeof raw);
        return raw;
    }
    std::uint64_t raw;
    std::memcpy(&raw, &x, sizeof raw);
    return raw;
}

Bytes assemble(const WavSpec& spec, const Bytes& data,
               const std::vector<std::pair<std::string, std::string>>& infoEntries) {
    Bytes info;
    if (!infoEntries.empty()) {
        putText(info, "INFO");
        for (const auto& [id, value] : infoEntries) {
            putText(info, id);
            put(info, value.size() + 1, 4);
            putText(info, value);
            info.push_back(0);
            if ((value.size() + 1) % 2 != 0) {
                info.push_back(0);
            }
        }
    }
    const int frameBytes = spec.channels * spec.bits / 8;
    Bytes wav;
    putText(wav, "RIFF");
    put(wav, 4 + 24 + (info.empty() ? 0 : 8 + info.size()) + 8 + data.size(), 4);
    putText(wav, "WAVEfmt ");
    put(wav, 16, 4);
    put(wav, spec.encoding == Encoding::floating ? 3 : 1, 2);
    put(wav, static_cast<std::uint64_t>(spec.channels), 2);
    put(wav, static_cast<std::uint64_t>(spec.rate), 4);
    put(wav, static_cast<std::uint64_t>(spec.rate) * frameBytes, 4);
    put(wav, static_cast<std::uint64_t>(frameBytes), 2);
    put(wav, static_cast<std::uint64_t>(spec.bits), 2);
    if (!info.empty()) {
        putText(wav, "LIST");
        put(wav, info.size(), 4);
        wav.insert(wav.end(), info.begin(), info.end());
    }
    putText(wav, "data");
    put(wav, data.size(), 4);
    wav.insert(wav.end(), data.begin(), data.end());
    return wav;
}

}  // namespace

Bytes makeWav(const WavSpec& spec, const std::vector<double>& samples,
              const std::vector<std::pair<std::string, std::string>>& infoEntries) {
    Bytes data;
    for (const double x : samples) {
        put(data,
            spec.encoding == Encoding::floating ? encodeFloat(x, spec.bits)
                                                : encodeInteger(x, spec.bits),
            spec.bits / 8);
    }
    return assemble(spec, data, infoEntries);
}

Bytes makeWav16(int rate, int channels, const std::vector<std::int16_t>& samples) {
    const std::string bytes = sampleBytes(samples);
    return assemble(WavSpec{rate, 16, channels, Encoding::pcm}, Bytes(bytes.begin(), bytes.end()),
                    {});
}

std::string sampleBytes(const std::vector<std::int16_t>& samples) {
    std::string bytes;
    for (const std::int16_t s : samples) {
        bytes.push_back(static_cast<char>(s & 0xFF));
        bytes.push_back(static_cast<char>((s >> 8) & 0xFF));
    }
    return bytes;
}

}  // namespace lumoset::test
