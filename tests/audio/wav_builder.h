// WAV files made to order for the audio tests.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "text/types.h"

namespace lumoset::test {

enum class Encoding { pcm, floating };

struct WavSpec {
    int rate = 44100;
    int bits = 16;
    int channels = 2;
    Encoding encoding = Encoding::pcm;
};

// A WAV of `samples` (interleaved, -1 to 1) in the given format, with an INFO list of
// `infoEntries` ("INAM" "title" pairs) before the samples when there are any.
Bytes makeWav(const WavSpec& spec, const std::vector<double>& samples,
              const std::vector<std::pair<std::string, std::string>>& infoEntries = {});

// 16-bit samples as they are, interleaved.
Bytes makeWav16(int rate, int channels, const std::vector<std::int16_t>& samples);

// Little-endian bytes of 16-bit samples, the way they sit in a WAV and in the device's output.
std::string sampleBytes(const std::vector<std::int16_t>& samples);

}  // namespace lumoset::test
