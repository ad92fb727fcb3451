#include "text/text_between.h"

#include <gtest/gtest.h>

namespace lumoset {
namespace {

const Text quote = quotePlaceholder;  // "#引号"

struct Case {
    const char* name;
    Text source;
    Text start;
    Text end;
    int startPosition;
    bool ignoreCase;
    Text expected;
};

TEST(TextBetween, Cases) {
    const Case cases[] = {
        {"placeholder in both markers", "x\"hi\"y", quote, quote, 0, false, "hi"},
        {"end marker only before the start", "]a[b", "[", "]", 0, false, ""},
        {"end right after start", "a[]b", "[", "]", 0, false, ""},
        {"start marker at the very end", "ab[", "[", "]", 0, false, ""},
        {"first start, first end after it", "a[1]b[2]", "[", "]", 0, false, "1"},
        {"start position skips the first", "a[1]b[2]", "[", "]", 4, false, "2"},
        {"start position 1 is the beginning", "a[1]b[2]", "[", "]", 1, false, "1"},
        {"negative start position", "a[1]b[2]", "[", "]", -7, false, "1"},
        {"start position past the end", "a[1]", "[", "]", 9, false, ""},
        {"no match on a second byte",
         "\x81"
         "AxA1]",
         "A", "]", 0, false, "1"},
        {"lead byte as the last byte", "x\xD6", "x", "\xD6", 0, false, ""},
        {"ASCII case folded", "xABCyz", "abc", "Z", 0, true, "y"},
        {"case kept by default", "xABCyz", "abc", "z", 0, false, ""},
        {"only ASCII letters fold", "\xE1\xA1[x]", "\xC1\xA1[", "]", 0, true, ""},
        {"empty end marker", "a[1]", "[", "", 0, false, ""},
        {"empty start marker", "ab]c]", "", "]", 0, false, "ab"},
        {"empty source", "", "", "]", 0, false, ""},
        {"source keeps its placeholder", "a" + quote + "b\"c", "a", quote, 0, false, quote + "b"},
        {"JSON value", "{\"translation\":[\"\xC4\xE3\xBA\xC3\"],\"l\":\"x\"}",
         quote + "translation" + quote + ":[" + quote, quote, 0, false, "\xC4\xE3\xBA\xC3"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(textBetween(c.source, c.start, c.end, c.startPosition, c.ignoreCase), c.expected)
            << c.name;
    }
}

TEST(TextBetween, PlaceholderReplacement) {
    EXPECT_EQ(replaceQuotePlaceholder("a" + quote + quote + "b" + quote), "a\"\"b\"");
    EXPECT_EQ(replaceQuotePlaceholder("#" + quote.substr(1, 2)), "#" + quote.substr(1, 2));
}

}  // namespace
}  // namespace lumoset
