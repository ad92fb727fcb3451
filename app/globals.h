// The program's global objects, created at start-up and released at its end.
#pragma once

#include <cstdint>
#include <memory>

#include "audio/audio_player.h"
#include "speech/speech_engine.h"

namespace lumoset {

// The recorder's capture format: six 32-bit fields, zero until recording starts.
struct WaveFormatRecord {
    std::uint32_t formatTag = 0;
    std::uint32_t channels = 0;
    std::uint32_t samplesPerSecond = 0;
    std::uint32_t averageBytesPerSecond = 0;
    std::uint32_t blockAlignment = 0;
    std::uint32_t bitsPerSample = 0;
};

// The recorder's one capture buffer header: eight 32-bit fields.
struct WaveHeaderRecord {
    std::uint32_t dataAddress = 0;
    std::uint32_t bufferLength = 0;
    std::uint32_t bytesRecorded = 0;
    std::uint32_t userData = 0;
    std::uint32_t flags = 0;
    std::uint32_t loopCount = 0;
    std::uint32_t next = 0;
    std::uint32_t reserved = 0;
};

// Created in this order by createGlobals and released in the same order by releaseGlobals.
// The speech-to-text window's engine.
extern std::unique_ptr<SpeechEngine> recognitionEngine;
extern std::unique_ptr<WaveFormatRecord> waveFormat;
extern std::unique_ptr<WaveHeaderRecord> waveHeader;
// The text-to-speech window's player.
extern std::unique_ptr<AudioPlayer> speechPlayer;
// The text-to-speech window's engine.
extern std::unique_ptr<SpeechEngine> synthesisEngine;

void createGlobals();
void releaseGlobals();

}  // namespace lumoset
