#include "engines/speech/synthesis_settings.h"

#include <algorithm>
#include <array>
#include <string_view>

#include "engines/speech/msc_errors.h"
#include "engines/speech/parameters.h"
#include "engines/speech/text_codec.h"

namespace lumoset::msc {

namespace {

struct Voice {
    std::string_view name;
    std::string_view espeakVoice;
    int pitchLift;  // children and the cartoon voice speak higher
};

// Every voice name maps to the nearest voice eSpeak NG has: the regional Mandarin voices speak
// standard Mandarin with a voice variant of the speaker's sex.
constexpr std::array<Voice, 17> voices{{
    {"xiaoyan", "cmn-latn-pinyin+f2", 0},
    {"yanping", "cmn-latn-pinyin+f3", 0},
    {"xiaofeng", "cmn-latn-pinyin+m1", 0},
    {"jinger", "cmn-latn-pinyin+f4", 0},
    {"donaldduck", "cmn-latn-pinyin+m3", 35},
    {"babyxu", "cmn-latn-pinyin+f5", 25},
    {"nannan", "cmn-latn-pinyin+f1", 25},
    {"xiaomeng", "cmn-latn-pinyin+f1", 0},
    {"xiaolin", "cmn-latn-pinyin+f5", 0},
    {"xiaoqian", "cmn-latn-pinyin+f2", 5},
    {"xiaorong", "cmn-latn-pinyin+f4", 5},
    {"xiaokun", "cmn-latn-pinyin+m2", 0},
    {"xiaoqiang", "cmn-latn-pinyin+m4", 0},
    {"xiaomei", "yue+f2", 0},
    {"dalong", "yue+m1", 0},
    {"catherine", "en-us+f2", 0},
    {"john", "en-us+m1", 0},
}};

bool oneOf(const std::string& value, std::initializer_list<std::string_view> accepted) {
    return std::find(accepted.begin(), accepted.end(), value) != accepted.end();
}

// 0..100 with 50 as the ordinary setting; empty means 50.
bool readLevel(const std::string& text, int& level) {
    level = 50;
    return text.empty() || parseInteger(text, 0, 100, level);
}

// Speed 0..100 onto 80..350 words a minute, 50 giving eSpeak NG's ordinary 175.
int wordsPerMinute(int speed) {
    return speed <= 50 ? 80 + (175 - 80) * speed / 50 : 175 + (350 - 175) * (speed - 50) / 50;
}

// Volume 0..100 onto amplitude 0..150, 50 giving the ordinary 100; more clips.
int amplitude(int volume) {
    return volume <= 50 ? volume * 2 : 100 + (volume - 50);
}

}  // namespace

int parseSynthesisSettings(const char* parameters, SynthesisSettings& settings) {
    Parameters values;
    const int error =
        values.parse(parameters, {"engine_type", "voice_name", "speed", "volume", "pitch",
                                  "tts_res_path", "rdn", "rcn", "text_encoding", "sample_rate",
                                  "background_sound", "aue", "ttp", "speed_increase", "effect"});
    if (error != MSC_OK) {
        return error;
    }
    // The resource path names resources of another engine; eSpeak NG brings its own data, so
    // any path is accepted and none is read.
    if (!oneOf(values["engine_type"], {"", "local"}) || !oneOf(values["rdn"], {"", "0"}) ||
        !oneOf(values["rcn"], {"", "0"}) || !oneOf(values["background_sound"], {"", "0"}) ||
        !oneOf(values["aue"], {"", "raw"}) || !oneOf(values["ttp"], {"", "text"}) ||
        !oneOf(values["effect"], {"", "0"}) ||
        !oneOf(values["sample_rate"], {"", "16000", "8000"}) ||
        !oneOf(values["speed_increase"], {"", "1", "2", "4"})) {
        return MSC_ERROR_INVALID_VALUE;
    }
    const std::string voiceName = values["voice_name"].empty() ? "xiaoyan" : values["voice_name"];
    auto voice = std::find_if(voices.begin(), voices.end(),
                              [&](const Voice& v) { return v.name == voiceName; });
    int speed = 50;
    int volume = 50;
    int pitch = 50;
    if (voice == voices.end() || !readLevel(values["speed"], speed) ||
        !readLevel(values["volume"], volume) || !readLevel(values["pitch"], pitch)) {
        return MSC_ERROR_INVALID_VALUE;
    }
    const std::string encoding =
        values["text_encoding"].empty() ? "GB2312" : values["text_encoding"];
    settings.converter = converterFor(encoding);
    if (settings.converter.empty()) {
        return MSC_ERROR_INVALID_VALUE;
    }
    const std::string increase = values["speed_increase"];
    settings.voice = std::string(voice->espeakVoice);
    settings.wordsPerMinute = wordsPerMinute(speed) * (increase.empty() ? 1 : std::stoi(increase));
    settings.volume = amplitude(volume);
    settings.pitch = std::min(100, pitch + voice->pitchLift);
    settings.sampleRate = values["sample_rate"] == "8000" ? 8000 : 16000;
    return MSC_OK;
}

}  // namespace lumoset::msc
