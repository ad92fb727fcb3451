/* What the fake audio library offers tests besides the library's own functions. */
#ifndef LUMOSET_FAKE_AUDIO_EXPORTS_H
#define LUMOSET_FAKE_AUDIO_EXPORTS_H

#include <stdint.h>

#include "engines/audio/audio_library.h"

#ifdef __cplusplus
extern "C" {
#endif

/* Every call since the last clear, one line each: "BASS_ChannelPlay(7, 1)". */
LUMOSET_AUDIO_API const char* fake_audio_calls(void);

/* Forgets the calls and every queued answer. */
LUMOSET_AUDIO_API void fake_audio_clear(void);

/* Queues the result of the next call of `function` that has no earlier answer queued. */
LUMOSET_AUDIO_API void fake_audio_answer(const char* function, double result);

/* Queues the text the next BASS_ChannelGetTags returns (null: none). */
LUMOSET_AUDIO_API void fake_audio_answer_tags(const char* text);

/* Queues what the next BASS_ChannelGetData writes (128 floats) and returns. */
LUMOSET_AUDIO_API void fake_audio_answer_data(const float* magnitudes, int32_t result);

#ifdef __cplusplus
}
#endif

#endif
