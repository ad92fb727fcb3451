// A stand-in for the audio library that plays nothing: it writes down every call with its
// arguments and answers from a script the test queued, or with a plain success.
#include <cinttypes>
#include <cstdio>
#include <cstring>
#include <deque>
#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "tests/fakes/audio_library/fake_audio_exports.h"

namespace {

struct Script {
    std::mutex mutex;
    std::string calls;
    std::map<std::string, std::deque<double>> answers;
    std::deque<std::optional<std::string>> tags;
    std::deque<std::pair<std::vector<float>, int32_t>> data;
    std::string lastTags;  // keeps the returned text alive until the next tags call
};

Script& script() {
    static Script* instance = new Script;
    return *instance;
}

std::string pointer(const void* p) {
    if (p == nullptr) {
        return "null";
    }
    char text[32];
    std::snprintf(text, sizeof text, "0x%" PRIxPTR, reinterpret_cast<std::uintptr_t>(p));
    return text;
}

std::string quoted(const char* text) {
    return text == nullptr ? "null" : '"' + std::string(text) + '"';
}

std::string number(double value) {
    char text[64];
    std::snprintf(text, sizeof text, "%.17g", value);
    return text;
}

// Writes the call down and returns its queued answer, or `otherwise`.
double record(const char* function, const std::string& arguments, double otherwise) {
    Script& s = script();
    std::lock_guard lock(s.mutex);
    s.calls += std::string(function) + "(" + arguments + ")\n";
    auto& queue = s.answers[function];
    if (queue.empty()) {
        return otherwise;
    }
    const double answer = queue.front();
    queue.pop_front();
    return answer;
}

template <class T>
T recorded(const char* function, const std::string& arguments, double otherwise) {
    return static_cast<T>(record(function, arguments, otherwise));
}

std::string join(std::initializer_list<std::string> parts) {
    std::string joined;
    for (const std::string& part : parts) {
        if (!joined.empty()) {
            joined += ", ";
        }
        joined += part;
    }
    return joined;
}

std::string str(std::int64_t value) {
    return std::to_string(value);
}

}  // namespace

