#include "engines/speech/synthesis_session.h"

#include <algorithm>
#include <string>

#include "engines/speech/espeak_synthesizer.h"
#include "engines/speech/msc.h"
#include "engines/speech/parameters.h"
#include "engines/speech/sessions.h"
#include "engines/speech/text_codec.h"

namespace lumoset::msc {

namespace {

// Audio is handed out in pieces of this many bytes (128 ms at 16 kHz).
constexpr std::size_t chunkBytes = 4096;

class SynthesisSession : public Session {
  public:
    SynthesisSettings settings;
    bool textPut = false;
    std::string audio;
    std::size_t delivered = 0;
};

}  // namespace

const char* beginSynthesisSession(const char* parameters, int& error) {
    if (!loggedIn()) {
        error = MSC_ERROR_NOT_LOGGED_IN;
        return nullptr;
    }
    auto session = std::make_shared<SynthesisSession>();
    error = parseSynthesisSettings(parameters, session->settings);
    return error == MSC_OK ? addSession(std::move(session), "tts") : nullptr;
}

int putSynthesisText(const char* sessionId, const char* text, unsigned int length,
                     const char* parameters) {
    auto session = findSessionOf<SynthesisSession>(sessionId);
    if (!session) {
        return MSC_ERROR_INVALID_SESSION;
    }
    if (text == nullptr && length > 0) {
        return MSC_ERROR_NULL_ARGUMENT;
    }
    if (const int error = Parameters().parse(parameters, {}); error != MSC_OK) {
        return error;
    }
    std::lock_guard lock(session->mutex);
    std::string utf8;
    if (!decodeToUtf8(session->settings.converter,
                      std::string_view(text == nullptr ? "" : text, length), utf8)) {
        return MSC_ERROR_TEXT_ENCODING;
    }
    if (const int error = synthesizeSpeech(session->settings, utf8, session->audio);
        error != MSC_OK) {
        return error;
    }
    session->textPut = true;
    return MSC_OK;
}

const void* nextSynthesisAudio(const char* sessionId, unsigned int* audioLength, int* status,
                               int& error) {
    if (audioLength != nullptr) {
        *audioLength = 0;
    }
    auto session = findSessionOf<SynthesisSession>(sessionId);
    if (!session) {
        error = MSC_ERROR_INVALID_SESSION;
        return nullptr;
    }
    if (audioLength == nullptr || status == nullptr) {
        error = MSC_ERROR_NULL_ARGUMENT;
        return nullptr;
    }
    std::lock_guard lock(session->mutex);
    if (!session->textPut) {
        error = MSC_ERROR_SESSION_STATE;
        return nullptr;
    }
    const std::size_t length = std::min(chunkBytes, session->audio.size() - session->delivered);
    const char* chunk = session->audio.data() + session->delivered;
    session->delivered += length;
    *audioLength = static_cast<unsigned int>(length);
    *status =
        session->delivered == session->audio.size() ? MSC_TTS_AUDIO_COMPLETE : MSC_TTS_MORE_AUDIO;
    error = MSC_OK;
    return length == 0 ? nullptr : chunk;
}

int endSynthesisSession(const char* sessionId) {
    return endSessionOf<SynthesisSession>(sessionId);
}

}  // namespace lumoset::msc
