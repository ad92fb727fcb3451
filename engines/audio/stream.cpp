#include "engines/audio/stream.h"

#include <algorithm>
#include <cmath>

#include "engines/audio/audio_library.h"

namespace lumoset::audio {

Stream::Stream(std::unique_ptr<ByteSource> source, WavLayout layout, int deviceRate)
    : source_(std::move(source)),
      layout_(std::move(layout)),
      converter_(layout_.format, deviceRate) {}

Stream::~Stream() = default;

std::optional<std::uint64_t> Stream::totalFrames() const {
    const auto frame = static_cast<std::uint64_t>(layout_.format.frameBytes);
    const std::uint64_t arrived = source_->available() > layout_.dataOffset
                                      ? (source_->available() - layout_.dataOffset) / frame
                                      : 0;
    if (source_->finished()) {
        return layout_.dataBytes ? std::min(*layout_.dataBytes / frame, arrived) : arrived;
    }
    if (layout_.dataBytes) {
        return *layout_.dataBytes / frame;
    }
    return std::nullopt;
}

void Stream::play(bool restart) {
    const auto total = totalFrames();
    if (restart || (total && playFrame_ >= converter_.toDeviceFrames(*total))) {
        playFrame_ = 0;
    }
    state_ = State::playing;
}

bool Stream::pause() {
    if (state_ != State::playing && state_ != State::stalled) {
        return false;
    }
    state_ = State::paused;
    return true;
}

void Stream::stop() {
    state_ = State::stopped;
}

std::uint32_t Stream::activity() const {
    switch (state_) {
        case State::stopped:
            return LUMOSET_AUDIO_STOPPED;
        case State::playing:
            return LUMOSET_AUDIO_PLAYING;
        case State::stalled:
            return LUMOSET_AUDIO_STALLED;
        case State::paused:
            return LUMOSET_AUDIO_PAUSED;
    }
    return LUMOSET_AUDIO_STOPPED;
}

std::int64_t Stream::position() const {
    std::uint64_t frames = converter_.toSourceFrames(playFrame_);
    if (const auto total = totalFrames()) {
        frames = std::min(frames, *total);
    }
    return static_cast<std::int64_t>(frames) * layout_.format.frameBytes;
}

bool Stream::setPosition(std::int64_t bytes) {
    if (bytes < 0) {
        return false;
    }
    const std::uint64_t frames = static_cast<std::uint64_t>(bytes) / layout_.format.frameBytes;
    if (const auto total = totalFrames(); total && frames > *total) {
        return false;
    }
    // The first device frame at or after the source frame, so the position reads back as set.
    std::uint64_t device = converter_.toDeviceFrames(frames);
    while (converter_.toSourceFrames(device) < frames) {
        ++device;
    }
    playFrame_ = device;
    return true;
}

std::optional<std::int64_t> Stream::length() const {
    const auto total = totalFrames();
    if (!total) {
        return std::nullopt;
    }
    return static_cast<std::int64_t>(*total) * layout_.format.frameBytes;
}

double Stream::bytesToSeconds(std::int64_t bytes) const {
    return static_cast<double>(bytes) /
           (static_cast<double>(layout_.format.rate) * layout_.format.frameBytes);
}

std::int64_t Stream::secondsToBytes(double seconds) const {
    const double frames = std::floor(seconds * layout_.format.rate);
    return static_cast<std::int64_t>(frames) * layout_.format.frameBytes;
}

bool Stream::loadChunk() {
    const std::uint64_t index = playFrame_ / converter_.chunkDeviceFrames();
    if (chunkIndex_ == index) {
        return true;
    }
    const bool finished = source_->finished();
    const auto known = totalFrames();
    const std::uint64_t first = converter_.inputFirst(index);
    std::uint64_t end;
    if (finished) {
        end = converter_.inputEnd(index, *known);
    } else {
        // While bytes arrive, a chunk waits for all of its context unless it is the last one.
        const auto frame = static_cast<std::uint64_t>(layout_.format.frameBytes);
        const std::uint64_t arrived = source_->available() > layout_.dataOffset
                                          ? (source_->available() - layout_.dataOffset) / frame
                                          : 0;
        const std::uint64_t needed = converter_.inputEnd(index, known.value_or(UINT64_MAX));
        if (arrived < needed) {
            return false;
        }
        end = needed;
    }
    const bool last = known.has_value() && end >= *known;
    const std::size_t frameBytes = static_cast<std::size_t>(layout_.format.frameBytes);
    input_.resize(static_cast<std::size_t>(end > first ? end - first : 0) * frameBytes);
    const std::size_t got =
        source_->read(layout_.dataOffset + first * frameBytes, input_.data(), input_.size());
    input_.resize(got / frameBytes * frameBytes);
    if (!converter_.convert(index, known.value_or(end), last || finished, input_, chunk_)) {
        return false;
    }
    chunkIndex_ = index;
    return true;
}

void Stream::mixInto(float* mix, std::size_t frames) {
    if (state_ != State::playing && state_ != State::stalled) {
        return;
    }
    std::size_t done = 0;
    while (done < frames) {
        const auto total = totalFrames();
        if (total && playFrame_ >= converter_.toDeviceFrames(*total)) {
            state_ = State::stopped;
            return;
        }
        if (!loadChunk()) {
            state_ = source_->finished() ? State::stopped : State::stalled;
            return;
        }
        const std::uint64_t chunkStart = *chunkIndex_ * converter_.chunkDeviceFrames();
        const std::size_t at = static_cast<std::size_t>(playFrame_ - chunkStart);
        const std::size_t inChunk = chunk_.size() / 2;
        if (at >= inChunk) {
            state_ = State::stopped;
            return;
        }
        const std::size_t n = std::min(frames - done, inChunk - at);
        const float* from = chunk_.data() + at * 2;
        float* to = mix + done * 2;
        for (std::size_t i = 0; i < n; ++i) {
            to[2 * i] += from[2 * i];
            to[2 * i + 1] += from[2 * i + 1];
            history_[historyNext_] = 0.5f * (from[2 * i] + from[2 * i + 1]);
            historyNext_ = (historyNext_ + 1) % historyFrames;
        }
        playFrame_ += n;
        done += n;
        state_ = State::playing;
    }
}

std::array<float, historyFrames> Stream::history() const {
    std::array<float, historyFrames> ordered;
    for (std::size_t i = 0; i < historyFrames; ++i) {
        ordered[i] = history_[(historyNext_ + i) % historyFrames];
    }
    return ordered;
}

}  // namespace lumoset::audio
