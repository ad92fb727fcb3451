// The 44-byte RIFF/WAVE header put in front of synthesized speech.
#pragma once

#include "text/types.h"

namespace lumoset {

// The canonical header for PCM, one channel, 16,000 samples a second, 16 bits, followed by
// `audio` unchanged. The header always declares that format; both size fields are taken from
// the whole input, so an odd length is declared as it is and no pad byte is added.
Bytes wrapWav(const Bytes& audio);

}  // namespace lumoset
