// A broken promise found by a fuzz target ends the run, so that libFuzzer keeps the input.
#pragma once

#include <cstdlib>

namespace lumoset::fuzz {

inline void check(bool holds) {
    if (!holds) {
        std::abort();
    }
}

}  // namespace lumoset::fuzz
