#include "text/gbk.h"

#include <gtest/gtest.h>

#include <random>

#include "tests/text/find_by_walking.h"

namespace lumoset {
namespace {

TEST(FindGbk, AgreesWithTheCharacterByCharacterRule) {
    // Few distinct bytes, so that markers often appear at first and at second bytes.
    const unsigned char alphabet[] = {'a', 'A', 'b', 0x81, 0xD6, 0xE1, 'B'};
    std::mt19937 random(11);
    const auto pick = [&](std::size_t length) {
        std::string out;
        for (std::size_t k = 0; k < length; ++k) {
            out.push_back(static_cast<char>(alphabet[random() % sizeof(alphabet)]));
        }
        return out;
    };
    for (int round = 0; round < 20000; ++round) {
        const std::string text = pick(random() % 24);
        const std::string marker = pick(random() % 4);
        const std::size_t from = random() % 26;
        const bool ignoreCase = random() % 4 == 0;
        ASSERT_EQ(findGbk(text, marker, from, ignoreCase),
                  test::findByWalking(text, marker, from, ignoreCase))
            << "round " << round;
    }
}

TEST(FindGbk, LongRunsOfDoubleByteCharacters) {
    std::string text;
    for (int i = 0; i < 100000; ++i) {
        text += "\xD6\xD6";
    }
    text += "\xD6\xD0";
    EXPECT_EQ(findGbk(text, "\xD6\xD0"), 200000u);
    EXPECT_EQ(findGbk(text, "\xD6\xD6\xD0"), notFound);
    EXPECT_EQ(findGbk("\xD6" + text, "\xD6\xD0"), notFound);  // the bytes pair up differently
}

TEST(TrimGbkSpaces, BothKindsOfSpaceAtBothEnds) {
    EXPECT_EQ(trimGbkSpaces("  \xA1\xA1"
                            "a b\xA1\xA1 "),
              "a b");
    EXPECT_EQ(trimGbkSpaces("\xA1\xA1\xA1"), "\xA1");
    EXPECT_EQ(trimGbkSpaces(""), "");
}

}  // namespace
}  // namespace lumoset
