#include "engines/audio/mixer.h"

namespace lumoset::audio {

void Mixer::render(float* out, std::size_t frames) {
    std::lock_guard lock(state);
    for (auto& [handle, stream] : streams) {
        stream->mixInto(out, frames);
    }
    if (volume != 1.0f) {
        for (std::size_t i = 0; i < frames * 2; ++i) {
            out[i] *= volume;
        }
    }
}

std::uint32_t Mixer::add(std::unique_ptr<Stream> stream) {
    do {
        ++lastHandle_;
    } while (lastHandle_ == 0 || streams.count(lastHandle_) != 0);
    streams.emplace(lastHandle_, std::move(stream));
    return lastHandle_;
}

Stream* Mixer::find(std::uint32_t handle) {
    auto found = streams.find(handle);
    return found == streams.end() ? nullptr : found->second.get();
}

Mixer& mixer() {
    static Mixer* instance = new Mixer;  // lives as long as the process: devices may outlast exit
    return *instance;
}

}  // namespace lumoset::audio
