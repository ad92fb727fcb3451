// A speech engine over the recording fake speech library.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engines/speech/msc.h"
#include "speech/speech_engine.h"
#include "tests/fakes/audio_library/fake_audio.h"
#include "tests/fakes/speech_library/fake_speech_library.h"
#include "tests/speech/encodings.h"

namespace lumoset::test {

using fakeSpeech::callNames;
using fakeSpeech::callsOf;
using fakeSpeech::script;
using Names = std::vector<std::string>;

class EngineTest : public ::testing::Test {
  protected:
    // Both fakes have to be in the library folder before the first engine binds a library,
    // and stay as they are once loaded.
    static void SetUpTestSuite() {
        static const bool installed = [] {
            installFakeAudioLibrary();
            fakeSpeech::install();
            return true;
        }();
        (void)installed;
    }
    void SetUp() override {
        fakeSpeech::reset();
        clearFakeAudio();
    }

    SpeechEngine engine;
};

}  // namespace lumoset::test
