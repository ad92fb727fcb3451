#include "engines/audio/pcm_converter.h"

#include <algorithm>
#include <cstring>
#include <numeric>

namespace lumoset::audio {

namespace {

constexpr std::uint64_t preferredChunk = 4096;  // source frames, about 0.1 s at common rates
constexpr std::uint64_t resamplerReach = 64;    // source frames the resampler looks either side

std::uint64_t roundUp(std::uint64_t value, std::uint64_t unit) {
    return (value + unit - 1) / unit * unit;
}

// Samples SDL can't take as they are become 32-bit: 24-bit integers and 64-bit floats.
SDL_AudioFormat sdlFormatOf(SampleKind kind) {
    switch (kind) {
        case SampleKind::unsigned8:
            return AUDIO_U8;
        case SampleKind::signed16:
            return AUDIO_S16LSB;
        case SampleKind::signed24:
        case SampleKind::signed32:
            return AUDIO_S32LSB;
        case SampleKind::float32:
        case SampleKind::float64:
            return AUDIO_F32LSB;
    }
    return AUDIO_S16LSB;
}

void widen24(const unsigned char* in, std::size_t samples, Uint8* out) {
    for (std::size_t i = 0; i < samples; ++i, in += 3, out += 4) {
        out[0] = 0;
        out[1] = in[0];
        out[2] = in[1];
        out[3] = in[2];
    }
}

void narrow64(const unsigned char* in, std::size_t samples, Uint8* out) {
    for (std::size_t i = 0; i < samples; ++i, in += 8, out += 4) {
        std::uint64_t bits = 0;
        for (int b = 7; b >= 0; --b) {
            bits = bits << 8 | in[b];
        }
        double value;
        std::memcpy(&value, &bits, sizeof value);
        const float narrowed = static_cast<float>(value);
        std::uint32_t out32;
        std::memcpy(&out32, &narrowed, sizeof out32);
        for (int b = 0; b < 4; ++b) {
            out[b] = static_cast<Uint8>(out32 >> (8 * b));
        }
    }
}

}  // namespace

PcmConverter::PcmConverter(const PcmFormat& format, int deviceRate)
    : format_(format), deviceRate_(deviceRate) {
    if (format.rate <= 0 || deviceRate <= 0 || format.channels <= 0) {
        return;
    }
    const auto rate = static_cast<std::uint64_t>(format.rate);
    const auto device = static_cast<std::uint64_t>(deviceRate);
    const std::uint64_t common = std::gcd(rate, device);
    unitSource_ = rate / common;
    unitDevice_ = device / common;
    chunkSource_ = roundUp(preferredChunk, unitSource_);
    chunkDevice_ = chunkSource_ / unitSource_ * unitDevice_;
    if (rate != device) {
        context_ = roundUp(std::max(resamplerReach, resamplerReach * unitSource_ / unitDevice_),
                           unitSource_);
    }
    sdlFormat_ = sdlFormatOf(format.kind);
    sdlFrameBytes_ = format.channels * SDL_AUDIO_BITSIZE(sdlFormat_) / 8;
    const int built = SDL_BuildAudioCVT(&cvt_, sdlFormat_, static_cast<Uint8>(format.channels),
                                        format.rate, AUDIO_F32SYS, 2, deviceRate);
    if (built < 0) {
        return;
    }
    needsConversion_ = built == 1;
    valid_ = true;
}

std::uint64_t PcmConverter::toDeviceFrames(std::uint64_t sourceFrames) const {
    return sourceFrames / unitSource_ * unitDevice_ +
           sourceFrames % unitSource_ * unitDevice_ / unitSource_;
}

std::uint64_t PcmConverter::toSourceFrames(std::uint64_t deviceFrames) const {
    return deviceFrames / unitDevice_ * unitSource_ +
           deviceFrames % unitDevice_ * unitSource_ / unitDevice_;
}

std::uint64_t PcmConverter::inputFirst(std::uint64_t index) const {
    const std::uint64_t start = index * chunkSource_;
    return start > context_ ? start - context_ : 0;
}

std::uint64_t PcmConverter::inputEnd(std::uint64_t index, std::uint64_t total) const {
    return std::min(total, (index + 1) * chunkSource_ + context_);
}

bool PcmConverter::convert(std::uint64_t index, std::uint64_t total, bool final,
                           const std::vector<unsigned char>& input, std::vector<float>& out) {
    const std::uint64_t first = inputFirst(index);
    const std::uint64_t frames = input.size() / static_cast<std::size_t>(format_.frameBytes);
    const std::uint64_t chunkStart = index * chunkDevice_;
    const std::uint64_t streamDeviceFrames = toDeviceFrames(total);
    std::uint64_t wanted = chunkDevice_;
    if (final) {
        if (chunkStart >= streamDeviceFrames) {
            out.clear();
            return true;
        }
        wanted = std::min(wanted, streamDeviceFrames - chunkStart);
    }
    const std::size_t samples = static_cast<std::size_t>(frames) * format_.channels;
    const std::size_t sdlBytes = static_cast<std::size_t>(frames) * sdlFrameBytes_;
    work_.assign(std::max<std::size_t>(sdlBytes * std::max(cvt_.len_mult, 1), 1), 0);
    if (format_.kind == SampleKind::signed24) {
        widen24(input.data(), samples, work_.data());
    } else if (format_.kind == SampleKind::float64) {
        narrow64(input.data(), samples, work_.data());
    } else {
        std::memcpy(work_.data(), input.data(), sdlBytes);
    }
    std::size_t producedBytes = sdlBytes;
    if (needsConversion_) {
        cvt_.buf = work_.data();
        cvt_.len = static_cast<int>(sdlBytes);
        if (SDL_ConvertAudio(&cvt_) != 0) {
            return false;
        }
        producedBytes = static_cast<std::size_t>(cvt_.len_cvt);
    }
    // Device frame d of the stream is frame d - skip of what was converted.
    const std::uint64_t skip = chunkStart - toDeviceFrames(first);
    const std::uint64_t produced = producedBytes / (2 * sizeof(float));
    out.assign(static_cast<std::size_t>(wanted) * 2, 0.0f);
    if (produced > skip) {
        const std::uint64_t take = std::min(wanted, produced - skip);
        std::memcpy(out.data(), work_.data() + skip * 2 * sizeof(float),
                    static_cast<std::size_t>(take) * 2 * sizeof(float));
    }
    return true;
}

}  // namespace lumoset::audio
