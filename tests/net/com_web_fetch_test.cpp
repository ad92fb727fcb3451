#include "net/com_web_fetch.h"

#include <gtest/gtest.h>

#include <thread>

#include "net/request_defaults.h"
#include "tests/net/wire.h"

namespace lumoset {
namespace {

using namespace test;
using fake::httpResponse;
using fake::RawServer;
using fake::ReceivedRequest;

TEST(ComWebFetch, SendsTheCookieFirstThenTheDefaultBlock) {
    RawServer server(page);
    ComWebFetchArgs args{.url = server.url("/aidemo"),
                         .method = 1,
                         .bodyText = "image=abc",
                         .cookieText = "BAIDUID=X1"};
    EXPECT_EQ(bodyText(ComWebFetch(args)), "answer");
    EXPECT_EQ(args.extraHeaders, defaultRequestHeaders(args.url));
    EXPECT_EQ(args.extraHeaders, "Referer: " + args.url +
                                     "\r\nAccept: */*\r\nAccept-Language: zh-cn\r\nUser-Agent: " +
                                     std::string(defaultAgent) +
                                     "\r\nContent-Type: application/x-www-form-urlencoded");

    const ReceivedRequest request = server.requests().at(0);
    EXPECT_EQ(request.bytes.substr(0, request.bytes.find("\r\n")), "POST /aidemo HTTP/1.1");
    EXPECT_EQ(callerHeaderNames(request),
              (std::vector<std::string>{"Cookie", "Referer", "Accept", "Accept-Language",
                                        "User-Agent", "Content-Type"}));
    EXPECT_EQ(request.header("Cookie"), "BAIDUID=X1");
    EXPECT_EQ(request.header("User-Agent"), std::string(defaultAgent));
    EXPECT_EQ(request.body, "image=abc");
    EXPECT_EQ(args.responseHeaders, "X-Page: 1\r\nContent-Length: 6\r\nConnection: close\r\n");
    EXPECT_EQ(args.redirectTarget, args.responseHeaders);
    EXPECT_EQ(args.cookieText, "BAIDUID=X1");
}

TEST(ComWebFetch, SetsTheCallersHeadersOneByOne) {
    RawServer server(page);
    struct Case {
        Text extra;
        Text cookies;
        fake::HeaderList sent;
    };
    const Case cases[] = {
        {"X-A: 1", "", {{"X-A", "1"}}},
        {"Referer: a:b", "", {{"Referer", "a:b"}}},
        {"A: 1\r\n\r\nB: 2", "", {{"A", "1"}, {"B", "2"}}},
        {" \xA1\xA1Name :  value \r\nno colon\r\nX-Empty:",
         "",
         {{"Name", "value"}, {"X-Empty", ""}}},
        // A header set twice keeps its place and takes the later value.
        {"Cookie: z=1\r\nX: 1", "k=v", {{"Cookie", "z=1"}, {"X", "1"}}},
    };
    for (const Case& c : cases) {
        ComWebFetchArgs args{.url = server.url(), .cookieText = c.cookies, .extraHeaders = c.extra};
        ComWebFetch(args);
        EXPECT_EQ(args.extraHeaders, c.extra);
    }
    const auto requests = server.requests();
    ASSERT_EQ(requests.size(), std::size(cases));
    for (std::size_t i = 0; i < requests.size(); ++i) {
        fake::HeaderList sent;
        for (const auto& header : requests[i].headers) {
            if (header.first != "Host") {
                sent.push_back(header);
            }
        }
        EXPECT_EQ(sent, cases[i].sent) << cases[i].extra;
    }
}

TEST(ComWebFetch, SendsTheBodyWhateverTheMethod) {
    RawServer server(page);
    struct Case {
        int method;
        Text bodyText;
        Bytes bodyBytes;
        std::string verb;
        std::optional<std::string> length;
    };
    const Case cases[] = {
        {0, "x", {}, "GET", "1"},                               // a GET carries the text
        {0, "", {}, "GET", std::nullopt},                       // or nothing at all
        {1, "", {}, "POST", "0"},                               // an empty POST body
        {1, "text", toBytes(Text("by\0tes", 6)), "POST", "6"},  // bytes before text
        {7, "", toBytes("b"), "GET", "1"},                      // any method but 1 is GET
    };
    for (const Case& c : cases) {
        ComWebFetchArgs args{.url = server.url(),
                             .method = c.method,
                             .bodyText = c.bodyText,
                             .extraHeaders = "X: 1",
                             .bodyBytes = c.bodyBytes};
        ComWebFetch(args);
    }
    const auto requests = server.requests();
    ASSERT_EQ(requests.size(), std::size(cases));
    for (std::size_t i = 0; i < requests.size(); ++i) {
        EXPECT_EQ(requests[i].method, cases[i].verb);
        EXPECT_EQ(requests[i].header("Content-Length"), cases[i].length);
        EXPECT_EQ(requests[i].body,
                  cases[i].bodyBytes.empty() ? cases[i].bodyText : bodyText(cases[i].bodyBytes));
        EXPECT_EQ(callerHeaderNames(requests[i]), std::vector<std::string>{"X"});
    }
}

TEST(ComWebFetch, AlwaysMergesTheCookiesTheResponseSet) {
    RawServer server(
        httpResponse(200, {{"Set-Cookie", "a=1; path=/"}, {"Set-Cookie", "b=deleted"}}, "ok"));
    ComWebFetchArgs empty{.url = server.url()};
    ComWebFetch(empty);
    EXPECT_EQ(empty.returnedCookies, "a=1;b=deleted");
    EXPECT_EQ(empty.cookieText, "a=1");

    ComWebFetchArgs held{.url = server.url(), .cookieText = "b=2; c = 3"};
    ComWebFetch(held);
    EXPECT_EQ(held.cookieText, "a=1; c=3");
    EXPECT_EQ(server.requests().at(1).header("Cookie"), "b=2; c = 3");
}

TEST(ComWebFetch, FollowsRedirectsUnlessTurnedOffWithoutCookiesOfItsOwn) {
    RawServer server(redirectWithCookie);
    ComWebFetchArgs follow{.url = server.url("/start"), .cookieText = "k=v"};
    EXPECT_EQ(bodyText(ComWebFetch(follow)), "final page");
    EXPECT_EQ(follow.cookieText, "n=2; k=v");

    ComWebFetchArgs stop{.url = server.url("/start"), .noRedirect = true};
    EXPECT_EQ(bodyText(ComWebFetch(stop)), "");
    EXPECT_EQ(stop.redirectTarget, "/next");
    EXPECT_EQ(stop.responseHeaders,
              "Location: /next\r\nSet-Cookie: s=1; path=/\r\nContent-Length: 0\r\nConnection: "
              "close\r\n");
    EXPECT_EQ(stop.cookieText, "s=1");

    const auto requests = server.requests();
    ASSERT_EQ(requests.size(), 3u);
    EXPECT_EQ(requests[1].target, "/next");
    EXPECT_EQ(requests[1].headerValues("Cookie"), std::vector<std::string>{"k=v"});
    EXPECT_FALSE(requests[2].header("Cookie"));
}

TEST(ComWebFetch, AcceptsASelfSignedCertificate) {
    fake::TlsIdentity identity;
    RawServer server(page, &identity);
    ComWebFetchArgs args{.url = server.url("/secure?x=1"), .method = 1, .bodyText = "b"};
    EXPECT_EQ(bodyText(ComWebFetch(args)), "answer");
    EXPECT_EQ(server.requests().at(0).target, "/secure?x=1");
    EXPECT_EQ(server.requests().at(0).body, "b");
}

TEST(ComWebFetch, GoesThroughTheProxyWithItsCredentials) {
    fake::TlsIdentity identity;
    RawServer plain(page);
    RawServer secure(httpResponse(200, {}, "tunnelled"), &identity);
    fake::ProxyServer proxy("user", "secret");
    const std::string authorization = "Basic dXNlcjpzZWNyZXQ=";

    ComWebFetchArgs viaProxy{.url = plain.url("/p"),
                             .proxy = proxy.address(),
                             .proxyUser = "user",
                             .proxyPassword = "secret"};
    EXPECT_EQ(bodyText(ComWebFetch(viaProxy)), "answer");
    ASSERT_FALSE(proxy.requests().empty());
    EXPECT_EQ(proxy.requests().back().target, plain.url("/p"));
    EXPECT_EQ(proxy.requests().back().header("Proxy-Authorization"), authorization);
    EXPECT_FALSE(plain.requests().at(0).header("Proxy-Authorization"));

    ComWebFetchArgs tunnel{.url = secure.url("/s"),
                           .proxy = proxy.address(),
                           .proxyUser = "user",
                           .proxyPassword = "secret"};
    EXPECT_EQ(bodyText(ComWebFetch(tunnel)), "tunnelled");
    EXPECT_EQ(proxy.requests().back().method, "CONNECT");
    EXPECT_EQ(proxy.requests().back().header("Proxy-Authorization"), authorization);

    // Without a user no credentials are set, and the proxy refuses.
    const std::size_t before = proxy.requests().size();
    ComWebFetchArgs anonymous{
        .url = plain.url("/q"), .proxy = proxy.address(), .proxyPassword = "secret"};
    ComWebFetch(anonymous);
    const auto after = proxy.requests();
    ASSERT_EQ(after.size(), before + 1);
    EXPECT_FALSE(after.back().header("Proxy-Authorization"));
    EXPECT_EQ(anonymous.responseHeaders.find("Proxy-Authenticate: Basic"), 0u);
    EXPECT_EQ(plain.requests().size(), 1u);
}

TEST(ComWebFetch, SetsTheTimeOutsAndCredentialsOnTheRequestObject) {
    const std::string refused = "http://127.0.0.1:" + std::to_string(fake::unusedPort()) + "/";
    struct Case {
        int timeout;
        int ms;  // 0: left as they were
    };
    for (const Case c :
         {Case{0, 15000}, Case{1, 1000}, Case{-2, 15000}, Case{-1, 0}, Case{3000000, 2147483647}}) {
        WebRequest object;
        object.setTimeouts(1, 2, 3, 4);
        ComWebFetchArgs args{.url = refused, .timeout = c.timeout, .requestObject = &object};
        ComWebFetch(args);
        const Timeouts expected =
            c.ms == 0 ? Timeouts{1, 2, 3, 4} : Timeouts{c.ms, c.ms, c.ms, c.ms};
        EXPECT_EQ(object.timeouts(), expected) << c.timeout;
    }

    WebRequest object;
    ComWebFetchArgs server{.url = refused,
                           .proxy = "127.0.0.1:1",
                           .proxyUser = "u",
                           .proxyPassword = "p",
                           .credentialsFlags = 0,
                           .requestObject = &object};
    ComWebFetch(server);
    EXPECT_EQ(object.serverCredentials()->user, "u");
    EXPECT_FALSE(object.proxyCredentials());
    EXPECT_EQ(object.proxy(), "127.0.0.1:1");
    EXPECT_EQ(object.ignoredCertificateErrors(), WebRequest::anyCertificateError);

    WebRequest direct;
    ComWebFetchArgs noProxy{.url = refused, .proxyUser = "u", .requestObject = &direct};
    ComWebFetch(noProxy);
    EXPECT_FALSE(direct.proxyCredentials());
    EXPECT_EQ(direct.proxy(), "");
}

TEST(ComWebFetch, KeepsTheSettingsMadeOnTheCallersObject) {
    RawServer server(redirectWithCookie);
    fake::ProxyServer proxy("user", "secret");
    WebRequest object;
    ComWebFetchArgs first{.url = server.url("/start"),
                          .noRedirect = true,
                          .proxy = proxy.address(),
                          .proxyUser = "user",
                          .proxyPassword = "secret",
                          .requestObject = &object};
    ComWebFetch(first);
    // Neither the proxy nor "no redirect" is given again, and both still hold.
    ComWebFetchArgs second{.url = server.url("/start"), .requestObject = &object};
    ComWebFetch(second);
    EXPECT_EQ(second.redirectTarget, "/next");
    EXPECT_EQ(server.requests().size(), 2u);
    EXPECT_EQ(proxy.requests().back().header("Proxy-Authorization"), "Basic dXNlcjpzZWNyZXQ=");
    EXPECT_FALSE(object.redirectsEnabled());
}

TEST(ComWebFetch, GivesUpOnAServerThatStallsWithinItsTimeOut) {
    RawServer silent([](const ReceivedRequest&) { return fake::silence(); });
    RawServer stalling([](const ReceivedRequest&) {
        fake::Reply reply{"HTTP/1.1 200 OK\r\nContent-Length: 100\r\nSet-Cookie: a=1\r\n\r\npart"};
        reply.holdOpen = true;
        return reply;
    });
    for (const RawServer* server : {&silent, &stalling}) {
        ComWebFetchArgs args{
            .url = server->url(), .cookieText = "x = 1; x = 1; y=deleted", .timeout = 1};
        EXPECT_TRUE(ComWebFetch(args).empty());
        EXPECT_EQ(args.responseHeaders, "");
        EXPECT_EQ(args.redirectTarget, "");
        EXPECT_EQ(args.returnedCookies, "");
        EXPECT_EQ(args.cookieText, "x=1");
        EXPECT_TRUE(server->waitForRequests(1));
    }
}

TEST(ComWebFetch, EndsWithEmptyResultsWhenNoServerAnswers) {
    for (const std::string& url :
         {"http://127.0.0.1:" + std::to_string(fake::unusedPort()) + "/x",
          std::string("https://no-such-host.invalid/x"), std::string("127.0.0.1/no-scheme")}) {
        ComWebFetchArgs args{.url = url, .cookieText = "a=1"};
        EXPECT_TRUE(ComWebFetch(args).empty()) << url;
        EXPECT_EQ(args.responseHeaders, "");
        EXPECT_EQ(args.redirectTarget, "");
        EXPECT_EQ(args.cookieText, "a=1");
    }
}

TEST(ComWebFetch, CallsOnSeveralThreadsKeepApart) {
    RawServer server([](const ReceivedRequest& request) {
        return fake::Reply{httpResponse(200, {}, "echo " + request.body)};
    });
    std::vector<std::string> answers(4);
    std::vector<std::thread> threads;
    for (std::size_t i = 0; i < answers.size(); ++i) {
        threads.emplace_back([&, i] {
            ComWebFetchArgs args{.url = server.url(), .method = 1, .bodyText = std::to_string(i)};
            answers[i] = bodyText(ComWebFetch(args));
        });
    }
    for (std::thread& thread : threads) {
        thread.join();
    }
    for (std::size_t i = 0; i < answers.size(); ++i) {
        EXPECT_EQ(answers[i], "echo " + std::to_string(i));
    }
}

}  // namespace
}  // namespace lumoset
