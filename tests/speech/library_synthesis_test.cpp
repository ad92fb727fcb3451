// The speech library's synthesis with eSpeak NG, called as the speech engine calls it.
#include <gtest/gtest.h>

#include <string>
#include <thread>
#include <vector>

#include "speech/msc_binding.h"
#include "tests/speech/library_support.h"

namespace lumoset::test {
namespace {

const std::string greeting = "欢迎使用文字转语音软件";

class LibrarySynthesis : public ::testing::Test {
  protected:
    static void SetUpTestSuite() { useRealSpeechLibrary(); }
};

TEST_F(LibrarySynthesis, GreetingWithTheDefaultVoiceIsSecondsOfSpeech) {
    const Synthesis result = synthesize(synthesisParameters("xiaoyan"), encodeAs(greeting, "GBK"));
    ASSERT_EQ(result.error, 0);
    EXPECT_EQ(result.audio.size() % 2, 0u);
    // Eleven syllables: a few seconds, neither a click nor a minute.
    EXPECT_GT(seconds(result.audio), 1.5);
    EXPECT_LT(seconds(result.audio), 8.0);
    EXPECT_GT(loudness(result.audio), 300.0);
    EXPECT_GT(result.chunks, 1) << "audio comes in pieces";

    // The empty voice name of an index past the list speaks with the default voice too.
    std::string noVoice = synthesisParameters("");
    EXPECT_TRUE(sameSpeech(synthesize(noVoice, encodeAs(greeting, "GBK")).audio, result.audio));
}

TEST_F(LibrarySynthesis, EveryVoiceSpeaksAndLanguagesSoundDifferent) {
    const std::string text = encodeAs(greeting, "GBK");
    std::vector<std::string> audio;
    for (const char* voice : {"xiaoyan", "yanping", "xiaofeng", "jinger", "donaldduck", "babyxu",
                              "nannan", "xiaomeng", "xiaolin", "xiaoqian", "xiaorong", "xiaokun",
                              "xiaoqiang", "xiaomei", "dalong", "catherine", "john"}) {
        const Synthesis result = synthesize(synthesisParameters(voice), text);
        EXPECT_EQ(result.error, 0) << voice;
        EXPECT_GT(seconds(result.audio), 1.0) << voice;
        audio.push_back(result.audio);
    }
    EXPECT_FALSE(sameSpeech(audio[0], audio[2])) << "female and male Mandarin";
    EXPECT_FALSE(sameSpeech(audio[0], audio[13])) << "Mandarin and Cantonese";
    EXPECT_FALSE(sameSpeech(audio[13], audio[14])) << "female and male Cantonese";
}

TEST_F(LibrarySynthesis, SpeedAndVolumeChangeTheSpeech) {
    const std::string text = encodeAs(greeting, "GBK");
    const Synthesis slow = synthesize(synthesisParameters("xiaoyan", 0), text);
    const Synthesis fast = synthesize(synthesisParameters("xiaoyan", 100), text);
    EXPECT_LT(seconds(fast.audio) * 1.5, seconds(slow.audio));

    const std::string doubled = synthesisParameters("xiaoyan", 50);
    std::string faster = doubled;
    faster.replace(faster.find("speed_increase=1"), 16, "speed_increase=2");
    EXPECT_LT(synthesize(faster, text).audio.size(), synthesize(doubled, text).audio.size());

    const double quiet = loudness(synthesize(synthesisParameters("xiaoyan", 50, 10), text).audio);
    const double ordinary =
        loudness(synthesize(synthesisParameters("xiaoyan", 50, 50), text).audio);
    const double loud = loudness(synthesize(synthesisParameters("xiaoyan", 50, 100), text).audio);
    EXPECT_LT(quiet, ordinary);
    EXPECT_LT(ordinary, loud);
}

TEST_F(LibrarySynthesis, EveryEncodingGivesTheSameSpeech) {
    // Characters written alike in simplified and traditional script, so BIG5 holds them too.
    const std::string text = "你好，使用中文文字。";
    const Synthesis reference = synthesize(synthesisParameters("xiaoyan"), encodeAs(text, "GBK"));
    ASSERT_EQ(reference.error, 0);
    ASSERT_FALSE(reference.audio.empty());
    for (const char* encoding : {"GB2312", "BIG5", "UNICODE", "GB18030", "UTF8", "utf8"}) {
        const Synthesis result = synthesize(synthesisParameters("xiaoyan", 50, 50, 50, encoding),
                                            encodeAs(text, encoding));
        EXPECT_EQ(result.error, 0) << encoding;
        EXPECT_TRUE(sameSpeech(result.audio, reference.audio)) << encoding;
    }
    // The measure tells another sentence of the same length apart.
    EXPECT_FALSE(sameSpeech(
        synthesize(synthesisParameters("xiaoyan"), encodeAs("你们好，使用中文字。", "GBK")).audio,
        reference.audio));
    // Text in another encoding than declared is refused, not read as garbage.
    EXPECT_EQ(
        synthesize(synthesisParameters("xiaoyan", 50, 50, 50, "UTF8"), encodeAs(text, "GBK")).error,
        MSC_ERROR_TEXT_ENCODING);
}

TEST_F(LibrarySynthesis, EightKilohertzOnRequest) {
    std::string parameters = synthesisParameters("xiaoyan");
    parameters.replace(parameters.find("sample_rate="), 12, "sample_rate=8000");
    const std::string text = encodeAs(greeting, "GBK");
    const double narrow = static_cast<double>(synthesize(parameters, text).audio.size());
    const double wide =
        static_cast<double>(synthesize(synthesisParameters("xiaoyan"), text).audio.size());
    EXPECT_NEAR(narrow / wide, 0.5, 0.01);
}

TEST_F(LibrarySynthesis, RefusedParametersGiveTheirCode) {
    const struct {
        std::string parameters;
        int error;
    } cases[] = {
        {synthesisParameters("xiaoyan", 50) + ",colour=blue", MSC_ERROR_UNKNOWN_PARAMETER},
        {"voice_name=xiaoyan,speed", MSC_ERROR_MALFORMED_PARAMETERS},
        {"=5", MSC_ERROR_MALFORMED_PARAMETERS},
        {"voice_name=xiaoyan,speed=fast", MSC_ERROR_INVALID_VALUE},
        {"speed=101", MSC_ERROR_INVALID_VALUE},
        {"pitch=-1", MSC_ERROR_INVALID_VALUE},
        {"volume= 5", MSC_ERROR_INVALID_VALUE},
        {"voice_name=nobody", MSC_ERROR_INVALID_VALUE},
        {"text_encoding=EBCDIC", MSC_ERROR_INVALID_VALUE},
        {"aue=speex-wb", MSC_ERROR_INVALID_VALUE},
        {"speed_increase=3", MSC_ERROR_INVALID_VALUE},
        {"sample_rate=44100", MSC_ERROR_INVALID_VALUE},
    };
    for (const auto& c : cases) {
        int error = -1;
        EXPECT_EQ(LUMOSET_MSC(QTTSSessionBegin)(c.parameters.c_str(), &error), nullptr)
            << c.parameters;
        EXPECT_EQ(error, c.error) << c.parameters;
    }
    int error = -1;
    EXPECT_NE(LUMOSET_MSC(QTTSSessionBegin)(nullptr, &error), nullptr) << "all defaults";
    EXPECT_EQ(error, 0);
}

TEST_F(LibrarySynthesis, SessionsKeepTheirOrder) {
    int error = -1;
    const std::string id = LUMOSET_MSC(QTTSSessionBegin)("", &error);
    unsigned int length = 7;
    int status = 0;
    EXPECT_EQ(LUMOSET_MSC(QTTSAudioGet)(id.c_str(), &length, &status, &error), nullptr);
    EXPECT_EQ(error, MSC_ERROR_SESSION_STATE) << "audio before any text";
    EXPECT_EQ(length, 0u);

    // Text without anything to say completes at once.
    ASSERT_EQ(LUMOSET_MSC(QTTSTextPut)(id.c_str(), "", 0, ""), 0);
    EXPECT_EQ(LUMOSET_MSC(QTTSAudioGet)(id.c_str(), &length, &status, &error), nullptr);
    EXPECT_EQ(status, MSC_TTS_AUDIO_COMPLETE);
    EXPECT_EQ(error, 0);

    EXPECT_EQ(LUMOSET_MSC(QTTSSessionEnd)(id.c_str(), "正常关闭"), 0);
    EXPECT_EQ(LUMOSET_MSC(QTTSSessionEnd)(id.c_str(), ""), MSC_ERROR_INVALID_SESSION);
    EXPECT_EQ(LUMOSET_MSC(QTTSTextPut)(id.c_str(), "a", 1, ""), MSC_ERROR_INVALID_SESSION);
    EXPECT_EQ(LUMOSET_MSC(QTTSTextPut)(nullptr, "a", 1, ""), MSC_ERROR_INVALID_SESSION);
    EXPECT_EQ(LUMOSET_MSC(QTTSAudioGet)("", &length, &status, &error), nullptr);
    EXPECT_EQ(error, MSC_ERROR_INVALID_SESSION);
}

TEST_F(LibrarySynthesis, TwoThreadsSynthesizingAtOnceBothGetTheirSpeech) {
    const std::string mandarin = synthesisParameters("xiaoyan");
    const std::string english = synthesisParameters("john");
    const std::string chinese = encodeAs(greeting, "GBK");
    const std::string phrase = "Reading sentences on a worker thread.";
    const std::string mandarinAlone = synthesize(mandarin, chinese).audio;
    const std::string englishAlone = synthesize(english, phrase).audio;
    ASSERT_FALSE(mandarinAlone.empty());
    ASSERT_FALSE(englishAlone.empty());

    std::vector<std::string> fromWindow;
    std::vector<std::string> fromWorker;
    std::thread window([&] {
        for (int i = 0; i < 6; ++i) {
            fromWindow.push_back(synthesize(mandarin, chinese).audio);
        }
    });
    std::thread worker([&] {
        for (int i = 0; i < 6; ++i) {
            fromWorker.push_back(synthesize(english, phrase).audio);
        }
    });
    window.join();
    worker.join();
    for (const std::string& audio : fromWindow) {
        EXPECT_TRUE(sameSpeech(audio, mandarinAlone));
    }
    for (const std::string& audio : fromWorker) {
        EXPECT_TRUE(sameSpeech(audio, englishAlone));
    }
}

TEST_F(LibrarySynthesis, LoginIsNeededForNewSessionsOnly) {
    int error = -1;
    const std::string open = LUMOSET_MSC(QTTSSessionBegin)("", &error);
    EXPECT_EQ(LUMOSET_MSC(MSPLogout)(), 0);
    EXPECT_EQ(LUMOSET_MSC(QTTSSessionBegin)("", &error), nullptr);
    EXPECT_EQ(error, MSC_ERROR_NOT_LOGGED_IN);
    EXPECT_EQ(LUMOSET_MSC(QISRSessionBegin)("", "", &error), nullptr);
    EXPECT_EQ(error, MSC_ERROR_NOT_LOGGED_IN);
    // A session opened before the logout still finishes its text.
    EXPECT_EQ(LUMOSET_MSC(QTTSTextPut)(open.c_str(), "ni hao", 6, ""), 0);
    LUMOSET_MSC(QTTSSessionEnd)(open.c_str(), "");

    EXPECT_EQ(LUMOSET_MSC(MSPLogin)("", "", "appid="), MSC_ERROR_MISSING_APPID);
    EXPECT_EQ(LUMOSET_MSC(MSPLogin)("", "", "user=someone"), MSC_ERROR_UNKNOWN_PARAMETER);
    EXPECT_EQ(LUMOSET_MSC(MSPLogin)(nullptr, nullptr, nullptr), MSC_ERROR_MISSING_APPID);
    EXPECT_EQ(LUMOSET_MSC(QTTSSessionBegin)("", &error), nullptr);
    EXPECT_EQ(LUMOSET_MSC(MSPLogin)("", "", "appid=9e3d2b70"), 0);
    EXPECT_NE(LUMOSET_MSC(QTTSSessionBegin)("", &error), nullptr);
}

}  // namespace
}  // namespace lumoset::test
