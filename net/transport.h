// One HTTP/1.1 exchange over libcurl, the ground both page requests stand on.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "text/types.h"

namespace lumoset {

// Limits of the phases of an exchange, in milliseconds; a value below 1 leaves that phase to
// the transport's default. The transport cannot tell resolving from connecting, so the two
// limits add up to one limit for reaching the server (TLS handshake included). Sending and
// receiving are limited by idleness: the exchange ends when no byte moves for that long.
struct Timeouts {
    int resolveMs = 0;
    int connectMs = 0;
    int sendMs = 0;
    int receiveMs = 0;
    bool operator==(const Timeouts&) const = default;
};

// What applies where a caller sets no limit: a minute to reach the server and half a minute
// without a byte while sending or receiving.
inline constexpr int defaultConnectMs = 60000;
inline constexpr int defaultIdleMs = 30000;

struct Credentials {
    std::string user;
    std::string password;
};

struct TransportRequest {
    std::string url;   // absolute "http://" or "https://" address
    std::string verb;  // "GET" or "POST"
    // Header lines "Name: value" in the order they go out. A line with an empty value goes out
    // empty; a line without ":" is dropped. The transport adds Host and Content-Length, and no
    // Accept, Content-Type, Expect or cookie of its own.
    std::vector<std::string> headerLines;
    std::optional<Bytes> body;  // none: no body at all
    std::string agent;          // User-Agent unless a header line names one; empty: none
    std::string proxy;          // HTTP proxy "host:port"; empty: direct, whatever the environment
    std::optional<Credentials> proxyCredentials;
    std::optional<Credentials> serverCredentials;
    bool followRedirects = true;
    bool verifyPeer = true;  // the certificate chain and its dates
    bool verifyHost = true;  // the certificate's name
    Timeouts timeouts;
};

struct TransportResponse {
    bool completed = false;  // false: the exchange failed or was cut short
    Bytes body;              // what arrived of the final response's body
    // The final response's status line and header lines, each ended by CR LF, and the empty
    // line that ends them; empty when no complete header block arrived.
    Text headerBlock;
};

TransportResponse exchange(const TransportRequest& request);

// `text` with every byte that may not stand in a request line (controls, space, bytes of 128
// and above) written as %XX.
std::string escapeForRequestLine(std::string_view text);

}  // namespace lumoset
