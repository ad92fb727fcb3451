#include "net/transport.h"

#include <curl/curl.h>

#include <algorithm>
#include <cctype>
#include <chrono>
#include <mutex>
#include <string_view>

namespace lumoset {

namespace {

using Clock = std::chrono::steady_clock;

constexpr long redirectLimit = 10;
constexpr int pollMs = 50;

void initialiseCurl() {
    static std::once_flag once;
    std::call_once(once, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });
}

bool sameName(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) ==
                      std::tolower(static_cast<unsigned char>(y));
           });
}

bool isBlank(std::string_view text) {
    return text.find_first_not_of(" \t") == std::string_view::npos;
}

// What the callbacks share while the exchange runs on this thread.
struct Progress {
    explicit Progress(TransportResponse& into) : response(into) {}

    TransportResponse& response;
    Text block;
    bool blockComplete = false;
    bool requestStarted = false;
    bool uploading = false;
    curl_off_t sent = 0;
    curl_off_t received = 0;
    Clock::time_point lastActivity = Clock::now();

    void touch() { lastActivity = Clock::now(); }
};

// Keeps the header block of the last response only: each status line starts a new one (a
// redirect, an authentication round or a proxy's tunnel answer came before).
size_t onHeader(char* data, size_t size, size_t count, void* user) {
    Progress& progress = *static_cast<Progress*>(user);
    const size_t length = size * count;
    progress.touch();
    std::string_view line(data, length);
    while (!line.empty() && (line.back() == '\n' || line.back() == '\r')) {
        line.remove_suffix(1);
    }
    if (line.rfind("HTTP/", 0) == 0) {
        progress.block.clear();
        progress.blockComplete = false;
    }
    progress.block.append(line).append("\r\n");
    if (line.empty()) {
        progress.blockComplete = true;
    }
    return length;
}

size_t onBody(char* data, size_t size, size_t count, void* user) {
    Progress& progress = *static_cast<Progress*>(user);
    const size_t length = size * count;
    progress.touch();
    progress.response.body.insert(progress.response.body.end(), data, data + length);
    return length;
}

int onRequestReady(void* user, char*, char*, int, int) {
    Progress& progress = *static_cast<Progress*>(user);
    progress.requestStarted = true;
    progress.touch();
    return CURL_PREREQFUNC_OK;
}

int onTransferProgress(void* user, curl_off_t, curl_off_t received, curl_off_t toSend,
                       curl_off_t sent) {
    Progress& progress = *static_cast<Progress*>(user);
    if (received != progress.received || sent != progress.sent) {
        progress.received = received;
        progress.sent = sent;
        progress.touch();
    }
    progress.uploading = toSend > 0 && sent < toSend;
    return 0;
}

// The caller's lines, then the blanks that keep libcurl from adding headers of its own.
curl_slist* headerList(const std::vector<std::string>& lines) {
    curl_slist* list = nullptr;
    bool named[3] = {false, false, false};
    constexpr std::string_view suppressed[3] = {"Accept", "Content-Type", "Expect"};
    for (const std::string& line : lines) {
        const std::size_t colon = line.find(':');
        if (colon == std::string::npos || isBlank(std::string_view(line).substr(0, colon))) {
            continue;
        }
        const std::string name = line.substr(0, colon);
        for (int i = 0; i < 3; ++i) {
            named[i] = named[i] || sameName(name, suppressed[i]);
        }
        // libcurl drops "Name:" without a value; "Name;" sends it empty.
        const bool empty = isBlank(std::string_view(line).substr(colon + 1));
        list = curl_slist_append(list, (empty ? name + ";" : line).c_str());
    }
    for (int i = 0; i < 3; ++i) {
        if (!named[i]) {
            list = curl_slist_append(list, (std::string(suppressed[i]) + ":").c_str());
        }
    }
    return list;
}

long orDefault(int ms, int fallback) {
    return ms >= 1 ? ms : fallback;
}

void setBody(CURL* easy, const TransportRequest& request) {
    static const char nothing = '\0';
    if (!request.body) {
        curl_easy_setopt(easy, CURLOPT_HTTPGET, 1L);
        return;
    }
    const Bytes& body = *request.body;
    if (request.verb == "POST") {
        curl_easy_setopt(easy, CURLOPT_POST, 1L);
    } else {
        curl_easy_setopt(easy, CURLOPT_CUSTOMREQUEST, request.verb.c_str());
    }
    curl_easy_setopt(easy, CURLOPT_POSTFIELDSIZE_LARGE, static_cast<curl_off_t>(body.size()));
    curl_easy_setopt(easy, CURLOPT_POSTFIELDS,
                     body.empty() ? &nothing : reinterpret_cast<const char*>(body.data()));
}

