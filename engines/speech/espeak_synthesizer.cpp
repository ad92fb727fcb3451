#include "engines/speech/espeak_synthesizer.h"

#include <espeak-ng/speak_lib.h>
#include <soxr.h>

#include <algorithm>
#include <bit>
#include <mutex>
#include <vector>

#include "engines/speech/msc_errors.h"

namespace lumoset::msc {

static_assert(std::endian::native == std::endian::little, "PCM is handed out as stored");

namespace {

std::mutex espeakMutex;
int espeakRate = 0;  // eSpeak NG's own sample rate once initialised, -1 when that failed

int collectSamples(short* samples, int count, espeak_EVENT* events) {
    if (samples != nullptr && count > 0) {
        auto* collected = static_cast<std::vector<short>*>(events->user_data);
        collected->insert(collected->end(), samples, samples + count);
    }
    return 0;
}

// Runs eSpeak NG under the process-wide lock; `samples` receives its native-rate output.
int runEspeak(const SynthesisSettings& settings, const std::string& utf8,
              std::vector<short>& samples, int& nativeRate) {
    std::lock_guard lock(espeakMutex);
    if (espeakRate == 0) {
        espeakRate = espeak_Initialize(AUDIO_OUTPUT_SYNCHRONOUS, 200, nullptr, 0);
        if (espeakRate <= 0) {
            espeakRate = -1;
        } else {
            espeak_SetSynthCallback(collectSamples);
        }
    }
    if (espeakRate < 0 || espeak_SetVoiceByName(settings.voice.c_str()) != EE_OK) {
        return MSC_ERROR_ENGINE;
    }
    espeak_SetParameter(espeakRATE, settings.wordsPerMinute, 0);
    espeak_SetParameter(espeakVOLUME, settings.volume, 0);
    espeak_SetParameter(espeakPITCH, settings.pitch, 0);
    nativeRate = espeakRate;
    const espeak_ERROR result = espeak_Synth(utf8.c_str(), utf8.size() + 1, 0, POS_CHARACTER, 0,
                                             espeakCHARS_UTF8, nullptr, &samples);
    return result == EE_OK ? MSC_OK : MSC_ERROR_ENGINE;
}

}  // namespace

int synthesizeSpeech(const SynthesisSettings& settings, const std::string& utf8,
                     std::string& audio) {
    if (utf8.empty()) {
        return MSC_OK;
    }
    // eSpeak NG reads text only up to a zero character.
    std::string text = utf8;
    std::replace(text.begin(), text.end(), '\0', ' ');
    std::vector<short> samples;
    int nativeRate = 0;
    if (const int error = runEspeak(settings, text, samples, nativeRate); error != MSC_OK) {
        return error;
    }
    if (samples.empty()) {
        return MSC_OK;
    }
    std::vector<short> resampled(samples.size() * static_cast<std::size_t>(settings.sampleRate) /
                                     static_cast<std::size_t>(nativeRate) +
                                 64);
    std::size_t produced = 0;
    const soxr_io_spec_t io = soxr_io_spec(SOXR_INT16_I, SOXR_INT16_I);
    const soxr_quality_spec_t quality = soxr_quality_spec(SOXR_HQ, 0);
    const soxr_error_t error =
        soxr_oneshot(nativeRate, settings.sampleRate, 1, samples.data(), samples.size(), nullptr,
                     resampled.data(), resampled.size(), &produced, &io, &quality, nullptr);
    if (error != nullptr) {
        return MSC_ERROR_ENGINE;
    }
    audio.append(reinterpret_cast<const char*>(resampled.data()), produced * sizeof(short));
    return MSC_OK;
}

}  // namespace lumoset::msc
