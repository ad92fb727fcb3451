// Turns a stream's PCM into the mixer's format (32-bit float stereo at the device rate), one
// chunk at a time, so that a long stream or one still downloading never needs converting whole.
//
// Chunks are whole multiples of the smallest run of source frames that maps onto a whole number
// of device frames, so chunk boundaries fall on exact device frames. Each chunk is resampled
// together with some source frames of context on either side and then cut out of the result, so
// the chunked output equals that of converting the whole stream in one piece.
#pragma once

#include <SDL2/SDL_audio.h>
#include <cstdint>
#include <vector>

#include "engines/audio/wav_format.h"

namespace lumoset::audio {

class PcmConverter {
  public:
    PcmConverter(const PcmFormat& format, int deviceRate);

    // False when this format can't be converted.
    bool valid() const { return valid_; }

    std::uint64_t chunkSourceFrames() const { return chunkSource_; }
    std::uint64_t chunkDeviceFrames() const { return chunkDevice_; }

    // Device frames that `sourceFrames` source frames become (rounded down), and back.
    std::uint64_t toDeviceFrames(std::uint64_t sourceFrames) const;
    std::uint64_t toSourceFrames(std::uint64_t deviceFrames) const;

    // The source frames chunk `index` needs: [first, end), clipped to a stream of `total`
    // source frames.
    std::uint64_t inputFirst(std::uint64_t index) const;
    std::uint64_t inputEnd(std::uint64_t index, std::uint64_t total) const;

    // Converts chunk `index` of a stream of `total` source frames (or of at least that many,
    // when `final` is false) from `input`, the raw bytes of the frames [inputFirst, inputEnd).
    // `out` becomes the chunk's device frames, two floats each.
    bool convert(std::uint64_t index, std::uint64_t total, bool final,
                 const std::vector<unsigned char>& input, std::vector<float>& out);

  private:
    PcmFormat format_;
    int deviceRate_;
    bool valid_ = false;
    std::uint64_t unitSource_ = 1;  // source frames that map onto `unitDevice_` device frames
    std::uint64_t unitDevice_ = 1;
    std::uint64_t chunkSource_ = 0;
    std::uint64_t chunkDevice_ = 0;
    std::uint64_t context_ = 0;  // source frames of context on each side of a chunk
    SDL_AudioFormat sdlFormat_ = AUDIO_S16LSB;
    int sdlFrameBytes_ = 0;
    SDL_AudioCVT cvt_{};
    bool needsConversion_ = false;
    std::vector<Uint8> work_;
};

}  // namespace lumoset::audio
