// The two speech engines among the program's global objects.
#include "app/globals.h"
#include "tests/speech/engine_fixture.h"

namespace lumoset::test {
namespace {

using Globals = EngineTest;

TEST_F(Globals, StartUpOpensAudioOncePerEngineAndShutdownLogsOutOfBoth) {
    clearFakeAudio();
    createGlobals();
    ASSERT_NE(recognitionEngine, nullptr);
    ASSERT_NE(synthesisEngine, nullptr);
    EXPECT_EQ(fakeAudioCalls(), (Names{"BASS_Init(-1, 44100, 0, null, null)",
                                       "BASS_Init(-1, 44100, 0, null, null)"}));
    EXPECT_TRUE(callNames().empty());
    releaseGlobals();
    EXPECT_EQ(recognitionEngine, nullptr);
    EXPECT_EQ(synthesisEngine, nullptr);
    EXPECT_EQ(callNames(), (Names{"MSPLogout", "MSPLogout"})) << "without any login";
}

}  // namespace
}  // namespace lumoset::test
