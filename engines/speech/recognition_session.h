// Recognition sessions: parameters in, audio in chunks, recognized text out.
#pragma once

namespace lumoset::msc {

const char* beginRecognitionSession(const char* grammarList, const char* parameters, int& error);
int writeRecognitionAudio(const char* sessionId, const void* audio, unsigned int length,
                          int audioStatus, int* endpointStatus, int* recognitionStatus);
const char* nextRecognitionResult(const char* sessionId, int* resultStatus, int& error);
int endRecognitionSession(const char* sessionId);
int recognitionParameter(const char* sessionId, const char* name, char* value,
                         unsigned int* valueLength);

}  // namespace lumoset::msc
