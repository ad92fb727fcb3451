// The audio library itself, reached the way the program reaches it: through AudioPlayer, with
// the library image the program carries. SDL's disk driver writes what reaches the device into
// a file, so the tests read back exactly what would have been heard.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <httplib.h>

#include <algorithm>
#include <atomic>
#include <cmath>
#include <condition_variable>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <functional>
#include <map>
#include <mutex>
#include <numbers>
#include <thread>

#include "app/shell/companion_library.h"
#include "audio/audio_player.h"
#include "engines/audio/audio_library.h"
#include "tests/audio/wav_builder.h"
#include "tests/support/test_support.h"

namespace lumoset {
namespace {

namespace fs = std::filesystem;
using test::makeWav;
using test::makeWav16;
using test::WavSpec;

// A stale copy from an earlier build would be used as it is: start from the current image.
class FreshLibraryEnvironment : public ::testing::Environment {
  public:
    void SetUp() override { fs::remove(privateTemporaryFolder() / audioLibraryFile); }
};

const auto* const environment = ::testing::AddGlobalTestEnvironment(new FreshLibraryEnvironment);

std::int32_t lastError() {
    return bindFunction<decltype(lumoset_audio_last_error)>(audioLibraryFile,
                                                            "lumoset_audio_last_error")();
}

// Frames of 16-bit stereo, as the device receives them.
struct Frame {
    std::int16_t left;
    std::int16_t right;
    bool operator==(const Frame&) const = default;
};

std::vector<Frame> framesOf(const std::string& bytes) {
    std::vector<Frame> frames(bytes.size() / sizeof(Frame));
    std::memcpy(frames.data(), bytes.data(), frames.size() * sizeof(Frame));
    return frames;
}

std::vector<std::int16_t> noise(std::size_t count, std::uint32_t seed) {
    std::vector<std::int16_t> samples(count);
    for (auto& s : samples) {
        seed = seed * 1664525u + 1013904223u;
        s = static_cast<std::int16_t>((seed >> 16) | 1);  // never 0, so never silence
    }
    return samples;
}

std::vector<double> sine(double frequency, int rate, std::size_t frames, double amplitude) {
    std::vector<double> samples(frames);
    for (std::size_t i = 0; i < frames; ++i) {
        samples[i] = amplitude * std::sin(2 * std::numbers::pi * frequency * double(i) / rate);
    }
    return samples;
}

class AudioLibraryTest : public ::testing::Test {
  protected:
    void TearDown() override { player.release(); }

    // Sends the output to a file of SDL's disk driver from the next initialise on.
    void useDiskOutput() {
        output_ = dir_.path() / ("out" + std::to_string(outputs_++) + ".raw");
        ::setenv("SDL_AUDIODRIVER", "disk", 1);
        ::setenv("SDL_DISKAUDIOFILE", output_.c_str(), 1);
    }

    // Closes the device and reads all that reached it.
    std::vector<Frame> deviceOutput() {
        player.release();
        return framesOf(test::readFile(output_));
    }

    fs::path file(const std::string& name, const Bytes& bytes) {
        const fs::path path = dir_.path() / name;
        test::writeFile(path, toText(bytes));
        return path;
    }

    bool waitForActivity(StreamHandle stream, std::uint32_t activity) {
        return test::waitUntil([&] { return player.isActive(stream) == activity; },
                               std::chrono::seconds(30));
    }

