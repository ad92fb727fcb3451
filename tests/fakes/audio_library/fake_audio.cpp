#include "tests/fakes/audio_library/fake_audio.h"

#include <sstream>

#include "app/shell/companion_library.h"
#include "tests/fakes/audio_library/fake_audio_exports.h"
#include "tests/support/test_support.h"

namespace lumoset::test {

namespace {

template <class Function>
Function* fake(const char* name) {
    return bindFunction<Function>(audioLibraryFile, name);
}

}  // namespace

void installFakeAudioLibrary() {
    // A copy from an earlier build may be there: this process wants the current fake.
    if (!privateTemporaryFolder().empty()) {
        installLibrary(LUMOSET_FAKE_AUDIO_LIBRARY, audioLibraryFile);
    }
    ensureCompanionLibrary(audioLibraryFile, audioLibraryImage());
}

std::vector<std::string> fakeAudioCalls() {
    std::istringstream lines(fake<decltype(fake_audio_calls)>("fake_audio_calls")());
    std::vector<std::string> calls;
    for (std::string line; std::getline(lines, line);) {
        calls.push_back(line);
    }
    return calls;
}

void clearFakeAudio() {
    fake<decltype(fake_audio_clear)>("fake_audio_clear")();
}

void answerFakeAudio(const std::string& function, double result) {
    fake<decltype(fake_audio_answer)>("fake_audio_answer")(function.c_str(), result);
}

void answerFakeAudioTags(const std::string& text, bool none) {
    fake<decltype(fake_audio_answer_tags)>("fake_audio_answer_tags")(none ? nullptr : text.c_str());
}

void answerFakeAudioData(const std::vector<float>& magnitudes, int result) {
    std::vector<float> padded(magnitudes);
    padded.resize(128, 0.0f);
    fake<decltype(fake_audio_answer_data)>("fake_audio_answer_data")(padded.data(), result);
}

}  // namespace lumoset::test
