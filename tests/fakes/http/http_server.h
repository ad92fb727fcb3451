// A routing web server on cpp-httplib, plain or TLS, that records every request it handles.
#pragma once

#include <httplib.h>

#include <atomic>
#include <chrono>
#include <memory>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include "tests/fakes/http/received_request.h"
#include "tests/fakes/http/tls_identity.h"

namespace lumoset::fake {

class HttpServer {
  public:
    using Handler = std::function<void(const httplib::Request&, httplib::Response&)>;

    // Bound to a free port on 127.0.0.1 at once; serves from start() on. With `tls` it speaks
    // HTTPS with that identity. Bodies of any size are accepted. Note that the parser ignores
    // the body of a GET: use RawServer to see one.
    explicit HttpServer(const TlsIdentity* tls = nullptr);
    ~HttpServer();
    HttpServer(const HttpServer&) = delete;
    HttpServer& operator=(const HttpServer&) = delete;

    // Routes, added before start(); `pattern` is a cpp-httplib path pattern (a regular
    // expression). Each request is recorded before its handler runs.
    HttpServer& get(const std::string& pattern, Handler handler);
    HttpServer& post(const std::string& pattern, Handler handler);
    // The underlying server, for any other setting before start().
    httplib::Server& native() { return *server_; }
    void start();

    int port() const { return port_; }
    // "http://127.0.0.1:<port>" (https with TLS) followed by `path`.
    std::string url(std::string_view path = "/") const;
    // Method, target, headers (sorted by name) and body of every request handled.
    std::vector<ReceivedRequest> requests() const { return log_.all(); }
    bool waitForRequests(std::size_t count,
                         std::chrono::milliseconds limit = std::chrono::seconds(10)) const {
        return log_.waitFor(count, limit);
    }

  private:
    Handler recorded(Handler handler);

    RequestLog log_;
    std::unique_ptr<httplib::Server> server_;
    bool tls_;
    int port_ = 0;
    std::thread thread_;
    std::atomic<bool> listenEnded_{false};
};

}  // namespace lumoset::fake
