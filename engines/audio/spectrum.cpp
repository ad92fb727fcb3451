#include "engines/audio/spectrum.h"

#include <kiss_fftr.h>
#include <cmath>
#include <memory>
#include <numbers>

namespace lumoset::audio {

std::array<float, spectrumBins> magnitudeSpectrum(const std::array<float, historyFrames>& samples) {
    constexpr std::size_t n = historyFrames;
    // A plan holds scratch space, so each call makes its own and calls never share one.
    std::unique_ptr<kiss_fftr_state, void (*)(void*)> plan(
        kiss_fftr_alloc(static_cast<int>(n), 0, nullptr, nullptr), kiss_fft_free);
    std::array<float, spectrumBins> magnitudes{};
    if (!plan) {
        return magnitudes;
    }
    std::array<kiss_fft_scalar, n> windowed;
    for (std::size_t i = 0; i < n; ++i) {
        const double hann = 0.5 - 0.5 * std::cos(2.0 * std::numbers::pi * double(i) / double(n));
        windowed[i] = static_cast<kiss_fft_scalar>(samples[i] * hann);
    }
    std::array<kiss_fft_cpx, n / 2 + 1> bins;
    kiss_fftr(plan.get(), windowed.data(), bins.data());
    // A sine of amplitude A at a bin's centre gives A * n / 4 there through the Hann window.
    const float scale = 4.0f / static_cast<float>(n);
    for (std::size_t k = 0; k < spectrumBins; ++k) {
        magnitudes[k] = std::hypot(bins[k].r, bins[k].i) * scale;
    }
    return magnitudes;
}

}  // namespace lumoset::audio
