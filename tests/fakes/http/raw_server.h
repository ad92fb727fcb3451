// A server on a bare socket: records the exact bytes of every request and answers each with
// bytes from a script, then closes the connection (one request per connection).
#pragma once

#include <chrono>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "tests/fakes/http/connection.h"
#include "tests/fakes/http/received_request.h"
#include "tests/fakes/http/tls_identity.h"

namespace lumoset::fake {

// What the server does with one request.
struct Reply {
    // Sent as they stand; empty closes the connection without an answer.
    std::string bytes;
    // Waited before anything is sent.
    std::chrono::milliseconds delay{0};
    // After `bytes`, sends nothing more and holds the connection open until the client leaves
    // or the server stops: a server that stalls.
    bool holdOpen = false;
};

// A reply that never comes.
inline Reply silence() {
    return Reply{{}, std::chrono::milliseconds(0), true};
}

class RawServer {
  public:
    using Script = std::function<Reply(const ReceivedRequest&)>;

    // Answers every request by `script`, which runs on the connection's own thread. With
    // `tls` the server speaks TLS with that identity.
    explicit RawServer(Script script, const TlsIdentity* tls = nullptr);
    // Answers every request with the same bytes.
    explicit RawServer(std::string response, const TlsIdentity* tls = nullptr);

    int port() const { return server_.port(); }
    // "http://127.0.0.1:<port>" (https with TLS) followed by `path`.
    std::string url(std::string_view path = "/") const;
    std::vector<ReceivedRequest> requests() const { return log_.all(); }
    bool waitForRequests(std::size_t count,
                         std::chrono::milliseconds limit = std::chrono::seconds(10)) const {
        return log_.waitFor(count, limit);
    }
    // Connections accepted so far, those whose TLS handshake failed included.
    std::size_t connections() const { return server_.connections(); }

  private:
    void serve(Stream& stream);

    Script script_;
    bool tls_;
    RequestLog log_;
    ConnectionServer server_;  // last: stops before the members it uses go
};

// A port on 127.0.0.1 where nothing listens, so a connection is refused.
int unusedPort();

}  // namespace lumoset::fake
