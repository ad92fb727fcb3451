// The magnitude spectrum of the last samples a stream played.
#pragma once

#include <array>

#include "engines/audio/stream.h"

namespace lumoset::audio {

inline constexpr std::size_t spectrumBins = historyFrames / 2;

// 128 magnitudes of a Hann-windowed 256-point FFT, from DC upwards, scaled so that a full-scale
// sine at the centre of a bin gives 1 in that bin.
std::array<float, spectrumBins> magnitudeSpectrum(const std::array<float, historyFrames>& samples);

}  // namespace lumoset::audio