extern "C" {

int32_t BASS_Init(int32_t device, uint32_t frequency, uint32_t flags, void* window,
                  const void* reserved) {
    return recorded<int32_t>(
        "BASS_Init",
        join({str(device), str(frequency), str(flags), pointer(window), pointer(reserved)}), 1);
}

int32_t BASS_Free(void) {
    return recorded<int32_t>("BASS_Free", "", 1);
}

AudioStreamHandle BASS_StreamCreateFile(int32_t memory, const void* file, int64_t offset,
                                        int64_t length, uint32_t flags) {
    const std::string source = memory != 0 ? pointer(file) : quoted(static_cast<const char*>(file));
    return recorded<AudioStreamHandle>(
        "BASS_StreamCreateFile", join({str(memory), source, str(offset), str(length), str(flags)}),
        101);
}

AudioStreamHandle BASS_StreamCreateURL(const char* url, uint32_t offset, uint32_t flags,
                                       AudioDownloadCallback* download, void* user) {
    return recorded<AudioStreamHandle>(
        "BASS_StreamCreateURL",
        join({quoted(url), str(offset), str(flags),
              pointer(reinterpret_cast<const void*>(download)), pointer(user)}),
        102);
}

int32_t BASS_ChannelPlay(AudioStreamHandle handle, int32_t restart) {
    return recorded<int32_t>("BASS_ChannelPlay", join({str(handle), str(restart)}), 1);
}

int32_t BASS_ChannelPause(AudioStreamHandle handle) {
    return recorded<int32_t>("BASS_ChannelPause", str(handle), 1);
}

int32_t BASS_ChannelStop(AudioStreamHandle handle) {
    return recorded<int32_t>("BASS_ChannelStop", str(handle), 1);
}

int64_t BASS_ChannelGetPosition(AudioStreamHandle handle, uint32_t mode) {
    return recorded<int64_t>("BASS_ChannelGetPosition", join({str(handle), str(mode)}), 0);
}

int32_t BASS_ChannelSetPosition(AudioStreamHandle handle, int64_t position, uint32_t mode) {
    return recorded<int32_t>("BASS_ChannelSetPosition",
                             join({str(handle), str(position), str(mode)}), 1);
}

int64_t BASS_ChannelGetLength(AudioStreamHandle handle, uint32_t mode) {
    return recorded<int64_t>("BASS_ChannelGetLength", join({str(handle), str(mode)}), 0);
}

const char* BASS_ChannelGetTags(AudioStreamHandle handle, uint32_t tags) {
    record("BASS_ChannelGetTags", join({str(handle), str(tags)}), 0);
    Script& s = script();
    std::lock_guard lock(s.mutex);
    if (s.tags.empty()) {
        return nullptr;
    }
    const std::optional<std::string> answer = s.tags.front();
    s.tags.pop_front();
    if (!answer) {
        return nullptr;
    }
    s.lastTags = *answer;
    return s.lastTags.c_str();
}

uint32_t BASS_ChannelIsActive(AudioStreamHandle handle) {
    return recorded<uint32_t>("BASS_ChannelIsActive", str(handle), 0);
}

int32_t BASS_StreamFree(AudioStreamHandle handle) {
    return recorded<int32_t>("BASS_StreamFree", str(handle), 1);
}

int32_t BASS_ChannelGetData(AudioStreamHandle handle, void* buffer, uint32_t length) {
    char flag[16];
    std::snprintf(flag, sizeof flag, "0x%" PRIx32, length);
    record("BASS_ChannelGetData", join({str(handle), buffer ? "buffer" : "null", flag}), 0);
    Script& s = script();
    std::lock_guard lock(s.mutex);
    if (s.data.empty()) {
        if (buffer != nullptr) {
            std::memset(buffer, 0, 128 * sizeof(float));
        }
        return 512;
    }
    const auto [magnitudes, result] = s.data.front();
    s.data.pop_front();
    if (buffer != nullptr && result != -1) {
        std::memcpy(buffer, magnitudes.data(), 128 * sizeof(float));
    }
    return result;
}

int32_t BASS_SetVolume(float volume) {
    return recorded<int32_t>("BASS_SetVolume", number(volume), 1);
}

float BASS_GetVolume(void) {
    return recorded<float>("BASS_GetVolume", "", 1.0);
}

double BASS_ChannelBytes2Seconds(AudioStreamHandle handle, int64_t bytes) {
    return record("BASS_ChannelBytes2Seconds", join({str(handle), str(bytes)}), 0);
}

int64_t BASS_ChannelSeconds2Bytes(AudioStreamHandle handle, double seconds) {
    return recorded<int64_t>("BASS_ChannelSeconds2Bytes", join({str(handle), number(seconds)}), 0);
}

const char* fake_audio_calls(void) {
    thread_local std::string copy;
    Script& s = script();
    std::lock_guard lock(s.mutex);
    copy = s.calls;
    return copy.c_str();
}

void fake_audio_clear(void) {
    Script& s = script();
    std::lock_guard lock(s.mutex);
    s.calls.clear();
    s.answers.clear();
    s.tags.clear();
    s.data.clear();
}

void fake_audio_answer(const char* function, double result) {
    Script& s = script();
    std::lock_guard lock(s.mutex);
    s.answers[function].push_back(result);
}

void fake_audio_answer_tags(const char* text) {
    Script& s = script();
    std::lock_guard lock(s.mutex);
    s.tags.push_back(text == nullptr ? std::nullopt : std::optional<std::string>(text));
}

void fake_audio_answer_data(const float* magnitudes, int32_t result) {
    Script& s = script();
    std::lock_guard lock(s.mutex);
    s.data.emplace_back(std::vector<float>(magnitudes, magnitudes + 128), result);
}

}  // extern "C"
