// One playing stream: its WAV bytes, its converter, where it stands and what it played last.
// A Stream is used only under the library's lock.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

#include "engines/audio/byte_source.h"
#include "engines/audio/pcm_converter.h"
#include "engines/audio/wav_format.h"

namespace lumoset::audio {

inline constexpr std::size_t historyFrames = 256;

class Stream {
  public:
    Stream(std::unique_ptr<ByteSource> source, WavLayout layout, int deviceRate);
    ~Stream();
    Stream(const Stream&) = delete;
    Stream& operator=(const Stream&) = delete;

    // False when the format can't be converted to the device's.
    bool valid() const { return converter_.valid(); }

    void play(bool restart);
    bool pause();
    void stop();
    std::uint32_t activity() const;

    // Positions and lengths in bytes of the stream's own format.
    std::int64_t position() const;
    bool setPosition(std::int64_t bytes);
    std::optional<std::int64_t> length() const;

    double bytesToSeconds(std::int64_t bytes) const;
    std::int64_t secondsToBytes(double seconds) const;

    const std::string& tags() const { return layout_.tags; }

    // Adds the next `frames` device frames of a playing stream to `mix` (two floats a frame).
    void mixInto(float* mix, std::size_t frames);

    // The last frames that went to the device, oldest first, as mono samples.
    std::array<float, historyFrames> history() const;

  private:
    enum class State { stopped, playing, stalled, paused };

    // Total source frames, when known.
    std::optional<std::uint64_t> totalFrames() const;
    // Makes sure the chunk holding `playFrame_` is converted; false while its bytes are not in.
    bool loadChunk();

    std::unique_ptr<ByteSource> source_;
    WavLayout layout_;
    PcmConverter converter_;
    State state_ = State::stopped;
    std::uint64_t playFrame_ = 0;  // in device frames
    std::optional<std::uint64_t> chunkIndex_;
    std::vector<float> chunk_;
    std::vector<unsigned char> input_;
    std::array<float, historyFrames> history_{};
    std::size_t historyNext_ = 0;
};

}  // namespace lumoset::audio
