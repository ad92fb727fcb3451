#include "app/globals.h"

namespace lumoset {

std::unique_ptr<WaveFormatRecord> waveFormat;
std::unique_ptr<WaveHeaderRecord> waveHeader;
std::unique_ptr<AudioPlayer> speechPlayer;

void createGlobals() {
    waveFormat = std::make_unique<WaveFormatRecord>();
    waveHeader = std::make_unique<WaveHeaderRecord>();
    speechPlayer = std::make_unique<AudioPlayer>();
}

void releaseGlobals() {
    waveFormat.reset();
    waveHeader.reset();
    speechPlayer.reset();
}

}  // namespace lumoset
