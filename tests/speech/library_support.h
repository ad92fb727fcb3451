// Driving the real speech library from tests: texts in any encoding, whole synthesis and
// recognition sessions, and a few measures of audio.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "tests/speech/encodings.h"

namespace lumoset::test {

// Puts this build's speech and audio libraries into the library folder (replacing copies an
// earlier build left there; once, before anything loads them) and logs in.
void useRealSpeechLibrary();

// A synthesis parameter string as the text-to-speech window builds it.
std::string synthesisParameters(const std::string& voice, int speed = 50, int volume = 50,
                                int pitch = 50, const std::string& encoding = "GB2312");

struct Synthesis {
    int error = 0;      // of the first call that failed, 0 when none did
    std::string audio;  // 16-bit mono PCM
    int chunks = 0;
};
Synthesis synthesize(const std::string& parameters, const std::string& text);

// A recognition parameter string for US English, plain UTF-8 results, no punctuation.
std::string englishRecognition(const std::string& extra = "");

struct Recognition {
    int error = 0;
    std::string text;
    int chunksWritten = 0;
    bool endpointBeforeLast = false;  // the library called speech over before the last chunk
};
// Writes `audio` in chunks like the speech engine does (status 2, then 4 for a short last one)
// and collects the result.
Recognition recognize(const std::string& grammar, const std::string& parameters,
                      const std::string& audio, std::size_t chunk = 5120);

// Seconds of 16 kHz 16-bit mono audio.
double seconds(const std::string& audio, int rate = 16000);
// Root mean square of the samples.
double loudness(const std::string& audio);
std::string silence(double seconds, int rate = 16000);

// Whether two renderings say the same: eSpeak NG carries a little state from one utterance to
// the next (voice flutter, echo), so the same text never gives identical bytes twice. Same
// speech has lengths within 3% and loudness envelopes (20 ms frames) that correlate above 0.85;
// renderings of the same text measure above 0.94, different sentences near 0.
::testing::AssertionResult sameSpeech(const std::string& a, const std::string& b);

}  // namespace lumoset::test
