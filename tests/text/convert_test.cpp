#include "text/convert.h"

#include <gtest/gtest.h>

#include <string>

namespace lumoset {
namespace {

Bytes bytesOf(std::string_view text) {
    return Bytes(text.begin(), text.end());
}

TEST(Convert, GbkToUtf8AndUtf16CarryAFinalZero) {
    EXPECT_EQ(toUtf8("\xD6\xD0"), bytesOf(std::string_view("\xE4\xB8\xAD\0", 4)));
    EXPECT_EQ(toUtf8(""), Bytes{});
    EXPECT_EQ(toUtf16("A"), (Bytes{0x41, 0x00, 0x00, 0x00}));
    EXPECT_EQ(toUtf16("\xD6\xD0"), (Bytes{0x2D, 0x4E, 0x00, 0x00}));
    EXPECT_EQ(toUtf16(""), Bytes{});
}

struct Case {
    const char* name;
    std::string input;
    std::string expected;
};

TEST(Convert, FromUtf8) {
    const Case cases[] = {
        {"one character", "\xE4\xB8\xAD", "\xD6\xD0"},
        {"empty", "", ""},
        {"zero byte ends the text", std::string("\xE4\xB8\xAD\0\xE6\x96\x87", 7), "\xD6\xD0"},
        {"outside GBK", "a\xF0\x9F\x98\x80z", "a?z"},
        {"default-ignorable still shows",
         "a\xE2\x80\x8B"
         "b",
         "a?b"},
        {"combining mark composed", "e\xCC\x81", "\xA8\xA6"},
        {"composed but outside GBK", "A\xCC\x8A", "?"},
        {"invalid UTF-8 goes on",
         "\xFF"
         "a\xE4\xB8",
         "?a?"},
        {"compatibility ideograph kept", "\xEF\xA4\xAC", "\xFD\x9C"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(fromUtf8(bytesOf(c.input)), c.expected) << c.name;
    }
}

TEST(Convert, ToGbkAndToUtf8Text) {
    const Case toGbkCases[] = {
        {"two characters", "\xE4\xB8\xAD\xE6\x96\x87", "\xD6\xD0\xCE\xC4"},
        {"outside GBK", "\xF0\x9F\x98\x80", "?"},
        {"marks stay apart", "e\xCC\x81", "e?"},
        {"zero byte ends the text", std::string("a\0b", 3), "a"},
        {"empty", "", ""},
    };
    for (const Case& c : toGbkCases) {
        EXPECT_EQ(toGbk(c.input), c.expected) << c.name;
    }
    const Case toUtf8Cases[] = {
        {"two characters", "\xD6\xD0\xCE\xC4", "\xE4\xB8\xAD\xE6\x96\x87"},
        {"euro sign", "\x80", "\xE2\x82\xAC"},
        {"lead byte at the end", "a\xD6", "a\xEF\xBF\xBD"},
        {"empty", "", ""},
    };
    for (const Case& c : toUtf8Cases) {
        EXPECT_EQ(toUtf8Text(c.input), c.expected) << c.name;
    }
}

TEST(Convert, ChineseTextSurvivesTheRoundTrip) {
    // "汉字转换测试，全角标点。ABC 123" in GBK.
    const Text gbk =
        "\xBA\xBA\xD7\xD6\xD7\xAA\xBB\xBB\xB2\xE2\xCA\xD4\xA3\xAC\xC8\xAB\xBD\xC7\xB1\xEA\xB5\xE3"
        "\xA1\xA3"
        "ABC 123";
    Bytes utf8 = toUtf8(gbk);
    ASSERT_EQ(utf8.back(), 0);
    utf8.pop_back();
    EXPECT_EQ(fromUtf8(utf8), gbk);
    EXPECT_EQ(toGbk(toUtf8Text(gbk)), gbk);
}

TEST(Convert, DecodedUnitsKnowTheirBytes) {
    std::vector<std::int32_t> offsets;
    const std::u16string units = decodeGbk(
        "a\xD6\xD0"
        "b\x80",
        &offsets);
    EXPECT_EQ(units, u"a\u4E2Db\u20AC");
    EXPECT_EQ(offsets, (std::vector<std::int32_t>{0, 1, 3, 4, 5}));
}

}  // namespace
}  // namespace lumoset
