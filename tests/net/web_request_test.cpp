#include "net/web_request.h"

#include <gtest/gtest.h>

#include "tests/net/wire.h"

namespace lumoset {
namespace {

using namespace test;

TEST(WebRequest, AnswersAServerChallengeWithServerCredentials) {
    fake::RawServer server([](const fake::ReceivedRequest& request) {
        if (request.header("Authorization") != "Basic dTpw") {
            return fake::Reply{
                fake::httpResponse(401, {{"WWW-Authenticate", "Basic realm=\"test\""}})};
        }
        return fake::Reply{page};
    });
    WebRequest object;
    EXPECT_FALSE(object.setCredentials("x", "y", 2));
    EXPECT_FALSE(object.serverCredentials());
    EXPECT_TRUE(object.setCredentials("u", "p", WebRequest::credentialsForServer));
    object.open("GET", server.url("/auth"));
    ASSERT_TRUE(object.send({}));
    EXPECT_EQ(bodyText(object.responseBody()), "answer");
    EXPECT_EQ(server.requests().back().header("Authorization"), "Basic dTpw");
}

TEST(WebRequest, PassesOverOnlyTheCertificateProblemsItIsTold) {
    fake::TlsIdentity identity;
    fake::RawServer server(page, &identity);
    struct Case {
        int ignored;
        bool succeeds;
    };
    for (const Case c :
         {Case{0, false}, Case{WebRequest::wrongName, false},
          Case{WebRequest::unknownAuthority, true}, Case{WebRequest::anyCertificateError, true}}) {
        WebRequest object;
        object.setIgnoredCertificateErrors(c.ignored);
        object.open("GET", server.url());
        EXPECT_EQ(object.send({}), c.succeeds) << c.ignored;
        EXPECT_EQ(bodyText(object.responseBody()), c.succeeds ? "answer" : "") << c.ignored;
    }
}

TEST(WebRequest, EachOpeningStartsWithoutHeadersOrAnswer) {
    fake::RawServer server(page);
    WebRequest object;
    EXPECT_FALSE(object.send({}));  // never opened
    object.open("GET", server.url("/1"));
    EXPECT_FALSE(object.setRequestHeader("", "v"));
    object.setRequestHeader("X-First", "1");
    ASSERT_TRUE(object.send({}));
    EXPECT_FALSE(object.allResponseHeaders().empty());

    object.open("POST", server.url("/2"));
    EXPECT_TRUE(object.responseBody().empty());
    EXPECT_TRUE(object.allResponseHeaders().empty());
    object.setRequestHeader("x-second", "2");
    object.setRequestHeader("X-SECOND", "3");
    ASSERT_TRUE(object.send(toBytes("b")));

    const auto requests = server.requests();
    ASSERT_EQ(requests.size(), 2u);
    EXPECT_EQ(callerHeaderNames(requests[0]), std::vector<std::string>{"X-First"});
    EXPECT_EQ(callerHeaderNames(requests[1]), std::vector<std::string>{"x-second"});
    EXPECT_EQ(requests[1].header("X-Second"), "3");
    EXPECT_EQ(requests[1].body, "b");
}

}  // namespace
}  // namespace lumoset
