// Sockets of the fake servers: a loopback listener that serves every connection on a thread of
// its own, and byte streams, plain or TLS, whose every wait ends when the server stops.
#pragma once

#include <atomic>
#include <chrono>
#include <functional>
#include <mutex>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

typedef struct ssl_st SSL;
typedef struct ssl_ctx_st SSL_CTX;

namespace lumoset::fake {

// A flag that wakes every wait of a server once raised; it stays raised.
class StopFlag {
  public:
    StopFlag();
    ~StopFlag();
    StopFlag(const StopFlag&) = delete;
    StopFlag& operator=(const StopFlag&) = delete;
    void raise();
    int fd() const { return fd_; }

  private:
    int fd_;
};

// Waits until `fd` is ready for `events` (poll flags); false when the stop is raised first or
// `limit` passes. A negative limit waits without end.
bool waitReady(int fd, short events, const StopFlag& stop,
               std::chrono::milliseconds limit = std::chrono::milliseconds(-1));

// Waits `time` unless the stop is raised first; returns whether the time passed.
bool pause(std::chrono::milliseconds time, const StopFlag& stop);

// One connection of a fake server. Owns its socket.
class Stream {
  public:
    // `tls` makes it the server end of a TLS connection; null for plain bytes.
    Stream(int fd, SSL_CTX* tls, const StopFlag& stop);
    ~Stream();
    Stream(const Stream&) = delete;
    Stream& operator=(const Stream&) = delete;

    // Completes the TLS handshake; true at once for plain streams.
    bool handshake();
    // Waits for bytes and returns what arrived; empty at the end, on error or stop.
    std::string readSome();
    bool write(std::string_view bytes);
    // Reads until one complete HTTP message has arrived; empty when the stream ends first.
    std::string readMessage();
    // Reads until the peer closes, the stop is raised or `limit` passes.
    std::string readToEnd(std::chrono::milliseconds limit = std::chrono::milliseconds(-1));
    // Ends our side and waits a little for the peer to close, so no answer is lost.
    void finish();
    int fd() const { return fd_; }

  private:
    // After a TLS call returned `result`: waits for what it needs; false when it failed.
    bool waitForTls(int result);

    int fd_;
    SSL* ssl_ = nullptr;
    const StopFlag& stop_;
};

// Connects to 127.0.0.1:`port`; the socket, or -1.
int connectLoopback(int port);

// Listens on 127.0.0.1 on a free port and hands every accepted connection to `serve` on a
// thread of its own. Stops, and joins every thread, when destroyed.
class ConnectionServer {
  public:
    using Serve = std::function<void(Stream&)>;
    ConnectionServer(Serve serve, SSL_CTX* tls);
    ~ConnectionServer();
    ConnectionServer(const ConnectionServer&) = delete;
    ConnectionServer& operator=(const ConnectionServer&) = delete;

    int port() const { return port_; }
    std::size_t connections() const { return connections_; }
    const StopFlag& stopFlag() const { return stop_; }

  private:
    void acceptLoop();

    Serve serve_;
    SSL_CTX* tls_;
    StopFlag stop_;
    int listenFd_ = -1;
    int port_ = 0;
    std::atomic<std::size_t> connections_{0};
    std::mutex threadsMutex_;
    std::vector<std::thread> threads_;
    std::thread acceptThread_;
};

}  // namespace lumoset::fake
