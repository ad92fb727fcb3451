// Synthesis sessions: parameters in, text in, audio out in chunks.
#pragma once

namespace lumoset::msc {

const char* beginSynthesisSession(const char* parameters, int& error);
int putSynthesisText(const char* sessionId, const char* text, unsigned int length,
                     const char* parameters);
const void* nextSynthesisAudio(const char* sessionId, unsigned int* audioLength, int* status,
                               int& error);
int endSynthesisSession(const char* sessionId);

}  // namespace lumoset::msc
