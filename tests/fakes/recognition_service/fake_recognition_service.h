// A stand-in for the picture recognition service on 127.0.0.1: checks every request the way
// the service reads it and answers in the service's JSON shape, or fails on purpose.
#pragma once

#include <mutex>
#include <string>
#include <vector>

#include "tests/fakes/http/raw_server.h"

namespace lumoset::fake {

// One request as the service understood it.
struct RecognitionRequest {
    // What is wrong with the request; empty when the service accepts it.
    std::vector<std::string> problems;
    std::string cookie;  // the value of the Cookie header
    bool inlinePicture = false;
    std::string picture;     // the bytes the data URI carries, decoded
    std::string pictureUrl;  // the image_url value, byte for byte as it arrived
    ReceivedRequest raw;
};

class FakeRecognitionService {
  public:
    // How the service answers the requests it accepts.
    enum class Answer {
        words,        // "success" with the words set by answerWords
        otherStatus,  // the status word set by answerStatus, no words
        emptyBody,    // 200 with an empty body
        nothing,      // closes the connection without a word
    };

    FakeRecognitionService();

    // "http://127.0.0.1:<port>/aidemo"
    std::string endpoint() const;

    // The next answers: "success" and these lines (UTF-8), one "words" value each; no lines
    // gives a success without words.
    void answerWords(std::vector<std::string> lines);
    void answerStatus(std::string status);
    void answer(Answer answer);

    std::vector<RecognitionRequest> requests() const;
    bool waitForRequests(std::size_t count) const { return server_.waitForRequests(count); }

  private:
    Reply reply(const ReceivedRequest& request);

    mutable std::mutex mutex_;
    Answer answer_ = Answer::words;
    std::vector<std::string> lines_;
    std::string status_;
    std::vector<RecognitionRequest> requests_;
    RawServer server_;  // last: stops before the members it uses go
};

// The service's refusal of a request it can't read.
inline constexpr char refusalStatus[] = "image format error";

}  // namespace lumoset::fake
