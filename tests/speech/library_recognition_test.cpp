// The speech library's recognition with PocketSphinx: English speech synthesized by the library
// itself is sent back through its recognizer. Free dictation of synthetic speech is unreliable,
// so the round trips limit the recognizer to a small JSGF grammar of commands.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "speech/msc_binding.h"
#include "tests/speech/library_support.h"
#include "tests/support/test_support.h"

namespace lumoset::test {
namespace {

namespace fs = std::filesystem;

const char* const commands[] = {"open the door", "turn on the light", "what time is it",
                                "call my mother", "the weather is nice today"};

const std::string grammarText =
    "#JSGF V1.0;\ngrammar commands;\npublic <command> = open the door | close the window | "
    "turn on the light | turn off the light | what time is it | call my mother | "
    "the weather is nice today | play some music | stop;\n";

class LibraryRecognition : public ::testing::Test {
  protected:
    static void SetUpTestSuite() { useRealSpeechLibrary(); }
    void SetUp() override {
        ::unsetenv("LUMOSET_SPEECH_MODELS");
        grammar_ = folder_.path() / "commands.jsgf";
        writeFile(grammar_, grammarText);
    }
    std::string speak(const std::string& words, const std::string& voice = "catherine") {
        return synthesize(synthesisParameters(voice), words).audio;
    }

