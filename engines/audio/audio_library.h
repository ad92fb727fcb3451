/* The audio library's C interface (libbass.so): one output device, any number of streams mixed
 * onto it. Streams play WAV data from a file, from memory or from an http(s) address.
 *
 * Every function reports failure as a value (0, a null pointer or -1, as each says) and never
 * aborts; lumoset_audio_last_error() tells the calling thread why its last call failed. All
 * functions may be called from any thread at any time. */
#ifndef LUMOSET_AUDIO_LIBRARY_H
#define LUMOSET_AUDIO_LIBRARY_H

#include <stdint.h>

#define LUMOSET_AUDIO_API __attribute__((visibility("default")))

#ifdef __cplusplus
extern "C" {
#endif

/* A stream; 0 names no stream. */
typedef uint32_t AudioStreamHandle;

/* Receives each block of bytes a network stream downloads, on the download's own thread, and a
 * last call with data null and length 0 when the download ends. */
typedef void AudioDownloadCallback(const void* data, uint32_t length, void* user);

/* Devices for BASS_Init: the system's default output, or a silent device that consumes sound in
 * real time without playing it. Devices 1, 2, ... are the system's outputs in their order. */
#define LUMOSET_AUDIO_DEFAULT_DEVICE (-1)
#define LUMOSET_AUDIO_SILENT_DEVICE 0

/* Modes for positions and lengths: bytes in the stream's own format. */
#define LUMOSET_AUDIO_BYTES 0u

/* The data request: 128 magnitudes of a 256-sample FFT of what the stream played last. */
#define LUMOSET_AUDIO_FFT256 0x80000000u

/* Tags request: the WAV's INFO entries as "ID=value" lines. */
#define LUMOSET_AUDIO_TAGS_INFO 0u

/* Activity of a stream. */
#define LUMOSET_AUDIO_STOPPED 0u
#define LUMOSET_AUDIO_PLAYING 1u
#define LUMOSET_AUDIO_STALLED 2u
#define LUMOSET_AUDIO_PAUSED 3u

/* Why the calling thread's last call failed. */
enum LumosetAudioError {
    lumosetAudioOk = 0,
    lumosetAudioNotInitialised = 1, /* no BASS_Init yet, or BASS_Free since */
    lumosetAudioAlready = 2,        /* BASS_Init while the device is open */
    lumosetAudioNoDevice = 3,       /* no such device, or it could not be opened */
    lumosetAudioBadHandle = 4,      /* no stream of that handle */
    lumosetAudioBadArgument = 5,    /* an argument out of range, or an unsupported mode */
    lumosetAudioFileOpen = 6,       /* the file could not be opened or read */
    lumosetAudioFormat = 7,         /* not a playable WAV */
    lumosetAudioNetwork = 8,        /* the address could not be fetched */
    lumosetAudioNotPlaying = 9,     /* pausing a stream that does not play */
    lumosetAudioNotAvailable = 10   /* no tags, or the length of a download of unknown size */
};

/* Opens the output device at `frequency` Hz. `window` and `reserved` are not used. Returns 1, or
 * 0 when the device can't be opened or is open already (the open device stays as it is). */
LUMOSET_AUDIO_API int32_t BASS_Init(int32_t device, uint32_t frequency, uint32_t flags,
                                    void* window, const void* reserved);

/* Closes the device and frees every stream. Returns 1, or 0 when it was not open. */
LUMOSET_AUDIO_API int32_t BASS_Free(void);

/* A stream of WAV data. With `memory` 0, `file` is a zero-terminated path and the WAV begins
 * `offset` bytes into the file and spans `length` bytes (0: to the end of the file). With
 * `memory` 1, `file` points at a block of `length` bytes that the caller keeps unchanged and
 * alive until it frees the stream, and the WAV begins `offset` bytes into it. `flags` is not
 * used. Returns the new stream, stopped at position 0, or 0. */
LUMOSET_AUDIO_API AudioStreamHandle BASS_StreamCreateFile(int32_t memory, const void* file,
                                                          int64_t offset, int64_t length,
                                                          uint32_t flags);

/* A stream of WAV data fetched from an http or https address, starting `offset` bytes into the
 * resource. Returns once the WAV's header has arrived (0 when it can't be fetched or is no
 * playable WAV); the rest downloads while the stream plays. `download`, when not null, sees
 * every block. */
LUMOSET_AUDIO_API AudioStreamHandle BASS_StreamCreateURL(const char* url, uint32_t offset,
                                                         uint32_t flags,
                                                         AudioDownloadCallback* download,
                                                         void* user);

/* Plays from the start (`restart` 1) or from the current position (`restart` 0; a stream that
 * has played to its end starts again). Returns 1 or 0. */
LUMOSET_AUDIO_API int32_t BASS_ChannelPlay(AudioStreamHandle handle, int32_t restart);

/* Pauses a playing or stalled stream, keeping its position. Returns 1 or 0. */
LUMOSET_AUDIO_API int32_t BASS_ChannelPause(AudioStreamHandle handle);

/* Stops a stream, keeping its position. Returns 1 or 0. */
LUMOSET_AUDIO_API int32_t BASS_ChannelStop(AudioStreamHandle handle);

/* The position in bytes of the stream's own format: how much has gone to the device. -1 on
 * error. */
LUMOSET_AUDIO_API int64_t BASS_ChannelGetPosition(AudioStreamHandle handle, uint32_t mode);

/* Moves to a byte position (rounded down to a whole frame) between 0 and the length. Returns 1
 * or 0. */
LUMOSET_AUDIO_API int32_t BASS_ChannelSetPosition(AudioStreamHandle handle, int64_t position,
                                                  uint32_t mode);

/* The length in bytes of the stream's own format; -1 on error or while a download of unknown
 * size goes on. */
LUMOSET_AUDIO_API int64_t BASS_ChannelGetLength(AudioStreamHandle handle, uint32_t mode);

/* The stream's tags as a zero-terminated text that lives as long as the stream; null when it
 * has none. */
LUMOSET_AUDIO_API const char* BASS_ChannelGetTags(AudioStreamHandle handle, uint32_t tags);

/* One of the activity codes above; stopped for a handle that names no stream. */
LUMOSET_AUDIO_API uint32_t BASS_ChannelIsActive(AudioStreamHandle handle);

/* Frees a stream. Returns 1 or 0. */
LUMOSET_AUDIO_API int32_t BASS_StreamFree(AudioStreamHandle handle);

/* With `length` LUMOSET_AUDIO_FFT256: writes 128 floats into `buffer` and returns 512, the bytes
 * written. -1 on error. */
LUMOSET_AUDIO_API int32_t BASS_ChannelGetData(AudioStreamHandle handle, void* buffer,
                                              uint32_t length);

/* The master volume of the device, 0 to 1. Returns 1 or 0. */
LUMOSET_AUDIO_API int32_t BASS_SetVolume(float volume);

/* The master volume, or -1 when the device is not open. */
LUMOSET_AUDIO_API float BASS_GetVolume(void);

/* Conversions between bytes of the stream's format and seconds; -1 on error. */
LUMOSET_AUDIO_API double BASS_ChannelBytes2Seconds(AudioStreamHandle handle, int64_t bytes);
LUMOSET_AUDIO_API int64_t BASS_ChannelSeconds2Bytes(AudioStreamHandle handle, double seconds);

/* Why the calling thread's last call failed (lumosetAudioOk when it succeeded). */
LUMOSET_AUDIO_API int32_t lumoset_audio_last_error(void);

#ifdef __cplusplus
}
#endif

#endif
