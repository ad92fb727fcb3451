// Parts of the audio library on their own: reading WAV headers and converting chunk by chunk.
#include <gtest/gtest.h>

#include <SDL2/SDL.h>
#include <cmath>
#include <cstring>

#include "engines/audio/byte_source.h"
#include "engines/audio/pcm_converter.h"
#include "engines/audio/wav_format.h"
#include "text/types.h"

namespace lumoset::audio {
namespace {

void put32(Bytes& bytes, std::size_t at, std::uint32_t value) {
    for (int i = 0; i < 4; ++i) {
        bytes[at + i] = static_cast<unsigned char>(value >> (8 * i));
    }
}

Bytes chunk(const std::string& id, const std::string& body) {
    Bytes bytes(id.begin(), id.end());
    bytes.resize(8);
    put32(bytes, 4, static_cast<std::uint32_t>(body.size()));
    bytes.insert(bytes.end(), body.begin(), body.end());
    if (body.size() % 2 != 0) {
        bytes.push_back(0);
    }
    return bytes;
}

// A RIFF/WAVE file of the given chunks.
Bytes riff(const std::vector<Bytes>& chunks) {
    Bytes bytes{'R', 'I', 'F', 'F', 0, 0, 0, 0, 'W', 'A', 'V', 'E'};
    for (const Bytes& c : chunks) {
        bytes.insert(bytes.end(), c.begin(), c.end());
    }
    put32(bytes, 4, static_cast<std::uint32_t>(bytes.size() - 8));
    return bytes;
}

std::string formatBody(int tag, int channels, int rate, int bits, bool extensible = false) {
    Bytes body(extensible ? 40 : 16, 0);
    const int frameBytes = channels * bits / 8;
    body[0] = static_cast<unsigned char>(extensible ? 0xFE : tag);
    body[1] = extensible ? 0xFF : 0;
    body[2] = static_cast<unsigned char>(channels);
    put32(body, 4, static_cast<std::uint32_t>(rate));
    put32(body, 8, static_cast<std::uint32_t>(rate * frameBytes));
    body[12] = static_cast<unsigned char>(frameBytes);
    body[14] = static_cast<unsigned char>(bits);
    if (extensible) {
        body[16] = 22;
        body[24] = static_cast<unsigned char>(tag);  // the sub-format's leading two bytes
    }
    return toText(body);
}

WavHeader headerOf(const Bytes& bytes) {
    return readWavHeader(*memorySource(bytes.data(), bytes.size()));
}

// Bytes that are still arriving.
class GrowingSource : public ByteSource {
  public:
    GrowingSource(const Bytes& bytes, std::size_t arrived) : bytes_(bytes), arrived_(arrived) {}
    std::uint64_t available() const override { return arrived_; }
    bool finished() const override { return false; }
    std::size_t read(std::uint64_t offset, unsigned char* into, std::size_t count) const override {
        count = readableCount(offset, count, arrived_);
        std::memcpy(into, bytes_.data() + offset, count);
        return count;
    }

