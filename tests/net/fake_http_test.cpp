// The loopback servers that the tests of several subsystems rely on, driven by an independent
// client.
#include <gtest/gtest.h>
#include <httplib.h>

#include "tests/fakes/http/fake_http.h"

namespace lumoset::fake {
namespace {

TEST(FakeHttp, RawServerRecordsExactBytesAndAnswersByScript) {
    RawServer server([](const ReceivedRequest& request) {
        return Reply{httpResponse(201, {{"Set-Cookie", "a=1; path=/"}}, "got " + request.body)};
    });
    httplib::Client client("127.0.0.1", server.port());
    const auto result =
        client.Post("/p?q=1", httplib::Headers{{"X-One", "1"}}, "body!", "text/plain");
    ASSERT_TRUE(result);
    EXPECT_EQ(result->status, 201);
    EXPECT_EQ(result->body, "got body!");
    EXPECT_EQ(result->get_header_value("Set-Cookie"), "a=1; path=/");

    const auto requests = server.requests();
    ASSERT_EQ(requests.size(), 1u);
    EXPECT_EQ(requests[0].method, "POST");
    EXPECT_EQ(requests[0].target, "/p?q=1");
    EXPECT_EQ(requests[0].header("x-one"), "1");
    EXPECT_EQ(requests[0].body, "body!");
    EXPECT_EQ(requests[0].bytes, requests[0].head() + "body!");
    EXPECT_EQ(requests[0].bytes.rfind("POST /p?q=1 HTTP/1.1\r\n", 0), 0u);
}

TEST(FakeHttp, SilentServerHoldsTheConnectionUntilTheClientGivesUp) {
    RawServer server([](const ReceivedRequest&) { return silence(); });
    httplib::Client client("127.0.0.1", server.port());
    client.set_read_timeout(0, 200000);
    EXPECT_FALSE(client.Get("/"));
    EXPECT_TRUE(server.waitForRequests(1));
}

TEST(FakeHttp, TlsServersPresentTheSelfSignedIdentity) {
    TlsIdentity identity;
    RawServer raw(httpResponse(200, {}, "raw"), &identity);
    HttpServer routed(&identity);
    routed.get("/r", [](const httplib::Request&, httplib::Response& response) {
        response.set_content("routed", "text/plain");
    });
    routed.start();

    httplib::SSLClient strict("127.0.0.1", raw.port());
    strict.enable_server_certificate_verification(true);
    EXPECT_FALSE(strict.Get("/"));

    for (int port : {raw.port(), routed.port()}) {
        httplib::SSLClient client("127.0.0.1", port);
        client.enable_server_certificate_verification(false);
        const auto result = client.Get(port == raw.port() ? "/" : "/r");
        ASSERT_TRUE(result);
        EXPECT_EQ(result->body, port == raw.port() ? "raw" : "routed");
    }
    EXPECT_EQ(routed.requests().at(0).target, "/r");
    EXPECT_EQ(raw.url(), "https://127.0.0.1:" + std::to_string(raw.port()) + "/");
}

TEST(FakeHttp, ProxyDemandsCredentialsAndForwards) {
    RawServer origin(httpResponse(200, {}, "from origin"));
    ProxyServer proxy("user", "secret");

    httplib::Client anonymous("127.0.0.1", origin.port());
    anonymous.set_proxy("127.0.0.1", proxy.port());
    const auto refused = anonymous.Get("/x");
    ASSERT_TRUE(refused);
    EXPECT_EQ(refused->status, 407);

    httplib::Client client("127.0.0.1", origin.port());
    client.set_proxy("127.0.0.1", proxy.port());
    client.set_proxy_basic_auth("user", "secret");
    const auto result = client.Get("/x");
    ASSERT_TRUE(result);
    EXPECT_EQ(result->body, "from origin");

    const auto seen = proxy.requests();
    ASSERT_EQ(seen.size(), 2u);
    EXPECT_FALSE(seen[0].header("Proxy-Authorization"));
    EXPECT_EQ(seen[1].header("Proxy-Authorization"), "Basic dXNlcjpzZWNyZXQ=");
    const auto forwarded = origin.requests();
    ASSERT_EQ(forwarded.size(), 1u);
    EXPECT_EQ(forwarded[0].target, "/x");
    EXPECT_FALSE(forwarded[0].header("Proxy-Authorization"));
}

TEST(FakeHttp, UnusedPortRefusesConnections) {
    httplib::Client client("127.0.0.1", unusedPort());
    EXPECT_FALSE(client.Get("/"));
}

}  // namespace
}  // namespace lumoset::fake
