#include "net/header_text.h"

#include <gtest/gtest.h>

#include <optional>

namespace lumoset {
namespace {

struct ReadCase {
    Text headers;
    std::optional<Text> cookieText;  // given to the call when set
    Text returnedCookies;
    Text redirectTarget;  // "=" stands for a copy of the headers
    Text cookieTextAfter;
};

class ReadResponseHeaders : public testing::TestWithParam<ReadCase> {};

TEST_P(ReadResponseHeaders, FindsCookiesAndRedirectTarget) {
    const ReadCase& c = GetParam();
    std::optional<Text> cookieText = c.cookieText;
    Text returned = "stale";
    Text target = "stale";
    readResponseHeaders(c.headers, cookieText ? &*cookieText : nullptr, returned, target);
    EXPECT_EQ(returned, c.returnedCookies);
    EXPECT_EQ(target, c.redirectTarget == "=" ? c.headers : c.redirectTarget);
    EXPECT_EQ(cookieText.value_or("(none)"), c.cookieTextAfter);
}

const Text twoCookies =
    "HTTP/1.1 200 OK\r\nSet-Cookie: a=1; path=/\r\nSet-Cookie: b=2\r\nContent-Length: 0\r\n\r\n";

INSTANTIATE_TEST_SUITE_P(
    Cases, ReadResponseHeaders,
    testing::Values(ReadCase{twoCookies, std::nullopt, "a=1; b=2", "=", "(none)"},
                    ReadCase{twoCookies, Text(), "a=1;b=2", "=", "a=1; b=2"},
                    ReadCase{twoCookies, Text("b=0; c=3"), "a=1;b=2", "=", "a=1; b=2; c=3"},
                    ReadCase{"HTTP/1.1 302 Found\r\nLocation:  http://x/y \r\n\r\n", std::nullopt,
                             "", "http://x/y", "(none)"},
                    // Any line holding "Location:" counts, the last one wins, cut at its first ":".
                    ReadCase{"HTTP/1.1 200 OK\r\nLocation: /a\r\nContent-Location: /x\r\n\r\n",
                             std::nullopt, "", "/x", "(none)"},
                    // The searches are exact in case.
                    ReadCase{"HTTP/1.1 302 Found\r\nlocation: /a\r\nset-cookie: a=1\r\n\r\n",
                             Text(), "", "=", ""},
                    ReadCase{"", Text("k = v"), "", "", "k=v"},
                    ReadCase{"HTTP/1.1 200 OK\r\nSet-Cookie:\xA1\xA1 n=\xD6\xD0;x\r\n\r\n",
                             std::nullopt, "n=\xD6\xD0", "=", "(none)"}));

TEST(SplitHeaderLines, LeavesOutEmptyLines) {
    EXPECT_EQ(splitHeaderLines("A: 1\r\n\r\nB: 2"), (std::vector<std::string>{"A: 1", "B: 2"}));
    EXPECT_EQ(splitHeaderLines("X-A: 1"), (std::vector<std::string>{"X-A: 1"}));
    EXPECT_TRUE(splitHeaderLines("").empty());
    EXPECT_EQ(splitHeaderLines("A\r\n"), (std::vector<std::string>{"A"}));
}

}  // namespace
}  // namespace lumoset
