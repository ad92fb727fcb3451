#include "text/regex_object.h"

#include <gtest/gtest.h>

#include "text/text_between.h"

namespace lumoset {
namespace {

const Text fullStop = "\xA1\xA3";  // 。
const Text zhong = "\xD6\xD0";     // 中

TEST(RegexObject, CountsSentenceEnds) {
    RegexObject regex;
    EXPECT_TRUE(regex.execute("[" + fullStop + "]", zhong + fullStop + "ab" + fullStop));
    EXPECT_EQ(regex.matchCount(), 2);
    EXPECT_TRUE(regex.execute("[" + fullStop + "]", zhong + "ab"));
    EXPECT_EQ(regex.matchCount(), 0);
}

TEST(RegexObject, EverythingIsEmptyBeforeTheFirstExecutionAndAfterARejectedPattern) {
    RegexObject regex;
    EXPECT_EQ(regex.patternText(), "");
    EXPECT_EQ(regex.matchCount(), 0);
    EXPECT_EQ(regex.matchText(1), "");
    EXPECT_EQ(regex.replace("x"), "");
    EXPECT_EQ(regex.subMatchCount(), 0);

    ASSERT_TRUE(regex.execute("(b)", "abc"));
    EXPECT_FALSE(regex.execute("a(b", "abc"));
    EXPECT_EQ(regex.patternText(), "a(b");
    EXPECT_EQ(regex.matchCount(), 0);
    EXPECT_EQ(regex.subMatchCount(), 0);
    EXPECT_EQ(regex.matchText(1), "");
    EXPECT_EQ(regex.replace("x"), "");
}

TEST(RegexObject, Flags) {
    struct Case {
        const char* name;
        Text pattern;
        Text subject;
        bool caseSensitive;
        bool multiline;
        bool global;
        int count;
    };
    const Case cases[] = {
        {"case ignored by default", "abc", "xABCx", false, true, true, 1},
        {"case sensitive", "abc", "xABCx", true, true, true, 0},
        {"global", "a", "aXaXa", false, true, true, 3},
        {"first only", "a", "aXaXa", false, true, false, 1},
        {"multiline by default", "^b", "a\nb", false, true, true, 1},
        {"single line", "^b", "a\nb", false, false, true, 0},
        {"dollar only at the very end", "a$", "a\n", false, false, true, 0},
        {"dot stops at line breaks", "a.b", "a\nb a\rb", false, true, true, 0},
        {"empty matches step on", "x*", "ab", false, true, true, 3},
        {"unicode escape", "\\u4E2D", "a" + zhong + zhong, false, true, true, 2},
        {"classes stay ASCII", "\\s", "\xA1\xA1", false, true, true, 0},
    };
    for (const Case& c : cases) {
        RegexObject regex;
        EXPECT_TRUE(regex.execute(c.pattern, c.subject, c.caseSensitive, c.multiline, c.global))
            << c.name;
        EXPECT_EQ(regex.matchCount(), c.count) << c.name;
    }
}

TEST(RegexObject, MatchesAndGroupsWithTheirBytePositions) {
    RegexObject regex;
    ASSERT_TRUE(regex.execute("(a)(x)?(b+)", zhong + "ab" + zhong + "abb"));
    ASSERT_EQ(regex.matchCount(), 2);
    EXPECT_EQ(regex.subMatchCount(), 3);
    int position = 99;
    EXPECT_EQ(regex.matchText(1, &position), "ab");
    EXPECT_EQ(position, 2);
    EXPECT_EQ(regex.matchText(2, &position), "abb");
    EXPECT_EQ(position, 6);
    EXPECT_EQ(regex.subMatchText(2, 3, &position), "bb");
    EXPECT_EQ(position, 7);
    EXPECT_EQ(regex.subMatchText(2, 2, &position), "");
    EXPECT_EQ(position, -2);
    for (const auto& [index, subIndex] : {std::pair{0, 1}, {3, 1}, {1, 0}, {1, 4}}) {
        EXPECT_EQ(regex.subMatchText(index, subIndex, &position), "") << index << subIndex;
        EXPECT_EQ(position, -2);
    }
    EXPECT_EQ(regex.matchText(0), "");
    EXPECT_EQ(regex.matchText(3, &position), "");
    EXPECT_EQ(position, -2);
}

TEST(RegexObject, RepeatedTextGetsTheRightPosition) {
    RegexObject regex;
    ASSERT_TRUE(regex.execute("a", "aa"));
    int position = 0;
    EXPECT_EQ(regex.matchText(2, &position), "a");
    EXPECT_EQ(position, 1);
}

TEST(RegexObject, QuotePlaceholderInThePattern) {
    const Text quote = quotePlaceholder;
    RegexObject regex;
    ASSERT_TRUE(
        regex.execute(quote + "(.*?)" + quote, "say \"hi\" and \"bye\"", false, true, true, true));
    EXPECT_EQ(regex.patternText(), "\"(.*?)\"");
    EXPECT_EQ(regex.matchCount(), 2);
    EXPECT_EQ(regex.subMatchText(1, 1), "hi");
    EXPECT_EQ(regex.matchText(2), "\"bye\"");
    ASSERT_TRUE(regex.execute(quote, "\"", false));
    EXPECT_EQ(regex.matchCount(), 0);
}

TEST(RegexObject, Replace) {
    struct Case {
        Text pattern;
        Text subject;
        bool global;
        Text replacement;
        Text expected;
    };
    const Case cases[] = {
        {"(\\w+)@(\\w+)", "me@home, you@work", true, "$2:$1", "home:me, work:you"},
        {"o", "foo boo", false, "0", "f0o boo"},
        {"o", "foo", true, "[$&|$$|$`|$']", "f[o|$|f|o][o|$|fo|]"},
        {"(a)|b", "ab", true, "<$1>", "<a><>"},
        {"(a)", "a", true, "$2$0$10$", "$2$0a0$"},
        {"x*", "ab", true, "-", "-a-b-"},
        {"b", zhong + "b" + zhong, true, fullStop, zhong + fullStop + zhong},
    };
    for (const Case& c : cases) {
        RegexObject regex;
        ASSERT_TRUE(regex.execute(c.pattern, c.subject, false, true, c.global)) << c.pattern;
        EXPECT_EQ(regex.replace(c.replacement), c.expected) << c.pattern;
    }
}

TEST(RegexObject, ExecutingAgainStartsOver) {
    RegexObject regex;
    ASSERT_TRUE(regex.execute("(a)(b)", "ab ab"));
    ASSERT_TRUE(regex.execute("c", "xcx"));
    EXPECT_EQ(regex.matchCount(), 1);
    EXPECT_EQ(regex.subMatchCount(), 0);
    EXPECT_EQ(regex.replace("y"), "xyx");
    EXPECT_EQ(regex.patternText(), "c");
}

TEST(RegexObject, LargeSubjectsReturn) {
    const Text as(1 << 20, 'a');
    RegexObject regex;
    // Catastrophic backtracking, a quadratic scan and deep nesting end in a failed execution.
    for (const char* pattern : {"(a+)+!", "(a|aa){1,25}x|a", "[a-z]+[0-9]", "(.)*"}) {
        EXPECT_FALSE(regex.execute(pattern, as)) << pattern;
        EXPECT_EQ(regex.matchCount(), 0) << pattern;
    }
    // Ordinary patterns over the same length still answer.
    EXPECT_TRUE(regex.execute("a*a*b", as));
    EXPECT_EQ(regex.matchCount(), 0);
    EXPECT_TRUE(regex.execute("(a+)+$", as));
    EXPECT_EQ(regex.matchCount(), 1);
    Text text;
    for (int i = 0; i < 1 << 18; ++i) {
        text += zhong + fullStop;
    }
    EXPECT_TRUE(regex.execute("[" + fullStop + "]", text));
    EXPECT_EQ(regex.matchCount(), 1 << 18);
}

}  // namespace
}  // namespace lumoset
