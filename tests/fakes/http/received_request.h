// What a fake server saw of one request, and the building blocks of scripted answers.
#pragma once

#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace lumoset::fake {

using HeaderList = std::vector<std::pair<std::string, std::string>>;

struct ReceivedRequest {
    // Exactly the bytes that arrived: request line, header lines, empty line and body.
    // Empty for requests recorded by HttpServer, whose parser keeps no bytes.
    std::string bytes;
    std::string method;
    // As in the request line: path and query, or the absolute address sent to a proxy.
    std::string target;
    std::string version;
    // In arrival order (HttpServer: sorted by name), names as sent, values trimmed.
    HeaderList headers;
    // The body, with the chunks of a chunked body joined.
    std::string body;

    // The value of the first header called `name` in any case, if any.
    std::optional<std::string> header(std::string_view name) const;
    // The values of every header called `name` in any case, in order.
    std::vector<std::string> headerValues(std::string_view name) const;
    // The header names in order, as sent.
    std::vector<std::string> headerNames() const;
    // The bytes up to and including the empty line that ends the headers.
    std::string head() const;
};

// Splits a request's bytes into its parts.
ReceivedRequest parseRequest(std::string bytes);

// The length of the first complete HTTP message (request or response with a body announced by
// Content-Length or chunks) at the start of `bytes`, or 0 while it is incomplete.
std::size_t completeMessageLength(std::string_view bytes);

// A complete HTTP/1.1 response: status line, `headers` in order, Content-Length, "Connection:
// close", the empty line and `body`.
std::string httpResponse(int status, const HeaderList& headers = {}, std::string_view body = {});

// A response with `status` (301, 302, 303, 307 or 308) pointing at `location`.
std::string redirectResponse(int status, std::string_view location);

// The requests a server has recorded so far, safe to read while it runs.
class RequestLog {
  public:
    void add(ReceivedRequest request);
    std::vector<ReceivedRequest> all() const;
    std::size_t size() const;
    // Waits until `count` requests are recorded or `limit` passes; returns whether they are.
    bool waitFor(std::size_t count,
                 std::chrono::milliseconds limit = std::chrono::seconds(10)) const;

  private:
    mutable std::mutex mutex_;
    mutable std::condition_variable changed_;
    std::vector<ReceivedRequest> requests_;
};

}  // namespace lumoset::fake
