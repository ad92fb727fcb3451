#include "net/web_fetch.h"

#include <gtest/gtest.h>

#include <cstdlib>

#include "net/request_defaults.h"
#include "tests/net/wire.h"

namespace lumoset {
namespace {

using namespace test;
using fake::httpResponse;
using fake::RawServer;
using fake::ReceivedRequest;

TEST(WebFetch, PostsTheFormWithTheFourDefaultLines) {
    RawServer server(page);
    WebFetchArgs args{.url = server.url("/api"), .method = 1, .bodyText = "q=1&from=auto"};
    EXPECT_EQ(bodyText(WebFetch(args)), "answer");

    EXPECT_EQ(args.extraHeaders, "Referer: " + args.url +
                                     "\r\nAccept: */*\r\nAccept-Language: zh-cn\r\nContent-Type: "
                                     "application/x-www-form-urlencoded");
    EXPECT_EQ(bodyText(args.bodyBytes), "q=1&from=auto");
    const ReceivedRequest request = server.requests().at(0);
    EXPECT_EQ(request.bytes.substr(0, request.bytes.find("\r\n")), "POST /api HTTP/1.1");
    EXPECT_EQ(callerHeaderNames(request),
              (std::vector<std::string>{"User-Agent", "Referer", "Accept", "Accept-Language",
                                        "Content-Type"}));
    EXPECT_EQ(request.header("User-Agent"), std::string(defaultAgent));
    EXPECT_EQ(request.header("Referer"), args.url);
    EXPECT_EQ(request.body, "q=1&from=auto");

    EXPECT_EQ(args.responseHeaders.rfind("HTTP/1.1 200 OK\r\nX-Page: 1\r\n", 0), 0u);
    EXPECT_EQ(args.responseHeaders.substr(args.responseHeaders.size() - 4), "\r\n\r\n");
    EXPECT_EQ(args.redirectTarget, args.responseHeaders);
    EXPECT_EQ(args.returnedCookies, "");
    EXPECT_FALSE(args.cookieText);
}

TEST(WebFetch, SendsToTheHostPortAndPathItReadsFromTheAddress) {
    RawServer server(page);
    const std::string port = std::to_string(server.port());
    struct Case {
        std::string url;
        std::string target;
        std::string host;
    };
    const Case cases[] = {
        {"HTTP://LocalHost:" + port + "/A/b?x=1", "/A/b?x=1", "localhost:" + port},
        {"localhost:" + port + "/x", "/x", "localhost:" + port},
        {"http://127.0.0.1:" + port + "?x=1", "/", "127.0.0.1:" + port},
        {"http://127.0.0.1:" + port + "/\xD6\xD0 x", "/%D6%D0%20x", "127.0.0.1:" + port},
    };
    for (const Case& c : cases) {
        WebFetchArgs args{.url = c.url};
        EXPECT_EQ(bodyText(WebFetch(args)), "answer") << c.url;
    }
    const auto requests = server.requests();
    ASSERT_EQ(requests.size(), std::size(cases));
    for (std::size_t i = 0; i < requests.size(); ++i) {
        EXPECT_EQ(requests[i].method, "GET");
        EXPECT_EQ(requests[i].target, cases[i].target) << cases[i].url;
        EXPECT_EQ(requests[i].header("Host"), cases[i].host) << cases[i].url;
        EXPECT_EQ(requests[i].header("Referer"), cases[i].url);
    }
}

TEST(WebFetch, ComposesTheHeaderBlockAroundTheCallersLines) {
    RawServer server(page);
    const std::string url = server.url("/h");
    const std::string defaults =
        "\r\nAccept: */*\r\nAccept-Language: zh-cn\r\nContent-Type: "
        "application/x-www-form-urlencoded";
    struct Case {
        Text extra;
        std::optional<Text> cookies;
        Text block;
        std::vector<std::string> names;
        std::string agent;
    };
    const std::vector<std::string> usual = {"User-Agent", "Referer", "Accept", "Accept-Language",
                                            "Content-Type"};
    const Case cases[] = {
        // The tests for present lines are exact in case.
        {"referer: a",
         std::nullopt,
         "referer: a\r\nReferer: " + url + defaults,
         {"User-Agent", "referer", "Referer", "Accept", "Accept-Language", "Content-Type"},
         std::string(defaultAgent)},
        // The agent comes from the caller's line, which goes out once.
        {"User-Agent: Test/1.0", std::nullopt, "User-Agent: Test/1.0\r\nReferer: " + url + defaults,
         usual, "Test/1.0"},
        {"Accept: text/html\r\nContent-Type: text/plain\r\nReferer: r",
         std::nullopt,
         "Accept: text/html\r\nContent-Type: text/plain\r\nReferer: r\r\nAccept-Language: zh-cn",
         {"User-Agent", "Accept", "Content-Type", "Referer", "Accept-Language"},
         std::string(defaultAgent)},
        // The cookie line is added whatever the block holds.
        {"Cookie: z=1",
         Text("k=v"),
         "Cookie: z=1\r\nReferer: " + url + defaults + "\r\nCookie: k=v",
         {"User-Agent", "Cookie", "Referer", "Accept", "Accept-Language", "Content-Type", "Cookie"},
         std::string(defaultAgent)},
        // Supplied but empty cookies add no line.
        {"", Text(), "Referer: " + url + defaults, usual, std::string(defaultAgent)},
    };
    for (const Case& c : cases) {
        WebFetchArgs args{.url = url, .cookieText = c.cookies, .extraHeaders = c.extra};
        WebFetch(args);
        EXPECT_EQ(args.extraHeaders, c.block);
    }
    const auto requests = server.requests();
    ASSERT_EQ(requests.size(), std::size(cases));
    for (std::size_t i = 0; i < requests.size(); ++i) {
        EXPECT_EQ(callerHeaderNames(requests[i]), cases[i].names) << cases[i].extra;
        EXPECT_EQ(requests[i].headerValues("User-Agent"), std::vector<std::string>{cases[i].agent});
    }
    EXPECT_EQ(requests[2].header("Accept"), "text/html");
    EXPECT_EQ(requests[3].headerValues("Cookie"), (std::vector<std::string>{"z=1", "k=v"}));
}

TEST(WebFetch, SendsABodyForEveryMethodButGet) {
    RawServer server(page);
    struct Case {
        int method;
        Text bodyText;
        Bytes bodyBytes;
        std::string verb;
        std::string sent;
        std::string bytesAfter;
    };
    const Case cases[] = {
        {0, "x", {}, "GET", "", ""},
        {1, "", {}, "POST", "", ""},
        {1, "text", toBytes("bytes"), "POST", "bytes", "bytes"},
        {2, "y", {}, "GET", "y", "y"},
    };
    for (const Case& c : cases) {
        WebFetchArgs args{.url = server.url(),
                          .method = c.method,
                          .bodyText = c.bodyText,
                          .bodyBytes = c.bodyBytes};
        WebFetch(args);
        EXPECT_EQ(bodyText(args.bodyBytes), c.bytesAfter);
    }
    const auto requests = server.requests();
    ASSERT_EQ(requests.size(), std::size(cases));
    for (std::size_t i = 0; i < requests.size(); ++i) {
        EXPECT_EQ(requests[i].method, cases[i].verb);
        EXPECT_EQ(requests[i].body, cases[i].sent);
        EXPECT_EQ(requests[i].header("Content-Length").has_value(), i != 0) << i;
        EXPECT_EQ(requests[i].header("Content-Type"), "application/x-www-form-urlencoded");
        EXPECT_FALSE(requests[i].header("Expect"));
    }
}

TEST(WebFetch, ReturnsAndMergesTheCookiesTheResponseSet) {
    RawServer server(
        httpResponse(200, {{"Set-Cookie", "a=1; path=/"}, {"Set-Cookie", "b=2"}}, "ok"));
    WebFetchArgs without{.url = server.url()};
    WebFetch(without);
    EXPECT_EQ(without.returnedCookies, "a=1; b=2");
    EXPECT_FALSE(without.cookieText);

    WebFetchArgs with{.url = server.url(), .cookieText = Text("b=0; c=3")};
    WebFetch(with);
    EXPECT_EQ(with.returnedCookies, "a=1;b=2");
    EXPECT_EQ(with.cookieText, "a=1; b=2; c=3");

    WebFetchArgs empty{.url = server.url(), .cookieText = Text()};
    WebFetch(empty);
    EXPECT_EQ(empty.cookieText, "a=1; b=2");

    const auto requests = server.requests();
    ASSERT_EQ(requests.size(), 3u);
    EXPECT_FALSE(requests[0].header("Cookie"));
    EXPECT_EQ(requests[1].headerValues("Cookie"), std::vector<std::string>{"b=0; c=3"});
    EXPECT_FALSE(requests[2].header("Cookie"));
}

TEST(WebFetch, FollowsRedirectsWithoutCookiesOfItsOwn) {
    RawServer server(redirectWithCookie);
    WebFetchArgs args{.url = server.url("/start")};
    EXPECT_EQ(bodyText(WebFetch(args)), "final page");
    EXPECT_EQ(args.responseHeaders.rfind("HTTP/1.1 200 OK\r\n", 0), 0u);
    EXPECT_EQ(args.redirectTarget, args.responseHeaders);
    EXPECT_EQ(args.returnedCookies, "n=2");

    WebFetchArgs withCookie{.url = server.url("/start"), .cookieText = Text("k=v")};
    WebFetch(withCookie);
    EXPECT_EQ(withCookie.cookieText, "n=2; k=v");

    const auto requests = server.requests();
    ASSERT_EQ(requests.size(), 4u);
    EXPECT_EQ(requests[1].target, "/next");
    EXPECT_FALSE(requests[1].header("Cookie"));
    EXPECT_EQ(requests[2].headerValues("Cookie"), std::vector<std::string>{"k=v"});
    EXPECT_EQ(requests[3].headerValues("Cookie"), std::vector<std::string>{"k=v"});
}

TEST(WebFetch, StopsAtARedirectWhenTold) {
    RawServer server(redirectWithCookie);
    WebFetchArgs args{.url = server.url("/start"), .noRedirect = true};
    EXPECT_EQ(bodyText(WebFetch(args)), "");
    EXPECT_EQ(args.redirectTarget, "/next");
    EXPECT_EQ(args.returnedCookies, "s=1");
    EXPECT_EQ(args.responseHeaders.rfind("HTTP/1.1 302 Found\r\n", 0), 0u);
    EXPECT_EQ(server.requests().size(), 1u);

    RawServer moved(httpResponse(200, {{"Content-Location", "/x"}}, "here"));
    WebFetchArgs located{.url = moved.url()};
    EXPECT_EQ(bodyText(WebFetch(located)), "here");
    EXPECT_EQ(located.redirectTarget, "/x");
}

TEST(WebFetch, UsesOnlyTheProxyItIsGiven) {
    RawServer origin(page);
    fake::ProxyServer proxy("user", "secret");
    WebFetchArgs proxied{.url = origin.url("/p"), .proxy = proxy.address()};
    WebFetch(proxied);
    ASSERT_EQ(proxy.requests().size(), 1u);
    EXPECT_EQ(proxy.requests()[0].target, origin.url("/p"));
    EXPECT_EQ(proxied.responseHeaders.rfind("HTTP/1.1 407", 0), 0u);
    EXPECT_TRUE(origin.requests().empty());

    // The environment's proxy settings play no part, and an empty proxy means direct.
    ::setenv("http_proxy", ("http://" + proxy.address()).c_str(), 1);
    WebFetchArgs direct{.url = origin.url("/d")};
    WebFetchArgs emptyProxy{.url = origin.url("/e"), .proxy = Text()};
    EXPECT_EQ(bodyText(WebFetch(direct)), "answer");
    EXPECT_EQ(bodyText(WebFetch(emptyProxy)), "answer");
    ::unsetenv("http_proxy");
    EXPECT_EQ(proxy.requests().size(), 1u);
    EXPECT_EQ(origin.requests().size(), 2u);
}

TEST(WebFetch, ChecksCertificatesAndTakesHttpsPastTheProxy) {
    fake::TlsIdentity identity;
    RawServer server(page, &identity);
    fake::ProxyServer proxy("user", "secret");
    WebFetchArgs args{.url = "HTTPS://localhost:" + std::to_string(server.port()) + "/s",
                      .proxy = proxy.address()};
    EXPECT_TRUE(WebFetch(args).empty());
    EXPECT_GE(server.connections(), 1u);  // reached the TLS server, which it does not trust
    EXPECT_TRUE(server.requests().empty());
    EXPECT_TRUE(proxy.requests().empty());
    EXPECT_EQ(args.responseHeaders, "");
}

TEST(WebFetch, EndsAtOnceWithEmptyResultsWhenNoServerAnswers) {
    for (const std::string& url : {"http://127.0.0.1:" + std::to_string(fake::unusedPort()) + "/x",
                                   std::string("http://no-such-host.invalid/x")}) {
        WebFetchArgs args{.url = url, .method = 1, .cookieText = Text("a = 1")};
        EXPECT_TRUE(WebFetch(args).empty());
        EXPECT_EQ(args.responseHeaders, "");
        EXPECT_EQ(args.redirectTarget, "");
        EXPECT_EQ(args.returnedCookies, "");
        EXPECT_EQ(args.cookieText, "a=1");
        EXPECT_EQ(args.extraHeaders.rfind("Referer: " + url, 0), 0u);
    }
    // Without a server name nothing is even attempted and nothing changes.
    WebFetchArgs nameless{.url = "http:///x", .cookieText = Text("a = 1")};
    EXPECT_TRUE(WebFetch(nameless).empty());
    EXPECT_EQ(nameless.extraHeaders, "");
    EXPECT_EQ(nameless.cookieText, "a = 1");
}

}  // namespace
}  // namespace lumoset
