#include "engines/audio/url_source.h"

#include <curl/curl.h>
#include <algorithm>
#include <atomic>
#include <cctype>
#include <charconv>
#include <cstring>
#include <mutex>
#include <optional>
#include <string_view>
#include <thread>
#include <vector>

namespace lumoset::audio {

struct UrlSource::Download {
    static size_t onBody(char* data, size_t size, size_t count, void* context);
    static size_t onHeader(char* data, size_t size, size_t count, void* context);

    std::string url;
    std::uint64_t offset = 0;
    AudioDownloadCallback* download = nullptr;
    void* user = nullptr;

    mutable std::mutex mutex;
    mutable std::condition_variable changed;
    std::vector<unsigned char> bytes;
    bool finished = false;
    bool failed = false;

    std::atomic<bool> abort{false};
    std::uint64_t skip = 0;  // body bytes to drop when the server ignored the range
    std::optional<std::uint64_t> rangeStart;  // where the final response's body starts
    bool started = false;
    CURL* easy = nullptr;
    CURLM* multi = nullptr;
    std::thread thread;

    void run();
    void finish(bool withFailure);
};

namespace {

std::once_flag curlReady;

}  // namespace

size_t UrlSource::Download::onBody(char* data, size_t size, size_t count, void* context) {
    auto* shared = static_cast<Download*>(context);
    const size_t total = size * count;
    if (shared->abort.load()) {
        return 0;
    }
    if (!shared->started) {
        // A server may answer a range request with the whole resource, whatever its status
        // says: only a Content-Range tells where the body really starts.
        shared->started = true;
        long status = 0;
        curl_easy_getinfo(shared->easy, CURLINFO_RESPONSE_CODE, &status);
        const std::uint64_t start = status == 206 ? shared->rangeStart.value_or(0) : 0;
        shared->skip = shared->offset > start ? shared->offset - start : 0;
    }
    size_t from = 0;
    if (shared->skip > 0) {
        from = static_cast<size_t>(std::min<std::uint64_t>(shared->skip, total));
        shared->skip -= from;
    }
    if (from < total) {
        {
            std::lock_guard lock(shared->mutex);
            shared->bytes.insert(shared->bytes.end(), data + from, data + total);
        }
        shared->changed.notify_all();
        if (shared->download != nullptr) {
            shared->download(data + from, static_cast<std::uint32_t>(total - from), shared->user);
        }
    }
    return total;
}

size_t UrlSource::Download::onHeader(char* data, size_t size, size_t count, void* context) {
    auto* shared = static_cast<Download*>(context);
    const size_t total = size * count;
    const std::string_view line(data, total);
    if (line.starts_with("HTTP/")) {
        shared->rangeStart.reset();  // each response of a redirect chain starts afresh
    }
    constexpr std::string_view field = "content-range: bytes ";
    if (line.size() > field.size() &&
        std::equal(field.begin(), field.end(), line.begin(), [](char a, char b) {
            return a == std::tolower(static_cast<unsigned char>(b));
        })) {
        std::uint64_t start = 0;
        const char* digits = line.data() + field.size();
        const auto parsed = std::from_chars(digits, line.data() + line.size(), start);
        if (parsed.ec == std::errc() && parsed.ptr != digits) {
            shared->rangeStart = start;
        }
    }
    return total;
}

void UrlSource::Download::finish(bool withFailure) {
    {
        std::lock_guard lock(mutex);
        finished = true;
        failed = withFailure && bytes.empty();
    }
    changed.notify_all();
    if (download != nullptr) {
        download(nullptr, 0, user);
    }
}

void UrlSource::Download::run() {
    curl_easy_setopt(easy, CURLOPT_URL, url.c_str());
    curl_easy_setopt(easy, CURLOPT_PROTOCOLS_STR, "http,https");
    curl_easy_setopt(easy, CURLOPT_REDIR_PROTOCOLS_STR, "http,https");
    curl_easy_setopt(easy, CURLOPT_FOLLOWLOCATION, 1L);
    curl_easy_setopt(easy, CURLOPT_MAXREDIRS, 5L);
    curl_easy_setopt(easy, CURLOPT_FAILONERROR, 1L);
    curl_easy_setopt(easy, CURLOPT_PROXY, "");
    curl_easy_setopt(easy, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(easy, CURLOPT_FORBID_REUSE, 1L);  // no idle connection left behind
    curl_easy_setopt(easy, CURLOPT_CONNECTTIMEOUT, 15L);
    // A server that sends nothing for half a minute has gone.
    curl_easy_setopt(easy, CURLOPT_LOW_SPEED_LIMIT, 1L);
    curl_easy_setopt(easy, CURLOPT_LOW_SPEED_TIME, 30L);
    curl_easy_setopt(easy, CURLOPT_WRITEFUNCTION, onBody);
    curl_easy_setopt(easy, CURLOPT_WRITEDATA, this);
    curl_easy_setopt(easy, CURLOPT_HEADERFUNCTION, onHeader);
    curl_easy_setopt(easy, CURLOPT_HEADERDATA, this);
    const std::string range = std::to_string(offset) + "-";
    if (offset > 0) {
        curl_easy_setopt(easy, CURLOPT_RANGE, range.c_str());
    }
    curl_multi_add_handle(multi, easy);
    int running = 1;
    while (running > 0 && !abort.load()) {
        if (curl_multi_perform(multi, &running) != CURLM_OK) {
            break;
        }
        if (running > 0) {
            curl_multi_poll(multi, nullptr, 0, 1000, nullptr);
        }
    }
    CURLcode result = CURLE_ABORTED_BY_CALLBACK;
    int queued = 0;
    while (CURLMsg* message = curl_multi_info_read(multi, &queued)) {
        if (message->msg == CURLMSG_DONE) {
            result = message->data.result;
        }
    }
    curl_multi_remove_handle(multi, easy);
    finish(result != CURLE_OK);
}

UrlSource::UrlSource(std::string url, std::uint64_t offset, AudioDownloadCallback* download,
                     void* user)
    : download_(std::make_unique<Download>()) {
    std::call_once(curlReady, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });
    download_->url = std::move(url);
    download_->offset = offset;
    download_->download = download;
    download_->user = user;
    download_->easy = curl_easy_init();
    download_->multi = curl_multi_init();
    if (download_->easy == nullptr || download_->multi == nullptr) {
        download_->finished = true;
        download_->failed = true;
        return;
    }
    download_->thread = std::thread([download = download_.get()] { download->run(); });
}

UrlSource::~UrlSource() {
    download_->abort.store(true);
    if (download_->multi != nullptr) {
        curl_multi_wakeup(download_->multi);
    }
    if (download_->thread.joinable()) {
        download_->thread.join();
    }
    if (download_->easy != nullptr) {
        curl_easy_cleanup(download_->easy);
    }
    if (download_->multi != nullptr) {
        curl_multi_cleanup(download_->multi);
    }
}

std::uint64_t UrlSource::available() const {
    std::lock_guard lock(download_->mutex);
    return download_->bytes.size();
}

bool UrlSource::finished() const {
    std::lock_guard lock(download_->mutex);
    return download_->finished;
}

bool UrlSource::failed() const {
    std::lock_guard lock(download_->mutex);
    return download_->failed;
}

std::size_t UrlSource::read(std::uint64_t offset, unsigned char* into, std::size_t count) const {
    std::lock_guard lock(download_->mutex);
    count = readableCount(offset, count, download_->bytes.size());
    std::memcpy(into, download_->bytes.data() + offset, count);
    return count;
}

void UrlSource::waitForMore(std::uint64_t known) const {
    std::unique_lock lock(download_->mutex);
    download_->changed.wait(lock,
                            [&] { return download_->finished || download_->bytes.size() > known; });
}

}  // namespace lumoset::audio
