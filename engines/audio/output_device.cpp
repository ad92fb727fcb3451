#include "engines/audio/output_device.h"

#include <SDL2/SDL.h>
#include <algorithm>
#include <chrono>
#include <cmath>
#include <condition_variable>
#include <mutex>
#include <thread>
#include <vector>

namespace lumoset::audio {

namespace {

constexpr int blockFrames = 1024;

class SdlDevice final : public OutputDevice {
  public:
    SdlDevice(RenderFunction render) : render_(std::move(render)) {}

    ~SdlDevice() override {
        if (id_ != 0) {
            SDL_CloseAudioDevice(id_);
        }
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
    }

    SdlDevice(const SdlDevice&) = delete;
    SdlDevice& operator=(const SdlDevice&) = delete;

    bool open(int device, int rate) {
        const char* name = nullptr;
        if (device > 0) {
            name = SDL_GetAudioDeviceName(device - 1, 0);
            if (name == nullptr) {
                return false;
            }
        }
        SDL_AudioSpec wanted{};
        wanted.freq = rate;
        wanted.format = AUDIO_S16SYS;
        wanted.channels = 2;
        wanted.samples = blockFrames;
        wanted.callback = &SdlDevice::pull;
        wanted.userdata = this;
        mix_.resize(static_cast<std::size_t>(blockFrames) * 2);
        id_ = SDL_OpenAudioDevice(name, 0, &wanted, nullptr, 0);
        if (id_ == 0) {
            return false;
        }
        SDL_PauseAudioDevice(id_, 0);
        return true;
    }

  private:
    static void SDLCALL pull(void* context, Uint8* stream, int length) {
        auto* self = static_cast<SdlDevice*>(context);
        auto* out = reinterpret_cast<Sint16*>(stream);
        std::size_t frames = static_cast<std::size_t>(length) / (2 * sizeof(Sint16));
        while (frames > 0) {
            const std::size_t n = std::min<std::size_t>(frames, blockFrames);
            std::fill_n(self->mix_.begin(), n * 2, 0.0f);
            self->render_(self->mix_.data(), n);
            for (std::size_t i = 0; i < n * 2; ++i) {
                const float scaled = std::clamp(self->mix_[i] * 32768.0f, -32768.0f, 32767.0f);
                out[i] = static_cast<Sint16>(std::lrintf(scaled));
            }
            out += n * 2;
            frames -= n;
        }
    }

    RenderFunction render_;
    SDL_AudioDeviceID id_ = 0;
    std::vector<float> mix_;
};

// Consumes the mix at the device rate, a block at a time, without playing it.
class SilentDevice final : public OutputDevice {
  public:
    SilentDevice(int rate, RenderFunction render)
        : rate_(rate), render_(std::move(render)), thread_([this] { run(); }) {}

    ~SilentDevice() override {
        {
            std::lock_guard lock(mutex_);
            stopping_ = true;
        }
        wake_.notify_all();
        thread_.join();
    }

    SilentDevice(const SilentDevice&) = delete;
    SilentDevice& operator=(const SilentDevice&) = delete;

  private:
    void run() {
        using Clock = std::chrono::steady_clock;
        const auto start = Clock::now();
        const auto period = std::chrono::microseconds(1'000'000LL * blockFrames / rate_);
        std::vector<float> mix(static_cast<std::size_t>(blockFrames) * 2);
        std::uint64_t consumed = 0;
        std::unique_lock lock(mutex_);
        while (!stopping_) {
            lock.unlock();
            const auto elapsed =
                std::chrono::duration_cast<std::chrono::microseconds>(Clock::now() - start);
            const auto due = static_cast<std::uint64_t>(elapsed.count()) * rate_ / 1'000'000;
            while (consumed < due) {
                const std::size_t n = std::min<std::uint64_t>(due - consumed, blockFrames);
                std::fill_n(mix.begin(), n * 2, 0.0f);
                render_(mix.data(), n);
                consumed += n;
            }
            lock.lock();
            wake_.wait_for(lock, period, [this] { return stopping_; });
        }
    }

    int rate_;
    RenderFunction render_;
    std::mutex mutex_;
    std::condition_variable wake_;
    bool stopping_ = false;
    std::thread thread_;
};

}  // namespace

std::unique_ptr<OutputDevice> openOutputDevice(int device, int rate, RenderFunction render) {
    if (device == 0) {
        return std::make_unique<SilentDevice>(rate, std::move(render));
    }
    if (device < -1) {
        return nullptr;
    }
    // The library lives inside a program that handles its own signals: SDL must not turn
    // SIGINT and SIGTERM into quit events that nobody reads.
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) {
        return nullptr;
    }
    auto sdl = std::make_unique<SdlDevice>(std::move(render));
    if (!sdl->open(device, rate)) {
        return nullptr;  // the destructor quits the subsystem again
    }
    return sdl;
}

}  // namespace lumoset::audio
