// An HTTP proxy that demands Basic credentials and forwards to servers on 127.0.0.1.
#pragma once

#include <chrono>
#include <string>
#include <vector>

#include "tests/fakes/http/connection.h"
#include "tests/fakes/http/received_request.h"

namespace lumoset::fake {

class ProxyServer {
  public:
    // Every request must carry "Proxy-Authorization: Basic" with `user` and `password`, or it
    // is answered 407 with a Basic challenge. An authorised request for "http://127.0.0.1:<port>"
    // or "http://localhost:<port>" is passed on (without its Proxy- headers, with "Connection:
    // close") and the answer relayed back; a CONNECT to such a port becomes a tunnel. Any
    // other host is answered 502, so nothing leaves the machine.
    ProxyServer(std::string user, std::string password);

    int port() const { return server_.port(); }
    // "127.0.0.1:<port>", the form a client's proxy setting takes.
    std::string address() const;
    // Every request that reached the proxy, refused ones included, exactly as it arrived.
    std::vector<ReceivedRequest> requests() const { return log_.all(); }
    bool waitForRequests(std::size_t count,
                         std::chrono::milliseconds limit = std::chrono::seconds(10)) const {
        return log_.waitFor(count, limit);
    }

  private:
    void serve(Stream& stream);

    std::string expectedAuthorization_;
    RequestLog log_;
    ConnectionServer server_;  // last: stops before the members it uses go
};

}  // namespace lumoset::fake
