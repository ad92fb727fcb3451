// Where the recognition models of each language lie.
#pragma once

#include <filesystem>
#include <optional>
#include <string>

namespace lumoset::msc {

// The environment variable naming a folder of further models, one subfolder per model name
// ("en_us", "zh_cn", "zh_cn-cantonese", ...).
inline constexpr const char* modelsVariable = "LUMOSET_SPEECH_MODELS";

struct ModelFiles {
    std::filesystem::path acousticModel;  // folder holding "mdef"
    std::filesystem::path dictionary;
    std::filesystem::path languageModel;  // empty when a grammar is used
    std::filesystem::path grammar;        // JSGF; empty when the language model is used
};

// The model for `name`: from the folder named by LUMOSET_SPEECH_MODELS when it has a complete
// one, otherwise Debian's US English model for "en_us". A subfolder is complete with an acoustic
// model folder (itself or a subfolder holding "mdef"), a dictionary (*.dict, *.dic) and a JSGF
// grammar (*.jsgf, *.gram) or a language model (*.lm.bin, *.lm, *.dmp); where several files
// fit, the first in name order is taken, and a grammar is preferred to a language model.
std::optional<ModelFiles> findModel(const std::string& name);

}  // namespace lumoset::msc
