/* Error codes of the speech library libmsc.so. Every function that reports an outcome reports
 * one of these; 0 is success. */
#ifndef LUMOSET_MSC_ERRORS_H
#define LUMOSET_MSC_ERRORS_H

enum {
    MSC_OK = 0,
    /* eSpeak NG or PocketSphinx failed, or memory ran out. */
    MSC_ERROR_ENGINE = 10100,
    /* A session was asked for while nobody is logged in. */
    MSC_ERROR_NOT_LOGGED_IN = 10101,
    /* A pointer argument that the call needs is null. */
    MSC_ERROR_NULL_ARGUMENT = 10102,
    /* A parameter string holds a part without "=" or with an empty key. */
    MSC_ERROR_MALFORMED_PARAMETERS = 10103,
    /* A parameter string holds a key that the call does not take. */
    MSC_ERROR_UNKNOWN_PARAMETER = 10104,
    /* A parameter value is outside what its key allows (a speed of letters, an unknown voice). */
    MSC_ERROR_INVALID_VALUE = 10105,
    /* A value that its key knows but this library does not offer (compressed output, json). */
    MSC_ERROR_UNSUPPORTED_VALUE = 10106,
    /* The login parameters carry no "appid" or an empty one. */
    MSC_ERROR_MISSING_APPID = 10107,
    /* No open session has this id: never begun, already ended, or a session of the other kind.
     * The same number the speech engine reports for a call without a session id. */
    MSC_ERROR_INVALID_SESSION = 10108,
    /* The text is not valid in the encoding its session declared. */
    MSC_ERROR_TEXT_ENCODING = 10109,
    /* No recognition model is installed for the session's language and accent. */
    MSC_ERROR_NO_MODEL = 10110,
    /* A call out of order: audio asked for before any text was put, audio written after the
     * last chunk. */
    MSC_ERROR_SESSION_STATE = 10111,
    /* An audio status other than 1, 2 or 4. */
    MSC_ERROR_INVALID_AUDIO_STATUS = 10112,
    /* The caller's buffer can't hold the answer with its terminating zero. */
    MSC_ERROR_BUFFER_TOO_SMALL = 10113
};

#endif
