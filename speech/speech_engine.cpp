#include "speech/speech_engine.h"

#include "app/shell/companion_library.h"
#include "speech/msc_binding.h"
#include "speech/wav_header.h"

namespace lumoset {

SpeechEngine::SpeechEngine() {
    ensureCompanionLibrary(speechLibraryFile, speechLibraryImage());
    player.initialise();
}

SpeechEngine::~SpeechEngine() {
    LUMOSET_MSC(MSPLogout)();
}

int SpeechEngine::login(const Text& applicationId) {
    const Text parameters = "appid=" + applicationId;
    return LUMOSET_MSC(MSPLogin)("", "", parameters.c_str());
}

Bytes SpeechEngine::wrapWav(const Bytes& audio) const {
    return lumoset::wrapWav(audio);
}

}  // namespace lumoset