    TempDir folder_;
    fs::path grammar_;
};

TEST_F(LibraryRecognition, SynthesizedCommandsComeBackAsTheirWords) {
    for (const char* voice : {"catherine", "john"}) {
        for (const char* words : commands) {
            const Recognition result =
                recognize(grammar_.string(), englishRecognition(), speak(words, voice));
            EXPECT_EQ(result.error, 0) << voice << ": " << words;
            EXPECT_EQ(result.text, words) << voice;
        }
    }
}

TEST_F(LibraryRecognition, ResultsInTheRequestedEncodingWithPunctuation) {
    const std::string audio = speak("call my mother");
    std::string parameters = englishRecognition();
    parameters.replace(parameters.find("result_encoding=utf8"), 20, "result_encoding=gb2312");
    EXPECT_EQ(recognize(grammar_.string(), parameters + ",ptt=1", audio).text, "call my mother.");

    // UTF-16 text: the first byte pair, as a zero-terminated read sees it.
    parameters.replace(parameters.find("result_encoding=gb2312"), 22, "result_encoding=unicode");
    const char* session = nullptr;
    int error = 0;
    session = LUMOSET_MSC(QISRSessionBegin)(grammar_.c_str(), parameters.c_str(), &error);
    ASSERT_NE(session, nullptr);
    const std::string id = session;
    int endpoint = 0;
    int recognition = 0;
    ASSERT_EQ(LUMOSET_MSC(QISRAudioWrite)(id.c_str(), audio.data(),
                                          static_cast<unsigned int>(audio.size()), MSC_AUDIO_LAST,
                                          &endpoint, &recognition),
              0);
    EXPECT_EQ(recognition, MSC_RECOGNITION_RESULT_READY);
    int status = 0;
    const char* text = LUMOSET_MSC(QISRGetResult)(id.c_str(), &status, 5000, &error);
    ASSERT_NE(text, nullptr);
    EXPECT_EQ(std::string(text, 4), std::string("c\0a\0", 4));
    EXPECT_EQ(status, MSC_RESULT_COMPLETE);
    LUMOSET_MSC(QISRSessionEnd)(id.c_str(), "normal end");
}

TEST_F(LibraryRecognition, EightKilohertzAudioIsRecognizedToo) {
    std::string narrowSpeech = synthesisParameters("catherine");
    narrowSpeech.replace(narrowSpeech.find("sample_rate="), 12, "sample_rate=8000");
    std::string narrowListening = englishRecognition();
    narrowListening.replace(narrowListening.find("sample_rate=16000"), 17, "sample_rate=8000");
    const std::string audio = synthesize(narrowSpeech, "turn on the light").audio;
    EXPECT_EQ(recognize(grammar_.string(), narrowListening, audio, 2560).text, "turn on the light");
}

TEST_F(LibraryRecognition, SilenceGivesAnEmptyResultNotAnError) {
    const Recognition shortSilence =
        recognize(grammar_.string(), englishRecognition(), silence(3.0), 153600);
    EXPECT_EQ(shortSilence.error, 0);
    EXPECT_EQ(shortSilence.text, "");
    EXPECT_EQ(shortSilence.chunksWritten, 1);

    // Without speech in the first vad_bos milliseconds the library stops listening early.
    const Recognition longSilence =
        recognize("", englishRecognition(",vad_bos=1000"), silence(4.0), 3200);
    EXPECT_EQ(longSilence.error, 0);
    EXPECT_EQ(longSilence.text, "");
    EXPECT_TRUE(longSilence.endpointBeforeLast);
    EXPECT_LT(longSilence.chunksWritten, 20);
}

TEST_F(LibraryRecognition, SilenceAfterSpeechEndsItEarly) {
    const std::string audio = speak("what time is it") + silence(5.0);
    const Recognition result =
        recognize(grammar_.string(), englishRecognition(",vad_eos=800"), audio, 3200);
    EXPECT_EQ(result.text, "what time is it");
    EXPECT_TRUE(result.endpointBeforeLast);

    int endpoint = 0;
    int recognition = 0;
    int error = 0;
    // Audio that follows the end of speech is taken and ignored; after the last chunk it is an
    // error of order.
    const std::string id = LUMOSET_MSC(QISRSessionBegin)(
        grammar_.c_str(), englishRecognition(",vad_eos=800").c_str(), &error);
    ASSERT_EQ(LUMOSET_MSC(QISRAudioWrite)(id.c_str(), audio.data(),
                                          static_cast<unsigned int>(audio.size()),
                                          MSC_AUDIO_CONTINUE, &endpoint, &recognition),
              0);
    EXPECT_EQ(endpoint, MSC_ENDPOINT_AFTER_SPEECH);
    EXPECT_EQ(
        LUMOSET_MSC(QISRAudioWrite)(id.c_str(), "ab", 2, MSC_AUDIO_LAST, &endpoint, &recognition),
        0);
    LUMOSET_MSC(QISRSessionEnd)(id.c_str(), "");
}

TEST_F(LibraryRecognition, ALanguageWithoutAModelReturnsItsCode) {
    const std::string chinese =
        ",ptt=0,sub=iat,aue=speex-wb;7,result_type=plain,result_encoding=gb2312,language=zh_cn,"
        "accent=mandarin,sample_rate=16000,domain=iat,vad_bos=10000,vad_eos=2000";
    ::setenv("LUMOSET_SPEECH_MODELS", folder_.path().c_str(), 1);
    const Recognition result = recognize("", chinese, silence(1.0));
    EXPECT_EQ(result.error, MSC_ERROR_NO_MODEL);
    EXPECT_EQ(result.text, "");

    std::string cantonese = englishRecognition();
    cantonese.replace(cantonese.find("language=en_us"), 14, "language=zh_tw");
    cantonese.replace(cantonese.find("accent=mandarin"), 15, "accent=cantonese");
    EXPECT_EQ(recognize("", cantonese, silence(1.0)).error, MSC_ERROR_NO_MODEL);
}

TEST_F(LibraryRecognition, AModelFolderServesItsLanguage) {
    // A folder of the models variable: Debian's acoustic model and dictionary with a grammar of
    // our own, named as the language it serves.
    const fs::path debian = "/usr/share/pocketsphinx/model/en-us";
    const fs::path english = folder_.path() / "models" / "en_us";
    fs::create_directories(english);
    fs::create_directory_symlink(debian / "en-us", english / "acoustic");
    fs::create_symlink(debian / "cmudict-en-us.dict", english / "words.dict");
    fs::copy_file(grammar_, english / "commands.gram");
    ::setenv("LUMOSET_SPEECH_MODELS", (folder_.path() / "models").c_str(), 1);
    for (const char* words : commands) {
        EXPECT_EQ(recognize("", englishRecognition(), speak(words)).text, words);
    }
}

TEST_F(LibraryRecognition, ChineseResultsComeWithoutSpacesInGb2312) {
    // A stand-in Chinese model: the English acoustic model with Chinese words spelled in
    // English sounds, so English speech yields Chinese text.
    const fs::path chinese = folder_.path() / "models" / "zh_cn";
    fs::create_directories(chinese);
    fs::create_directory_symlink("/usr/share/pocketsphinx/model/en-us/en-us", chinese / "acoustic");
    writeFile(chinese / "words.dic",
              "打开 OW P AH N\n门 D AO R\n关上 K L OW Z\n窗户 W IH N D OW\n");
    writeFile(chinese / "commands.jsgf",
              "#JSGF V1.0;\ngrammar commands;\npublic <command> = 打开 门 | 关上 窗户;\n");
    ::setenv("LUMOSET_SPEECH_MODELS", (folder_.path() / "models").c_str(), 1);
    const std::string job =
        ",ptt=1,sub=iat,aue=speex-wb;7,result_type=plain,result_encoding=gb2312,language=zh_cn,"
        "accent=mandarin,sample_rate=16000,domain=iat,vad_bos=10000,vad_eos=2000";
    EXPECT_EQ(recognize("", job, speak("open door")).text, gbk("打开门。"));
    EXPECT_EQ(recognize("", job, speak("close window")).text, gbk("关上窗户。"));
}

TEST_F(LibraryRecognition, RefusedParametersAndOrderGiveTheirCodes) {
    const struct {
        std::string parameters;
        int error;
    } cases[] = {
        {englishRecognition(",noise=low"), MSC_ERROR_UNKNOWN_PARAMETER},
        {englishRecognition(",vad_eos"), MSC_ERROR_MALFORMED_PARAMETERS},
        {englishRecognition(",language=fr_fr"), MSC_ERROR_INVALID_VALUE},
        {englishRecognition(",vad_bos=soon"), MSC_ERROR_INVALID_VALUE},
        {englishRecognition(",aue=mp3"), MSC_ERROR_INVALID_VALUE},
        {englishRecognition(",sample_rate=11025"), MSC_ERROR_INVALID_VALUE},
        {englishRecognition(",result_type=json"), MSC_ERROR_UNSUPPORTED_VALUE},
    };
    for (const auto& c : cases) {
        int error = -1;
        EXPECT_EQ(LUMOSET_MSC(QISRSessionBegin)("", c.parameters.c_str(), &error), nullptr)
            << c.parameters;
        EXPECT_EQ(error, c.error) << c.parameters;
    }

    int error = -1;
    const std::string id = LUMOSET_MSC(QISRSessionBegin)("", englishRecognition().c_str(), &error);
    int endpoint = 0;
    int recognition = 0;
    EXPECT_EQ(LUMOSET_MSC(QISRAudioWrite)(id.c_str(), "", 0, 3, &endpoint, &recognition),
              MSC_ERROR_INVALID_AUDIO_STATUS);
    int status = -1;
    EXPECT_EQ(LUMOSET_MSC(QISRGetResult)(id.c_str(), &status, 5000, &error), nullptr);
    EXPECT_EQ(status, MSC_RESULT_INCOMPLETE) << "nothing decoded yet";
    EXPECT_EQ(error, 0);
    ASSERT_EQ(LUMOSET_MSC(QISRAudioWrite)(id.c_str(), nullptr, 0, MSC_AUDIO_LAST, &endpoint,
                                          &recognition),
              0);
    EXPECT_EQ(
        LUMOSET_MSC(QISRAudioWrite)(id.c_str(), "ab", 2, MSC_AUDIO_LAST, &endpoint, &recognition),
        MSC_ERROR_SESSION_STATE);

    // The session id answers "sid", when the buffer can hold it.
    char buffer[33];
    unsigned int length = sizeof buffer;
    ASSERT_EQ(LUMOSET_MSC(QISRGetParam)(id.c_str(), "sid", buffer, &length), 0);
    EXPECT_EQ(std::string(buffer), id);
    EXPECT_EQ(length, id.size());
    length = 3;
    EXPECT_EQ(LUMOSET_MSC(QISRGetParam)(id.c_str(), "sid", buffer, &length),
              MSC_ERROR_BUFFER_TOO_SMALL);
    EXPECT_EQ(length, id.size() + 1);
    length = sizeof buffer;
    EXPECT_EQ(LUMOSET_MSC(QISRGetParam)(id.c_str(), "volume", buffer, &length),
              MSC_ERROR_UNKNOWN_PARAMETER);

    EXPECT_EQ(LUMOSET_MSC(QTTSSessionEnd)(id.c_str(), ""), MSC_ERROR_INVALID_SESSION)
        << "a recognition session is not a synthesis session";
    EXPECT_EQ(LUMOSET_MSC(QISRSessionEnd)(id.c_str(), "normal end"), 0);
    EXPECT_EQ(
        LUMOSET_MSC(QISRAudioWrite)(id.c_str(), "", 0, MSC_AUDIO_LAST, &endpoint, &recognition),
        MSC_ERROR_INVALID_SESSION);
    EXPECT_EQ(recognition, MSC_RECOGNITION_NO_RESULT);
}

}  // namespace
}  // namespace lumoset::test