    AudioPlayer player;
    test::TempDir dir_;
    fs::path output_;
    int outputs_ = 0;
};

TEST_F(AudioLibraryTest, TheWavSamplesReachTheDeviceWithSilenceAround) {
    const auto samples = noise(2 * 11025, 7);
    const Bytes wav = makeWav16(44100, 2, samples);
    const std::string wanted = test::sampleBytes(samples);
    const fs::path existing = file("a.wav", wav);
    const std::string missing = (dir_.path() / "missing.wav").string();
    for (const std::string& path : {existing.string(), missing}) {
        useDiskOutput();
        ASSERT_TRUE(player.initialise());
        const StreamHandle stream = player.createStream(path, wav);
        ASSERT_NE(stream, 0u);
        ASSERT_TRUE(player.play(stream));
        ASSERT_TRUE(waitForActivity(stream, 0));
        const auto frames = deviceOutput();
        std::string bytes(reinterpret_cast<const char*>(frames.data()), frames.size() * 4);
        const std::size_t at = bytes.find(wanted);
        ASSERT_NE(at, std::string::npos) << path;
        EXPECT_EQ(at % 4, 0u);
        bytes.erase(at, wanted.size());
        EXPECT_EQ(bytes.find_first_not_of('\0'), std::string::npos) << "only silence around";
    }
}

// Each frame names itself: left is its index modulo 32000 plus 1, right the rest plus 1.
std::vector<std::int16_t> numberedFrames(int count) {
    std::vector<std::int16_t> samples;
    for (int i = 0; i < count; ++i) {
        samples.push_back(static_cast<std::int16_t>(i % 32000 + 1));
        samples.push_back(static_cast<std::int16_t>(i / 32000 + 1));
    }
    return samples;
}

int frameNumber(const Frame& frame) {
    return frame.left == 0 ? -1 : (frame.right - 1) * 32000 + frame.left - 1;
}

// Whether frames `from` .. `to` - 1 follow one another in `numbers` starting at `at`.
bool runAt(const std::vector<int>& numbers, std::size_t at, int from, int to) {
    if (at + static_cast<std::size_t>(to - from) > numbers.size()) {
        return false;
    }
    for (int n = from; n < to; ++n) {
        if (numbers[at + static_cast<std::size_t>(n - from)] != n) {
            return false;
        }
    }
    return true;
}

// The text-to-speech window's sequence: read the position, pause, and later play (which
// restarts) and move back to the saved position.
TEST_F(AudioLibraryTest, PauseThenResumeAtTheSavedPositionContinuesFromThere) {
    constexpr int total = 2 * 44100;
    useDiskOutput();
    ASSERT_TRUE(player.initialise());
    const Bytes wav = makeWav16(44100, 2, numberedFrames(total));
    const StreamHandle stream = player.createStream("", wav);
    ASSERT_NE(stream, 0u);
    EXPECT_EQ(player.isActive(stream), 0u);
    ASSERT_TRUE(player.play(stream));
    EXPECT_EQ(player.isActive(stream), 1u);
    ASSERT_TRUE(test::waitUntil([&] { return player.position(stream) >= 4 * 13000; }));
    const std::int64_t saved = player.position(stream);
    ASSERT_TRUE(player.pause(stream));
    EXPECT_EQ(player.isActive(stream), 3u);

    // The device goes on running while the stream stays where it was paused.
    const std::int64_t paused = player.position(stream);
    const auto written = [&] { return fs::file_size(output_); };
    const auto before = written();
    ASSERT_TRUE(test::waitUntil([&] { return written() > before + 4 * 4096; }));
    EXPECT_EQ(player.position(stream), paused);
    EXPECT_EQ(player.isActive(stream), 3u);

    ASSERT_TRUE(player.play(stream));
    ASSERT_TRUE(player.setPosition(stream, saved));
    ASSERT_TRUE(waitForActivity(stream, 0));
    EXPECT_EQ(player.position(stream), player.length(stream));

    std::vector<int> numbers;
    for (const Frame& frame : deviceOutput()) {
        numbers.push_back(frameNumber(frame));
    }
    const int resumeAt = static_cast<int>(saved / 4);
    const auto first = std::find(numbers.begin(), numbers.end(), 0) - numbers.begin();
    ASSERT_TRUE(runAt(numbers, static_cast<std::size_t>(first), 0, resumeAt));
    // The last time the saved frame reached the device starts the rest of the sound.
    const auto resumed = numbers.rend() - std::find(numbers.rbegin(), numbers.rend(), resumeAt) - 1;
    EXPECT_GT(resumed, first + resumeAt - 1);
    EXPECT_TRUE(runAt(numbers, static_cast<std::size_t>(resumed), resumeAt, total));
}

TEST_F(AudioLibraryTest, TwoStreamsPlayAtOnceMixedTogether) {
    constexpr std::size_t frames = 11025;
    useDiskOutput();
    ASSERT_TRUE(player.initialise());
    const Bytes low = makeWav16(44100, 2, std::vector<std::int16_t>(2 * frames, 1000));
    const Bytes high = makeWav16(44100, 2, std::vector<std::int16_t>(2 * frames, 2000));
    const StreamHandle a = player.createStream("", low);
    const StreamHandle b = player.createStream("", high);
    ASSERT_NE(a, b);
    ASSERT_TRUE(player.play(a));
    ASSERT_TRUE(player.play(b));
    ASSERT_TRUE(waitForActivity(a, 0));
    ASSERT_TRUE(waitForActivity(b, 0));
    std::map<int, std::size_t> levels;
    for (const Frame& frame : deviceOutput()) {
        ASSERT_EQ(frame.left, frame.right);
        ++levels[frame.left];
    }
    // 3000 is only heard where both play at once; the two calls to play may fall on either
    // side of a device block or two.
    EXPECT_GE(levels[3000], frames / 2);
    EXPECT_EQ(levels[1000] + levels[3000], frames);
    EXPECT_EQ(levels[2000] + levels[3000], frames);
    levels.erase(0);
    levels.erase(1000);
    levels.erase(2000);
    levels.erase(3000);
    EXPECT_TRUE(levels.empty());
}

TEST_F(AudioLibraryTest, TheSpectrumPeaksInTheBinOfTheTone) {
    struct Case {
        double frequency;
        std::size_t bin;
        float low;
        float high;
    };
    // 1 kHz lies between bins 5 and 6 (172.3 Hz each); bin 10's centre gives its full height.
    for (const Case c :
         {Case{1000.0, 6, 0.5f, 1.05f}, Case{10 * 44100.0 / 256, 10, 0.95f, 1.05f}}) {
        ASSERT_TRUE(player.initialise(0));
        const Bytes wav = makeWav(WavSpec{44100, 16, 1}, sine(c.frequency, 44100, 44100, 0.999));
        const StreamHandle stream = player.createStream("", wav);
        ASSERT_TRUE(player.play(stream));
        ASSERT_TRUE(test::waitUntil([&] { return player.position(stream) >= 2 * 4410; }));
        std::vector<float> magnitudes;
        ASSERT_EQ(player.fftData(stream, magnitudes), 512);
        ASSERT_EQ(magnitudes.size(), 128u);
        const auto peak = std::max_element(magnitudes.begin(), magnitudes.end());
        EXPECT_EQ(static_cast<std::size_t>(peak - magnitudes.begin()), c.bin) << c.frequency;
        EXPECT_GE(*peak, c.low);
        EXPECT_LE(*peak, c.high);
        EXPECT_EQ(player.fftData(stream + 1000, magnitudes), -1);
        player.release();
    }
}

TEST_F(AudioLibraryTest, NoDeviceFailsInitialisationAndNothingElseBreaks) {
    ::setenv("SDL_AUDIODRIVER", "alsa", 1);
    ::setenv("AUDIODEV", "hw:99,0", 1);  // no such card, whatever this machine has
    EXPECT_FALSE(player.initialise());
    EXPECT_EQ(lastError(), lumosetAudioNoDevice);
    const Bytes wav = makeWav16(44100, 2, noise(64, 1));
    EXPECT_EQ(player.createStream("", wav), 0u);
    EXPECT_EQ(lastError(), lumosetAudioNotInitialised);
    EXPECT_FALSE(player.release());
    EXPECT_EQ(player.volume(), -1.0f);
    ::unsetenv("AUDIODEV");
    ::setenv("SDL_AUDIODRIVER", "dummy", 1);
    EXPECT_TRUE(player.initialise());
}

TEST_F(AudioLibraryTest, ASecondInitialiseAnswersAlreadyAndStreamsStopAndResumeOnTheSilentDevice) {
    ASSERT_TRUE(player.initialise(0));
    EXPECT_FALSE(player.initialise());
    EXPECT_EQ(lastError(), lumosetAudioAlready);
    const Bytes wav = makeWav16(22050, 1, noise(22050, 3));  // one second
    const StreamHandle stream = player.createStream("", wav);
    ASSERT_TRUE(player.play(stream));
    ASSERT_TRUE(test::waitUntil([&] { return player.position(stream) > 0; }));
    ASSERT_TRUE(player.stop(stream));
    EXPECT_EQ(player.isActive(stream), 0u);
    const std::int64_t stopped = player.position(stream);
    EXPECT_FALSE(player.pause(stream));  // only what plays can pause
    ASSERT_TRUE(player.play(stream, false));
    EXPECT_GE(player.position(stream), stopped);
    ASSERT_TRUE(waitForActivity(stream, 0));
    EXPECT_EQ(player.position(stream), 44100);
    // Resuming a stream that has played to its end plays it again.
    ASSERT_TRUE(player.play(stream, false));
    EXPECT_LT(player.position(stream), 44100);
    EXPECT_EQ(player.isActive(stream), 1u);
    EXPECT_TRUE(player.release());
    EXPECT_FALSE(player.release());
    EXPECT_EQ(player.isActive(stream), 0u);
}

// Every common PCM layout reaches the 44.1 kHz stereo device whole, to its last frame.
TEST_F(AudioLibraryTest, CommonFormatsConvertWithoutLosingTheTail) {
    using test::Encoding;
    const WavSpec specs[] = {
        {8000, 8, 1},
        {11025, 16, 2},
        {22050, 16, 1},
        {44100, 24, 2},
        {48000, 32, 2},
        {96000, 16, 2},
        {32000, 32, 1, Encoding::floating},
        {44100, 64, 2, Encoding::floating},
        {44100, 16, 6},
    };
    for (const WavSpec& spec : specs) {
        const std::size_t frames = static_cast<std::size_t>(spec.rate) / 5;  // 0.2 s
        const Bytes wav = makeWav(
            spec, std::vector<double>(frames * static_cast<std::size_t>(spec.channels), 0.5));
        useDiskOutput();
        ASSERT_TRUE(player.initialise());
        const StreamHandle stream = player.createStream("", wav);
        ASSERT_NE(stream, 0u) << spec.rate << "/" << spec.bits << "/" << spec.channels;
        EXPECT_EQ(player.length(stream), static_cast<std::int64_t>(wav.size() - 44));
        ASSERT_TRUE(player.play(stream));
        ASSERT_TRUE(waitForActivity(stream, 0));
        const auto output = deviceOutput();
        const auto heard = [](const Frame& f) { return std::abs(f.left) > 1000; };
        const auto first = std::find_if(output.begin(), output.end(), heard);
        const auto last = std::find_if(output.rbegin(), output.rend(), heard).base();
        const auto span = last - first;
        const std::string format = std::to_string(spec.rate) + "/" + std::to_string(spec.bits) +
                                   "/" + std::to_string(spec.channels);
        EXPECT_NEAR(static_cast<double>(span), 8820.0, 6.0) << format;
        if (spec.channels <= 2) {
            const Frame middle = *(first + span / 2);
            EXPECT_NEAR(middle.left, 16384, 200) << format;
            EXPECT_EQ(middle.left, middle.right) << format;
        }
    }
}

TEST_F(AudioLibraryTest, PositionsLengthsSecondsAndTags) {
    ASSERT_TRUE(player.initialise(0));
    const Bytes tagged = makeWav(WavSpec{44100, 16, 2}, std::vector<double>(2 * 4410, 0.25),
                                 {{"INAM", "Title"}, {"IART", "Me"}});
    const StreamHandle stream = player.createStream("", tagged);
    ASSERT_NE(stream, 0u);
    EXPECT_EQ(player.length(stream), 17640);
    EXPECT_EQ(player.position(stream), 0);
    EXPECT_DOUBLE_EQ(player.bytesToSeconds(stream, 17640), 0.1);
    EXPECT_EQ(player.secondsToBytes(stream, 0.05), 8820);
    EXPECT_TRUE(player.setPosition(stream, 8822));
    EXPECT_EQ(player.position(stream), 8820);  // a whole frame
    EXPECT_TRUE(player.setPosition(stream, 17640));
    EXPECT_FALSE(player.setPosition(stream, 17644));
    EXPECT_EQ(player.tags(stream), "INAM=Title\nIART=Me");

    // The WAV may begin further into its file: 100 bytes in, here.
    Bytes padded(100, 'x');
    const Bytes plain = makeWav16(8000, 1, noise(800, 5));
    padded.insert(padded.end(), plain.begin(), plain.end());
    const std::string path = file("padded.wav", padded).string();
    for (const StreamHandle from :
         {player.createStream(path, {}, "", 100), player.createStream("", padded, "", 100)}) {
        ASSERT_NE(from, 0u);
        EXPECT_EQ(player.length(from), 1600);
        EXPECT_EQ(player.tags(from), "");
    }
    EXPECT_EQ(player.createStream(path), 0u);
    EXPECT_EQ(lastError(), lumosetAudioFormat);
    EXPECT_EQ(player.createStream(path, {}, "", 1'000'000), 0u);
    EXPECT_EQ(lastError(), lumosetAudioFileOpen);

    EXPECT_TRUE(player.freeStream(stream));
    EXPECT_FALSE(player.freeStream(stream));
    EXPECT_EQ(lastError(), lumosetAudioBadHandle);
    EXPECT_EQ(player.position(stream), -1);
    EXPECT_EQ(player.isActive(stream), 0u);
}

TEST_F(AudioLibraryTest, MasterVolumeScalesTheMix) {
    useDiskOutput();
    ASSERT_TRUE(player.initialise());
    EXPECT_EQ(player.volume(), 1.0f);
    EXPECT_TRUE(player.setVolume(0.5f));
    EXPECT_FALSE(player.setVolume(1.5f));
    EXPECT_EQ(player.volume(), 0.5f);
    const Bytes wav = makeWav16(44100, 2, std::vector<std::int16_t>(2 * 4410, 10000));
    const StreamHandle stream = player.createStream("", wav);
    ASSERT_TRUE(player.play(stream));
    ASSERT_TRUE(waitForActivity(stream, 0));
    std::map<int, std::size_t> levels;
    for (const Frame& frame : deviceOutput()) {
        ++levels[frame.left];
    }
    EXPECT_EQ(levels[5000], 4410u);
    EXPECT_EQ(levels.size(), 2u);  // and silence
}

// An http server on 127.0.0.1 for network streams.
class LoopbackServer {
  public:
    explicit LoopbackServer(const std::function<void(httplib::Server&)>& routes) {
        routes(server_);
        port_ = server_.bind_to_any_port("127.0.0.1");
        thread_ = std::thread([this] { server_.listen_after_bind(); });
        test::waitUntil([this] { return server_.is_running(); });
    }
    ~LoopbackServer() {
        server_.stop();
        thread_.join();
    }
    std::string url(const std::string& path) const {
        return "http://127.0.0.1:" + std::to_string(port_) + path;
    }

