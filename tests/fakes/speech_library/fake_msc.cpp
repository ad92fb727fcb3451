// A stand-in for libmsc.so that records every call with its arguments and answers from a script,
// so tests can see exactly what the speech engine passes. Nothing is synthesized or recognized.
#include <cstring>
#include <deque>
#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "engines/speech/msc.h"

#define FAKE_EXPORT extern "C" __attribute__((visibility("default")))

namespace {

using Argument = std::optional<std::string>;

struct Call {
    std::string name;
    std::vector<Argument> arguments;
};

// One scripted answer; what text and the numbers mean depends on the function (see
// FakeMscScript).
struct Reply {
    Argument text;
    int a = 0;
    int b = 0;
    int c = 0;
};

std::mutex fakeMutex;
std::vector<Call> calls;
std::map<std::string, std::deque<Reply>> script;
std::map<std::string, std::string> lastText;  // keeps returned texts alive until the next call

Argument text(const char* value) {
    return value == nullptr ? Argument() : Argument(value);
}
Argument bytes(const void* value, unsigned int length) {
    return value == nullptr ? Argument()
                            : Argument(std::string(static_cast<const char*>(value), length));
}
Argument number(long long value) {
    return std::to_string(value);
}
Argument numberAt(const int* value) {
    return value == nullptr ? Argument() : number(*value);
}

// Records the call and takes its scripted answer, if one is queued.
std::optional<Reply> record(const char* name, std::vector<Argument> arguments) {
    calls.push_back({name, std::move(arguments)});
    auto& queue = script[name];
    if (queue.empty()) {
        return std::nullopt;
    }
    Reply reply = queue.front();
    queue.pop_front();
    return reply;
}

const char* keep(const char* function, const Argument& value) {
    if (!value) {
        return nullptr;
    }
    lastText[function] = *value;
    return lastText[function].c_str();
}

void set(int* target, int value) {
    if (target != nullptr) {
        *target = value;
    }
}

}  // namespace

// ---- Control of the fake ----

FAKE_EXPORT void FakeMscReset() {
    std::lock_guard lock(fakeMutex);
    calls.clear();
    script.clear();
}

// Queues the next answer of `function`:
//   session begins: `text` is the id (null: none), a the error code;
//   QTTSAudioGet: `text` the chunk (null: none), a the synthesis status, b the error code;
//   QISRAudioWrite: a the result, b the end-point status, c the recognition status;
//   QISRGetResult: `text` the piece (null: none), a the result status, b the error code;
//   QISRGetParam: `text` the answer written into the buffer, a the result;
//   every other function: a its result.
// Without a queued answer: ids "fake-tts"/"fake-isr", results 0, QTTSAudioGet no audio with
// status 2, QISRAudioWrite end-point 0 and recognition status 1, QISRGetResult nothing with
// status 5.
FAKE_EXPORT void FakeMscScript(const char* function, const char* text, unsigned int textLength,
                               int a, int b, int c) {
    std::lock_guard lock(fakeMutex);
    script[function].push_back({bytes(text, textLength), a, b, c});
}

FAKE_EXPORT int FakeMscCallCount() {
    std::lock_guard lock(fakeMutex);
    return static_cast<int>(calls.size());
}

FAKE_EXPORT const char* FakeMscCallName(int call) {
    std::lock_guard lock(fakeMutex);
    return calls.at(static_cast<std::size_t>(call)).name.c_str();
}

FAKE_EXPORT int FakeMscArgumentCount(int call) {
    std::lock_guard lock(fakeMutex);
    return static_cast<int>(calls.at(static_cast<std::size_t>(call)).arguments.size());
}

// The argument as recorded, null for a null pointer; `length` receives its size in bytes.
FAKE_EXPORT const char* FakeMscArgument(int call, int index, unsigned int* length) {
    std::lock_guard lock(fakeMutex);
    const Argument& argument =
        calls.at(static_cast<std::size_t>(call)).arguments.at(static_cast<std::size_t>(index));
    *length = argument ? static_cast<unsigned int>(argument->size()) : 0;
    return argument ? argument->data() : nullptr;
}

// ---- The speech library's functions ----

FAKE_EXPORT int MSPLogin(const char* user, const char* password, const char* parameters) {
    std::lock_guard lock(fakeMutex);
    auto reply = record("MSPLogin", {text(user), text(password), text(parameters)});
    return reply ? reply->a : 0;
}

