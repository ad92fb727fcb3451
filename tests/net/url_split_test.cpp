#include "net/url_split.h"

#include <gtest/gtest.h>

namespace lumoset {
namespace {

struct SplitCase {
    Text url;
    Text host;
    int port;
    Text objectPath;
    bool secure;
};

class SplitUrl : public testing::TestWithParam<SplitCase> {};

TEST_P(SplitUrl, FindsServerPortAndObjectPath) {
    const SplitCase& c = GetParam();
    const UrlParts parts = splitUrl(c.url);
    EXPECT_EQ(parts.host, c.host);
    EXPECT_EQ(parts.port, c.port);
    EXPECT_EQ(parts.objectPath, c.objectPath);
    EXPECT_EQ(parts.secure, c.secure);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, SplitUrl,
    testing::Values(SplitCase{"HTTPS://Host:8443/A/b?x=1", "host", 8443, "/A/b?x=1", true},
                    SplitCase{"https://host/", "host", 443, "/", true},
                    SplitCase{"https://host", "host", 443, "/", true},
                    SplitCase{"host/x", "host", 80, "/x", false},
                    SplitCase{"http://host?x=1", "host?x=1", 80, "/", false},
                    SplitCase{"http://host:81?x=1", "host", 81, "/", false},
                    // The port is taken behind the last ":", its leading digits only.
                    SplitCase{"http://host:1:82x/p", "host", 82, "/p", false},
                    SplitCase{"http://host:/p", "host", 0, "/p", false},
                    SplitCase{"http://host:99999999999/p", "host", 65536, "/p", false},
                    // "https" without "://" still asks for TLS and its port.
                    SplitCase{"httpsite.example/p", "httpsite.example", 443, "/p", true},
                    // A host that also stands inside the scheme is looked for behind it.
                    SplitCase{"http://h/x", "h", 80, "/x", false},
                    SplitCase{"https://tp:9/Y", "tp", 9, "/Y", true},
                    SplitCase{"ftp://a/http://b.example/q", "b.example", 80, "/q", false},
                    SplitCase{"", "", 80, "/", false}));

TEST(SplitUrl, KeepsDoubleByteCharactersOfThePath) {
    EXPECT_EQ(splitUrl("http://h.example/\xD6\xD0?q=\xCE\xC4").objectPath, "/\xD6\xD0?q=\xCE\xC4");
}

TEST(IsHostName, AcceptsOnlyNameCharacters) {
    EXPECT_TRUE(isHostName("api.example-1.com"));
    EXPECT_TRUE(isHostName("127.0.0.1"));
    for (const char* bad : {"", "host?x=1", "user@host", "a b", "\xD6\xD0.cn"}) {
        EXPECT_FALSE(isHostName(bad)) << bad;
    }
}

}  // namespace
}  // namespace lumoset
