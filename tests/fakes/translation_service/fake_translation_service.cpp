#include "tests/fakes/translation_service/fake_translation_service.h"

#include <openssl/evp.h>

#include <cstdio>
#include <set>

namespace lumoset::test {

const char FakeTranslationService::appKey[] = "7d41f09b3e2a6c5b";
const char FakeTranslationService::appSecret[] = "Qm8RxLp3VdZs0KfHjN2cWbY7gTeA5uPo";

namespace {

int hexValue(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    return -1;
}

std::string md5UpperHex(const std::string& bytes) {
    unsigned char digest[EVP_MAX_MD_SIZE];
    unsigned int length = 0;
    EVP_MD* md5 = EVP_MD_fetch(nullptr, "MD5", "-fips");
    EVP_Digest(bytes.data(), bytes.size(), digest, &length, md5, nullptr);
    EVP_MD_free(md5);
    std::string hex;
    for (unsigned int i = 0; i < length; ++i) {
        char pair[3];
        std::snprintf(pair, sizeof pair, "%02X", digest[i]);
        hex += pair;
    }
    return hex;
}

std::vector<std::pair<std::string, std::string>> splitForm(const std::string& body) {
    std::vector<std::pair<std::string, std::string>> fields;
    if (body.empty()) {
        return fields;
    }
    std::size_t start = 0;
    while (true) {
        const std::size_t end = std::min(body.find('&', start), body.size());
        const std::string item = body.substr(start, end - start);
        const std::size_t equals = item.find('=');
        if (equals == std::string::npos) {
            fields.emplace_back(item, "");
        } else {
            fields.emplace_back(item.substr(0, equals), item.substr(equals + 1));
        }
        if (end == body.size()) {
            return fields;
        }
        start = end + 1;
    }
}

const std::set<std::string>& languages() {
    static const std::set<std::string> codes = {"zh-CHS", "ja", "EN", "en", "ko",
                                                "fr",     "ru", "pt", "es", "vi"};
    return codes;
}

// Takes the fields apart and checks them in the order the service does; returns the error code
// of the first check that fails, "0" when the request is sound.
std::string check(TranslationRequest& request) {
    static const std::vector<std::string> expectedNames = {"q",      "from", "to",
                                                           "appKey", "salt", "sign"};
    std::vector<std::string> names;
    for (const auto& field : request.fields) {
        names.push_back(field.first);
    }
    if (request.contentType != "application/x-www-form-urlencoded") {
        request.problems.push_back("content type " + request.contentType);
    }
    if (names != expectedNames) {
        std::string list;
        for (const auto& name : names)
            list += name + ",";
        request.problems.push_back("fields " + list);
        return "101";
    }
    std::string decoded[6];
    for (int i = 0; i < 6; ++i) {
        if (!decodeFormValue(request.fields[i].second, decoded[i])) {
            request.problems.push_back("bad percent-encoding in " + names[i]);
            return "101";
        }
    }
    request.text = decoded[0];
    request.from = decoded[1];
    request.to = decoded[2];
    request.appKey = decoded[3];
    request.salt = decoded[4];
    request.sign = decoded[5];
    if (!isValidUtf8(request.text)) {
        request.problems.push_back("q is not UTF-8");
        return "101";
    }
    if (request.appKey != FakeTranslationService::appKey) {
        request.problems.push_back("unknown appKey " + request.appKey);
        return "108";
    }
    if (request.salt.size() != 1 || request.salt[0] < '0' || request.salt[0] > '9') {
        request.problems.push_back("salt " + request.salt);
        return "101";
    }
    if (request.from != "auto" && !languages().count(request.from)) {
        request.problems.push_back("from " + request.from);
        return "102";
    }
    if (!languages().count(request.to)) {
        request.problems.push_back("to " + request.to);
        return "102";
    }
    const std::string expected = md5UpperHex(request.appKey + request.text + request.salt +
                                             FakeTranslationService::appSecret);
    if (request.sign != expected) {
        request.problems.push_back("sign " + request.sign + " instead of " + expected);
        return "202";
    }
    return "0";
}

}  // namespace

bool decodeFormValue(const std::string& value, std::string& decoded) {
    decoded.clear();
    for (std::size_t i = 0; i < value.size(); ++i) {
        if (value[i] == '+') {
            decoded += ' ';
        } else if (value[i] != '%') {
            decoded += value[i];
        } else if (i + 2 < value.size() && hexValue(value[i + 1]) >= 0 &&
                   hexValue(value[i + 2]) >= 0) {
            decoded += static_cast<char>(hexValue(value[i + 1]) * 16 + hexValue(value[i + 2]));
            i += 2;
        } else {
            return false;
        }
    }
    return true;
}

bool isValidUtf8(const std::string& bytes) {
    std::size_t i = 0;
    while (i < bytes.size()) {
        const auto lead = static_cast<unsigned char>(bytes[i]);
        const int extra = lead < 0x80                   ? 0
                          : lead >= 0xC2 && lead < 0xE0 ? 1
                          : lead >= 0xE0 && lead < 0xF0 ? 2
                          : lead >= 0xF0 && lead < 0xF5 ? 3
                                                        : -1;
        if (extra < 0 || i + extra >= bytes.size()) {
            return false;
        }
        for (int k = 1; k <= extra; ++k) {
            if ((static_cast<unsigned char>(bytes[i + k]) & 0xC0) != 0x80) {
                return false;
            }
        }
        i += extra + 1;
    }
    return true;
}

std::string jsonString(const std::string& utf8) {
    std::string out = "\"";
    for (const char c : utf8) {
        switch (c) {
            case '"':
                out += "\\\"";
                break;
            case '\\':
                out += "\\\\";
                break;
            case '\n':
                out += "\\n";
                break;
            case '\r':
                out += "\\r";
                break;
            case '\t':
                out += "\\t";
                break;
            default:
                if (static_cast<unsigned char>(c) < 0x20) {
                    char escape[7];
                    std::snprintf(escape, sizeof escape, "\\u%04X", c);
                    out += escape;
                } else {
                    out += c;
                }
        }
    }
    return out + "\"";
}

FakeTranslationService::FakeTranslationService() {
    server_.post("/api",
                 [this](const httplib::Request& in, httplib::Response& out) { handle(in, out); });
    server_.start();
    // Until the accept loop runs, stopping the server would not reach it.
    while (!server_.native().is_running()) {
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
}

FakeTranslationService::~FakeTranslationService() = default;

std::string FakeTranslationService::endpoint() const {
    return server_.url("/api");
}

void FakeTranslationService::handle(const httplib::Request& in, httplib::Response& out) {
    TranslationRequest request;
    request.contentType = in.get_header_value("Content-Type");
    request.referer = in.get_header_value("Referer");
    request.body = in.body;
    request.fields = splitForm(in.body);
    const std::string errorCode = check(request);

    Reply reply;
    std::chrono::milliseconds delay;
    std::string body;
    {
        std::lock_guard<std::mutex> hold(lock_);
        reply = errorCode == "0" ? reply_ : Reply::ErrorCode;
        delay = delay_;
        body = errorCode != "0" ? "{\"errorCode\":\"" + errorCode + "\"}" : answer(request);
        requests_.push_back(request);
    }
    std::this_thread::sleep_for(delay);
    switch (reply) {
        case Reply::EmptyBody:
            out.set_content("", "application/json;charset=UTF-8");
            break;
        case Reply::HttpError:
            out.status = 500;
            out.set_content("<html><body><h1>500 Internal Server Error</h1></body></html>",
                            "text/html");
            break;
        default:
            out.set_content(body, "application/json;charset=UTF-8");
    }
}

void FakeTranslationService::replyWith(Reply reply) {
    std::lock_guard<std::mutex> hold(lock_);
    reply_ = reply;
}

void FakeTranslationService::setErrorCode(const std::string& code) {
    std::lock_guard<std::mutex> hold(lock_);
    errorCode_ = code;
}

void FakeTranslationService::setDelay(std::chrono::milliseconds delay) {
    std::lock_guard<std::mutex> hold(lock_);
    delay_ = delay;
}

void FakeTranslationService::addTranslation(const std::string& text, const std::string& to,
                                            std::vector<std::string> translations) {
    std::lock_guard<std::mutex> hold(lock_);
    translations_[{text, to}] = std::move(translations);
}

std::vector<TranslationRequest> FakeTranslationService::requests() const {
    std::lock_guard<std::mutex> hold(lock_);
    return requests_;
}

// The answer to a sound request, in the service's shape; called with the lock held.
std::string FakeTranslationService::answer(TranslationRequest& request) {
    const std::string requestId = "\"requestId\":\"" + std::to_string(requests_.size() + 1) + "\"";
    if (reply_ == Reply::ErrorCode) {
        return "{" + requestId + ",\"errorCode\":\"" + errorCode_ + "\",\"l\":\"null2null\"}";
    }
    const auto known = translations_.find({request.text, request.to});
    const std::vector<std::string> translations =
        known != translations_.end()
            ? known->second
            : std::vector<std::string>{"[" + request.to + "] " + request.text};
    std::string array;
    for (const auto& translation : translations) {
        array += (array.empty() ? "" : ",") + jsonString(translation);
    }
    const std::string language =
        (request.from == "auto" ? "zh-CHS" : request.from) + "2" + request.to;
    return "{\"tSpeakUrl\":\"\"," + requestId + ",\"query\":" + jsonString(request.text) +
           ",\"translation\":[" + array + "],\"errorCode\":\"0\",\"l\":" + jsonString(language) +
           ",\"isWord\":false}";
}

}  // namespace lumoset::test
