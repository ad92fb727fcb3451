// What the audio library costs while it plays: how long a sound takes from the play call to the
// device, and how much processor time the mixer takes while one stream plays.
//
// The device is SDL's disk driver (latency: the moment the first sample is written to the
// output file) or its dummy driver (processor time), both paced in real time like a sound card.
#include <benchmark/benchmark.h>

#include <fcntl.h>
#include <unistd.h>
#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <ctime>
#include <string>
#include <thread>
#include <vector>

#include "engines/audio/audio_library.h"
#include "tests/audio/wav_builder.h"

namespace {

using Clock = std::chrono::steady_clock;

lumoset::Bytes constantWav(int rate, int channels, int frames, std::int16_t value) {
    return lumoset::test::makeWav16(
        rate, channels,
        std::vector<std::int16_t>(static_cast<std::size_t>(frames * channels), value));
}

std::string scratchFile(const char* name) {
    const char* base = std::getenv("TMPDIR");
    return std::string(base != nullptr && *base != '\0' ? base : "/tmp") + "/" + name;
}

off_t sizeOf(int fd) {
    return ::lseek(fd, 0, SEEK_END);
}

// Whether any byte from `from` on in the file is not zero.
bool soundAfter(int fd, off_t from) {
    unsigned char block[16384];
    ssize_t n;
    while ((n = ::pread(fd, block, sizeof block, from)) > 0) {
        for (ssize_t i = 0; i < n; ++i) {
            if (block[i] != 0) {
                return true;
            }
        }
        from += n;
    }
    return false;
}

// The disk device, opened once for all rounds: opening it is not what is measured.
struct DiskDevice {
    std::string output = scratchFile("lumoset-audio-latency.raw");
    lumoset::Bytes wav = constantWav(44100, 2, 44100 * 10, 1000);
    AudioStreamHandle stream = 0;
    int fd = -1;

    DiskDevice() {
        ::setenv("SDL_AUDIODRIVER", "disk", 1);
        ::setenv("SDL_DISKAUDIOFILE", output.c_str(), 1);
        if (BASS_Init(-1, 44100, 0, nullptr, nullptr) != 0) {
            stream =
                BASS_StreamCreateFile(1, wav.data(), 0, static_cast<std::int64_t>(wav.size()), 0);
            fd = ::open(output.c_str(), O_RDONLY | O_CLOEXEC);
        }
    }
};

DiskDevice& diskDevice() {
    static DiskDevice device;
    return device;
}

// One round: wait a while so the call falls anywhere within the device's block, call play, and
// time until `arrived` holds.
template <class Arrived>
void timePlay(benchmark::State& state, Arrived arrived) {
    DiskDevice& device = diskDevice();
    if (device.fd < 0) {
        state.SkipWithError("no device");
        return;
    }
    static std::uint32_t seed = 12345;
    for (auto _ : state) {
        seed = seed * 1664525u + 1013904223u;
        std::this_thread::sleep_for(std::chrono::microseconds(30000 + (seed >> 8) % 30000));
        const off_t from = sizeOf(device.fd);
        const auto start = Clock::now();
        BASS_ChannelPlay(device.stream, 1);
        while (!arrived(device, from)) {
            std::this_thread::yield();
        }
        state.SetIterationTime(std::chrono::duration<double>(Clock::now() - start).count());
        BASS_ChannelStop(device.stream);
    }
}

// Until the mixer has handed the stream's first block to the device.
void PlayToFirstSampleAtTheDevice(benchmark::State& state) {
    timePlay(state, [](DiskDevice& device, off_t) {
        return BASS_ChannelGetPosition(device.stream, LUMOSET_AUDIO_BYTES) > 0;
    });
}

// Until the disk driver has written the first sample into its file (its file buffering can add
// a block).
void PlayToFirstSampleInTheDiskFile(benchmark::State& state) {
    timePlay(state, [](DiskDevice& device, off_t from) { return soundAfter(device.fd, from); });
}

double smallest(const std::vector<double>& v) {
    return *std::min_element(v.begin(), v.end());
}
double largest(const std::vector<double>& v) {
    return *std::max_element(v.begin(), v.end());
}

BENCHMARK(PlayToFirstSampleAtTheDevice)
    ->UseManualTime()
    ->Iterations(1)
    ->Repetitions(200)
    ->ReportAggregatesOnly()
    ->ComputeStatistics("min", smallest)
    ->ComputeStatistics("max", largest)
    ->Unit(benchmark::kMillisecond);
BENCHMARK(PlayToFirstSampleInTheDiskFile)
    ->UseManualTime()
    ->Iterations(1)
    ->Repetitions(200)
    ->ReportAggregatesOnly()
    ->ComputeStatistics("min", smallest)
    ->ComputeStatistics("max", largest)
    ->Unit(benchmark::kMillisecond);

double processSeconds() {
    timespec now;
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return double(now.tv_sec) + double(now.tv_nsec) / 1e9;
}

// Processor time of the whole process over three seconds of playing while this thread sleeps:
// that is the device thread and the mixer. Argument: rate of the stream (44100 needs no
// resampling), or 0 for the device running with no stream at all.
void MixerProcessorTime(benchmark::State& state) {
    BASS_Free();  // the latency rounds' device, if it is open
    if (diskDevice().fd >= 0) {
        ::close(diskDevice().fd);
        ::unlink(diskDevice().output.c_str());
        diskDevice().fd = -1;
    }
    ::setenv("SDL_AUDIODRIVER", "dummy", 1);
    if (BASS_Init(-1, 44100, 0, nullptr, nullptr) == 0) {
        state.SkipWithError("no device");
        return;
    }
    const int rate = static_cast<int>(state.range(0));
    const auto wav =
        constantWav(rate == 0 ? 44100 : rate, 2, 20 * (rate == 0 ? 44100 : rate), 1000);
    const AudioStreamHandle stream =
        BASS_StreamCreateFile(1, wav.data(), 0, static_cast<std::int64_t>(wav.size()), 0);
    if (rate != 0) {
        BASS_ChannelPlay(stream, 1);
    }
    double share = 0;
    for (auto _ : state) {
        const double cpu = processSeconds();
        const auto start = Clock::now();
        std::this_thread::sleep_for(std::chrono::seconds(3));
        const double wall = std::chrono::duration<double>(Clock::now() - start).count();
        share = (processSeconds() - cpu) / wall;
    }
    state.counters["cpu_percent_of_one_core"] = share * 100;
    BASS_Free();
}
BENCHMARK(MixerProcessorTime)
    ->Arg(0)
    ->Arg(44100)
    ->Arg(22050)
    ->Iterations(1)
    ->Unit(benchmark::kSecond);

}  // namespace
