// The one output device: an SDL playback device, or a silent clock that consumes sound in real
// time. Either pulls its sound from a render function on a thread of its own.
#pragma once

#include <cstddef>
#include <functional>
#include <memory>

namespace lumoset::audio {

// Fills `frames` frames of 32-bit float stereo at `out`, which arrives zeroed.
using RenderFunction = std::function<void(float* out, std::size_t frames)>;

class OutputDevice {
  public:
    virtual ~OutputDevice() = default;
};

// Opens device -1 (the default output), 0 (the silent device) or n (the system's n-th output) at
// `rate` Hz and starts pulling from `render`. Null when there is no such device or it can't be
// opened. Destroying the device stops the pulling before it returns.
std::unique_ptr<OutputDevice> openOutputDevice(int device, int rate, RenderFunction render);

}  // namespace lumoset::audio
