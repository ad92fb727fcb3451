// Tests' handle on the fake audio library: putting it where the program looks for the audio
// library, reading the calls it recorded and queueing its answers.
#pragma once

#include <string>
#include <vector>

namespace lumoset::test {

// Copies the fake into the library folder, over whatever library is there, and makes that
// folder the library folder. Call before the first AudioPlayer is made.
void installFakeAudioLibrary();

// The calls recorded since the last clear, one string each: "BASS_ChannelPlay(7, 1)".
std::vector<std::string> fakeAudioCalls();
void clearFakeAudio();

// Queues the result of the next call of `function`.
void answerFakeAudio(const std::string& function, double result);
// Queues the next tags text; `none` makes the next call return null.
void answerFakeAudioTags(const std::string& text, bool none = false);
// Queues what the next data call writes and returns.
void answerFakeAudioData(const std::vector<float>& magnitudes, int result = 512);

}  // namespace lumoset::test
