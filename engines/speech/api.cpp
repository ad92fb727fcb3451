// The functions libmsc.so exports.
#include "engines/speech/msc.h"
#include "engines/speech/recognition_session.h"
#include "engines/speech/sessions.h"
#include "engines/speech/synthesis_session.h"

#define MSC_EXPORT extern "C" __attribute__((visibility("default")))

using namespace lumoset::msc;

namespace {

// Reports `error` through the caller's variable when there is one.
template <class Result>
Result withError(int* errorCode, int error, Result result) {
    if (errorCode != nullptr) {
        *errorCode = error;
    }
    return result;
}

}  // namespace

MSC_EXPORT int MSPLogin(const char*, const char*, const char* parameters) {
    return login(parameters);
}

MSC_EXPORT int MSPLogout(void) {
    logout();
    return MSC_OK;
}

MSC_EXPORT const char* QTTSSessionBegin(const char* parameters, int* errorCode) {
    int error = MSC_OK;
    const char* id = beginSynthesisSession(parameters, error);
    return withError(errorCode, error, id);
}

MSC_EXPORT int QTTSTextPut(const char* sessionId, const char* text, unsigned int length,
                           const char* parameters) {
    return putSynthesisText(sessionId, text, length, parameters);
}

MSC_EXPORT const void* QTTSAudioGet(const char* sessionId, unsigned int* audioLength,
                                    int* synthesisStatus, int* errorCode) {
    int error = MSC_OK;
    const void* audio = nextSynthesisAudio(sessionId, audioLength, synthesisStatus, error);
    return withError(errorCode, error, audio);
}

MSC_EXPORT int QTTSSessionEnd(const char* sessionId, const char*) {
    return endSynthesisSession(sessionId);
}

MSC_EXPORT const char* QISRSessionBegin(const char* grammarList, const char* parameters,
                                        int* errorCode) {
    int error = MSC_OK;
    const char* id = beginRecognitionSession(grammarList, parameters, error);
    return withError(errorCode, error, id);
}

MSC_EXPORT int QISRAudioWrite(const char* sessionId, const void* audio, unsigned int length,
                              int audioStatus, int* endpointStatus, int* recognitionStatus) {
    return writeRecognitionAudio(sessionId, audio, length, audioStatus, endpointStatus,
                                 recognitionStatus);
}

MSC_EXPORT const char* QISRGetResult(const char* sessionId, int* resultStatus, int,
                                     int* errorCode) {
    int error = MSC_OK;
    const char* text = nextRecognitionResult(sessionId, resultStatus, error);
    return withError(errorCode, error, text);
}

MSC_EXPORT int QISRSessionEnd(const char* sessionId, const char*) {
    return endRecognitionSession(sessionId);
}

MSC_EXPORT int QISRGetParam(const char* sessionId, const char* name, char* value,
                            unsigned int* valueLength) {
    return recognitionParameter(sessionId, name, value, valueLength);
}