FAKE_EXPORT int MSPLogout(void) {
    std::lock_guard lock(fakeMutex);
    auto reply = record("MSPLogout", {});
    return reply ? reply->a : 0;
}

FAKE_EXPORT const char* QTTSSessionBegin(const char* parameters, int* errorCode) {
    std::lock_guard lock(fakeMutex);
    auto reply = record("QTTSSessionBegin", {text(parameters), numberAt(errorCode)});
    set(errorCode, reply ? reply->a : 0);
    return keep("QTTSSessionBegin", reply ? reply->text : Argument("fake-tts"));
}

FAKE_EXPORT int QTTSTextPut(const char* sessionId, const char* textBytes, unsigned int length,
                            const char* parameters) {
    std::lock_guard lock(fakeMutex);
    auto reply = record("QTTSTextPut", {text(sessionId), bytes(textBytes, length), number(length),
                                        text(parameters)});
    return reply ? reply->a : 0;
}

FAKE_EXPORT const void* QTTSAudioGet(const char* sessionId, unsigned int* audioLength,
                                     int* synthesisStatus, int* errorCode) {
    std::lock_guard lock(fakeMutex);
    auto reply = record("QTTSAudioGet", {text(sessionId)});
    const Argument chunk = reply ? reply->text : Argument();
    *audioLength = chunk ? static_cast<unsigned int>(chunk->size()) : 0;
    set(synthesisStatus, reply ? reply->a : MSC_TTS_AUDIO_COMPLETE);
    set(errorCode, reply ? reply->b : 0);
    return keep("QTTSAudioGet", chunk);
}

FAKE_EXPORT int QTTSSessionEnd(const char* sessionId, const char* hints) {
    std::lock_guard lock(fakeMutex);
    auto reply = record("QTTSSessionEnd", {text(sessionId), text(hints)});
    return reply ? reply->a : 0;
}

FAKE_EXPORT const char* QISRSessionBegin(const char* grammarList, const char* parameters,
                                         int* errorCode) {
    std::lock_guard lock(fakeMutex);
    auto reply =
        record("QISRSessionBegin", {text(grammarList), text(parameters), numberAt(errorCode)});
    set(errorCode, reply ? reply->a : 0);
    return keep("QISRSessionBegin", reply ? reply->text : Argument("fake-isr"));
}

FAKE_EXPORT int QISRAudioWrite(const char* sessionId, const void* audio, unsigned int length,
                               int audioStatus, int* endpointStatus, int* recognitionStatus) {
    std::lock_guard lock(fakeMutex);
    auto reply = record("QISRAudioWrite", {text(sessionId), bytes(audio, length), number(length),
                                           number(audioStatus)});
    set(endpointStatus, reply ? reply->b : 0);
    set(recognitionStatus, reply ? reply->c : MSC_RECOGNITION_NO_RESULT);
    return reply ? reply->a : 0;
}

FAKE_EXPORT const char* QISRGetResult(const char* sessionId, int* resultStatus, int waitTime,
                                      int* errorCode) {
    std::lock_guard lock(fakeMutex);
    auto reply = record("QISRGetResult", {text(sessionId), number(waitTime)});
    set(resultStatus, reply ? reply->a : MSC_RESULT_COMPLETE);
    set(errorCode, reply ? reply->b : 0);
    return keep("QISRGetResult", reply ? reply->text : Argument());
}

FAKE_EXPORT int QISRSessionEnd(const char* sessionId, const char* hints) {
    std::lock_guard lock(fakeMutex);
    auto reply = record("QISRSessionEnd", {text(sessionId), text(hints)});
    return reply ? reply->a : 0;
}

FAKE_EXPORT int QISRGetParam(const char* sessionId, const char* name, char* value,
                             unsigned int* valueLength) {
    std::lock_guard lock(fakeMutex);
    const unsigned int capacity = *valueLength;
    auto reply = record("QISRGetParam",
                        {text(sessionId), text(name), bytes(value, capacity), number(capacity)});
    if (reply && reply->text && reply->text->size() < capacity) {
        std::memcpy(value, reply->text->c_str(), reply->text->size() + 1);
        *valueLength = static_cast<unsigned int>(reply->text->size());
    }
    return reply ? reply->a : 0;
}