  private:
    httplib::Server server_;
    int port_ = 0;
    std::thread thread_;
};

TEST_F(AudioLibraryTest, NetworkStreamsStartAtTheOffsetWhetherOrNotTheServerHonoursRanges) {
    const auto samples = noise(2 * 4410, 11);
    const Bytes wav = makeWav16(44100, 2, samples);
    std::string body(100, 'x');
    body += toText(wav);
    std::string rangeAsked;
    LoopbackServer server([&](httplib::Server& s) {
        s.Get("/ranged.wav", [&](const httplib::Request& request, httplib::Response& response) {
            rangeAsked = request.get_header_value("Range");
            response.set_content(body, "audio/wav");
        });
        s.Get("/whole.wav", [&](const httplib::Request&, httplib::Response& response) {
            response.set_chunked_content_provider("audio/wav",
                                                  [&](std::size_t, httplib::DataSink& sink) {
                                                      sink.write(body.data(), body.size());
                                                      sink.done();
                                                      return true;
                                                  });
        });
    });
    for (const std::string path : {"/ranged.wav", "/whole.wav"}) {
        useDiskOutput();
        ASSERT_TRUE(player.initialise());
        const StreamHandle stream = player.createStream("", {}, server.url(path), 100);
        ASSERT_NE(stream, 0u) << path;
        ASSERT_TRUE(player.play(stream));
        ASSERT_TRUE(waitForActivity(stream, 0));
        EXPECT_EQ(player.length(stream), static_cast<std::int64_t>(samples.size() * 2));
        const auto frames = deviceOutput();
        const std::string heard(reinterpret_cast<const char*>(frames.data()), frames.size() * 4);
        EXPECT_NE(heard.find(test::sampleBytes(samples)), std::string::npos) << path;
    }
    EXPECT_EQ(rangeAsked, "bytes=100-");

    // The download hook sees every byte from the offset on, then the end.
    struct Seen {
        std::mutex mutex;
        std::string bytes;
        bool ended = false;
    } seen;
    const auto hook = [](const void* data, std::uint32_t length, void* user) {
        auto* into = static_cast<Seen*>(user);
        std::lock_guard lock(into->mutex);
        if (data == nullptr) {
            into->ended = true;
        } else {
            into->bytes.append(static_cast<const char*>(data), length);
        }
    };
    ASSERT_TRUE(player.initialise(0));
    const auto createUrl =
        bindFunction<decltype(BASS_StreamCreateURL)>(audioLibraryFile, "BASS_StreamCreateURL");
    ASSERT_NE(createUrl(server.url("/ranged.wav").c_str(), 100, 0, hook, &seen), 0u);
    ASSERT_TRUE(test::waitUntil([&] {
        std::lock_guard lock(seen.mutex);
        return seen.ended;
    }));
    EXPECT_EQ(seen.bytes, toText(wav));
}

TEST_F(AudioLibraryTest, ANetworkStreamStallsWhileItsBytesAreLateAndThenPlaysOn) {
    const Bytes wav = makeWav16(44100, 2, noise(2 * 44100, 13));
    std::mutex mutex;
    std::condition_variable released;
    bool rest = false;
    LoopbackServer server([&](httplib::Server& s) {
        s.Get("/slow.wav", [&](const httplib::Request&, httplib::Response& response) {
            response.set_chunked_content_provider("audio/wav", [&](std::size_t offset,
                                                                   httplib::DataSink& sink) {
                if (offset == 0) {
                    sink.write(reinterpret_cast<const char*>(wav.data()), wav.size() / 4);
                    return true;
                }
                std::unique_lock lock(mutex);
                released.wait(lock, [&] { return rest; });
                sink.write(reinterpret_cast<const char*>(wav.data()) + offset, wav.size() - offset);
                sink.done();
                return true;
            });
        });
    });
    const auto letTheRestGo = [&] {
        {
            std::lock_guard lock(mutex);
            rest = true;
        }
        released.notify_all();
    };
    ASSERT_TRUE(player.initialise(0));
    const StreamHandle stream = player.createStream("", {}, server.url("/slow.wav"));
    ASSERT_NE(stream, 0u);
    EXPECT_EQ(player.length(stream), 4 * 44100);
    ASSERT_TRUE(player.play(stream));
    const bool stalled = waitForActivity(stream, 2);
    const std::int64_t stalledAt = player.position(stream);
    letTheRestGo();
    ASSERT_TRUE(stalled);
    EXPECT_LE(stalledAt, static_cast<std::int64_t>(wav.size() / 4));
    ASSERT_TRUE(waitForActivity(stream, 0));
    EXPECT_EQ(player.position(stream), 4 * 44100);
}

TEST_F(AudioLibraryTest, AddressesThatGiveNoWavGiveNoStream) {
    LoopbackServer server([](httplib::Server& s) {
        s.Get("/text", [](const httplib::Request&, httplib::Response& response) {
            response.set_content("not a sound", "text/plain");
        });
    });
    ASSERT_TRUE(player.initialise(0));
    EXPECT_EQ(player.createStream("", {}, server.url("/missing.wav")), 0u);
    EXPECT_EQ(lastError(), lumosetAudioNetwork);
    EXPECT_EQ(player.createStream("", {}, server.url("/text")), 0u);
    EXPECT_EQ(lastError(), lumosetAudioFormat);
    EXPECT_EQ(player.createStream("", {}, "ftp://127.0.0.1/a.wav"), 0u);
    EXPECT_EQ(lastError(), lumosetAudioBadArgument);
}

// The playback worker and the window use one player on the same streams at the same time.
TEST_F(AudioLibraryTest, CallsFromSeveralThreadsAtOnceAllHold) {
    ASSERT_TRUE(player.initialise(0));
    const Bytes wav = makeWav16(44100, 2, noise(2 * 8820, 17));
    std::atomic<int> failures{0};
    const auto check = [&](bool held) { failures += held ? 0 : 1; };
    std::vector<std::thread> threads;
    for (int t = 0; t < 4; ++t) {
        threads.emplace_back([&, t] {
            AudioPlayer own;
            for (int round = 0; round < 40; ++round) {
                const StreamHandle stream = own.createStream("", wav);
                check(stream != 0);
                check(own.play(stream));
                check(own.setPosition(stream, 4 * (round * 100 + t)));
                check(own.position(stream) >= 0);
                std::vector<float> magnitudes;
                check(own.fftData(stream, magnitudes) == 512);
                own.pause(stream);  // the stream may have ended already
                check(own.play(stream, false));
                check(own.length(stream) == 4 * 8820);
                check(own.freeStream(stream));
                check(own.isActive(stream) == 0);
            }
        });
    }
    for (auto& thread : threads) {
        thread.join();
    }
    EXPECT_EQ(failures.load(), 0);
}

}  // namespace
}  // namespace lumoset
