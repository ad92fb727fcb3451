// The spectrum frame of AudioPlayer and its colour helper.
#include <algorithm>
#include <climits>
#include <cmath>

#include "audio/audio_player.h"
#include "audio/drawing_board.h"

namespace lumoset {

namespace {

constexpr float margin = 0.0000001f;               // "higher" means higher by more than this
constexpr std::uint32_t defaultBarColour = 65535;  // yellow
constexpr int defaultStep = 3;
constexpr int gradientTopToBottom = 1;

// Truncates towards zero, holding values beyond the int range at its ends.
int truncated(double value) {
    if (!(value > INT_MIN)) {
        return value != value ? 0 : INT_MIN;
    }
    return value < INT_MAX ? static_cast<int>(value) : INT_MAX;
}

}  // namespace

int AudioPlayer::colourComponent(std::int64_t colour, int code) {
    const std::int64_t blue = colour >= 0 ? colour / 65536 : -((-colour + 65535) / 65536);
    const std::int64_t rest = colour - blue * 65536;
    switch (code) {
        case 1:
            return static_cast<int>(rest - 256 * (rest / 256));
        case 2:
            return static_cast<int>(rest / 256);
        case 3:
            return static_cast<int>(blue);
        default:
            return 0;
    }
}

void AudioPlayer::drawSpectrum(DrawingBoard& target, StreamHandle handle,
                               std::optional<std::uint32_t> gradient1,
                               std::optional<std::uint32_t> gradient2,
                               std::optional<std::uint32_t> barColour, std::optional<int> step) {
    // The canvas belongs to the window of the first target; should that window have gone, a
    // new canvas is made rather than drawing on a board that no longer exists.
    if (spectrumReady == 0 || canvas.isNull()) {
        canvas = target.duplicate();
        if (!canvas->backgroundPicture().isNull()) {
            hasBackground = 1;
        }
        spectrumReady = 1;
    }
    const std::uint32_t from = gradient1.value_or(0);
    const std::uint32_t to = gradient2.value_or(0);
    const std::uint32_t colour = barColour.value_or(defaultBarColour);
    const int stride = step.value_or(defaultStep);

    canvas->clear();
    canvas->setPenColour(colour);
    if (hasBackground == 0 && (from != 0 || to != 0)) {
        canvas->fillGradient(0, 0, canvas->width(), canvas->height(), from, to,
                             gradientTopToBottom);
    }
    std::vector<float> magnitudes;
    if (fftData(handle, magnitudes) == -1) {
        return;
    }
    const int width = canvas->width();
    const int height = canvas->height();
    // One position per bin; after the last bin nothing more is drawn, so the walk ends there
    // (which also ends it when the step is 0 or leads away from the right edge).
    std::int64_t x = 1;
    for (std::size_t k = 0; k < spectrumBars && (stride >= 0 ? x <= width : x >= width);
         ++k, x += stride) {
        const int h = truncated(static_cast<double>(magnitudes[k]) * height * 10);
        float& bar = barHeights[k];
        float& peak = peakHeights[k];
        if (static_cast<float>(h) - bar > margin) {
            bar = static_cast<float>(h);
            if (bar - static_cast<float>(height - 2) > margin) {
                bar = static_cast<float>(height - 2);
                peak = static_cast<float>(height);
            }
            if (bar - (peak + 2) > margin) {
                peak = bar + 2;
            }
        } else {
            bar -= 3;
            peak -= 1;
            if (1 - bar > margin) {
                bar = 1;
            }
        }
        const int column = static_cast<int>(x);
        canvas->drawLine(column, truncated(height - bar), column, height);
        if (peak - 2 > margin) {
            const int row = truncated(height - peak);
            canvas->drawLine(column, row, column + 1, row);
        }
    }
    target.copyRectangle(*canvas, 0, 0, width, height, 0, 0);
}

}  // namespace lumoset
