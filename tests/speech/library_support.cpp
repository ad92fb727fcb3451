#include "tests/speech/library_support.h"

#include <cmath>
#include <cstring>
#include <filesystem>
#include <vector>

#include "speech/msc_binding.h"

namespace lumoset::test {

void useRealSpeechLibrary() {
    static const bool fresh = [] {
        std::filesystem::remove(privateTemporaryFolder() / speechLibraryFile);
        std::filesystem::remove(privateTemporaryFolder() / audioLibraryFile);
        return true;
    }();
    (void)fresh;
    ensureCompanionLibrary(speechLibraryFile, speechLibraryImage());
    LUMOSET_MSC(MSPLogin)("", "", "appid=tests");
}

std::string synthesisParameters(const std::string& voice, int speed, int volume, int pitch,
                                const std::string& encoding) {
    return "engine_type=,voice_name=" + voice + ",speed=" + std::to_string(speed) +
           ",volume=" + std::to_string(volume) + ",pitch=" + std::to_string(pitch) +
           ",tts_res_path=fo|common.jet|0|1024;fo| xiaoyan.jet|0|1024,rdn=,rcn=,text_encoding=" +
           encoding + ",sample_rate=,background_sound=,aue=,ttp=,speed_increase=1,effect=";
}

Synthesis synthesize(const std::string& parameters, const std::string& text) {
    Synthesis result;
    const char* session = LUMOSET_MSC(QTTSSessionBegin)(parameters.c_str(), &result.error);
    if (session == nullptr) {
        return result;
    }
    const std::string id = session;
    result.error = LUMOSET_MSC(QTTSTextPut)(id.c_str(), text.data(),
                                            static_cast<unsigned int>(text.size()), "");
    int status = 0;
    while (result.error == 0 && status != MSC_TTS_AUDIO_COMPLETE) {
        unsigned int length = 0;
        const void* chunk = LUMOSET_MSC(QTTSAudioGet)(id.c_str(), &length, &status, &result.error);
        if (chunk != nullptr && length > 0) {
            result.audio.append(static_cast<const char*>(chunk), length);
            ++result.chunks;
        }
    }
    LUMOSET_MSC(QTTSSessionEnd)(id.c_str(), "");
    return result;
}

std::string englishRecognition(const std::string& extra) {
    return ",ptt=0,sub=iat,aue=speex-wb;7,result_type=plain,result_encoding=utf8,language=en_us,"
           "accent=mandarin,sample_rate=16000,domain=iat,vad_bos=10000,vad_eos=2000" +
           extra;
}

Recognition recognize(const std::string& grammar, const std::string& parameters,
                      const std::string& audio, std::size_t chunk) {
    Recognition result;
    const char* session =
        LUMOSET_MSC(QISRSessionBegin)(grammar.c_str(), parameters.c_str(), &result.error);
    if (session == nullptr) {
        return result;
    }
    const std::string id = session;
    int endpoint = 0;
    int recognition = 0;
    int resultStatus = 0;
    for (std::size_t start = 0; result.error == 0;) {
        const std::size_t length = std::min(chunk, audio.size() - start);
        const int audioStatus = length == chunk ? MSC_AUDIO_CONTINUE : MSC_AUDIO_LAST;
        result.error = LUMOSET_MSC(QISRAudioWrite)(id.c_str(), audio.data() + start,
                                                   static_cast<unsigned int>(length), audioStatus,
                                                   &endpoint, &recognition);
        ++result.chunksWritten;
        start += length;
        if (endpoint == MSC_ENDPOINT_AFTER_SPEECH || audioStatus == MSC_AUDIO_LAST) {
            result.endpointBeforeLast = audioStatus != MSC_AUDIO_LAST;
            break;
        }
    }
    while (result.error == 0 && resultStatus != MSC_RESULT_COMPLETE) {
        const char* piece =
            LUMOSET_MSC(QISRGetResult)(id.c_str(), &resultStatus, 5000, &result.error);
        result.text += piece == nullptr ? "" : piece;
    }
    LUMOSET_MSC(QISRSessionEnd)(id.c_str(), "");
    return result;
}

double seconds(const std::string& audio, int rate) {
    return static_cast<double>(audio.size()) / 2.0 / rate;
}

double loudness(const std::string& audio) {
    std::vector<short> samples(audio.size() / 2);
    if (samples.empty()) {
        return 0.0;
    }
    std::memcpy(samples.data(), audio.data(), samples.size() * 2);
    double sum = 0;
    for (short sample : samples) {
        sum += static_cast<double>(sample) * sample;
    }
    return std::sqrt(sum / static_cast<double>(samples.size()));
}

std::string silence(double duration, int rate) {
    return std::string(static_cast<std::size_t>(duration * rate) * 2, '\0');
}

}  // namespace lumoset::test

namespace lumoset::test {

namespace {

std::vector<double> envelope(const std::string& audio) {
    constexpr std::size_t frame = 320;
    std::vector<double> levels;
    for (std::size_t start = 0; start + frame * 2 <= audio.size(); start += frame * 2) {
        levels.push_back(loudness(audio.substr(start, frame * 2)));
    }
    return levels;
}

}  // namespace

::testing::AssertionResult sameSpeech(const std::string& a, const std::string& b) {
    const double lengthRatio = static_cast<double>(a.size()) / static_cast<double>(b.size());
    const std::vector<double> x = envelope(a);
    const std::vector<double> y = envelope(b);
    const std::size_t n = std::min(x.size(), y.size());
    double meanX = 0;
    double meanY = 0;
    for (std::size_t i = 0; i < n; ++i) {
        meanX += x[i] / static_cast<double>(n);
        meanY += y[i] / static_cast<double>(n);
    }
    double xy = 0;
    double xx = 0;
    double yy = 0;
    for (std::size_t i = 0; i < n; ++i) {
        xy += (x[i] - meanX) * (y[i] - meanY);
        xx += (x[i] - meanX) * (x[i] - meanX);
        yy += (y[i] - meanY) * (y[i] - meanY);
    }
    const double correlation = n == 0 || xx == 0 || yy == 0 ? 0 : xy / std::sqrt(xx * yy);
    if (std::abs(lengthRatio - 1) < 0.03 && correlation > 0.85) {
        return ::testing::AssertionSuccess();
    }
    return ::testing::AssertionFailure() << "lengths " << a.size() << " and " << b.size()
                                         << ", envelope correlation " << correlation;
}

}  // namespace lumoset::test
