// The test side of the recording speech library: install it, script it, read what it saw.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace lumoset::test::fakeSpeech {

struct Call {
    std::string name;
    std::vector<std::optional<std::string>> arguments;  // nullopt for a null pointer

    // The argument as text; "<null>" for a null pointer.
    std::string operator[](std::size_t index) const;
};

// Puts the fake into the library folder as the speech library. Call before anything binds it.
void install();

// Forgets the recorded calls and the script.
void reset();

// Queues the next answer of `function` (see FakeMscScript in fake_msc.cpp for the meanings).
void script(const std::string& function, std::optional<std::string> text, int a = 0, int b = 0,
            int c = 0);

std::vector<Call> calls();
std::vector<Call> callsOf(const std::string& function);
std::vector<std::string> callNames();

}  // namespace lumoset::test::fakeSpeech
