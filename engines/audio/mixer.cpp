#include "engines/audio/mixer.h"

#include <cstdlib>

namespace lumoset::audio {

void Mixer::render(float* out, std::size_t frames) {
    std::lock_guard lock(state);
    if (exiting) {
        return;
    }
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
    // Never destroyed: the device's thread may still run while the process ends.
    static Mixer* instance = [] {
        auto* made = new Mixer;
        std::atexit([] {
            std::lock_guard lock(mixer().state);
            mixer().exiting = true;
        });
        return made;
    }();
    return *instance;
}

}  // namespace lumoset::audio
