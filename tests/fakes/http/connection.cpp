#include "tests/fakes/http/connection.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <openssl/err.h>
#include <openssl/ssl.h>
#include <poll.h>
#include <sys/eventfd.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstdint>

#include "tests/fakes/http/received_request.h"

namespace lumoset::fake {

namespace {

constexpr std::chrono::milliseconds closeGrace{2000};

void setNonBlocking(int fd) {
    ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) | O_NONBLOCK);
}

sockaddr_in loopback(int port) {
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(static_cast<std::uint16_t>(port));
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    return address;
}

// A peer that closes while we write must not end the test process.
void ignoreBrokenPipes() {
    static std::once_flag once;
    std::call_once(once, [] { std::signal(SIGPIPE, SIG_IGN); });
}

}  // namespace

StopFlag::StopFlag() : fd_(::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK)) {}

StopFlag::~StopFlag() {
    ::close(fd_);
}

void StopFlag::raise() {
    const std::uint64_t one = 1;
    [[maybe_unused]] const ssize_t n = ::write(fd_, &one, sizeof one);
}

bool waitReady(int fd, short events, const StopFlag& stop, std::chrono::milliseconds limit) {
    pollfd fds[2] = {{fd, events, 0}, {stop.fd(), POLLIN, 0}};
    for (;;) {
        const int n = ::poll(fds, 2, static_cast<int>(limit.count()));
        if (n < 0 && errno == EINTR) {
            continue;
        }
        return n > 0 && fds[1].revents == 0 && fds[0].revents != 0;
    }
}

bool pause(std::chrono::milliseconds time, const StopFlag& stop) {
    pollfd fd{stop.fd(), POLLIN, 0};
    const auto end = std::chrono::steady_clock::now() + time;
    for (;;) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            end - std::chrono::steady_clock::now());
        if (left.count() <= 0) {
            return true;
        }
        if (::poll(&fd, 1, static_cast<int>(left.count())) > 0) {
            return false;
        }
    }
}

Stream::Stream(int fd, SSL_CTX* tls, const StopFlag& stop) : fd_(fd), stop_(stop) {
    setNonBlocking(fd_);
    if (tls) {
        ssl_ = SSL_new(tls);
        SSL_set_fd(ssl_, fd_);
        SSL_set_accept_state(ssl_);
    }
}

Stream::~Stream() {
    if (ssl_) {
        SSL_free(ssl_);
    }
    ::close(fd_);
}

bool Stream::waitForTls(int result) {
    const int error = SSL_get_error(ssl_, result);
    const short events = error == SSL_ERROR_WANT_READ    ? POLLIN
                         : error == SSL_ERROR_WANT_WRITE ? POLLOUT
                                                         : 0;
    if (events == 0 || !waitReady(fd_, events, stop_)) {
        ERR_clear_error();
        return false;
    }
    return true;
}

bool Stream::handshake() {
    while (ssl_) {
        const int result = SSL_do_handshake(ssl_);
        if (result == 1) {
            return true;
        }
        if (!waitForTls(result)) {
            return false;
        }
    }
    return true;
}

std::string Stream::readSome() {
    char buffer[16384];
    for (;;) {
        if (ssl_) {
            const int n = SSL_read(ssl_, buffer, sizeof buffer);
            if (n > 0) {
                return std::string(buffer, static_cast<std::size_t>(n));
            }
            if (!waitForTls(n)) {
                return {};
            }
            continue;
        }
        if (!waitReady(fd_, POLLIN, stop_)) {
            return {};
        }
        const ssize_t n = ::recv(fd_, buffer, sizeof buffer, 0);
        if (n > 0) {
            return std::string(buffer, static_cast<std::size_t>(n));
        }
        if (n < 0 && (errno == EAGAIN || errno == EINTR)) {
            continue;
        }
        return {};
    }
}

bool Stream::write(std::string_view bytes) {
    while (!bytes.empty()) {
        if (ssl_) {
            const int n = SSL_write(ssl_, bytes.data(), static_cast<int>(bytes.size()));
            if (n > 0) {
                bytes.remove_prefix(static_cast<std::size_t>(n));
                continue;
            }
            if (!waitForTls(n)) {
                return false;
            }
            continue;
        }
        const ssize_t n = ::send(fd_, bytes.data(), bytes.size(), MSG_NOSIGNAL);
        if (n > 0) {
            bytes.remove_prefix(static_cast<std::size_t>(n));
        } else if (n < 0 && (errno == EAGAIN || errno == EINTR)) {
            if (!waitReady(fd_, POLLOUT, stop_)) {
                return false;
            }
        } else {
            return false;
        }
    }
    return true;
}

std::string Stream::readMessage() {
    std::string bytes;
    for (;;) {
        const std::size_t length = completeMessageLength(bytes);
        if (length > 0) {
            bytes.resize(length);
            return bytes;
        }
        const std::string more = readSome();
        if (more.empty()) {
            return {};
        }
        bytes += more;
    }
}

std::string Stream::readToEnd(std::chrono::milliseconds limit) {
    std::string bytes;
    const auto end = std::chrono::steady_clock::now() + limit;
    for (;;) {
        if (limit.count() >= 0) {
            const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
                end - std::chrono::steady_clock::now());
            if (left.count() <= 0 || !waitReady(fd_, POLLIN, stop_, left)) {
                return bytes;
            }
        }
        const std::string more = readSome();
        if (more.empty()) {
            return bytes;
        }
        bytes += more;
    }
}

void Stream::finish() {
    if (ssl_) {
        SSL_shutdown(ssl_);
        ERR_clear_error();
    }
    ::shutdown(fd_, SHUT_WR);
    readToEnd(closeGrace);
}

int connectLoopback(int port) {
    const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    const sockaddr_in address = loopback(port);
    if (fd >= 0 &&
        ::connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0) {
        return fd;
    }
    if (fd >= 0) {
        ::close(fd);
    }
    return -1;
}

ConnectionServer::ConnectionServer(Serve serve, SSL_CTX* tls)
    : serve_(std::move(serve)), tls_(tls) {
    ignoreBrokenPipes();
    listenFd_ = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    const int yes = 1;
    ::setsockopt(listenFd_, SOL_SOCKET, SO_REUSEADDR, &yes, sizeof yes);
    sockaddr_in address = loopback(0);
    socklen_t length = sizeof address;
    ::bind(listenFd_, reinterpret_cast<const sockaddr*>(&address), sizeof address);
    ::listen(listenFd_, 64);
    ::getsockname(listenFd_, reinterpret_cast<sockaddr*>(&address), &length);
    port_ = ntohs(address.sin_port);
    setNonBlocking(listenFd_);
    acceptThread_ = std::thread([this] { acceptLoop(); });
}

ConnectionServer::~ConnectionServer() {
    stop_.raise();
    acceptThread_.join();
    std::lock_guard lock(threadsMutex_);
    for (std::thread& thread : threads_) {
        thread.join();
    }
    ::close(listenFd_);
}

void ConnectionServer::acceptLoop() {
    while (waitReady(listenFd_, POLLIN, stop_)) {
        const int fd = ::accept4(listenFd_, nullptr, nullptr, SOCK_CLOEXEC);
        if (fd < 0) {
            continue;
        }
        ++connections_;
        std::lock_guard lock(threadsMutex_);
        threads_.emplace_back([this, fd] {
            Stream stream(fd, tls_, stop_);
            if (stream.handshake()) {
                serve_(stream);
            }
        });
    }
}

}  // namespace lumoset::fake
