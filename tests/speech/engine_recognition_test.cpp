// What the speech engine passes to the speech library for recognition, and how it reads the
// answers.
#include "tests/speech/engine_fixture.h"

namespace lumoset::test {
namespace {

const std::string jobParameters =
    ",ptt=0,sub=iat,aue=speex-wb;7,result_type=plain,result_encoding=gb2312,language=zh_cn,"
    "accent=mandarin,sample_rate=16000,domain=iat,vad_bos=10000,vad_eos=2000";

Bytes numbered(std::size_t length) {
    Bytes audio(length);
    for (std::size_t i = 0; i < length; ++i) {
        audio[i] = static_cast<unsigned char>(i * 13 + i / 256);
    }
    return audio;
}

struct Write {
    std::size_t length;
    std::string status;
};

std::vector<Write> writes() {
    std::vector<Write> seen;
    for (const auto& call : callsOf("QISRAudioWrite")) {
        // An empty chunk may come as a null pointer.
        const std::size_t length = call.arguments[1] ? call.arguments[1]->size() : 0;
        seen.push_back({length, call[3]});
        EXPECT_EQ(call[2], std::to_string(length));
    }
    return seen;
}

using EngineRecognition = EngineTest;

TEST_F(EngineRecognition, ParameterStrings) {
    RecognitionSettings job;
    job.resultEncoding = 1;
    job.ptt = 1;
    EXPECT_EQ(engine.beginRecognition(job), "fake-isr");
    const auto begin = callsOf("QISRSessionBegin").at(0);
    EXPECT_EQ(begin[0], "") << "no grammar list";
    EXPECT_EQ(begin[1], jobParameters);
    EXPECT_EQ(begin[2], "0");

    const auto sent = [&](const RecognitionSettings& settings) {
        fakeSpeech::reset();
        engine.beginRecognition(settings);
        return callsOf("QISRSessionBegin").at(0)[1];
    };
    EXPECT_EQ(sent({}).substr(0, 7), ",ptt=1,") << "ptt code 0 writes 1";
    const struct {
        void (*set)(RecognitionSettings&);
        std::string expected;
    } cases[] = {
        {[](RecognitionSettings& s) { s.sub = 1; }, ",sub=asr,"},
        {[](RecognitionSettings& s) { s.domain = 2; }, ",domain=search,"},
        {[](RecognitionSettings& s) { s.domain = 5; }, ",domain=music,"},
        {[](RecognitionSettings& s) { s.domain = 6; }, ",domain=iat,"},
        {[](RecognitionSettings& s) { s.resultType = 1; }, ",result_type=json,"},
        {[](RecognitionSettings& s) { s.resultEncoding = 2; }, ",result_encoding=unicode,"},
        {[](RecognitionSettings& s) { s.language = 2; }, ",language=en_us,"},
        {[](RecognitionSettings& s) { s.accent = 1; }, ",accent=cantonese,"},
        {[](RecognitionSettings& s) { s.sampleRate = 1; }, ",sample_rate=8000,"},
        {[](RecognitionSettings& s) { s.sampleRate = 2; }, ",sample_rate=16000,"},
        {[](RecognitionSettings& s) { s.audioEncoding = "raw"; }, ",aue=raw,"},
        {[](RecognitionSettings& s) { s.vadBos = "3000", s.vadEos = "500"; },
         ",vad_bos=3000,vad_eos=500"},
    };
    for (const auto& c : cases) {
        RecognitionSettings settings;
        c.set(settings);
        EXPECT_NE(sent(settings).find(c.expected), std::string::npos) << c.expected;
    }

    fakeSpeech::reset();
    script("QISRSessionBegin", "isr-1", 10110);
    EXPECT_EQ(engine.beginRecognition(job), "");
}

TEST_F(EngineRecognition, FullChunksLeaveTheCallerTheRest) {
    const Bytes original = numbered(12000);
    Bytes audio = original;
    script("QISRAudioWrite", std::nullopt, 0, 0, MSC_RECOGNITION_NO_RESULT);
    script("QISRAudioWrite", std::nullopt, 0, 0, MSC_RECOGNITION_NO_RESULT);
    script("QISRAudioWrite", std::nullopt, 0, 0, MSC_RECOGNITION_RESULT_READY);
    script("QISRGetResult", gbk("打开门"), MSC_RESULT_COMPLETE);
    EXPECT_EQ(engine.recognizeAudio("isr-3", audio), gbk("打开门"));
    const auto sent = writes();
    ASSERT_EQ(sent.size(), 3u);
    EXPECT_EQ(sent[0].length, 5120u);
    EXPECT_EQ(sent[0].status, "2");
    EXPECT_EQ(sent[1].length, 5120u);
    EXPECT_EQ(sent[1].status, "2");
    EXPECT_EQ(sent[2].length, 1760u);
    EXPECT_EQ(sent[2].status, "4");
    EXPECT_EQ(audio, Bytes(original.begin() + 10240, original.end()));
    const auto writeCalls = callsOf("QISRAudioWrite");
    EXPECT_EQ(writeCalls[1][1], toText(Bytes(original.begin() + 5120, original.begin() + 10240)));
    const auto results = callsOf("QISRGetResult");
    ASSERT_EQ(results.size(), 1u);
    EXPECT_EQ(results[0][0], "isr-3");
    EXPECT_EQ(results[0][1], "5000");
}

TEST_F(EngineRecognition, ExactMultipleEndsWithAnEmptyLastWrite) {
    Bytes audio = numbered(10240);
    engine.recognizeAudio("isr-4", audio, 5120);
    const auto sent = writes();
    ASSERT_EQ(sent.size(), 3u);
    EXPECT_EQ(sent[0].status, "2");
    EXPECT_EQ(sent[1].status, "2");
    EXPECT_EQ(sent[2].length, 0u);
    EXPECT_EQ(sent[2].status, "4");
    EXPECT_TRUE(audio.empty());

    // Empty audio: one empty last write.
    fakeSpeech::reset();
    Bytes nothing;
    EXPECT_EQ(engine.recognizeAudio("isr-5", nothing, 150 * 1024), "");
    ASSERT_EQ(writes().size(), 1u);
    EXPECT_EQ(writes()[0].status, "4");
}

TEST_F(EngineRecognition, EndOfSpeechStopsTheUpload) {
    Bytes audio = numbered(12000);
    script("QISRAudioWrite", std::nullopt, 0, MSC_ENDPOINT_AFTER_SPEECH, MSC_RECOGNITION_NO_RESULT);
    script("QISRGetResult", "turn ", MSC_RESULT_INCOMPLETE);
    script("QISRGetResult", "on", MSC_RESULT_INCOMPLETE);
    script("QISRGetResult", "", MSC_RESULT_INCOMPLETE);
    EXPECT_EQ(engine.recognizeAudio("isr-6", audio), "turn on")
        << "pieces joined as they came, until an empty one follows text";
    EXPECT_EQ(writes().size(), 1u);
    EXPECT_EQ(audio.size(), 12000u - 5120u);
    EXPECT_EQ(callsOf("QISRGetResult").size(), 3u);
}

TEST_F(EngineRecognition, CollectingWaitsThroughEmptyPiecesUntilComplete) {
    Bytes audio = numbered(100);
    script("QISRGetResult", std::nullopt, MSC_RESULT_INCOMPLETE);
    script("QISRGetResult", "", MSC_RESULT_INCOMPLETE);
    script("QISRGetResult", "ok", MSC_RESULT_COMPLETE);
    EXPECT_EQ(engine.recognizeAudio("isr-7", audio), "ok");
    EXPECT_EQ(callsOf("QISRGetResult").size(), 3u);
    EXPECT_EQ(audio.size(), 100u) << "a short recording stays with the caller";
}

TEST_F(EngineRecognition, ErrorTextsCarryTheLibrarysCode) {
    Bytes audio = numbered(12000);
    script("QISRAudioWrite", std::nullopt, 0, 0, MSC_RECOGNITION_RESULT_READY);
    script("QISRGetResult", "lost", MSC_RESULT_INCOMPLETE);
    script("QISRAudioWrite", std::nullopt, 10108, 0, MSC_RECOGNITION_NO_RESULT);
    EXPECT_EQ(engine.recognizeAudio("", audio), gbk("音频上传失败, 错误参数是: 10108"))
        << "the error text replaces what was gathered";

    fakeSpeech::reset();
    audio = numbered(12000);
    script("QISRAudioWrite", std::nullopt, 0, 0, MSC_RECOGNITION_RESULT_READY);
    script("QISRGetResult", std::nullopt, MSC_RESULT_INCOMPLETE, 10100);
    EXPECT_EQ(engine.recognizeAudio("isr-8", audio), gbk("获取失败, 错误参数是: 10100"));

    fakeSpeech::reset();
    audio = numbered(10);
    script("QISRGetResult", "part", MSC_RESULT_INCOMPLETE);
    script("QISRGetResult", std::nullopt, MSC_RESULT_INCOMPLETE, 10111);
    EXPECT_EQ(engine.recognizeAudio("isr-9", audio), gbk("获取失败, 错误参数是: 10111"));
}

TEST_F(EngineRecognition, EndingAndQueryingNeedAnId) {
    EXPECT_EQ(engine.endRecognition(""), 10108);
    engine.querySessionId("");
    EXPECT_TRUE(callNames().empty());

    script("QISRSessionEnd", std::nullopt, 5);
    EXPECT_EQ(engine.endRecognition("isr-10"), 5);
    engine.querySessionId("isr-10");
    EXPECT_EQ(callNames(), (Names{"QISRSessionEnd", "QISRGetParam"}));
    EXPECT_EQ(callsOf("QISRSessionEnd").at(0)[1], "normal end");
    const auto query = callsOf("QISRGetParam").at(0);
    EXPECT_EQ(query[0], "isr-10");
    EXPECT_EQ(query[1], "sid");
    EXPECT_EQ(query[2], std::string(33, ' '));
    EXPECT_EQ(query[3], "33");
}

}  // namespace
}  // namespace lumoset::test
