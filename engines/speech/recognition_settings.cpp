#include "engines/speech/recognition_settings.h"

#include <algorithm>
#include <initializer_list>
#include <string_view>

#include "engines/speech/msc_errors.h"
#include "engines/speech/parameters.h"
#include "engines/speech/text_codec.h"

namespace lumoset::msc {

namespace {

// The value, or `fallback` for an empty one, when it is one of `accepted`; empty otherwise.
std::string choice(const std::string& value, std::string_view fallback,
                   std::initializer_list<std::string_view> accepted) {
    const std::string chosen = value.empty() ? std::string(fallback) : asciiLowerCopy(value);
    return std::find(accepted.begin(), accepted.end(), chosen) != accepted.end() ? chosen
                                                                                 : std::string();
}

// "raw", "speex" or "speex-wb", optionally with ";" and a quality digit or two. This names how
// audio would be compressed on its way to a server; here the caller's audio is always raw PCM.
bool validAudioEncoding(const std::string& value) {
    const std::string lower = asciiLowerCopy(value);
    const std::size_t semicolon = lower.find(';');
    const std::string name = lower.substr(0, semicolon);
    int quality = 0;
    return (name.empty() || name == "raw" || name == "speex" || name == "speex-wb") &&
           (semicolon == std::string::npos ||
            parseInteger(std::string_view(lower).substr(semicolon + 1), 0, 10, quality));
}

bool readMilliseconds(const std::string& text, int fallback, int& value) {
    value = fallback;
    return text.empty() || parseInteger(text, 0, 3600000, value);
}

}  // namespace

int parseRecognitionSettings(const char* parameters, RecognitionSettings& settings) {
    Parameters values;
    const int error =
        values.parse(parameters, {"sub", "domain", "result_type", "result_encoding", "language",
                                  "accent", "sample_rate", "ptt", "aue", "vad_bos", "vad_eos"});
    if (error != MSC_OK) {
        return error;
    }
    // Sub and domain name services of an online recogniser; every one of them is served by the
    // same local decoder.
    const std::string resultType = choice(values["result_type"], "plain", {"plain", "json", "xml"});
    const std::string encoding =
        choice(values["result_encoding"], "utf8", {"utf8", "gb2312", "unicode"});
    const std::string language = choice(values["language"], "zh_cn", {"zh_cn", "zh_tw", "en_us"});
    const std::string accent =
        choice(values["accent"], "mandarin", {"mandarin", "cantonese", "lmz"});
    const std::string rate = choice(values["sample_rate"], "16000", {"16000", "8000"});
    const std::string ptt = choice(values["ptt"], "1", {"0", "1"});
    if (choice(values["sub"], "iat", {"iat", "asr"}).empty() ||
        choice(values["domain"], "iat", {"iat", "asr", "search", "video", "poi", "music"})
            .empty() ||
        resultType.empty() || encoding.empty() || language.empty() || accent.empty() ||
        rate.empty() || ptt.empty() || !validAudioEncoding(values["aue"]) ||
        !readMilliseconds(values["vad_bos"], 10000, settings.beginTimeoutMs) ||
        !readMilliseconds(values["vad_eos"], 2000, settings.endSilenceMs)) {
        return MSC_ERROR_INVALID_VALUE;
    }
    if (resultType != "plain") {
        return MSC_ERROR_UNSUPPORTED_VALUE;
    }
    // English has one accent here; Chinese models are told apart by accent.
    settings.modelName =
        language == "en_us" || accent == "mandarin" ? language : language + "-" + accent;
    settings.converter = converterFor(encoding);
    settings.punctuate = ptt == "1";
    settings.sampleRate = rate == "8000" ? 8000 : 16000;
    return MSC_OK;
}

}  // namespace lumoset::msc
