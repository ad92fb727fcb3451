// The one way into the speech library: login, synthesis sessions, recognition sessions.
#pragma once

#include "audio/audio_player.h"
#include "text/types.h"

namespace lumoset {

// Settings of a synthesis session, in the order the parameter string lists them. Every text is
// put into the string unchanged; an omitted setting is empty text or 0.
struct SynthesisSettings {
    Text engineType;
    int voice = 0;  // index of the voice list; negative means the first voice
    Text speed;
    Text volume;
    Text pitch;
    Text resourcePath;  // empty: the default path, which is also stored back here
    Text rdn;
    Text rcn;
    Text textEncoding;  // empty: "GB2312", which is also stored back here
    Text sampleRate;
    Text backgroundSound;
    Text audioEncoding;
    Text ttp;
    int speedIncrease = 0;  // 1 or less: normal, 2: double, 3: fourfold
    Text effect;
};

// Settings of a recognition session as codes; a code without a meaning of its own takes the
// last meaning of its setting (see beginRecognition).
struct RecognitionSettings {
    int sub = 0;
    int domain = 0;
    int resultType = 0;
    int resultEncoding = 0;
    int language = 0;
    int accent = 0;
    int sampleRate = 0;
    int ptt = 0;
    int unusedNumber1 = 0;  // accepted and not used
    Text audioEncoding;     // empty: "speex-wb;7"
    int unusedNumber2 = 0;  // accepted and not used
    Text vadBos;            // empty: "10000"
    Text vadEos;            // empty: "2000"
};

// A session is named by the id the library gave when it began; empty means no session. The
// engine keeps no session state: callers hold the id.
class SpeechEngine {
  public:
    // Constructs the player, writes the speech library into the library folder when missing and
    // starts the audio output (its result is ignored).
    SpeechEngine();
    // Logs out of the library, whether or not a login happened, then tears down the player.
    ~SpeechEngine();
    SpeechEngine(const SpeechEngine& other) = default;
    SpeechEngine& operator=(const SpeechEngine&) = delete;

    // Logs in with "appid=" + the application id; returns the library's code, 0 for success.
    int login(const Text& applicationId = {});

    // Opens a synthesis session; empty when the library refused it.
    Text beginSynthesis(SynthesisSettings& settings);
    Text beginSynthesis(SynthesisSettings&& settings = {}) { return beginSynthesis(settings); }

    // All audio of `text` (16 kHz 16-bit mono PCM); empty when the text was refused or the
    // library failed on the way. Window events are dispatched once per chunk.
    Bytes synthesizeText(const Text& sessionId, const Text& text);

    // Synthesizes `text` with default settings and plays it to its end on `player`, keeping the
    // calling thread's windows alive meanwhile.
    void speakText(const Text& text);

    // Closes a synthesis session; 10108 without a library call when there is none.
    int endSynthesis(const Text& sessionId);

    // The audio with a 44-byte WAV header in front.
    Bytes wrapWav(const Bytes& audio) const;

    // Opens a recognition session; empty when the library refused it.
    Text beginRecognition(const RecognitionSettings& settings = {});

    // Sends `audio` in chunks of `chunkSize` bytes (0: 5120) and gathers the recognized text, or
    // one of the two error texts with the library's code. Every full chunk sent is removed from
    // `audio`, which ends holding the last, partial one.
    Text recognizeAudio(const Text& sessionId, Bytes& audio, int chunkSize = 0);

    // Closes a recognition session; 10108 without a library call when there is none.
    int endRecognition(const Text& sessionId);

    // Asks the library for the session's "sid"; the answer is not kept.
    void querySessionId(const Text& sessionId);

    AudioPlayer player;
};

// What endSynthesis and endRecognition answer for an empty session id.
inline constexpr int noSessionCode = 10108;

}  // namespace lumoset
