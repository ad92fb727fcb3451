#include "app/globals.h"

namespace lumoset {

std::unique_ptr<SpeechEngine> recognitionEngine;
std::unique_ptr<WaveFormatRecord> waveFormat;
std::unique_ptr<WaveHeaderRecord> waveHeader;
std::unique_ptr<AudioPlayer> speechPlayer;
std::unique_ptr<SpeechEngine> synthesisEngine;

void createGlobals() {
    recognitionEngine = std::make_unique<SpeechEngine>();
    waveFormat = std::make_unique<WaveFormatRecord>();
    waveHeader = std::make_unique<WaveHeaderRecord>();
    speechPlayer = std::make_unique<AudioPlayer>();
    synthesisEngine = std::make_unique<SpeechEngine>();
}

void releaseGlobals() {
    recognitionEngine.reset();
    waveFormat.reset();
    waveHeader.reset();
    speechPlayer.reset();
    synthesisEngine.reset();
}

}  // namespace lumoset
