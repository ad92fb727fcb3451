#include "engines/speech/recognition_session.h"

#include <soxr.h>

#include <algorithm>
#include <cstring>
#include <optional>
#include <string>
#include <vector>

#include "engines/speech/msc.h"
#include "engines/speech/recognition_settings.h"
#include "engines/speech/sessions.h"
#include "engines/speech/speech_models.h"
#include "engines/speech/sphinx_recognizer.h"
#include "engines/speech/text_codec.h"

namespace lumoset::msc {

namespace {

constexpr int decoderRate = 16000;
// Audio goes to the decoder in slices of 100 ms, so the end of speech is noticed that closely.
constexpr std::size_t sliceSamples = decoderRate / 10;
constexpr std::size_t leadSamples = decoderRate * 3 / 10;

struct SoxrCloser {
    void operator()(soxr* resampler) const { soxr_delete(resampler); }
};

class RecognitionSession : public Session {
  public:
    RecognitionSettings settings;
    std::optional<ModelFiles> model;
    std::string grammar;
    std::unique_ptr<SphinxRecognizer> recognizer;
    std::unique_ptr<soxr, SoxrCloser> upsampler;  // 8 kHz sessions only
    std::string pendingByte;                      // half a sample left from the last write
    long long samplesDecoded = 0;
    bool heardSpeech = false;
    int endpoint = MSC_ENDPOINT_WAITING;
    bool finished = false;
    bool resultDelivered = false;
    std::string result;