void setConnection(CURL* easy, const TransportRequest& request, std::string& proxy) {
    const bool secureStart = request.url.size() >= 5 && sameName(request.url.substr(0, 5), "https");
    curl_easy_setopt(easy, CURLOPT_URL, request.url.c_str());
    curl_easy_setopt(easy, CURLOPT_PROTOCOLS_STR, "http,https");
    // A redirect may climb from HTTP to HTTPS, never fall from HTTPS to HTTP.
    curl_easy_setopt(easy, CURLOPT_REDIR_PROTOCOLS_STR, secureStart ? "https" : "http,https");
    curl_easy_setopt(easy, CURLOPT_FOLLOWLOCATION, request.followRedirects ? 1L : 0L);
    curl_easy_setopt(easy, CURLOPT_MAXREDIRS, redirectLimit);
    curl_easy_setopt(easy, CURLOPT_HTTP_VERSION, static_cast<long>(CURL_HTTP_VERSION_1_1));
    curl_easy_setopt(easy, CURLOPT_PATH_AS_IS, 1L);
    curl_easy_setopt(easy, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(easy, CURLOPT_SSL_VERIFYPEER, request.verifyPeer ? 1L : 0L);
    curl_easy_setopt(easy, CURLOPT_SSL_VERIFYHOST, request.verifyHost ? 2L : 0L);
    curl_easy_setopt(easy, CURLOPT_CONNECTTIMEOUT_MS,
                     std::max(request.timeouts.resolveMs, 0) +
                         orDefault(request.timeouts.connectMs, defaultConnectMs));

    // An empty proxy setting means a direct exchange, whatever the environment says.
    proxy = request.proxy.empty() || request.proxy.find("://") != std::string::npos
                ? request.proxy
                : "http://" + request.proxy;
    curl_easy_setopt(easy, CURLOPT_PROXY, proxy.c_str());
    curl_easy_setopt(easy, CURLOPT_NOPROXY, "");
    if (request.proxyCredentials) {
        curl_easy_setopt(easy, CURLOPT_PROXYUSERNAME, request.proxyCredentials->user.c_str());
        curl_easy_setopt(easy, CURLOPT_PROXYPASSWORD, request.proxyCredentials->password.c_str());
        curl_easy_setopt(easy, CURLOPT_PROXYAUTH, CURLAUTH_BASIC | CURLAUTH_DIGEST);
    }
    if (request.serverCredentials) {
        curl_easy_setopt(easy, CURLOPT_USERNAME, request.serverCredentials->user.c_str());
        curl_easy_setopt(easy, CURLOPT_PASSWORD, request.serverCredentials->password.c_str());
        curl_easy_setopt(easy, CURLOPT_HTTPAUTH, CURLAUTH_BASIC | CURLAUTH_DIGEST);
    }
}

void setCallbacks(CURL* easy, Progress& progress) {
    curl_easy_setopt(easy, CURLOPT_HEADERFUNCTION, onHeader);
    curl_easy_setopt(easy, CURLOPT_HEADERDATA, &progress);
    curl_easy_setopt(easy, CURLOPT_WRITEFUNCTION, onBody);
    curl_easy_setopt(easy, CURLOPT_WRITEDATA, &progress);
    curl_easy_setopt(easy, CURLOPT_PREREQFUNCTION, onRequestReady);
    curl_easy_setopt(easy, CURLOPT_PREREQDATA, &progress);
    curl_easy_setopt(easy, CURLOPT_NOPROGRESS, 0L);
    curl_easy_setopt(easy, CURLOPT_XFERINFOFUNCTION, onTransferProgress);
    curl_easy_setopt(easy, CURLOPT_XFERINFODATA, &progress);
}

// Drives the exchange until it ends or stands idle past its limit; the result code of a
// finished exchange, or nothing when it was cut short.
std::optional<CURLcode> run(CURLM* multi, CURL* easy, const Progress& progress,
                            const Timeouts& timeouts) {
    const auto sendLimit = std::chrono::milliseconds(orDefault(timeouts.sendMs, defaultIdleMs));
    const auto receiveLimit =
        std::chrono::milliseconds(orDefault(timeouts.receiveMs, defaultIdleMs));
    curl_multi_add_handle(multi, easy);
    int running = 1;
    for (;;) {
        if (curl_multi_perform(multi, &running) != CURLM_OK) {
            return std::nullopt;
        }
        if (running == 0) {
            break;
        }
        const auto limit = progress.uploading ? sendLimit : receiveLimit;
        if (progress.requestStarted && Clock::now() - progress.lastActivity > limit) {
            return std::nullopt;
        }
        curl_multi_poll(multi, nullptr, 0, pollMs, nullptr);
    }
    int queued = 0;
    while (CURLMsg* message = curl_multi_info_read(multi, &queued)) {
        if (message->msg == CURLMSG_DONE && message->easy_handle == easy) {
            return message->data.result;
        }
    }
    return std::nullopt;
}

}  // namespace

TransportResponse exchange(const TransportRequest& request) {
    initialiseCurl();
    TransportResponse response;
    CURL* easy = curl_easy_init();
    CURLM* multi = curl_multi_init();
    if (easy == nullptr || multi == nullptr) {
        curl_easy_cleanup(easy);
        curl_multi_cleanup(multi);
        return response;
    }
    Progress progress(response);
    std::string proxy;
    curl_slist* headers = headerList(request.headerLines);
    setConnection(easy, request, proxy);
    setBody(easy, request);
    setCallbacks(easy, progress);
    curl_easy_setopt(easy, CURLOPT_HTTPHEADER, headers);
    if (!request.agent.empty()) {
        curl_easy_setopt(easy, CURLOPT_USERAGENT, request.agent.c_str());
    }

    const std::optional<CURLcode> result = run(multi, easy, progress, request.timeouts);
    response.completed = result == CURLE_OK;
    if (progress.blockComplete) {
        response.headerBlock = std::move(progress.block);
    }

    curl_multi_remove_handle(multi, easy);
    curl_easy_cleanup(easy);
    curl_multi_cleanup(multi);
    curl_slist_free_all(headers);
    return response;
}

std::string escapeForRequestLine(std::string_view text) {
    static constexpr char hex[] = "0123456789ABCDEF";
    std::string out;
    for (const char c : text) {
        const unsigned char byte = static_cast<unsigned char>(c);
        if (byte <= 0x20 || byte >= 0x7F) {
            out += '%';
            out += hex[byte >> 4];
            out += hex[byte & 0x0F];
        } else {
            out += c;
        }
    }
    return out;
}

}  // namespace lumoset
