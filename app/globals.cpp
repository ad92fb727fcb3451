#include "app/globals.h"

namespace lumoset {

std::unique_ptr<WaveFormatRecord> waveFormat;
std::unique_ptr<WaveHeaderRecord> waveHeader;

void createGlobals() {
    waveFormat = std::make_unique<WaveFormatRecord>();
    waveHeader = std::make_unique<WaveHeaderRecord>();
}

void releaseGlobals() {
    waveFormat.reset();
    waveHeader.reset();
}

}  // namespace lumoset
