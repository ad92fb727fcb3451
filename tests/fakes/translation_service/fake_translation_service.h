// A translation service on 127.0.0.1 that checks each request as the public service does and
// answers in its JSON shape, or with the failure a test asks for.
#pragma once

#include <chrono>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "tests/fakes/http/http_server.h"

namespace lumoset::test {

// One request as the service received it.
struct TranslationRequest {
    std::string contentType;
    std::string referer;
    std::string userAgent;
    std::string body;                                         // as it went over the wire
    std::vector<std::pair<std::string, std::string>> fields;  // in order, values as sent
    std::string text;  // q decoded from its form encoding: UTF-8
    std::string from, to, appKey, salt, sign;
    std::vector<std::string> problems;  // why the service refused it; empty when accepted
};

class FakeTranslationService {
  public:
    enum class Reply {
        Translation,  // errorCode "0" and the translations
        ErrorCode,    // the error code set below, no translation
        EmptyBody,    // status 200, nothing in the body
        HttpError,    // status 500 with an error page
    };

    // The application the service knows: the program's key and secret.
    static const char appKey[];
    static const char appSecret[];

    FakeTranslationService();
    ~FakeTranslationService();
    FakeTranslationService(const FakeTranslationService&) = delete;
    FakeTranslationService& operator=(const FakeTranslationService&) = delete;

    // "http://127.0.0.1:<port>/api"
    std::string endpoint() const;

    void replyWith(Reply reply);
    void setErrorCode(const std::string& code);
    // Every answer waits this long before it goes out.
    void setDelay(std::chrono::milliseconds delay);
    // The translations of `text` (UTF-8) into `to`, in the order of the answer's array; each is
    // JSON-escaped on the way out. A text without an entry comes back as "[<to>] <text>".
    void addTranslation(const std::string& text, const std::string& to,
                        std::vector<std::string> translations);

    std::vector<TranslationRequest> requests() const;

  private:
    std::string answer(TranslationRequest& request);

    void handle(const httplib::Request& in, httplib::Response& out);

    mutable std::mutex lock_;  // guards what follows, shared with the server's threads
    Reply reply_ = Reply::Translation;
    std::string errorCode_ = "411";
    std::chrono::milliseconds delay_{0};
    std::map<std::pair<std::string, std::string>, std::vector<std::string>> translations_;
    std::vector<TranslationRequest> requests_;

    fake::HttpServer server_;  // last: stops before the rest goes
};

// Percent-encoding and JSON escaping as the service understands them.
// Decodes a form value: "+" is a space, "%XX" a byte; false when a "%" is not followed by two
// hexadecimal digits.
bool decodeFormValue(const std::string& value, std::string& decoded);
bool isValidUtf8(const std::string& bytes);
std::string jsonString(const std::string& utf8);

}  // namespace lumoset::test
