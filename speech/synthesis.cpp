// The synthesis sessions of SpeechEngine.
#include <array>

#include "app/shell/pump.h"
#include "speech/msc_binding.h"
#include "speech/speech_engine.h"

namespace lumoset {

namespace {

// By index of the voice list of the text-to-speech window.
constexpr std::array<const char*, 17> voiceNames{
    "xiaoyan",   "yanping",  "xiaofeng", "jinger",    "donaldduck", "babyxu",
    "nannan",    "xiaomeng", "xiaolin",  "xiaoqian",  "xiaorong",   "xiaokun",
    "xiaoqiang", "xiaomei",  "dalong",   "catherine", "john"};

const char* const defaultResourcePath = "fo|common.jet|0|1024;fo| xiaoyan.jet|0|1024";

Text voiceName(int voice) {
    if (voice < 0) {
        voice = 0;
    }
    return voice < static_cast<int>(voiceNames.size()) ? voiceNames[static_cast<std::size_t>(voice)]
                                                       : "";
}

Text speedIncreaseText(int code) {
    if (code <= 1) {
        return "1";
    }
    return code == 2 ? "2" : code == 3 ? "4" : "";
}

// "正常关闭", the hint a synthesis session is closed with.
const char* const closeHint = "\xD5\xFD\xB3\xA3\xB9\xD8\xB1\xD5";

}  // namespace

Text SpeechEngine::beginSynthesis(SynthesisSettings& s) {
    if (s.resourcePath.empty()) {
        s.resourcePath = defaultResourcePath;
    }
    if (s.textEncoding.empty()) {
        s.textEncoding = "GB2312";
    }
    const Text parameters =
        "engine_type=" + s.engineType + ",voice_name=" + voiceName(s.voice) + ",speed=" + s.speed +
        ",volume=" + s.volume + ",pitch=" + s.pitch + ",tts_res_path=" + s.resourcePath +
        ",rdn=" + s.rdn + ",rcn=" + s.rcn + ",text_encoding=" + s.textEncoding +
        ",sample_rate=" + s.sampleRate + ",background_sound=" + s.backgroundSound +
        ",aue=" + s.audioEncoding + ",ttp=" + s.ttp +
        ",speed_increase=" + speedIncreaseText(s.speedIncrease) + ",effect=" + s.effect;
    int error = 0;
    const char* session = LUMOSET_MSC(QTTSSessionBegin)(parameters.c_str(), &error);
    const Text sessionId = session == nullptr ? Text() : Text(session);
    return error == 0 ? sessionId : Text();
}

Bytes SpeechEngine::synthesizeText(const Text& sessionId, const Text& text) {
    if (LUMOSET_MSC(QTTSTextPut)(sessionId.c_str(), text.data(),
                                 static_cast<unsigned int>(text.size()), "") != 0) {
        return {};
    }
    int status = 0;
    Bytes audio;
    while (status != MSC_TTS_AUDIO_COMPLETE) {
        unsigned int length = 0;
        int error = 0;
        const void* chunk = LUMOSET_MSC(QTTSAudioGet)(sessionId.c_str(), &length, &status, &error);
        if (chunk != nullptr && length != 0) {
            // Copied before anything else can call into the library.
            const auto* bytes = static_cast<const unsigned char*>(chunk);
            audio.insert(audio.end(), bytes, bytes + length);
            pumpMessages();
        }
        // A library that fails never completes: what came so far is not the whole text.
        if (error != 0) {
            return {};
        }
    }
    return audio;
}

void SpeechEngine::speakText(const Text& text) {
    const Text sessionId = beginSynthesis();
    Bytes audio = synthesizeText(sessionId, text);
    if (!audio.empty()) {
        audio = wrapWav(audio);
    }
    const StreamHandle stream = player.createStream({}, audio);
    player.play(stream);
    while (player.isActive(stream) != 0) {
        waitPumping(1000);
    }
    player.freeStream(stream);
    if (!sessionId.empty()) {
        endSynthesis(sessionId);
    }
}

int SpeechEngine::endSynthesis(const Text& sessionId) {
    if (sessionId.empty()) {
        return noSessionCode;
    }
    return LUMOSET_MSC(QTTSSessionEnd)(sessionId.c_str(), closeHint);
}

}  // namespace lumoset
