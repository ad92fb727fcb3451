#include "tests/fakes/http/raw_server.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

namespace lumoset::fake {

RawServer::RawServer(Script script, const TlsIdentity* tls)
    : script_(std::move(script)),
      tls_(tls != nullptr),
      server_([this](Stream& stream) { serve(stream); }, tls ? tls->serverContext() : nullptr) {}

RawServer::RawServer(std::string response, const TlsIdentity* tls)
    : RawServer([response](const ReceivedRequest&) { return Reply{response}; }, tls) {}

std::string RawServer::url(std::string_view path) const {
    return (tls_ ? "https://127.0.0.1:" : "http://127.0.0.1:") + std::to_string(port()) +
           std::string(path);
}

void RawServer::serve(Stream& stream) {
    std::string bytes = stream.readMessage();
    if (bytes.empty()) {
        return;
    }
    ReceivedRequest request = parseRequest(std::move(bytes));
    const Reply reply = script_(request);
    log_.add(std::move(request));
    if (!pause(reply.delay, server_.stopFlag())) {
        return;
    }
    stream.write(reply.bytes);
    if (reply.holdOpen) {
        stream.readToEnd();
        return;
    }
    stream.finish();
}

int unusedPort() {
    const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    ::bind(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address);
    ::getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length);
    ::close(fd);
    return ntohs(address.sin_port);
}

}  // namespace lumoset::fake