    int prepare();
    std::vector<short> samplesFrom(const void* audio, unsigned int length, bool last);
    void decode(const std::vector<short>& samples);
    void finish();
};

int RecognitionSession::prepare() {
    if (recognizer) {
        return MSC_OK;
    }
    if (!model) {
        return MSC_ERROR_NO_MODEL;
    }
    recognizer = SphinxRecognizer::create(*model, grammar, settings.endSilenceMs);
    if (!recognizer) {
        return MSC_ERROR_ENGINE;
    }
    // The voice detector learns the noise floor from the first frames; audio that starts with
    // a word would lose it. A moment of silence in front of the caller's audio keeps it.
    const std::vector<short> lead(leadSamples, 0);
    recognizer->feed(lead.data(), lead.size());
    if (settings.sampleRate != decoderRate) {
        const soxr_io_spec_t io = soxr_io_spec(SOXR_INT16_I, SOXR_INT16_I);
        const soxr_quality_spec_t quality = soxr_quality_spec(SOXR_HQ, 0);
        soxr_error_t error = nullptr;
        upsampler.reset(
            soxr_create(settings.sampleRate, decoderRate, 1, &error, &io, &quality, nullptr));
        if (error != nullptr) {
            recognizer.reset();
            return MSC_ERROR_ENGINE;
        }
    }
    return MSC_OK;
}

std::vector<short> RecognitionSession::samplesFrom(const void* audio, unsigned int length,
                                                   bool last) {
    std::string bytes = pendingByte;
    bytes.append(static_cast<const char*>(audio), length);
    pendingByte = bytes.size() % 2 == 0 ? std::string() : bytes.substr(bytes.size() - 1);
    std::vector<short> samples(bytes.size() / 2);
    if (!samples.empty()) {
        std::memcpy(samples.data(), bytes.data(), samples.size() * 2);
    }
    if (!upsampler) {
        return samples;
    }
    const std::size_t ratio = decoderRate / static_cast<std::size_t>(settings.sampleRate) + 1;
    std::vector<short> resampled(samples.size() * ratio + 1024);
    std::size_t produced = 0;
    soxr_process(upsampler.get(), samples.data(), samples.size(), nullptr, resampled.data(),
                 resampled.size(), &produced);
    if (last) {
        std::size_t tail = 0;
        soxr_process(upsampler.get(), nullptr, 0, nullptr, resampled.data() + produced,
                     resampled.size() - produced, &tail);
        produced += tail;
    }
    resampled.resize(produced);
    return resampled;
}

void RecognitionSession::decode(const std::vector<short>& samples) {
    for (std::size_t start = 0; start < samples.size() && !finished; start += sliceSamples) {
        const std::size_t count = std::min(sliceSamples, samples.size() - start);
        const bool inSpeech = recognizer->feed(samples.data() + start, count);
        samplesDecoded += static_cast<long long>(count);
        if (inSpeech) {
            heardSpeech = true;
            endpoint = MSC_ENDPOINT_IN_SPEECH;
        } else if (heardSpeech ||
                   (settings.beginTimeoutMs > 0 &&
                    samplesDecoded * 1000 / decoderRate >= settings.beginTimeoutMs)) {
            endpoint = MSC_ENDPOINT_AFTER_SPEECH;
            finish();
        }
    }
}

// Chinese is written without spaces: a space next to a non-ASCII character goes, while the
// spaces between words of Latin letters stay.
std::string closeUpSpaces(const std::string& words) {
    std::string text;
    for (std::size_t i = 0; i < words.size(); ++i) {
        const bool wideBefore = i > 0 && static_cast<unsigned char>(words[i - 1]) >= 0x80;
        const bool wideAfter =
            i + 1 < words.size() && static_cast<unsigned char>(words[i + 1]) >= 0x80;
        if (words[i] != ' ' || !(wideBefore || wideAfter)) {
            text += words[i];
        }
    }
    return text;
}

void RecognitionSession::finish() {
    std::string words = closeUpSpaces(recognizer->finish());
    if (settings.punctuate && !words.empty()) {
        words += settings.modelName == "en_us" ? "." : "。";
    }
    result = encodeFromUtf8(settings.converter, words);
    finished = true;
}

}  // namespace

const char* beginRecognitionSession(const char* grammarList, const char* parameters, int& error) {
    if (!loggedIn()) {
        error = MSC_ERROR_NOT_LOGGED_IN;
        return nullptr;
    }
    auto session = std::make_shared<RecognitionSession>();
    error = parseRecognitionSettings(parameters, session->settings);
    if (error != MSC_OK) {
        return nullptr;
    }
    // The model is looked for now and loaded with the first audio, which reports a missing one.
    session->model = findModel(session->settings.modelName);
    session->grammar = grammarList == nullptr ? "" : grammarList;
    return addSession(std::move(session), "isr");
}

int writeRecognitionAudio(const char* sessionId, const void* audio, unsigned int length,
                          int audioStatus, int* endpointStatus, int* recognitionStatus) {
    if (recognitionStatus != nullptr) {
        *recognitionStatus = MSC_RECOGNITION_NO_RESULT;
    }
    auto session = findSessionOf<RecognitionSession>(sessionId);
    if (!session) {
        return MSC_ERROR_INVALID_SESSION;
    }
    if (endpointStatus == nullptr || recognitionStatus == nullptr ||
        (audio == nullptr && length > 0)) {
        return MSC_ERROR_NULL_ARGUMENT;
    }
    if (audioStatus != MSC_AUDIO_FIRST && audioStatus != MSC_AUDIO_CONTINUE &&
        audioStatus != MSC_AUDIO_LAST) {
        return MSC_ERROR_INVALID_AUDIO_STATUS;
    }
    std::lock_guard lock(session->mutex);
    *endpointStatus = session->endpoint;
    if (session->finished) {
        // Audio that follows the end of speech is not needed; after the last chunk it is wrong.
        return session->endpoint == MSC_ENDPOINT_AFTER_SPEECH ? MSC_OK : MSC_ERROR_SESSION_STATE;
    }
    if (const int error = session->prepare(); error != MSC_OK) {
        return error;
    }
    const bool last = audioStatus == MSC_AUDIO_LAST;
    session->decode(session->samplesFrom(audio == nullptr ? "" : audio, length, last));
    if (last && !session->finished) {
        session->finish();
    }
    *endpointStatus = session->endpoint;
    if (session->finished) {
        *recognitionStatus = MSC_RECOGNITION_RESULT_READY;
    }
    return MSC_OK;
}

const char* nextRecognitionResult(const char* sessionId, int* resultStatus, int& error) {
    auto session = findSessionOf<RecognitionSession>(sessionId);
    if (!session) {
        error = MSC_ERROR_INVALID_SESSION;
        return nullptr;
    }
    if (resultStatus == nullptr) {
        error = MSC_ERROR_NULL_ARGUMENT;
        return nullptr;
    }
    std::lock_guard lock(session->mutex);
    error = MSC_OK;
    *resultStatus = session->finished ? MSC_RESULT_COMPLETE : MSC_RESULT_INCOMPLETE;
    if (!session->finished || session->resultDelivered) {
        return nullptr;
    }
    session->resultDelivered = true;
    return session->result.c_str();
}

int endRecognitionSession(const char* sessionId) {
    return endSessionOf<RecognitionSession>(sessionId);
}

int recognitionParameter(const char* sessionId, const char* name, char* value,
                         unsigned int* valueLength) {
    if (!findSessionOf<RecognitionSession>(sessionId)) {
        return MSC_ERROR_INVALID_SESSION;
    }
    if (name == nullptr || value == nullptr || valueLength == nullptr) {
        return MSC_ERROR_NULL_ARGUMENT;
    }
    if (std::strcmp(name, "sid") != 0) {
        return MSC_ERROR_UNKNOWN_PARAMETER;
    }
    const std::size_t length = std::strlen(sessionId);
    if (*valueLength < length + 1) {
        *valueLength = static_cast<unsigned int>(length + 1);
        return MSC_ERROR_BUFFER_TOO_SMALL;
    }
    std::memcpy(value, sessionId, length + 1);
    *valueLength = static_cast<unsigned int>(length);
    return MSC_OK;
}

}  // namespace lumoset::msc
