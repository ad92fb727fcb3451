// What a synthesis session's parameter string asks for, in eSpeak NG's own terms.
#pragma once

#include <string>

namespace lumoset::msc {

struct SynthesisSettings {
    std::string voice;  // eSpeak NG voice with its variant, e.g. "cmn-latn-pinyin+f2"
    int wordsPerMinute = 175;
    int volume = 100;       // eSpeak NG amplitude, 100 its ordinary level
    int pitch = 50;         // eSpeak NG base pitch 0..100
    std::string converter;  // ICU converter of the session's text
    int sampleRate = 16000;
};

// Reads a synthesis parameter string; returns an error code and fills `settings` on success.
int parseSynthesisSettings(const char* parameters, SynthesisSettings& settings);

}  // namespace lumoset::msc
