#include "engines/speech/speech_models.h"

#include <algorithm>
#include <cstdlib>
#include <initializer_list>
#include <string_view>
#include <vector>

#include "engines/speech/parameters.h"

namespace lumoset::msc {

namespace fs = std::filesystem;

namespace {

std::vector<fs::path> sortedEntries(const fs::path& folder) {
    std::vector<fs::path> entries;
    std::error_code error;
    for (const fs::directory_entry& entry : fs::directory_iterator(folder, error)) {
        entries.push_back(entry.path());
    }
    std::sort(entries.begin(), entries.end());
    return entries;
}

fs::path firstFileEndingIn(const std::vector<fs::path>& entries,
                           std::initializer_list<std::string_view> endings) {
    for (const fs::path& entry : entries) {
        const std::string name = asciiLowerCopy(entry.filename().string());
        for (std::string_view ending : endings) {
            std::error_code error;
            if (name.size() > ending.size() && name.ends_with(ending) &&
                fs::is_regular_file(entry, error)) {
                return entry;
            }
        }
    }
    return {};
}

std::optional<ModelFiles> modelInFolder(const fs::path& folder) {
    const std::vector<fs::path> entries = sortedEntries(folder);
    ModelFiles model;
    std::error_code error;
    if (fs::is_regular_file(folder / "mdef", error)) {
        model.acousticModel = folder;
    }
    for (const fs::path& entry : entries) {
        if (model.acousticModel.empty() && fs::is_regular_file(entry / "mdef", error)) {
            model.acousticModel = entry;
        }
    }
    model.dictionary = firstFileEndingIn(entries, {".dict", ".dic"});
    model.grammar = firstFileEndingIn(entries, {".jsgf", ".gram"});
    if (model.grammar.empty()) {
        model.languageModel = firstFileEndingIn(entries, {".lm.bin", ".lm", ".dmp"});
    }
    if (model.acousticModel.empty() || model.dictionary.empty() ||
        (model.grammar.empty() && model.languageModel.empty())) {
        return std::nullopt;
    }
    return model;
}

}  // namespace

std::optional<ModelFiles> findModel(const std::string& name) {
    const char* folder = std::getenv(modelsVariable);
    if (folder != nullptr && *folder != '\0') {
        if (auto model = modelInFolder(fs::path(folder) / name)) {
            return model;
        }
    }
    if (name == "en_us") {
        const fs::path debian = LUMOSET_SPHINX_MODEL_DIR "/en-us";
        ModelFiles model{
            debian / "en-us", debian / "cmudict-en-us.dict", debian / "en-us.lm.bin", {}};
        std::error_code error;
        if (fs::is_regular_file(model.acousticModel / "mdef", error) &&
            fs::is_regular_file(model.dictionary, error) &&
            fs::is_regular_file(model.languageModel, error)) {
            return model;
        }
    }
    return std::nullopt;
}

}  // namespace lumoset::msc
