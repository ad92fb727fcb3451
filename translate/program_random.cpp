#include "translate/program_random.h"

#include <chrono>
#include <mutex>
#include <random>

namespace lumoset {

namespace {

std::mutex generatorLock;

std::mt19937& generator() {
    static std::mt19937 engine;
    return engine;
}

}  // namespace

int drawRandom(int low, int high) {
    std::lock_guard<std::mutex> hold(generatorLock);
    return std::uniform_int_distribution<int>(low, high)(generator());
}

void seedRandomFromClock() {
    const auto now = std::chrono::system_clock::now().time_since_epoch();
    std::lock_guard<std::mutex> hold(generatorLock);
    generator().seed(static_cast<std::mt19937::result_type>(
        std::chrono::duration_cast<std::chrono::nanoseconds>(now).count()));
}

}  // namespace lumoset
