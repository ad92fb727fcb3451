#include "tests/fakes/recognition_service/fake_recognition_service.h"

#include <cctype>

namespace lumoset::fake {

namespace {

constexpr std::string_view localPrefix = "type=webimage&image=data:image/png;base64,";
constexpr std::string_view localSuffix = "&image_url=";
constexpr std::string_view urlPrefix = "type=webimage&image_url=";

int hexValue(char c) {
    if (c >= '0' && c <= '9') {
        return c - '0';
    }
    if (c >= 'A' && c <= 'F') {
        return c - 'A' + 10;
    }
    return -1;  // the client writes upper-case digits only
}

// Undoes the percent-encoding of the picture field. Letters and digits must come plain and
// everything else escaped; anything else is a problem.
bool percentDecode(std::string_view text, std::string& out) {
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (std::isalnum(static_cast<unsigned char>(c))) {
            out += c;
        } else if (c == '%' && i + 2 < text.size() && hexValue(text[i + 1]) >= 0 &&
                   hexValue(text[i + 2]) >= 0) {
            const char decoded =
                static_cast<char>(hexValue(text[i + 1]) * 16 + hexValue(text[i + 2]));
            if (std::isalnum(static_cast<unsigned char>(decoded))) {
                return false;  // a letter or digit that should have stayed plain
            }
            out += decoded;
            i += 2;
        } else {
            return false;
        }
    }
    return true;
}

// Standard Base64 with padding; false for anything else.
bool base64Decode(std::string_view text, std::string& out) {
    static const std::string alphabet =
        "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    if (text.size() % 4 != 0) {
        return false;
    }
    for (std::size_t i = 0; i < text.size(); i += 4) {
        const bool last = i + 4 == text.size();
        unsigned value = 0;
        int padding = 0;
        for (std::size_t j = 0; j < 4; ++j) {
            const char c = text[i + j];
            if (c == '=' && last && j >= 2 && (j == 3 || text[i + 3] == '=')) {
                ++padding;
                value <<= 6;
                continue;
            }
            const std::size_t index = alphabet.find(c);
            if (index == std::string::npos || padding > 0) {
                return false;
            }
            value = (value << 6) | static_cast<unsigned>(index);
        }
        out += static_cast<char>(value >> 16);
        if (padding < 2) {
            out += static_cast<char>((value >> 8) & 0xFF);
        }
        if (padding < 1) {
            out += static_cast<char>(value & 0xFF);
        }
    }
    return true;
}

// "BAIDUID=" and the decimal sum of two numbers from 0 to 99,999: one to six digits, no sign,
// no leading zero.
bool isCookieOfTheSum(std::string_view cookie) {
    constexpr std::string_view name = "BAIDUID=";
    if (!cookie.starts_with(name)) {
        return false;
    }
    const std::string_view digits = cookie.substr(name.size());
    if (digits.empty() || digits.size() > 6 || (digits.size() > 1 && digits[0] == '0')) {
        return false;
    }
    long value = 0;
    for (const char c : digits) {
        if (c < '0' || c > '9') {
            return false;
        }
        value = value * 10 + (c - '0');
    }
    return value <= 2 * 99999;
}

std::string jsonString(const std::string& text) {
    std::string out = "\"";
    for (const char c : text) {
        if (c == '"' || c == '\\') {
            out += '\\';
        }
        out += c;
    }
    return out + "\"";
}

// Reads a request the way the service does and notes everything it would not accept.
RecognitionRequest understand(const ReceivedRequest& raw) {
    RecognitionRequest request;
    request.raw = raw;
    auto problem = [&request](std::string text) { request.problems.push_back(std::move(text)); };
    if (raw.method != "POST" || raw.target != "/aidemo") {
        problem("not a POST to /aidemo: " + raw.method + " " + raw.target);
    }
    if (raw.headerValues("Cookie").size() != 1) {
        problem("not exactly one Cookie header");
    }
    request.cookie = raw.header("Cookie").value_or("");
    if (!isCookieOfTheSum(request.cookie)) {
        problem("cookie not of the form BAIDUID=<0 to 199998>: " + request.cookie);
    }
    if (raw.header("Content-Type").value_or("") != "application/x-www-form-urlencoded") {
        problem("not a form body");
    }
    const std::string_view body = raw.body;
    if (body.starts_with(localPrefix) && body.ends_with(localSuffix) &&
        body.size() >= localPrefix.size() + localSuffix.size()) {
        request.inlinePicture = true;
        const std::string_view field =
            body.substr(localPrefix.size(), body.size() - localPrefix.size() - localSuffix.size());
        std::string base64;
        if (!percentDecode(field, base64) || !base64Decode(base64, request.picture)) {
            problem("the picture field is not percent-encoded Base64");
        } else if (!request.picture.starts_with("\xFF\xD8")) {
            problem("the picture is not JPEG");
        }
    } else if (body.starts_with(urlPrefix)) {
        request.pictureUrl = std::string(body.substr(urlPrefix.size()));
        if (request.pictureUrl.empty()) {
            problem("no picture address");
        }
    } else {
        problem("fields not type, image, image_url or type, image_url: " + raw.body.substr(0, 80));
    }
    return request;
}

}  // namespace

FakeRecognitionService::FakeRecognitionService()
    : server_([this](const ReceivedRequest& request) { return reply(request); }) {}

std::string FakeRecognitionService::endpoint() const {
    return server_.url("/aidemo");
}

void FakeRecognitionService::answerWords(std::vector<std::string> lines) {
    std::lock_guard lock(mutex_);
    answer_ = Answer::words;
    lines_ = std::move(lines);
}

void FakeRecognitionService::answerStatus(std::string status) {
    std::lock_guard lock(mutex_);
    answer_ = Answer::otherStatus;
    status_ = std::move(status);
}

void FakeRecognitionService::answer(Answer answer) {
    std::lock_guard lock(mutex_);
    answer_ = answer;
}

std::vector<RecognitionRequest> FakeRecognitionService::requests() const {
    std::lock_guard lock(mutex_);
    return requests_;
}

Reply FakeRecognitionService::reply(const ReceivedRequest& raw) {
    RecognitionRequest request = understand(raw);
    std::lock_guard lock(mutex_);
    const bool accepted = request.problems.empty();
    requests_.push_back(std::move(request));
    const HeaderList json = {{"Content-Type", "application/json;charset=UTF-8"},
                             {"Set-Cookie", "BAIDUID=FROMSERVICE:FG=1; path=/"}};
    if (!accepted) {
        return {httpResponse(
            200, json, R"({"errno":1,"msg":")" + std::string(refusalStatus) + R"(","data":""})")};
    }
    switch (answer_) {
        case Answer::words: {
            std::string list;
            for (const std::string& line : lines_) {
                list += (list.empty() ? "" : ",") + std::string(R"({"words":)") + jsonString(line) +
                        "}";
            }
            return {httpResponse(
                200, json,
                R"({"errno":0,"msg":"success","data":{"log_id":"4521","words_result_num":)" +
                    std::to_string(lines_.size()) + R"(,"words_result":[)" + list + "]}}")};
        }
        case Answer::otherStatus:
            return {httpResponse(200, json, R"({"errno":2,"msg":)" + jsonString(status_) + "}")};
        case Answer::emptyBody:
            return {httpResponse(200, json)};
        case Answer::nothing:
            return {};
    }
    return {};
}

}  // namespace lumoset::fake
