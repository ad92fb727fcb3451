#include "tests/fakes/http/received_request.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>

namespace lumoset::fake {

namespace {

constexpr std::string_view lineEnd = "\r\n";
constexpr std::string_view headEnd = "\r\n\r\n";

bool sameName(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) ==
                      std::tolower(static_cast<unsigned char>(y));
           });
}

std::string trimmed(std::string_view s) {
    const auto begin = s.find_first_not_of(" \t");
    if (begin == std::string_view::npos) {
        return {};
    }
    const auto end = s.find_last_not_of(" \t");
    return std::string(s.substr(begin, end - begin + 1));
}

HeaderList parseHeaders(std::string_view head) {
    HeaderList headers;
    std::size_t at = head.find(lineEnd);  // skip the request or status line
    while (at != std::string_view::npos) {
        at += lineEnd.size();
        const std::size_t next = head.find(lineEnd, at);
        const std::string_view line =
            head.substr(at, next == std::string_view::npos ? std::string_view::npos : next - at);
        if (line.empty()) {
            break;
        }
        const std::size_t colon = line.find(':');
        if (colon == std::string_view::npos) {
            headers.emplace_back(std::string(line), std::string());
        } else {
            headers.emplace_back(std::string(line.substr(0, colon)),
                                 trimmed(line.substr(colon + 1)));
        }
        at = next;
    }
    return headers;
}

const std::string* findHeader(const HeaderList& headers, std::string_view name) {
    for (const auto& [key, value] : headers) {
        if (sameName(key, name)) {
            return &value;
        }
    }
    return nullptr;
}

bool isChunked(const HeaderList& headers) {
    const std::string* coding = findHeader(headers, "Transfer-Encoding");
    return coding && coding->find("chunked") != std::string::npos;
}

// Decodes a chunked body starting at `from`; returns the end of the message, or 0 while
// incomplete. The joined chunks go to `body` when given.
std::size_t decodeChunks(std::string_view bytes, std::size_t from, std::string* body) {
    std::size_t at = from;
    for (;;) {
        const std::size_t sizeEnd = bytes.find(lineEnd, at);
        if (sizeEnd == std::string_view::npos) {
            return 0;
        }
        const std::size_t size =
            std::strtoul(std::string(bytes.substr(at, sizeEnd - at)).c_str(), nullptr, 16);
        at = sizeEnd + lineEnd.size();
        if (size == 0) {
            const std::size_t trailerEnd = bytes.find(lineEnd, at);
            return trailerEnd == std::string_view::npos ? 0 : trailerEnd + lineEnd.size();
        }
        if (bytes.size() < at + size + lineEnd.size()) {
            return 0;
        }
        if (body) {
            body->append(bytes.substr(at, size));
        }
        at += size + lineEnd.size();
    }
}

std::string reasonPhrase(int status) {
    switch (status) {
        case 200:
            return "OK";
        case 201:
            return "Created";
        case 204:
            return "No Content";
        case 301:
            return "Moved Permanently";
        case 302:
            return "Found";
        case 303:
            return "See Other";
        case 307:
            return "Temporary Redirect";
        case 308:
            return "Permanent Redirect";
        case 400:
            return "Bad Request";
        case 401:
            return "Unauthorized";
        case 403:
            return "Forbidden";
        case 404:
            return "Not Found";
        case 407:
            return "Proxy Authentication Required";
        case 500:
            return "Internal Server Error";
        case 502:
            return "Bad Gateway";
        default:
            return "Status";
    }
}

}  // namespace

std::optional<std::string> ReceivedRequest::header(std::string_view name) const {
    const std::string* value = findHeader(headers, name);
    return value ? std::optional<std::string>(*value) : std::nullopt;
}

std::vector<std::string> ReceivedRequest::headerValues(std::string_view name) const {
    std::vector<std::string> values;
    for (const auto& [key, value] : headers) {
        if (sameName(key, name)) {
            values.push_back(value);
        }
    }
    return values;
}

std::vector<std::string> ReceivedRequest::headerNames() const {
    std::vector<std::string> names;
    for (const auto& header : headers) {
        names.push_back(header.first);
    }
    return names;
}

std::string ReceivedRequest::head() const {
    const std::size_t end = bytes.find(headEnd);
    return end == std::string::npos ? bytes : bytes.substr(0, end + headEnd.size());
}

ReceivedRequest parseRequest(std::string bytes) {
    ReceivedRequest request;
    request.bytes = std::move(bytes);
    const std::string_view all = request.bytes;
    const std::size_t end = all.find(headEnd);
    const std::string_view head =
        end == std::string_view::npos ? all : all.substr(0, end + lineEnd.size());
    const std::string_view line = head.substr(0, head.find(lineEnd));
    const std::size_t space1 = line.find(' ');
    const std::size_t space2 =
        space1 == std::string_view::npos ? space1 : line.find(' ', space1 + 1);
    request.method = std::string(line.substr(0, space1));
    if (space2 != std::string_view::npos) {
        request.target = std::string(line.substr(space1 + 1, space2 - space1 - 1));
        request.version = std::string(line.substr(space2 + 1));
    }
    request.headers = parseHeaders(head);
    if (end != std::string_view::npos) {
        const std::size_t bodyStart = end + headEnd.size();
        if (isChunked(request.headers)) {
            decodeChunks(all, bodyStart, &request.body);
        } else {
            request.body = std::string(all.substr(bodyStart));
        }
    }
    return request;
}

std::size_t completeMessageLength(std::string_view bytes) {
    const std::size_t end = bytes.find(headEnd);
    if (end == std::string_view::npos) {
        return 0;
    }
    const std::size_t bodyStart = end + headEnd.size();
    const HeaderList headers = parseHeaders(bytes.substr(0, end + lineEnd.size()));
    if (isChunked(headers)) {
        return decodeChunks(bytes, bodyStart, nullptr);
    }
    const std::string* length = findHeader(headers, "Content-Length");
    const std::size_t total = bodyStart + (length ? std::strtoul(length->c_str(), nullptr, 10) : 0);
    return bytes.size() >= total ? total : 0;
}

std::string httpResponse(int status, const HeaderList& headers, std::string_view body) {
    std::string out = "HTTP/1.1 " + std::to_string(status) + " " + reasonPhrase(status) + "\r\n";
    for (const auto& [name, value] : headers) {
        out += name + ": " + value + "\r\n";
    }
    out += "Content-Length: " + std::to_string(body.size()) + "\r\nConnection: close\r\n\r\n";
    out += body;
    return out;
}

std::string redirectResponse(int status, std::string_view location) {
    return httpResponse(status, {{"Location", std::string(location)}});
}

void RequestLog::add(ReceivedRequest request) {
    {
        std::lock_guard lock(mutex_);
        requests_.push_back(std::move(request));
    }
    changed_.notify_all();
}

std::vector<ReceivedRequest> RequestLog::all() const {
    std::lock_guard lock(mutex_);
    return requests_;
}

std::size_t RequestLog::size() const {
    std::lock_guard lock(mutex_);
    return requests_.size();
}

bool RequestLog::waitFor(std::size_t count, std::chrono::milliseconds limit) const {
    std::unique_lock lock(mutex_);
    return changed_.wait_for(lock, limit, [&] { return requests_.size() >= count; });
}

}  // namespace lumoset::fake
