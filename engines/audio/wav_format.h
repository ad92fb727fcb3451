// Reading the RIFF/WAVE header: the PCM format, where the samples lie, and the INFO tags.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "engines/audio/byte_source.h"

namespace lumoset::audio {

enum class SampleKind { unsigned8, signed16, signed24, signed32, float32, float64 };

struct PcmFormat {
    SampleKind kind = SampleKind::signed16;
    int channels = 0;
    int rate = 0;
    int frameBytes = 0;  // bytes of one sample of every channel
};

struct WavLayout {
    PcmFormat format;
    std::uint64_t dataOffset = 0;            // where the samples start, from the WAV's start
    std::optional<std::uint64_t> dataBytes;  // whole frames; unknown for an open-ended download
    std::string tags;                        // INFO entries as "ID=value" lines; empty when none
};

enum class WavStatus { ok, needMore, invalid };

struct WavHeader {
    WavStatus status = WavStatus::invalid;
    WavLayout layout;
};

// Reads the header from what `source` holds so far. `needMore` while a download has not yet
// brought the format and the start of the samples.
WavHeader readWavHeader(const ByteSource& source);

}  // namespace lumoset::audio
