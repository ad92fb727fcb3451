// The recognition sessions of SpeechEngine.
#include <chrono>
#include <cstring>
#include <string>
#include <thread>

#include "app/shell/pump.h"
#include "speech/msc_binding.h"
#include "speech/speech_engine.h"

namespace lumoset {

namespace {

// "获取失败, 错误参数是: " and "音频上传失败, 错误参数是: ", followed by the library's code.
const char* const resultFailed =
    "\xBB\xF1\xC8\xA1\xCA\xA7\xB0\xDC, \xB4\xED\xCE\xF3\xB2\xCE\xCA\xFD\xCA\xC7: ";
const char* const uploadFailed =
    "\xD2\xF4\xC6\xB5\xC9\xCF\xB4\xAB\xCA\xA7\xB0\xDC, \xB4\xED\xCE\xF3\xB2\xCE\xCA\xFD\xCA\xC7: ";

constexpr int defaultChunkSize = 5120;
constexpr int audioPacingMs = 160;
constexpr int resultPollMs = 200;
constexpr int resultWaitMs = 5000;
// The collecting phase gives up after this many polls (a minute) without a complete result, so
// a library that never completes can't hold the recognition thread for ever.
constexpr int maximumResultPolls = 300;

const char* pick(int code, std::initializer_list<const char*> byCode) {
    // byCode lists the values for codes 1, 2, ...; the last entry stands for every other code.
    const int index = code >= 1 && code < static_cast<int>(byCode.size())
                          ? code - 1
                          : static_cast<int>(byCode.size()) - 1;
    return byCode.begin()[index];
}

Text orDefault(const Text& value, const char* fallback) {
    return value.empty() ? fallback : value;
}

}  // namespace

Text SpeechEngine::beginRecognition(const RecognitionSettings& s) {
    const Text parameters =
        Text(",ptt=") + pick(s.ptt, {"0", "1"}) + ",sub=" + pick(s.sub, {"asr", "iat"}) +
        ",aue=" + orDefault(s.audioEncoding, "speex-wb;7") +
        ",result_type=" + pick(s.resultType, {"json", "xml", "plain"}) +
        ",result_encoding=" + pick(s.resultEncoding, {"gb2312", "unicode", "utf8"}) +
        ",language=" + pick(s.language, {"zh_tw", "en_us", "zh_cn"}) +
        ",accent=" + pick(s.accent, {"cantonese", "lmz", "mandarin"}) +
        ",sample_rate=" + pick(s.sampleRate, {"8000", "16000"}) +
        ",domain=" + pick(s.domain, {"asr", "search", "video", "poi", "music", "iat"}) +
        ",vad_bos=" + orDefault(s.vadBos, "10000") + ",vad_eos=" + orDefault(s.vadEos, "2000");
    int error = 0;
    const char* session = LUMOSET_MSC(QISRSessionBegin)("", parameters.c_str(), &error);
    const Text sessionId = session == nullptr ? Text() : Text(session);
    return error == 0 ? sessionId : Text();
}

Text SpeechEngine::recognizeAudio(const Text& sessionId, Bytes& audio, int chunkSize) {
    // A size below 1 byte can't cut the audio; it counts as omitted.
    const std::size_t chunk =
        static_cast<std::size_t>(chunkSize > 0 ? chunkSize : defaultChunkSize);
    int audioStatus = MSC_AUDIO_CONTINUE;
    int endpoint = 0;
    int recognition = 0;
    int resultStatus = 0;
    int error = 0;
    Text gathered;
    // Sending: full chunks with status 2, then the rest (perhaps nothing) with status 4, unless
    // the library hears the end of speech first.
    while (audioStatus != MSC_AUDIO_LAST) {
        Bytes piece;
        if (audio.size() < chunk) {
            piece = audio;
            audioStatus = MSC_AUDIO_LAST;
        } else {
            piece.assign(audio.begin(), audio.begin() + static_cast<std::ptrdiff_t>(chunk));
            audio.erase(audio.begin(), audio.begin() + static_cast<std::ptrdiff_t>(chunk));
            audioStatus = MSC_AUDIO_CONTINUE;
        }
        error = LUMOSET_MSC(QISRAudioWrite)(sessionId.c_str(), piece.data(),
                                            static_cast<unsigned int>(piece.size()), audioStatus,
                                            &endpoint, &recognition);
        if (recognition == MSC_RECOGNITION_RESULT_READY) {
            const char* text =
                LUMOSET_MSC(QISRGetResult)(sessionId.c_str(), &resultStatus, resultWaitMs, &error);
            if (error != 0) {
                return resultFailed + std::to_string(error);
            }
            gathered += text == nullptr ? "" : text;
        }
        if (error != 0) {
            return uploadFailed + std::to_string(error);
        }
        if (endpoint == MSC_ENDPOINT_AFTER_SPEECH) {
            break;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(audioPacingMs));
    }
    // Collecting: until the library calls the result complete, or an empty piece follows text.
    bool received = false;
    for (int poll = 0; poll < maximumResultPolls; ++poll) {
        if (resultStatus == MSC_RESULT_COMPLETE) {
            return gathered;
        }
        const char* text =
            LUMOSET_MSC(QISRGetResult)(sessionId.c_str(), &resultStatus, resultWaitMs, &error);
        if (error != 0) {
            return resultFailed + std::to_string(error);
        }
        const Text piece = text == nullptr ? "" : text;
        if (!piece.empty()) {
            received = true;
            gathered += piece;
        }
        if (received && piece.empty()) {
            return gathered;
        }
        waitPumping(resultPollMs);
    }
    return gathered;
}

int SpeechEngine::endRecognition(const Text& sessionId) {
    if (sessionId.empty()) {
        return noSessionCode;
    }
    return LUMOSET_MSC(QISRSessionEnd)(sessionId.c_str(), "normal end");
}

void SpeechEngine::querySessionId(const Text& sessionId) {
    if (sessionId.empty()) {
        return;
    }
    char answer[33];
    std::memset(answer, ' ', sizeof answer);
    unsigned int length = sizeof answer;
    LUMOSET_MSC(QISRGetParam)(sessionId.c_str(), "sid", answer, &length);
}

}  // namespace lumoset
