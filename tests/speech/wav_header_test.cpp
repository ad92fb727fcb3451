// The WAV header put in front of synthesized speech.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "speech/wav_header.h"

namespace lumoset {
namespace {

std::uint32_t word(const Bytes& bytes, std::size_t offset, int size = 4) {
    std::uint32_t value = 0;
    for (int i = size - 1; i >= 0; --i) {
        value = value << 8 | bytes.at(offset + static_cast<std::size_t>(i));
    }
    return value;
}

TEST(WavHeader, DeclaresSixteenKilohertzMonoPcm) {
    const Bytes wav = wrapWav(Bytes{});
    ASSERT_EQ(wav.size(), 44u);
    EXPECT_EQ(std::string(wav.begin(), wav.begin() + 4), "RIFF");
    EXPECT_EQ(std::string(wav.begin() + 8, wav.begin() + 16), "WAVEfmt ");
    EXPECT_EQ(word(wav, 16), 16u);
    EXPECT_EQ(word(wav, 20, 2), 1u);
    EXPECT_EQ(word(wav, 22, 2), 1u);
    EXPECT_EQ(word(wav, 24), 16000u);
    EXPECT_EQ(word(wav, 28), 32000u);
    EXPECT_EQ(word(wav, 32, 2), 2u);
    EXPECT_EQ(word(wav, 34, 2), 16u);
    EXPECT_EQ(std::string(wav.begin() + 36, wav.begin() + 40), "data");
    EXPECT_EQ(word(wav, 4), 36u);
    EXPECT_EQ(word(wav, 40), 0u);
}

TEST(WavHeader, SizesCountTheWholeInputWhateverItHolds) {
    const struct { std::size_t length; } cases[] = {{32000}, {3}, {1}};
    for (const auto& c : cases) {
        Bytes audio(c.length);
        for (std::size_t i = 0; i < audio.size(); ++i) {
            audio[i] = static_cast<unsigned char>(i * 7);
        }
        const Bytes wav = wrapWav(audio);
        EXPECT_EQ(wav.size(), 44 + c.length) << "no pad byte after odd data";
        EXPECT_EQ(word(wav, 4), c.length + 36);
        EXPECT_EQ(word(wav, 40), c.length);
        EXPECT_TRUE(std::equal(audio.begin(), audio.end(), wav.begin() + 44));
    }

    // Wrapping twice puts a second header in front; nothing looks into the data.
    const Bytes once = wrapWav(Bytes(10, 0x55));
    const Bytes twice = wrapWav(once);
    EXPECT_EQ(twice.size(), 98u);
    EXPECT_EQ(word(twice, 40), 54u);
    EXPECT_TRUE(std::equal(once.begin(), once.end(), twice.begin() + 44));
}

}  // namespace
}  // namespace lumoset
