// Speech from eSpeak NG, resampled to the session's rate.
#pragma once

#include <string>

#include "engines/speech/synthesis_settings.h"

namespace lumoset::msc {

// Synthesizes UTF-8 text as 16-bit little-endian mono PCM at settings.sampleRate and appends it
// to `audio`. eSpeak NG is initialised on the first call and kept for the life of the process;
// it is not thread-safe, so one process-wide lock serialises its use. Returns an error code.
int synthesizeSpeech(const SynthesisSettings& settings, const std::string& utf8,
                     std::string& audio);

}  // namespace lumoset::msc
