// The speech engine over the real speech and audio libraries, as the two windows use it.
#include <gtest/gtest.h>

#include <QTimer>

#include <cstdlib>
#include <filesystem>

#include "speech/speech_engine.h"
#include "tests/speech/library_support.h"
#include "tests/support/test_support.h"

namespace lumoset::test {
namespace {

namespace fs = std::filesystem;

class RealEngine : public ::testing::Test {
  protected:
    static void SetUpTestSuite() { useRealSpeechLibrary(); }
    void SetUp() override { engine.login("9e3d2b70"); }

    // Settings of the speech-to-text window's job, in English.
    static RecognitionSettings englishJob() {
        RecognitionSettings settings;
        settings.resultEncoding = 1;
        settings.ptt = 1;
        settings.language = 2;
        return settings;
    }

    Bytes say(const std::string& text, int voice) {
        SynthesisSettings settings;
        settings.voice = voice;
        settings.speed = settings.volume = settings.pitch = "50";
        const Text session = engine.beginSynthesis(settings);
        Bytes audio = engine.synthesizeText(session, text);
        EXPECT_EQ(engine.endSynthesis(session), 0);
        return audio;
    }

    SpeechEngine engine;
};

TEST_F(RealEngine, SynthesizesTheGreeting) {
    const Bytes audio = say(gbk("欢迎使用文字转语音软件"), 0);
    EXPECT_GT(seconds(toText(audio)), 1.5);
    EXPECT_LT(seconds(toText(audio)), 8.0);
    const Bytes wav = engine.wrapWav(audio);
    EXPECT_EQ(wav.size(), audio.size() + 44);
}

TEST_F(RealEngine, SpeaksTheGreetingToItsEnd) {
    int ticks = 0;
    QTimer timer;
    QObject::connect(&timer, &QTimer::timeout, [&] { ++ticks; });
    timer.start(100);
    engine.speakText(gbk("欢迎使用文字转语音软件"));
    EXPECT_GT(ticks, 0) << "playback was waited for, with events running";
}

TEST_F(RealEngine, RecognizesItsOwnEnglishThroughAModelFolder) {
    // The models folder holds an "en_us" model limited to a grammar of commands.
    TempDir folder;
    const fs::path debian = "/usr/share/pocketsphinx/model/en-us";
    const fs::path english = folder.path() / "en_us";
    fs::create_directories(english);
    fs::create_directory_symlink(debian / "en-us", english / "acoustic");
    fs::create_symlink(debian / "cmudict-en-us.dict", english / "words.dict");
    writeFile(english / "commands.jsgf",
              "#JSGF V1.0;\ngrammar commands;\npublic <command> = open the door | close the "
              "window | play some music | stop;\n");
    ::setenv("LUMOSET_SPEECH_MODELS", folder.path().c_str(), 1);

    for (const char* words : {"open the door", "play some music"}) {
        Bytes recording = toBytes(silence(0.5) + toText(say(words, 16)));
        const Text session = engine.beginRecognition(englishJob());
        ASSERT_FALSE(session.empty());
        // The job's ptt code 1 asks for no punctuation.
        EXPECT_EQ(engine.recognizeAudio(session, recording, 150 * 1024), words);
        EXPECT_EQ(engine.endRecognition(session), 0);
    }

    Bytes quiet = toBytes(silence(2.0));
    const Text session = engine.beginRecognition(englishJob());
    EXPECT_EQ(engine.recognizeAudio(session, quiet, 150 * 1024), "");
    engine.endRecognition(session);
    ::unsetenv("LUMOSET_SPEECH_MODELS");
}

TEST_F(RealEngine, ChineseWithoutAModelShowsTheCode) {
    TempDir empty;
    ::setenv("LUMOSET_SPEECH_MODELS", empty.path().c_str(), 1);
    RecognitionSettings job;
    job.resultEncoding = 1;
    job.ptt = 1;
    const Text session = engine.beginRecognition(job);
    Bytes recording = toBytes(silence(1.0));
    EXPECT_EQ(engine.recognizeAudio(session, recording, 150 * 1024),
              gbk("音频上传失败, 错误参数是: 10110"));
    engine.endRecognition(session);
    ::unsetenv("LUMOSET_SPEECH_MODELS");
}

}  // namespace
}  // namespace lumoset::test
