// Speed and memory of the speech library. Counters: "audio_s_per_s" is seconds of audio made or
// heard per second of work (the inverse of the real-time factor); "rss_MiB" is the resident size
// of the process while a recognition session holds its decoder, "rss_growth_MiB" what that
// session added.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstring>
#include <fstream>
#include <string>

#include "engines/speech/msc.h"

namespace {

const char* const mandarin = "voice_name=xiaoyan,text_encoding=UTF8";
const char* const english = "voice_name=john,text_encoding=UTF8";
const char* const greeting = "欢迎使用文字转语音软件";
const char* const paragraph =
    "Open the door and turn on the light. What time is it? Call my mother and tell her the "
    "weather is nice today. Play some music while I read the news.";
const char* const listening = "language=en_us,result_encoding=utf8,ptt=0,vad_eos=0,vad_bos=0";

void loginOnce() {
    static const bool done = MSPLogin("", "", "appid=bench") == 0;
    (void)done;
}

std::string synthesize(const char* parameters, const char* text) {
    int error = 0;
    const std::string id = QTTSSessionBegin(parameters, &error);
    QTTSTextPut(id.c_str(), text, static_cast<unsigned int>(std::strlen(text)), "");
    std::string audio;
    int status = 0;
    while (status != MSC_TTS_AUDIO_COMPLETE && error == 0) {
        unsigned int length = 0;
        const void* chunk = QTTSAudioGet(id.c_str(), &length, &status, &error);
        if (chunk != nullptr) {
            audio.append(static_cast<const char*>(chunk), length);
        }
    }
    QTTSSessionEnd(id.c_str(), "");
    return audio;
}

double residentMiB() {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind("VmRSS:", 0) == 0) {
            return std::stod(line.substr(6)) / 1024.0;
        }
    }
    return 0;
}

void synthesis(benchmark::State& state, const char* parameters, const char* text) {
    loginOnce();
    double seconds = 0;
    for (auto _ : state) {
        seconds += static_cast<double>(synthesize(parameters, text).size()) / 32000.0;
    }
    state.counters["audio_s_per_s"] = benchmark::Counter(seconds, benchmark::Counter::kIsRate);
}
BENCHMARK_CAPTURE(synthesis, mandarin_greeting, mandarin, greeting)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(synthesis, english_paragraph, english, paragraph)->Unit(benchmark::kMillisecond);

// One whole session over 5120-byte chunks, decoder creation included, as the speech-to-text
// window runs it (without its pacing sleeps).
void recognition(benchmark::State& state, const char* grammar) {
    loginOnce();
    const std::string audio = std::string(8000, '\0') + synthesize(english, paragraph);
    double seconds = 0;
    double resident = 0;
    double growth = 0;
    for (auto _ : state) {
        const double before = residentMiB();
        int error = 0;
        const std::string id = QISRSessionBegin(grammar, listening, &error);
        int endpoint = 0;
        int ready = 0;
        for (std::size_t start = 0; start <= audio.size(); start += 5120) {
            const std::size_t length = std::min<std::size_t>(5120, audio.size() - start);
            QISRAudioWrite(id.c_str(), audio.data() + start, static_cast<unsigned int>(length),
                           length == 5120 ? MSC_AUDIO_CONTINUE : MSC_AUDIO_LAST, &endpoint, &ready);
        }
        int status = 0;
        benchmark::DoNotOptimize(QISRGetResult(id.c_str(), &status, 0, &error));
        resident = residentMiB();
        growth = std::max(growth, resident - before);
        QISRSessionEnd(id.c_str(), "");
        seconds += static_cast<double>(audio.size()) / 32000.0;
    }
    state.counters["audio_s_per_s"] = benchmark::Counter(seconds, benchmark::Counter::kIsRate);
    state.counters["rss_MiB"] = resident;
    state.counters["rss_growth_MiB"] = growth;
}
BENCHMARK_CAPTURE(recognition, full_language_model, "")
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3);

}  // namespace
