#include "audio/audio_player.h"

#include <cstring>
#include <filesystem>

#include "app/shell/companion_library.h"
#include "engines/audio/audio_library.h"

namespace lumoset {

namespace {

// The library function `name`, bound on first use.
template <class Function>
Function* audio(const char* name) {
    return bindFunction<Function>(audioLibraryFile, name);
}

constexpr std::int32_t defaultDevice = -1;
constexpr std::uint32_t defaultFrequency = 44100;
constexpr std::uint32_t fftRequest = 0x80000000u;  // 128 magnitudes of a 256-sample FFT
constexpr std::uint32_t byteMode = 0;

}  // namespace

AudioPlayer::AudioPlayer() : barHeights(spectrumBars, 0.0f), peakHeights(spectrumBars, 0.0f) {
    ensureCompanionLibrary(audioLibraryFile, audioLibraryImage());
}

AudioPlayer::~AudioPlayer() = default;
AudioPlayer::AudioPlayer(const AudioPlayer& other) = default;
AudioPlayer& AudioPlayer::operator=(const AudioPlayer& other) = default;

bool AudioPlayer::initialise(std::optional<std::int32_t> device,
                             std::optional<std::uint32_t> frequency,
                             std::optional<std::uint32_t> flags, std::optional<void*> window) {
    return audio<decltype(BASS_Init)>("BASS_Init")(
               device.value_or(defaultDevice), frequency.value_or(defaultFrequency),
               flags.value_or(0), window.value_or(nullptr), nullptr) != 0;
}

bool AudioPlayer::release() {
    return audio<decltype(BASS_Free)>("BASS_Free")() != 0;
}

StreamHandle AudioPlayer::createStream(const Text& path, const Bytes& memory, const Text& address,
                                       std::int32_t offset) {
    if (path.empty() && memory.empty() && address.empty()) {
        return 0;
    }
    std::error_code ignored;
    const std::filesystem::path file(path);
    if (!path.empty() && std::filesystem::exists(file, ignored) &&
        !std::filesystem::is_directory(file, ignored)) {
        return audio<decltype(BASS_StreamCreateFile)>("BASS_StreamCreateFile")(
            0, path.c_str(), static_cast<std::int64_t>(offset), 0, 0);
    }
    if (!memory.empty()) {
        return audio<decltype(BASS_StreamCreateFile)>("BASS_StreamCreateFile")(
            1, memory.data(), static_cast<std::int64_t>(offset),
            static_cast<std::int64_t>(memory.size()), 0);
    }
    if (!address.empty()) {
        return audio<decltype(BASS_StreamCreateURL)>("BASS_StreamCreateURL")(
            address.c_str(), static_cast<std::uint32_t>(offset), 0, nullptr, nullptr);
    }
    return 0;
}

bool AudioPlayer::play(StreamHandle handle, std::optional<bool> restart) {
    if (handle == 0) {
        return false;
    }
    return audio<decltype(BASS_ChannelPlay)>("BASS_ChannelPlay")(
               handle, restart.value_or(true) ? 1 : 0) != 0;
}

bool AudioPlayer::pause(StreamHandle handle) {
    return audio<decltype(BASS_ChannelPause)>("BASS_ChannelPause")(handle) != 0;
}

bool AudioPlayer::stop(StreamHandle handle) {
    return audio<decltype(BASS_ChannelStop)>("BASS_ChannelStop")(handle) != 0;
}

std::int64_t AudioPlayer::position(StreamHandle handle) {
    return audio<decltype(BASS_ChannelGetPosition)>("BASS_ChannelGetPosition")(handle, byteMode);
}

bool AudioPlayer::setPosition(StreamHandle handle, std::int64_t position) {
    return audio<decltype(BASS_ChannelSetPosition)>("BASS_ChannelSetPosition")(handle, position,
                                                                               byteMode) != 0;
}

std::int64_t AudioPlayer::length(StreamHandle handle) {
    return audio<decltype(BASS_ChannelGetLength)>("BASS_ChannelGetLength")(handle, byteMode);
}

Text AudioPlayer::tags(StreamHandle handle) {
    const char* tags = audio<decltype(BASS_ChannelGetTags)>("BASS_ChannelGetTags")(handle, 0);
    return tags == nullptr ? Text() : Text(tags);
}

std::uint32_t AudioPlayer::isActive(StreamHandle handle) {
    return audio<decltype(BASS_ChannelIsActive)>("BASS_ChannelIsActive")(handle);
}

bool AudioPlayer::freeStream(StreamHandle handle) {
    return audio<decltype(BASS_StreamFree)>("BASS_StreamFree")(handle) != 0;
}

std::int32_t AudioPlayer::fftData(StreamHandle handle, std::vector<float>& table) {
    std::vector<float> buffer(spectrumBars, 0.0f);
    const std::int32_t result = audio<decltype(BASS_ChannelGetData)>("BASS_ChannelGetData")(
        handle, buffer.data(), fftRequest);
    table = std::move(buffer);
    return result;
}

bool AudioPlayer::setVolume(float level) {
    return audio<decltype(BASS_SetVolume)>("BASS_SetVolume")(level) != 0;
}

float AudioPlayer::volume() {
    return audio<decltype(BASS_GetVolume)>("BASS_GetVolume")();
}

double AudioPlayer::bytesToSeconds(StreamHandle handle, std::int64_t bytes) {
    return audio<decltype(BASS_ChannelBytes2Seconds)>("BASS_ChannelBytes2Seconds")(handle, bytes);
}

std::int64_t AudioPlayer::secondsToBytes(StreamHandle handle, double seconds) {
    return audio<decltype(BASS_ChannelSeconds2Bytes)>("BASS_ChannelSeconds2Bytes")(handle, seconds);
}

}  // namespace lumoset
