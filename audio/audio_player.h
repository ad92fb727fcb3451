// AudioPlayer: the program's binding of the audio library. Every playback operation is one
// library call with its defaults filled in; the caller keeps the stream handle that
// createStream returns. The player also draws a bar spectrum of a playing stream.
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include <QPointer>

#include "text/types.h"

namespace lumoset {

class DrawingBoard;

// A stream of the audio library; 0 means no stream.
using StreamHandle = std::uint32_t;

inline constexpr std::size_t spectrumBars = 128;

class AudioPlayer {
  public:
    // Writes the audio library into the library folder when it is missing. Does not open the
    // audio output.
    AudioPlayer();
    // Releases the two spectrum tables; streams and the output stay as they are.
    ~AudioPlayer();
    // A player with the same drawing state and copies of both tables.
    AudioPlayer(const AudioPlayer& other);
    AudioPlayer& operator=(const AudioPlayer& other);

    // Opens the audio output. Omitted: device -1 (the default output), 44100 Hz, flags 0, no
    // window; a passed 0 stays 0 (device 0 is the silent device).
    bool initialise(std::optional<std::int32_t> device = std::nullopt,
                    std::optional<std::uint32_t> frequency = std::nullopt,
                    std::optional<std::uint32_t> flags = std::nullopt,
                    std::optional<void*> window = std::nullopt);
    bool release();

    // A stream from the file at `path` when it exists, else from `memory` when it is not empty
    // (kept alive and unchanged by the caller until it frees the stream), else from `address`.
    // `offset` is where the WAV begins in the source. 0 when nothing could be opened.
    StreamHandle createStream(const Text& path = {}, const Bytes& memory = {},
                              const Text& address = {}, std::int32_t offset = 0);

    // Plays from the start when `restart` is omitted or 1, from where it stood when 0. No call
    // and false for handle 0.
    bool play(StreamHandle handle, std::optional<bool> restart = std::nullopt);
    bool pause(StreamHandle handle);
    bool stop(StreamHandle handle);
    // Byte positions and lengths in the stream's own format; -1 on error.
    std::int64_t position(StreamHandle handle);
    bool setPosition(StreamHandle handle, std::int64_t position);
    std::int64_t length(StreamHandle handle);
    // The stream's tags; empty when it has none.
    Text tags(StreamHandle handle);
    // 0 stopped (or no such stream), 1 playing, 2 stalled, 3 paused.
    std::uint32_t isActive(StreamHandle handle);
    bool freeStream(StreamHandle handle);
    // 128 spectrum magnitudes of what the stream played last become `table`; returns the
    // library's result, -1 on error.
    std::int32_t fftData(StreamHandle handle, std::vector<float>& table);
    bool setVolume(float level);
    float volume();
    double bytesToSeconds(StreamHandle handle, std::int64_t bytes);
    std::int64_t secondsToBytes(StreamHandle handle, double seconds);

    // Part of colour = blue * 65536 + green * 256 + red: code 1 red, 2 green, 3 blue, else 0.
    static int colourComponent(std::int64_t colour, int code);

    // Draws one frame of the spectrum of `handle` onto `target`: 128 bars `step` pixels apart
    // in `barColour`, over a gradient from `gradient1` to `gradient2` unless the board has a
    // background picture. Bars fall 3 pixels and peak marks 1 pixel a frame.
    void drawSpectrum(DrawingBoard& target, StreamHandle handle,
                      std::optional<std::uint32_t> gradient1 = std::nullopt,
                      std::optional<std::uint32_t> gradient2 = std::nullopt,
                      std::optional<std::uint32_t> barColour = std::nullopt,
                      std::optional<int> step = std::nullopt);

  private:
    QPointer<DrawingBoard> canvas;  // the hidden board each frame is drawn on first
    std::int32_t spectrumReady = 0;
    std::int32_t hasBackground = 0;
    std::vector<float> barHeights;   // pixels above the bottom edge, per bar
    std::vector<float> peakHeights;  // likewise, per peak mark
};

}  // namespace lumoset
