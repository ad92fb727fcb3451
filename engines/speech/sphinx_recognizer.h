// One PocketSphinx decoder: 16 kHz samples in, the words of one utterance out.
#pragma once

#include <cstddef>
#include <memory>
#include <string>

#include "engines/speech/speech_models.h"

struct ps_decoder_s;

namespace lumoset::msc {

// A decoder of its own per session: PocketSphinx adapts to the speaker as it goes, so a shared
// one would let one session's audio change another's result. Every PocketSphinx call runs under
// one process-wide lock.
class SphinxRecognizer {
  public:
    // A decoder with `model`, limited to the JSGF `grammar` when one is given. The voice
    // detector calls speech over after `endSilenceMs` of silence (0: never). Null when
    // PocketSphinx refuses the model.
    static std::unique_ptr<SphinxRecognizer> create(const ModelFiles& model,
                                                    const std::string& grammar, int endSilenceMs);
    ~SphinxRecognizer();
    SphinxRecognizer(const SphinxRecognizer&) = delete;
    SphinxRecognizer& operator=(const SphinxRecognizer&) = delete;

    // Decodes samples; returns whether the voice detector hears speech at their end.
    bool feed(const short* samples, std::size_t count);

    // Ends the utterance and returns its words in UTF-8, empty when none were heard.
    std::string finish();

  private:
    explicit SphinxRecognizer(ps_decoder_s* decoder) : decoder_(decoder) {}
    ps_decoder_s* decoder_;
    bool started_ = false;
};

}  // namespace lumoset::msc
