/* The speech library libmsc.so: login, synthesis sessions and recognition sessions behind a
 * small C interface. Sessions are named by the zero-terminated id that their begin call returns.
 * Texts are zero-terminated byte strings unless a length is given. Every pointer the library
 * returns stays valid until the next call on the same session.
 *
 * Parameter strings are "key=value" parts joined by commas; empty parts are skipped, keys are
 * compared without regard to case, and an empty value means the key's default. */
#ifndef LUMOSET_MSC_H
#define LUMOSET_MSC_H

#include "engines/speech/msc_errors.h"

#ifdef __cplusplus
extern "C" {
#endif

/* Synthesis status set by QTTSAudioGet. */
enum { MSC_TTS_MORE_AUDIO = 1, MSC_TTS_AUDIO_COMPLETE = 2 };

/* Audio status passed to QISRAudioWrite. */
enum { MSC_AUDIO_FIRST = 1, MSC_AUDIO_CONTINUE = 2, MSC_AUDIO_LAST = 4 };

/* End-point status set by QISRAudioWrite. */
enum { MSC_ENDPOINT_WAITING = 0, MSC_ENDPOINT_IN_SPEECH = 1, MSC_ENDPOINT_AFTER_SPEECH = 3 };

/* Recognition status set by QISRAudioWrite. */
enum { MSC_RECOGNITION_RESULT_READY = 0, MSC_RECOGNITION_NO_RESULT = 1 };

/* Result status set by QISRGetResult. */
enum { MSC_RESULT_INCOMPLETE = 0, MSC_RESULT_COMPLETE = 5 };

/* Starts the process-wide login. `parameters` must hold a non-empty "appid". User name and
 * password are not checked. A second login replaces the first. */
int MSPLogin(const char* user, const char* password, const char* parameters);

/* Ends the process-wide login: no session can be begun until the next login. Sessions already
 * open run on until they are ended. */
int MSPLogout(void);

/* Opens a synthesis session. Keys: engine_type, voice_name, speed, volume, pitch, tts_res_path,
 * rdn, rcn, text_encoding, sample_rate, background_sound, aue, ttp, speed_increase, effect.
 * Returns the session id, or null with the reason in `*errorCode`. */
const char* QTTSSessionBegin(const char* parameters, int* errorCode);

/* Synthesizes `length` bytes of text in the session's text encoding. The audio is then fetched
 * with QTTSAudioGet. `parameters` takes no keys. */
int QTTSTextPut(const char* sessionId, const char* text, unsigned int length,
                const char* parameters);

/* The next chunk of 16-bit little-endian mono PCM, its length in `*audioLength`. The status
 * becomes MSC_TTS_AUDIO_COMPLETE with the last chunk; after that the call answers null with
 * length 0. */
const void* QTTSAudioGet(const char* sessionId, unsigned int* audioLength, int* synthesisStatus,
                         int* errorCode);

/* Closes a synthesis session; its id and audio are gone afterwards. `hints` is not used. */
int QTTSSessionEnd(const char* sessionId, const char* hints);

/* Opens a recognition session. `grammarList` may name a JSGF grammar file that limits what is
 * recognized; empty means the language's own model. Keys: sub, domain, result_type,
 * result_encoding, language, accent, sample_rate, ptt, aue, vad_bos, vad_eos. Returns the
 * session id, or null with the reason in `*errorCode`. */
const char* QISRSessionBegin(const char* grammarList, const char* parameters, int* errorCode);

/* Feeds raw 16-bit little-endian mono PCM at the session's sample rate. Decoding happens here;
 * the end-point status tells where the speaker is, the recognition status whether a piece of
 * result is ready. */
int QISRAudioWrite(const char* sessionId, const void* audio, unsigned int length, int audioStatus,
                   int* endpointStatus, int* recognitionStatus);

/* The next piece of recognized text in the session's result encoding, or null when none is
 * ready; `*resultStatus` becomes MSC_RESULT_COMPLETE once the whole result has been handed
 * out. Decoding is done by the writes, so nothing is waited for; `waitTime` is accepted. */
const char* QISRGetResult(const char* sessionId, int* resultStatus, int waitTime, int* errorCode);

/* Closes a recognition session. `hints` is not used. */
int QISRSessionEnd(const char* sessionId, const char* hints);

/* Copies the named session parameter, zero-terminated, into `value` of `*valueLength` bytes and
 * sets `*valueLength` to its length without the zero. Names: "sid", the session id. */
int QISRGetParam(const char* sessionId, const char* name, char* value, unsigned int* valueLength);

#ifdef __cplusplus
}
#endif

#endif
