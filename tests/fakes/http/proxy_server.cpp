#include "tests/fakes/http/proxy_server.h"

#include <openssl/evp.h>
#include <poll.h>

#include <cctype>
#include <cstdlib>
#include <string_view>

namespace lumoset::fake {

namespace {

std::string base64(const std::string& bytes) {
    std::string out(4 * ((bytes.size() + 2) / 3) + 1, '\0');
    const int n = EVP_EncodeBlock(reinterpret_cast<unsigned char*>(out.data()),
                                  reinterpret_cast<const unsigned char*>(bytes.data()),
                                  static_cast<int>(bytes.size()));
    out.resize(static_cast<std::size_t>(n));
    return out;
}

struct Destination {
    int port = 0;  // 0: not a loopback server
    std::string path;
};

// "host:port" of a CONNECT, or an absolute "http://host:port/path".
Destination destinationOf(const std::string& target) {
    std::string rest = target;
    if (rest.rfind("http://", 0) == 0) {
        rest = rest.substr(7);
    }
    const std::size_t slash = rest.find('/');
    const std::string authority = rest.substr(0, slash);
    const std::size_t colon = authority.rfind(':');
    const std::string host = authority.substr(0, colon);
    if (colon == std::string::npos || (host != "127.0.0.1" && host != "localhost")) {
        return {};
    }
    return {std::atoi(authority.c_str() + colon + 1),
            slash == std::string::npos ? "/" : rest.substr(slash)};
}

bool startsWithAnyCase(const std::string& text, std::string_view prefix) {
    if (text.size() < prefix.size()) {
        return false;
    }
    for (std::size_t i = 0; i < prefix.size(); ++i) {
        if (std::tolower(static_cast<unsigned char>(text[i])) !=
            std::tolower(static_cast<unsigned char>(prefix[i]))) {
            return false;
        }
    }
    return true;
}

// Relays bytes both ways until one side closes or the proxy stops.
void relay(Stream& client, Stream& upstream, const StopFlag& stop) {
    pollfd fds[3] = {{client.fd(), POLLIN, 0}, {upstream.fd(), POLLIN, 0}, {stop.fd(), POLLIN, 0}};
    for (;;) {
        if (::poll(fds, 3, -1) <= 0 || fds[2].revents != 0) {
            return;
        }
        if (fds[0].revents != 0) {
            const std::string bytes = client.readSome();
            if (bytes.empty() || !upstream.write(bytes)) {
                return;
            }
        }
        if (fds[1].revents != 0) {
            const std::string bytes = upstream.readSome();
            if (bytes.empty() || !client.write(bytes)) {
                return;
            }
        }
    }
}

}  // namespace

ProxyServer::ProxyServer(std::string user, std::string password)
    : expectedAuthorization_("Basic " + base64(user + ":" + password)),
      server_([this](Stream& stream) { serve(stream); }, nullptr) {}

std::string ProxyServer::address() const {
    return "127.0.0.1:" + std::to_string(port());
}

void ProxyServer::serve(Stream& client) {
    std::string bytes = client.readMessage();
    if (bytes.empty()) {
        return;
    }
    ReceivedRequest request = parseRequest(std::move(bytes));
    log_.add(request);
    if (request.header("Proxy-Authorization") != expectedAuthorization_) {
        client.write(
            httpResponse(407, {{"Proxy-Authenticate", "Basic realm=\"lumoset test proxy\""}}));
        client.finish();
        return;
    }
    const Destination destination = destinationOf(request.target);
    const int upstreamFd = destination.port > 0 ? connectLoopback(destination.port) : -1;
    if (upstreamFd < 0) {
        client.write(httpResponse(502));
        client.finish();
        return;
    }
    Stream upstream(upstreamFd, nullptr, server_.stopFlag());
    if (request.method == "CONNECT") {
        client.write("HTTP/1.1 200 Connection established\r\n\r\n");
        relay(client, upstream, server_.stopFlag());
        return;
    }
    std::string forwarded =
        request.method + " " + destination.path + " " + request.version + "\r\n";
    for (const auto& [name, value] : request.headers) {
        if (!startsWithAnyCase(name, "Proxy-") && !startsWithAnyCase(name, "Connection")) {
            forwarded += name + ": " + value + "\r\n";
        }
    }
    forwarded += "Connection: close\r\n\r\n";
    forwarded += request.bytes.substr(request.head().size());
    if (upstream.write(forwarded)) {
        client.write(upstream.readToEnd());
    }
    client.finish();
}

}  // namespace lumoset::fake
