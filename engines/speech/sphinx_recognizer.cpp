#include "engines/speech/sphinx_recognizer.h"

#include <err.h>
#include <pocketsphinx.h>

#include <algorithm>
#include <mutex>

namespace lumoset::msc {

namespace {

std::mutex sphinxMutex;

}  // namespace

std::unique_ptr<SphinxRecognizer> SphinxRecognizer::create(const ModelFiles& model,
                                                           const std::string& grammar,
                                                           int endSilenceMs) {
    std::lock_guard lock(sphinxMutex);
    // The library's own log would go to standard error.
    err_set_logfp(nullptr);
    const bool useGrammar = !grammar.empty() || !model.grammar.empty();
    const std::string searchFile = !grammar.empty()         ? grammar
                                   : !model.grammar.empty() ? model.grammar.string()
                                                            : model.languageModel.string();
    // The detector counts 10 ms frames. Its threshold sits above the default so that digital
    // silence does not start an utterance.
    const std::string silenceFrames =
        std::to_string(endSilenceMs > 0 ? std::max(1, endSilenceMs / 10) : 1 << 30);
    cmd_ln_t* config =
        cmd_ln_init(nullptr, ps_args(), TRUE, "-hmm", model.acousticModel.c_str(), "-dict",
                    model.dictionary.c_str(), useGrammar ? "-jsgf" : "-lm", searchFile.c_str(),
                    "-vad_postspeech", silenceFrames.c_str(), "-vad_threshold", "3.5", nullptr);
    if (config == nullptr) {
        return nullptr;
    }
    ps_decoder_t* decoder = ps_init(config);
    cmd_ln_free_r(config);
    if (decoder == nullptr) {
        return nullptr;
    }
    return std::unique_ptr<SphinxRecognizer>(new SphinxRecognizer(decoder));
}

SphinxRecognizer::~SphinxRecognizer() {
    std::lock_guard lock(sphinxMutex);
    ps_free(decoder_);
}

bool SphinxRecognizer::feed(const short* samples, std::size_t count) {
    std::lock_guard lock(sphinxMutex);
    if (!started_) {
        ps_start_utt(decoder_);
        started_ = true;
    }
    ps_process_raw(decoder_, samples, count, FALSE, FALSE);
    return ps_get_in_speech(decoder_) != 0;
}

std::string SphinxRecognizer::finish() {
    std::lock_guard lock(sphinxMutex);
    if (!started_) {
        return {};
    }
    started_ = false;
    ps_end_utt(decoder_);
    int score = 0;
    const char* words = ps_get_hyp(decoder_, &score);
    return words == nullptr ? std::string() : std::string(words);
}

}  // namespace lumoset::msc
