// What a recognition session's parameter string asks for.
#pragma once

#include <string>

namespace lumoset::msc {

struct RecognitionSettings {
    std::string modelName;  // the model folder to use: "en_us", "zh_cn", "zh_cn-cantonese", ...
    std::string converter;  // ICU converter of the result text
    bool punctuate = true;  // end every recognized utterance with a full stop
    int sampleRate = 16000;
    int beginTimeoutMs = 10000;  // no speech within this much audio ends the session; 0: never
    int endSilenceMs = 2000;     // this much silence after speech ends it; 0: only the last chunk
};

// Reads a recognition parameter string; returns an error code and fills `settings` on success.
int parseRecognitionSettings(const char* parameters, RecognitionSettings& settings);

}  // namespace lumoset::msc
