#include "tests/fakes/http/http_server.h"

#include <thread>

namespace lumoset::fake {

namespace {

constexpr std::size_t largestBody = 256u << 20;

ReceivedRequest recordOf(const httplib::Request& request) {
    ReceivedRequest record;
    record.method = request.method;
    record.target = request.target;
    record.version = request.version;
    for (const auto& [name, value] : request.headers) {
        record.headers.emplace_back(name, value);
    }
    record.body = request.body;
    return record;
}

}  // namespace

HttpServer::HttpServer(const TlsIdentity* tls)
    : server_(tls ? std::make_unique<httplib::SSLServer>(tls->certificate(), tls->key())
                  : std::make_unique<httplib::Server>()),
      tls_(tls != nullptr) {
    server_->set_payload_max_length(largestBody);
    port_ = server_->bind_to_any_port("127.0.0.1");
}

HttpServer::~HttpServer() {
    server_->stop();
    if (thread_.joinable()) {
        thread_.join();
    }
}

HttpServer::Handler HttpServer::recorded(Handler handler) {
    return [this, handler = std::move(handler)](const httplib::Request& request,
                                                httplib::Response& response) {
        log_.add(recordOf(request));
        handler(request, response);
    };
}

HttpServer& HttpServer::get(const std::string& pattern, Handler handler) {
    server_->Get(pattern, recorded(std::move(handler)));
    return *this;
}

HttpServer& HttpServer::post(const std::string& pattern, Handler handler) {
    server_->Post(pattern, recorded(std::move(handler)));
    return *this;
}

void HttpServer::start() {
    thread_ = std::thread([this] {
        server_->listen_after_bind();
        listenEnded_ = true;
    });
    // Until the listen loop runs, the server's stop() does nothing and a destructor would hang.
    while (!server_->is_running() && !listenEnded_) {
        std::this_thread::yield();
    }
}

std::string HttpServer::url(std::string_view path) const {
    return (tls_ ? "https://127.0.0.1:" : "http://127.0.0.1:") + std::to_string(port_) +
           std::string(path);
}

}  // namespace lumoset::fake