  private:
    const Bytes& bytes_;
    std::size_t arrived_;
};

TEST(WavHeader, FindsFormatSamplesAndTagsWhereverTheChunksLie) {
    const std::string pcm16 = formatBody(1, 2, 22050, 16);
    const std::string samples(400, '\x01');
    const std::string info = "INFOINAM" + std::string("\x06\0\0\0", 4) + "Title" + '\0';

    struct Case {
        const char* name;
        Bytes wav;
        WavStatus status;
        std::uint64_t dataOffset;
        std::uint64_t dataBytes;
        std::string tags;
    };
    Bytes truncated = riff({chunk("fmt ", pcm16), chunk("data", samples)});
    put32(truncated, 40, 100000);  // the data chunk claims far more than the file holds
    Bytes openEnded = riff({chunk("fmt ", pcm16), chunk("data", samples)});
    put32(openEnded, 40, 0xFFFFFFFF);
    const Case cases[] = {
        {"plain", riff({chunk("fmt ", pcm16), chunk("data", samples)}), WavStatus::ok, 44, 400, ""},
        {"odd chunk first",
         riff({chunk("junk", "abc"), chunk("fmt ", pcm16), chunk("data", samples)}), WavStatus::ok,
         56, 400, ""},
        {"tags after the samples",
         riff({chunk("fmt ", pcm16), chunk("data", samples), chunk("LIST", info)}), WavStatus::ok,
         44, 400, "INAM=Title"},
        {"truncated", truncated, WavStatus::ok, 44, 400, ""},
        {"open-ended", openEnded, WavStatus::ok, 44, 400, ""},
        {"odd sample count",
         riff({chunk("fmt ", pcm16), chunk("data", samples.substr(0, 398) + "x")}), WavStatus::ok,
         44, 396, ""},
        {"extensible 24-bit",
         riff({chunk("fmt ", formatBody(1, 2, 48000, 24, true)),
               chunk("data", samples.substr(0, 396))}),
         WavStatus::ok, 68, 396, ""},
        {"ADPCM", riff({chunk("fmt ", formatBody(2, 1, 8000, 4)), chunk("data", samples)}),
         WavStatus::invalid, 0, 0, ""},
        {"samples before format", riff({chunk("data", samples), chunk("fmt ", pcm16)}),
         WavStatus::invalid, 0, 0, ""},
        {"no samples", riff({chunk("fmt ", pcm16)}), WavStatus::invalid, 0, 0, ""},
        {"not a WAV", toBytes("RIFX....WAVEfmt "), WavStatus::invalid, 0, 0, ""},
    };
    for (const Case& c : cases) {
        const WavHeader header = headerOf(c.wav);
        ASSERT_EQ(header.status, c.status) << c.name;
        if (c.status == WavStatus::ok) {
            EXPECT_EQ(header.layout.dataOffset, c.dataOffset) << c.name;
            EXPECT_EQ(header.layout.dataBytes, c.dataBytes) << c.name;
            EXPECT_EQ(header.layout.tags, c.tags) << c.name;
        }
    }
    const WavHeader extensible = headerOf(cases[6].wav);
    EXPECT_EQ(extensible.layout.format.kind, SampleKind::signed24);
    EXPECT_EQ(extensible.layout.format.frameBytes, 6);
}

TEST(WavHeader, WaitsForMoreWhileBytesAreStillArriving) {
    const Bytes wav = riff({chunk("fmt ", formatBody(1, 1, 8000, 16)), chunk("data", "abcd")});
    EXPECT_EQ(readWavHeader(GrowingSource(wav, 30)).status, WavStatus::needMore);
    EXPECT_EQ(readWavHeader(*memorySource(wav.data(), 30)).status, WavStatus::invalid);
    const WavHeader started = readWavHeader(GrowingSource(wav, 44));
    ASSERT_EQ(started.status, WavStatus::ok);
    EXPECT_EQ(started.layout.dataBytes, 4u);  // as the header says, until the download ends
}

// Converting a stream chunk by chunk gives what converting it in one piece gives.
TEST(PcmConverter, ChunkByChunkEqualsAllAtOnce) {
    constexpr int deviceRate = 44100;
    for (const int rate : {8000, 22050, 32000, 44100, 48000, 96000}) {
        for (const int channels : {1, 2}) {
            const std::size_t frames = 3 * 4096 + 1234;
            std::vector<std::int16_t> samples(frames * channels);
            std::uint32_t seed = 99;
            for (auto& s : samples) {
                seed = seed * 1664525u + 1013904223u;
                s = static_cast<std::int16_t>(seed >> 17);
            }
            const auto* raw = reinterpret_cast<const unsigned char*>(samples.data());
            const std::size_t frameBytes = 2 * static_cast<std::size_t>(channels);

            SDL_AudioCVT whole;
            ASSERT_GE(SDL_BuildAudioCVT(&whole, AUDIO_S16LSB, static_cast<Uint8>(channels), rate,
                                        AUDIO_F32SYS, 2, deviceRate),
                      0);
            std::vector<Uint8> buffer(frames * frameBytes * std::max(whole.len_mult, 1));
            std::memcpy(buffer.data(), raw, frames * frameBytes);
            whole.buf = buffer.data();
            whole.len = static_cast<int>(frames * frameBytes);
            ASSERT_EQ(SDL_ConvertAudio(&whole), 0);
            const std::size_t wholeFrames =
                whole.needed ? static_cast<std::size_t>(whole.len_cvt) / 8 : frames;
            const auto* reference = reinterpret_cast<const float*>(buffer.data());

            PcmConverter converter(
                PcmFormat{SampleKind::signed16, channels, rate, static_cast<int>(frameBytes)},
                deviceRate);
            ASSERT_TRUE(converter.valid());
            std::vector<float> chunked;
            for (std::uint64_t index = 0;; ++index) {
                const std::uint64_t first = converter.inputFirst(index);
                const std::uint64_t end = converter.inputEnd(index, frames);
                if (index * converter.chunkSourceFrames() >= frames) {
                    break;
                }
                const std::vector<unsigned char> input(raw + first * frameBytes,
                                                       raw + end * frameBytes);
                std::vector<float> out;
                ASSERT_TRUE(converter.convert(index, frames, true, input, out));
                chunked.insert(chunked.end(), out.begin(), out.end());
            }
            const std::string name = std::to_string(rate) + "/" + std::to_string(channels);
            ASSERT_EQ(chunked.size() / 2, converter.toDeviceFrames(frames)) << name;
            ASSERT_NEAR(double(chunked.size() / 2), double(wholeFrames), 1.0) << name;
            float worst = 0;
            for (std::size_t i = 0; i < std::min(chunked.size(), wholeFrames * 2); ++i) {
                worst = std::max(worst, std::abs(chunked[i] - reference[i]));
            }
            EXPECT_LT(worst, 1e-4f) << name;
        }
    }
}

}  // namespace
}  // namespace lumoset::audio
