// Calls into the speech library, bound by name on first use with the signatures of msc.h.
#pragma once

#include "app/shell/companion_library.h"
#include "engines/speech/msc.h"

// The library function `name`, e.g. LUMOSET_MSC(MSPLogin)("", "", "appid=...").
#define LUMOSET_MSC(name) \
    (::lumoset::bindFunction<decltype(::name)>(::lumoset::speechLibraryFile, #name))
