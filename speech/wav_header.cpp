#include "speech/wav_header.h"

#include <cstdint>
#include <string_view>

namespace lumoset {

namespace {

void appendText(Bytes& out, std::string_view text) {
    out.insert(out.end(), text.begin(), text.end());
}

void appendLittleEndian(Bytes& out, std::uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) {
        out.push_back(static_cast<unsigned char>(value >> (8 * i)));
    }
}

}  // namespace

Bytes wrapWav(const Bytes& audio) {
    constexpr std::uint32_t channels = 1;
    constexpr std::uint32_t sampleRate = 16000;
    constexpr std::uint32_t bitsPerSample = 16;
    const auto length = static_cast<std::uint32_t>(audio.size());
    Bytes wav;
    wav.reserve(44 + audio.size());
    appendText(wav, "RIFF");
    appendLittleEndian(wav, length + 36, 4);
    appendText(wav, "WAVEfmt ");
    appendLittleEndian(wav, 16, 4);
    appendLittleEndian(wav, 1, 2);  // PCM
    appendLittleEndian(wav, channels, 2);
    appendLittleEndian(wav, sampleRate, 4);
    appendLittleEndian(wav, channels * sampleRate * bitsPerSample / 8, 4);
    appendLittleEndian(wav, channels * bitsPerSample / 8, 2);
    appendLittleEndian(wav, bitsPerSample, 2);
    appendText(wav, "data");
    appendLittleEndian(wav, length, 4);
    wav.insert(wav.end(), audio.begin(), audio.end());
    return wav;
}

}  // namespace lumoset
