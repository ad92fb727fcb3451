// The library's exported functions, each a thin shell over the mixer and its streams.
#include <cmath>
#include <cstring>

#include "engines/audio/audio_library.h"
#include "engines/audio/byte_source.h"
#include "engines/audio/mixer.h"
#include "engines/audio/spectrum.h"
#include "engines/audio/url_source.h"
#include "engines/audio/wav_format.h"

using namespace lumoset::audio;

namespace {

thread_local int32_t lastError = lumosetAudioOk;

// Records why the call failed and returns `value`.
template <class T>
T fail(LumosetAudioError error, T value) {
    lastError = error;
    return value;
}

template <class T>
T succeed(T value) {
    lastError = lumosetAudioOk;
    return value;
}

// Runs `body` on the stream of `handle` under the mixer's lock, or fails with `failure`.
template <class T, class Body>
T withStream(AudioStreamHandle handle, T failure, Body body) {
    Mixer& m = mixer();
    std::lock_guard lock(m.state);
    if (!m.device) {
        return fail(lumosetAudioNotInitialised, failure);
    }
    Stream* stream = m.find(handle);
    if (stream == nullptr) {
        return fail(lumosetAudioBadHandle, failure);
    }
    return body(*stream);
}

bool deviceOpen() {
    Mixer& m = mixer();
    std::lock_guard lock(m.state);
    return m.device != nullptr;
}

// Files a stream over `source`, whose WAV header is complete.
AudioStreamHandle addStream(std::unique_ptr<ByteSource> source, const WavHeader& header) {
    if (header.status != WavStatus::ok) {
        return fail(lumosetAudioFormat, AudioStreamHandle{0});
    }
    Mixer& m = mixer();
    std::unique_ptr<Stream> stream;
    std::lock_guard lock(m.state);
    if (!m.device) {
        return fail(lumosetAudioNotInitialised, AudioStreamHandle{0});
    }
    stream = std::make_unique<Stream>(std::move(source), header.layout, m.rate);
    if (!stream->valid()) {
        return fail(lumosetAudioFormat, AudioStreamHandle{0});
    }
    return succeed(m.add(std::move(stream)));
}

}  // namespace

