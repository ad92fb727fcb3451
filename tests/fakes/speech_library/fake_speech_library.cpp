#include "tests/fakes/speech_library/fake_speech_library.h"

#include <filesystem>

#include "app/shell/companion_library.h"
#include "tests/support/test_support.h"

namespace lumoset::test::fakeSpeech {

namespace {

template <class Function>
Function* control(const char* name) {
    return bindFunction<Function>(speechLibraryFile, name);
}

}  // namespace

std::string Call::operator[](std::size_t index) const {
    const auto& argument = arguments.at(index);
    return argument ? *argument : "<null>";
}

void install() {
    installLibrary(LUMOSET_FAKE_SPEECH_LIBRARY, speechLibraryFile);
}

void reset() {
    control<void()>("FakeMscReset")();
}

void script(const std::string& function, std::optional<std::string> text, int a, int b, int c) {
    control<void(const char*, const char*, unsigned int, int, int, int)>("FakeMscScript")(
        function.c_str(), text ? text->data() : nullptr,
        text ? static_cast<unsigned int>(text->size()) : 0, a, b, c);
}

std::vector<Call> calls() {
    auto count = control<int()>("FakeMscCallCount");
    auto name = control<const char*(int)>("FakeMscCallName");
    auto argumentCount = control<int(int)>("FakeMscArgumentCount");
    auto argument = control<const char*(int, int, unsigned int*)>("FakeMscArgument");
    std::vector<Call> recorded;
    for (int i = 0; i < count(); ++i) {
        Call call{name(i), {}};
        for (int j = 0; j < argumentCount(i); ++j) {
            unsigned int length = 0;
            const char* bytes = argument(i, j, &length);
            call.arguments.push_back(bytes == nullptr ? std::nullopt
                                                      : std::optional(std::string(bytes, length)));
        }
        recorded.push_back(std::move(call));
    }
    return recorded;
}

std::vector<Call> callsOf(const std::string& function) {
    std::vector<Call> matching;
    for (Call& call : calls()) {
        if (call.name == function) {
            matching.push_back(std::move(call));
        }
    }
    return matching;
}

std::vector<std::string> callNames() {
    std::vector<std::string> names;
    for (const Call& call : calls()) {
        names.push_back(call.name);
    }
    return names;
}

}  // namespace lumoset::test::fakeSpeech
