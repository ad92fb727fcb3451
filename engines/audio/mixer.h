// The library's state: the open device and the streams that play on it, mixed together.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <mutex>

#include "engines/audio/output_device.h"
#include "engines/audio/stream.h"

namespace lumoset::audio {

class Mixer {
  public:
    // Serialises opening and closing the device; taken before `state`, never inside it.
    std::mutex deviceMutex;
    // Guards everything below; the device's thread takes it for every block it renders.
    std::mutex state;

    std::unique_ptr<OutputDevice> device;
    int rate = 0;
    float volume = 1.0f;
    std::map<std::uint32_t, std::unique_ptr<Stream>> streams;
    // Set as the process ends: the device may go on pulling while the program's memory, which
    // memory streams read, is being released, so from then on it gets silence.
    bool exiting = false;

    // Adds every playing stream to `out` and applies the master volume.
    void render(float* out, std::size_t frames);

    // Files a stream under a new handle (never 0, never one in use). Needs `state`.
    std::uint32_t add(std::unique_ptr<Stream> stream);

    // The stream of `handle`, or null. Needs `state`.
    Stream* find(std::uint32_t handle);

  private:
    std::uint32_t lastHandle_ = 0;
};

Mixer& mixer();

}  // namespace lumoset::audio