extern "C" {

int32_t BASS_Init(int32_t device, uint32_t frequency, uint32_t flags, void* window,
                  const void* reserved) {
    Mixer& m = mixer();
    std::lock_guard opening(m.deviceMutex);
    if (deviceOpen()) {
        return fail(lumosetAudioAlready, 0);
    }
    if (frequency < 1000 || frequency > 384000) {
        return fail(lumosetAudioBadArgument, 0);
    }
    auto opened = openOutputDevice(device, static_cast<int>(frequency),
                                   [&m](float* out, std::size_t frames) { m.render(out, frames); });
    if (!opened) {
        return fail(lumosetAudioNoDevice, 0);
    }
    std::lock_guard lock(m.state);
    m.device = std::move(opened);
    m.rate = static_cast<int>(frequency);
    m.volume = 1.0f;
    return succeed(1);
}

int32_t BASS_Free(void) {
    Mixer& m = mixer();
    std::lock_guard closing(m.deviceMutex);
    std::unique_ptr<OutputDevice> device;
    std::map<uint32_t, std::unique_ptr<Stream>> streams;
    {
        std::lock_guard lock(m.state);
        if (!m.device) {
            return fail(lumosetAudioNotInitialised, 0);
        }
        device = std::move(m.device);
        streams.swap(m.streams);
    }
    // The device's thread may be waiting for the lock: close it only after letting go.
    device.reset();
    streams.clear();
    return succeed(1);
}

AudioStreamHandle BASS_StreamCreateFile(int32_t memory, const void* file, int64_t offset,
                                        int64_t length, uint32_t flags) {
    if (file == nullptr || offset < 0 || length < 0) {
        return fail(lumosetAudioBadArgument, AudioStreamHandle{0});
    }
    if (!deviceOpen()) {
        return fail(lumosetAudioNotInitialised, AudioStreamHandle{0});
    }
    std::unique_ptr<ByteSource> source;
    if (memory != 0) {
        if (offset >= length) {
            return fail(lumosetAudioBadArgument, AudioStreamHandle{0});
        }
        source = memorySource(static_cast<const unsigned char*>(file) + offset,
                              static_cast<uint64_t>(length - offset));
    } else {
        source = openFileSource(static_cast<const char*>(file), static_cast<uint64_t>(offset),
                                static_cast<uint64_t>(length));
        if (!source) {
            return fail(lumosetAudioFileOpen, AudioStreamHandle{0});
        }
    }
    const WavHeader header = readWavHeader(*source);
    return addStream(std::move(source), header);
}

AudioStreamHandle BASS_StreamCreateURL(const char* url, uint32_t offset, uint32_t flags,
                                       AudioDownloadCallback* download, void* user) {
    if (url == nullptr ||
        (std::strncmp(url, "http://", 7) != 0 && std::strncmp(url, "https://", 8) != 0)) {
        return fail(lumosetAudioBadArgument, AudioStreamHandle{0});
    }
    if (!deviceOpen()) {
        return fail(lumosetAudioNotInitialised, AudioStreamHandle{0});
    }
    auto source = std::make_unique<UrlSource>(url, offset, download, user);
    WavHeader header = readWavHeader(*source);
    while (header.status == WavStatus::needMore) {
        source->waitForMore(source->available());
        header = readWavHeader(*source);
    }
    if (source->failed()) {
        return fail(lumosetAudioNetwork, AudioStreamHandle{0});
    }
    return addStream(std::move(source), header);
}

int32_t BASS_ChannelPlay(AudioStreamHandle handle, int32_t restart) {
    return withStream(handle, 0, [&](Stream& stream) {
        stream.play(restart != 0);
        return succeed(1);
    });
}

int32_t BASS_ChannelPause(AudioStreamHandle handle) {
    return withStream(handle, 0, [](Stream& stream) {
        return stream.pause() ? succeed(1) : fail(lumosetAudioNotPlaying, 0);
    });
}

int32_t BASS_ChannelStop(AudioStreamHandle handle) {
    return withStream(handle, 0, [](Stream& stream) {
        stream.stop();
        return succeed(1);
    });
}

int64_t BASS_ChannelGetPosition(AudioStreamHandle handle, uint32_t mode) {
    if (mode != LUMOSET_AUDIO_BYTES) {
        return fail(lumosetAudioBadArgument, int64_t{-1});
    }
    return withStream(handle, int64_t{-1},
                      [](Stream& stream) { return succeed(stream.position()); });
}

int32_t BASS_ChannelSetPosition(AudioStreamHandle handle, int64_t position, uint32_t mode) {
    if (mode != LUMOSET_AUDIO_BYTES) {
        return fail(lumosetAudioBadArgument, 0);
    }
    return withStream(handle, 0, [&](Stream& stream) {
        return stream.setPosition(position) ? succeed(1) : fail(lumosetAudioBadArgument, 0);
    });
}

int64_t BASS_ChannelGetLength(AudioStreamHandle handle, uint32_t mode) {
    if (mode != LUMOSET_AUDIO_BYTES) {
        return fail(lumosetAudioBadArgument, int64_t{-1});
    }
    return withStream(handle, int64_t{-1}, [](Stream& stream) {
        const auto length = stream.length();
        return length ? succeed(*length) : fail(lumosetAudioNotAvailable, int64_t{-1});
    });
}

const char* BASS_ChannelGetTags(AudioStreamHandle handle, uint32_t tags) {
    if (tags != LUMOSET_AUDIO_TAGS_INFO) {
        return fail(lumosetAudioBadArgument, static_cast<const char*>(nullptr));
    }
    return withStream(handle, static_cast<const char*>(nullptr), [](Stream& stream) {
        return stream.tags().empty()
                   ? fail(lumosetAudioNotAvailable, static_cast<const char*>(nullptr))
                   : succeed(stream.tags().c_str());
    });
}

uint32_t BASS_ChannelIsActive(AudioStreamHandle handle) {
    return withStream(handle, uint32_t{LUMOSET_AUDIO_STOPPED},
                      [](Stream& stream) { return succeed(stream.activity()); });
}

int32_t BASS_StreamFree(AudioStreamHandle handle) {
    std::unique_ptr<Stream> freed;
    {
        Mixer& m = mixer();
        std::lock_guard lock(m.state);
        auto found = m.streams.find(handle);
        if (found == m.streams.end()) {
            return fail(m.device ? lumosetAudioBadHandle : lumosetAudioNotInitialised, 0);
        }
        freed = std::move(found->second);
        m.streams.erase(found);
    }
    freed.reset();  // a download ends outside the lock
    return succeed(1);
}

int32_t BASS_ChannelGetData(AudioStreamHandle handle, void* buffer, uint32_t length) {
    if (buffer == nullptr || length != LUMOSET_AUDIO_FFT256) {
        return fail(lumosetAudioBadArgument, -1);
    }
    std::array<float, historyFrames> samples;
    const bool found = withStream(handle, false, [&](Stream& stream) {
        samples = stream.history();
        return true;
    });
    if (!found) {
        return -1;
    }
    const auto magnitudes = magnitudeSpectrum(samples);
    std::memcpy(buffer, magnitudes.data(), sizeof magnitudes);
    return succeed(static_cast<int32_t>(sizeof magnitudes));
}

int32_t BASS_SetVolume(float volume) {
    if (!(volume >= 0.0f && volume <= 1.0f)) {
        return fail(lumosetAudioBadArgument, 0);
    }
    Mixer& m = mixer();
    std::lock_guard lock(m.state);
    if (!m.device) {
        return fail(lumosetAudioNotInitialised, 0);
    }
    m.volume = volume;
    return succeed(1);
}

float BASS_GetVolume(void) {
    Mixer& m = mixer();
    std::lock_guard lock(m.state);
    if (!m.device) {
        return fail(lumosetAudioNotInitialised, -1.0f);
    }
    return succeed(m.volume);
}

double BASS_ChannelBytes2Seconds(AudioStreamHandle handle, int64_t bytes) {
    if (bytes < 0) {
        return fail(lumosetAudioBadArgument, -1.0);
    }
    return withStream(handle, -1.0,
                      [&](Stream& stream) { return succeed(stream.bytesToSeconds(bytes)); });
}

int64_t BASS_ChannelSeconds2Bytes(AudioStreamHandle handle, double seconds) {
    if (!(seconds >= 0.0 && seconds < 1e9)) {
        return fail(lumosetAudioBadArgument, int64_t{-1});
    }
    return withStream(handle, int64_t{-1},
                      [&](Stream& stream) { return succeed(stream.secondsToBytes(seconds)); });
}

int32_t lumoset_audio_last_error(void) {
    return lastError;
}

}  // extern "C"
