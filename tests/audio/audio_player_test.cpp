// AudioPlayer against the recording fake library: which calls each operation makes, with which
// arguments, and what it makes of the answers.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <functional>

#include "app/shell/companion_library.h"
#include "audio/audio_player.h"
#include "tests/fakes/audio_library/fake_audio.h"
#include "tests/support/test_support.h"

namespace lumoset {
namespace {

using test::answerFakeAudio;
using test::fakeAudioCalls;
using ::testing::ElementsAre;
using ::testing::IsEmpty;

std::string hex(const void* p) {
    char text[32];
    std::snprintf(text, sizeof text, "0x%llx",
                  static_cast<unsigned long long>(reinterpret_cast<std::uintptr_t>(p)));
    return text;
}

class FakeAudioEnvironment : public ::testing::Environment {
  public:
    void SetUp() override { test::installFakeAudioLibrary(); }
};

const auto* const environment = ::testing::AddGlobalTestEnvironment(new FakeAudioEnvironment);

class AudioPlayerTest : public ::testing::Test {
  protected:
    void SetUp() override { test::clearFakeAudio(); }
    AudioPlayer player;
};

TEST(AudioPlayerConstruction, WritesTheLibraryOnlyAndStartsNothing) {
    test::TempDir temporary;
    const auto result = test::runInChild([&] {
        ::setenv("TMPDIR", temporary.path().c_str(), 1);
        AudioPlayer player;
        const auto written = privateTemporaryFolder() / audioLibraryFile;
        const auto image = audioLibraryImage();
        const std::string bytes = test::readFile(written);
        const bool same = bytes.size() == image.size() &&
                          std::memcmp(bytes.data(), image.data(), image.size()) == 0;
        const bool nothingBound = loadedLibraryPath(audioLibraryFile).empty();
        const bool folderSet = libraryFolder() == privateTemporaryFolder();
        std::_Exit(same && folderSet && nothingBound ? 0 : 1);
    });
    EXPECT_EQ(result.exitCode, 0) << result.errorOutput;
}

TEST_F(AudioPlayerTest, InitialiseFillsInOnlyWhatWasOmitted) {
    int window = 0;
    EXPECT_TRUE(player.initialise());
    EXPECT_TRUE(player.initialise(0));
    EXPECT_TRUE(player.initialise(0, 0, 0, nullptr));
    EXPECT_TRUE(player.initialise(2, 8000, 4, &window));
    answerFakeAudio("BASS_Init", 0);
    EXPECT_FALSE(player.initialise());
    EXPECT_THAT(fakeAudioCalls(),
                ElementsAre("BASS_Init(-1, 44100, 0, null, null)",
                            "BASS_Init(0, 44100, 0, null, null)", "BASS_Init(0, 0, 0, null, null)",
                            "BASS_Init(2, 8000, 4, " + hex(&window) + ", null)",
                            "BASS_Init(-1, 44100, 0, null, null)"));
}

TEST_F(AudioPlayerTest, PlayRestartsUnlessToldNotToAndSkipsHandleZero) {
    EXPECT_FALSE(player.play(0));
    EXPECT_FALSE(player.play(0, false));
    EXPECT_THAT(fakeAudioCalls(), IsEmpty());

    EXPECT_TRUE(player.play(7));
    EXPECT_TRUE(player.play(7, false));
    EXPECT_TRUE(player.play(7, true));
    answerFakeAudio("BASS_ChannelPlay", 0);
    EXPECT_FALSE(player.play(7));
    EXPECT_THAT(fakeAudioCalls(), ElementsAre("BASS_ChannelPlay(7, 1)", "BASS_ChannelPlay(7, 0)",
                                              "BASS_ChannelPlay(7, 1)", "BASS_ChannelPlay(7, 1)"));
}

TEST_F(AudioPlayerTest, CreateStreamTriesFileThenMemoryThenAddress) {
    test::TempDir folder;
    const std::string file = (folder.path() / "1").string();
    test::writeFile(file, "RIFF");
    const std::string missing = (folder.path() / "missing").string();
    const Bytes memory = toBytes("RIFF----WAVE");
    const Bytes none;
    const std::string url = "http://127.0.0.1:9/a.wav";

    EXPECT_EQ(player.createStream(), 0u);
    EXPECT_EQ(player.createStream("", none, "", 44), 0u);
    EXPECT_THAT(fakeAudioCalls(), IsEmpty());

    answerFakeAudio("BASS_StreamCreateFile", 5);
    EXPECT_EQ(player.createStream(file, memory, url, 44), 5u);
    EXPECT_EQ(player.createStream(missing, memory, url, -1), 101u);
    EXPECT_EQ(player.createStream(missing, none, url, -1), 102u);
    EXPECT_EQ(player.createStream(missing, none, url), 102u);
    EXPECT_EQ(player.createStream(folder.path().string(), memory), 101u);  // a folder is no file
    answerFakeAudio("BASS_StreamCreateURL", 0);
    EXPECT_EQ(player.createStream("", none, url), 0u);
    EXPECT_THAT(fakeAudioCalls(),
                ElementsAre("BASS_StreamCreateFile(0, \"" + file + "\", 44, 0, 0)",
                            "BASS_StreamCreateFile(1, " + hex(memory.data()) + ", -1, 12, 0)",
                            "BASS_StreamCreateURL(\"" + url + "\", 4294967295, 0, null, null)",
                            "BASS_StreamCreateURL(\"" + url + "\", 0, 0, null, null)",
                            "BASS_StreamCreateFile(1, " + hex(memory.data()) + ", 0, 12, 0)",
                            "BASS_StreamCreateURL(\"" + url + "\", 0, 0, null, null)"));
}

// The way the text-to-speech window pauses and later resumes a sentence.
TEST_F(AudioPlayerTest, PauseAndResumeAtTheSavedPosition) {
    answerFakeAudio("BASS_ChannelGetPosition", 88200);
    const std::int64_t saved = player.position(3);
    player.pause(3);
    player.play(3);
    player.setPosition(3, saved);
    EXPECT_EQ(saved, 88200);
    EXPECT_THAT(fakeAudioCalls(),
                ElementsAre("BASS_ChannelGetPosition(3, 0)", "BASS_ChannelPause(3)",
                            "BASS_ChannelPlay(3, 1)", "BASS_ChannelSetPosition(3, 88200, 0)"));
}

// Every other operation is one call whose answer comes back as it is.
TEST_F(AudioPlayerTest, OtherOperationsPassTheirCallThrough) {
    struct Case {
        std::function<double()> operation;
        const char* function;
        double answer;
        std::string call;
    };
    const std::int64_t big = std::int64_t{1} << 40;
    const Case cases[] = {
        {[&] { return player.release(); }, "BASS_Free", 0, "BASS_Free()"},
        {[&] { return player.pause(9); }, "BASS_ChannelPause", 0, "BASS_ChannelPause(9)"},
        {[&] { return player.stop(9); }, "BASS_ChannelStop", 1, "BASS_ChannelStop(9)"},
        {[&] { return double(player.position(9)); }, "BASS_ChannelGetPosition", -1,
         "BASS_ChannelGetPosition(9, 0)"},
        {[&] { return player.setPosition(9, big); }, "BASS_ChannelSetPosition", 0,
         "BASS_ChannelSetPosition(9, 1099511627776, 0)"},
        {[&] { return double(player.length(9)); }, "BASS_ChannelGetLength", double(big),
         "BASS_ChannelGetLength(9, 0)"},
        {[&] { return player.isActive(9); }, "BASS_ChannelIsActive", 3, "BASS_ChannelIsActive(9)"},
        {[&] { return player.freeStream(9); }, "BASS_StreamFree", 0, "BASS_StreamFree(9)"},
        {[&] { return player.setVolume(0.25f); }, "BASS_SetVolume", 1, "BASS_SetVolume(0.25)"},
        {[&] { return player.volume(); }, "BASS_GetVolume", 0.5, "BASS_GetVolume()"},
        {[&] { return player.bytesToSeconds(9, big); }, "BASS_ChannelBytes2Seconds", 2.5,
         "BASS_ChannelBytes2Seconds(9, 1099511627776)"},
        {[&] { return double(player.secondsToBytes(9, 1.5)); }, "BASS_ChannelSeconds2Bytes", 264600,
         "BASS_ChannelSeconds2Bytes(9, 1.5)"},
    };
    for (const Case& c : cases) {
        test::clearFakeAudio();
        answerFakeAudio(c.function, c.answer);
        EXPECT_EQ(c.operation(), c.answer) << c.call;
        EXPECT_THAT(fakeAudioCalls(), ElementsAre(c.call));
    }
}

TEST_F(AudioPlayerTest, TagsCopyTheTextAndNullBecomesEmpty) {
    test::answerFakeAudioTags("INAM=句子");
    test::answerFakeAudioTags("", true);
    EXPECT_EQ(player.tags(4), "INAM=句子");
    EXPECT_EQ(player.tags(4), "");
    EXPECT_THAT(fakeAudioCalls(),
                ElementsAre("BASS_ChannelGetTags(4, 0)", "BASS_ChannelGetTags(4, 0)"));
}

TEST_F(AudioPlayerTest, FftDataAsksForTheSpectrumAndFillsTheTable) {
    std::vector<float> magnitudes(128);
    magnitudes[6] = 0.75f;
    magnitudes[127] = 0.125f;
    test::answerFakeAudioData(magnitudes, 512);
    std::vector<float> table{1.0f};
    EXPECT_EQ(player.fftData(5, table), 512);
    EXPECT_EQ(table, magnitudes);
    EXPECT_THAT(fakeAudioCalls(), ElementsAre("BASS_ChannelGetData(5, buffer, 0x80000000)"));

    test::answerFakeAudioData({}, -1);
    EXPECT_EQ(player.fftData(0, table), -1);
}

}  // namespace
}  // namespace lumoset
