// What the speech engine passes to the speech library for login and synthesis.
#include <QTimer>

#include <filesystem>

#include "app/shell/companion_library.h"
#include "tests/speech/engine_fixture.h"
#include "tests/support/test_support.h"

namespace lumoset::test {
namespace {

const std::string workerParameters =
    "engine_type=,voice_name=xiaoyan,speed=50,volume=50,pitch=50,tts_res_path=fo|common.jet|0|"
    "1024;fo| xiaoyan.jet|0|1024,rdn=,rcn=,text_encoding=GB2312,sample_rate=,background_sound=,"
    "aue=,ttp=,speed_increase=1,effect=";
const std::string speakParameters =
    "engine_type=,voice_name=xiaoyan,speed=,volume=,pitch=,tts_res_path=fo|common.jet|0|1024;"
    "fo| xiaoyan.jet|0|1024,rdn=,rcn=,text_encoding=GB2312,sample_rate=,background_sound=,aue=,"
    "ttp=,speed_increase=1,effect=";

using EngineSynthesis = EngineTest;

TEST_F(EngineSynthesis, ConstructionStartsAudioAndTeardownLogsOutOnce) {
    EXPECT_EQ(readFile(privateTemporaryFolder() / speechLibraryFile),
              readFile(LUMOSET_FAKE_SPEECH_LIBRARY))
        << "a library already in the folder stays as it is";
    {
        SpeechEngine second;
        EXPECT_EQ(fakeAudioCalls(), Names{"BASS_Init(-1, 44100, 0, null, null)"});
        EXPECT_TRUE(callNames().empty());
    }
    EXPECT_EQ(callNames(), Names{"MSPLogout"}) << "without a login too";
}

TEST_F(EngineSynthesis, LoginPassesTheApplicationIdAndReturnsTheCode) {
    script("MSPLogin", std::nullopt, 10107);
    EXPECT_EQ(engine.login("9e3d2b70"), 10107);
    EXPECT_EQ(engine.login(), 0);
    const auto logins = callsOf("MSPLogin");
    ASSERT_EQ(logins.size(), 2u);
    for (const auto& login : logins) {
        EXPECT_EQ(login.arguments[0], std::optional<std::string>("")) << "empty, not null";
        EXPECT_EQ(login.arguments[1], std::optional<std::string>(""));
    }
    EXPECT_EQ(logins[0][2], "appid=9e3d2b70");
    EXPECT_EQ(logins[1][2], "appid=");
}

TEST_F(EngineSynthesis, ParameterStrings) {
    SynthesisSettings worker;
    worker.speed = worker.volume = worker.pitch = "50";
    worker.textEncoding = "GB2312";
    EXPECT_EQ(engine.beginSynthesis(worker), "fake-tts");
    EXPECT_EQ(worker.resourcePath, "fo|common.jet|0|1024;fo| xiaoyan.jet|0|1024")
        << "the default is stored back";

    SynthesisSettings omitted;
    engine.beginSynthesis(omitted);
    EXPECT_EQ(omitted.textEncoding, "GB2312");

    const auto begins = callsOf("QTTSSessionBegin");
    ASSERT_EQ(begins.size(), 2u);
    EXPECT_EQ(begins[0][0], workerParameters);
    EXPECT_EQ(begins[0][1], "0") << "the error code is cleared before the call";
    EXPECT_EQ(begins[1][0], speakParameters);

    const auto sent = [&](SynthesisSettings settings) {
        fakeSpeech::reset();
        engine.beginSynthesis(settings);
        return callsOf("QTTSSessionBegin").at(0)[0];
    };
    const struct {
        int voice;
        int speedIncrease;
        std::string speed;
        std::string encoding;
        std::string expected;
    } cases[] = {
        {-1, 0, "", "", ",voice_name=xiaoyan,speed=,"},
        {0, 1, "", "", ",voice_name=xiaoyan,"},
        {8, 1, "", "", ",voice_name=xiaolin,"},
        {16, 1, "", "", ",voice_name=john,"},
        {17, 1, "", "", ",voice_name=,speed=,"},
        {0, 0, "", "", ",speed_increase=1,"},
        {0, -5, "", "", ",speed_increase=1,"},
        {0, 2, "", "", ",speed_increase=2,"},
        {0, 3, "", "", ",speed_increase=4,"},
        {0, 4, "", "", ",speed_increase=,effect="},
        {0, 0, "fast", "", ",speed=fast,"},
        {0, 0, "", "UTF8", ",text_encoding=UTF8,"},
    };
    for (const auto& c : cases) {
        SynthesisSettings settings;
        settings.voice = c.voice;
        settings.speedIncrease = c.speedIncrease;
        settings.speed = c.speed;
        settings.textEncoding = c.encoding;
        EXPECT_NE(sent(settings).find(c.expected), std::string::npos) << c.expected;
    }
}

TEST_F(EngineSynthesis, RefusedSessionsGiveAnEmptyId) {
    script("QTTSSessionBegin", "tts-1", 10105);
    EXPECT_EQ(engine.beginSynthesis(), "") << "an id with an error code";
    script("QTTSSessionBegin", std::nullopt, 0);
    EXPECT_EQ(engine.beginSynthesis(), "") << "no id";
}

TEST_F(EngineSynthesis, GathersEveryChunkOfOneText) {
    script("QTTSAudioGet", "abc", MSC_TTS_MORE_AUDIO);
    script("QTTSAudioGet", std::nullopt, MSC_TTS_MORE_AUDIO);
    script("QTTSAudioGet", "", MSC_TTS_MORE_AUDIO);
    script("QTTSAudioGet", "defg", MSC_TTS_AUDIO_COMPLETE);
    const std::string twoCharacters = gbk("你好");
    EXPECT_EQ(toText(engine.synthesizeText("tts-7", twoCharacters)), "abcdefg");
    const auto put = callsOf("QTTSTextPut");
    ASSERT_EQ(put.size(), 1u);
    EXPECT_EQ(put[0][0], "tts-7");
    EXPECT_EQ(put[0][1], twoCharacters);
    EXPECT_EQ(put[0][2], "4") << "GBK bytes, not characters";
    EXPECT_EQ(put[0][3], "");
    EXPECT_EQ(callsOf("QTTSAudioGet").size(), 4u);
}

TEST_F(EngineSynthesis, RefusedTextOrFailingLibraryGiveNoAudio) {
    script("QTTSTextPut", std::nullopt, 10108);
    EXPECT_TRUE(engine.synthesizeText("", "text").empty());
    EXPECT_EQ(callNames(), Names{"QTTSTextPut"});

    // An error without the last status ends the loop; a part of the text is not its audio.
    fakeSpeech::reset();
    script("QTTSAudioGet", "abc", MSC_TTS_MORE_AUDIO);
    script("QTTSAudioGet", std::nullopt, MSC_TTS_MORE_AUDIO, 10100);
    EXPECT_TRUE(engine.synthesizeText("tts-1", "text").empty());
    EXPECT_EQ(callsOf("QTTSAudioGet").size(), 2u);
}

TEST_F(EngineSynthesis, EndingASessionNeedsAnId) {
    EXPECT_EQ(engine.endSynthesis(""), 10108);
    EXPECT_TRUE(callNames().empty());
    script("QTTSSessionEnd", std::nullopt, 3);
    EXPECT_EQ(engine.endSynthesis("tts-2"), 3);
    const auto ends = callsOf("QTTSSessionEnd");
    ASSERT_EQ(ends.size(), 1u);
    EXPECT_EQ(ends[0][0], "tts-2");
    EXPECT_EQ(ends[0][1], gbk("正常关闭"));
}

TEST_F(EngineSynthesis, SpeakTextPlaysToTheEndWhileEventsRun) {
    script("QTTSAudioGet", std::string(3000, 'a'), MSC_TTS_MORE_AUDIO);
    script("QTTSAudioGet", std::string(200, 'b'), MSC_TTS_AUDIO_COMPLETE);
    answerFakeAudio("BASS_ChannelIsActive", 1);
    int ticks = 0;
    QTimer timer;
    QObject::connect(&timer, &QTimer::timeout, [&] { ++ticks; });
    timer.start(50);
    engine.speakText(gbk("欢迎"));
    EXPECT_GT(ticks, 0) << "the window kept receiving its events";
    EXPECT_EQ(callNames(), (Names{"QTTSSessionBegin", "QTTSTextPut", "QTTSAudioGet", "QTTSAudioGet",
                                  "QTTSSessionEnd"}));
    EXPECT_EQ(callsOf("QTTSSessionBegin").at(0)[0], speakParameters);
    EXPECT_EQ(callsOf("QTTSSessionEnd").at(0)[0], "fake-tts");
    // The wrapped audio from memory, played from the start, asked after until it stops.
    const Names audio = fakeAudioCalls();
    ASSERT_EQ(audio.size(), 5u);
    EXPECT_EQ(audio[0].substr(0, 24), "BASS_StreamCreateFile(1,");
    EXPECT_NE(audio[0].find(", 0, 3244, 0)"), std::string::npos) << audio[0];
    EXPECT_EQ(audio[1], "BASS_ChannelPlay(101, 1)");
    EXPECT_EQ(audio[2], "BASS_ChannelIsActive(101)");
    EXPECT_EQ(audio[3], "BASS_ChannelIsActive(101)");
    EXPECT_EQ(audio[4], "BASS_StreamFree(101)");

    // Nothing to play: no stream, no wait, and the session is still closed.
    fakeSpeech::reset();
    clearFakeAudio();
    engine.speakText("");
    EXPECT_EQ(callNames(),
              (Names{"QTTSSessionBegin", "QTTSTextPut", "QTTSAudioGet", "QTTSSessionEnd"}));
    EXPECT_EQ(fakeAudioCalls(), (Names{"BASS_ChannelIsActive(0)", "BASS_StreamFree(0)"}));

    // No session: nothing to close.
    fakeSpeech::reset();
    script("QTTSSessionBegin", std::nullopt, 10101);
    script("QTTSTextPut", std::nullopt, 10108);
    engine.speakText("x");
    EXPECT_EQ(callNames(), (Names{"QTTSSessionBegin", "QTTSTextPut"}));
}

}  // namespace
}  // namespace lumoset::test
