// Throughput of the encoders and the marker search on inputs of the sizes the program sees:
// pictures of several megabytes, their Base64 form in a form body, long answers.
#include <benchmark/benchmark.h>
#include <openssl/evp.h>

#include <cstdio>
#include <random>

#include "text/base64.h"
#include "text/regex_object.h"
#include "text/text_between.h"
#include "text/url_md5.h"

namespace lumoset {
namespace {

Bytes randomBytes(std::size_t size) {
    std::mt19937_64 random(42);
    Bytes bytes(size);
    for (auto& b : bytes) {
        b = static_cast<unsigned char>(random());
    }
    return bytes;
}

const Bytes& picture() {
    static const Bytes bytes = randomBytes(8 << 20);
    return bytes;
}

void base64EncodeBench(benchmark::State& state) {
    for (auto _ : state) {
        Text encoded = base64Encode(picture());
        benchmark::DoNotOptimize(encoded.data());
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * picture().size()));
}
BENCHMARK(base64EncodeBench)->Name("base64Encode/8MiB");

// OpenSSL's encoder on the same buffer, writing into a text of the same size.
void evpEncodeBlockBench(benchmark::State& state) {
    const Bytes& bytes = picture();
    for (auto _ : state) {
        Text encoded((bytes.size() + 2) / 3 * 4 + 1, '\0');
        const int length = EVP_EncodeBlock(reinterpret_cast<unsigned char*>(encoded.data()),
                                           bytes.data(), static_cast<int>(bytes.size()));
        encoded.resize(static_cast<std::size_t>(length));
        benchmark::DoNotOptimize(encoded.data());
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * bytes.size()));
}
BENCHMARK(evpEncodeBlockBench)->Name("EVP_EncodeBlock/8MiB");

// The Base64 form of a picture of about 8 MiB: 11 MiB of text.
void urlEncodeBench(benchmark::State& state) {
    const Text text = base64Encode(randomBytes(11 * 3 * (1 << 18)));
    for (auto _ : state) {
        Text encoded = urlEncode(text, true, true);
        benchmark::DoNotOptimize(encoded.data());
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * text.size()));
}
BENCHMARK(urlEncodeBench)->Name("urlEncode/keepPlain/11MiB");

// An answer of about 1 MiB made of records of one size, each holding one GBK value.
constexpr char record[] =
    "{\"location\":{\"top\":12,\"left\":345},\"words\":\"\xD6\xD0\xCE\xC4"
    "\xCA\xB6\xB1\xF0\xB5\xC4\xD2\xBB\xD0\xD0\xCE\xC4\xD7\xD6 abc\"},";
constexpr std::size_t recordSize = sizeof(record) - 1;
constexpr std::size_t records = (1 << 20) / recordSize;

const Text& answer() {
    static const Text text = [] {
        Text out = "{\"words_result\":[";
        for (std::size_t i = 0; i < records; ++i) {
            out += record;
        }
        return out + "],\"log_id\":1234567890}";
    }();
    return text;
}

const Text wordsMarker =
    Text(quotePlaceholder) + "words" + quotePlaceholder + ":" + quotePlaceholder;

// One value at the far end: a search through the whole answer.
void textBetweenSingleBench(benchmark::State& state) {
    const Text& text = answer();
    for (auto _ : state) {
        Text value =
            textBetween(text, Text(quotePlaceholder) + "log_id" + quotePlaceholder + ":", "}");
        benchmark::DoNotOptimize(value.data());
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * text.size()));
}
BENCHMARK(textBetweenSingleBench)->Name("textBetween/single/1MiB");

// Every value of the answer, one call per record.
void textBetweenWalkBench(benchmark::State& state) {
    const Text& text = answer();
    const int head = static_cast<int>(Text("{\"words_result\":[").size());
    std::size_t found = 0;
    for (auto _ : state) {
        for (std::size_t i = 0; i < records; ++i) {
            Text value = textBetween(text, wordsMarker, quotePlaceholder,
                                     head + static_cast<int>(i * recordSize) + 1);
            found += value.size();
            benchmark::DoNotOptimize(value.data());
        }
    }
    state.counters["values"] = static_cast<double>(records);
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * text.size()));
    benchmark::DoNotOptimize(found);
}
BENCHMARK(textBetweenWalkBench)->Name("textBetween/walk/1MiB");

// Counting sentence ends in 1 MiB of Chinese text, one "。" every 40 characters.
void regexSentenceEndsBench(benchmark::State& state) {
    Text text;
    for (int i = 0; i < (1 << 19); ++i) {
        text += i % 40 == 39 ? "\xA1\xA3" : "\xD6\xD0";
    }
    RegexObject regex;
    for (auto _ : state) {
        regex.execute("[\xA1\xA3]", text);
        benchmark::DoNotOptimize(regex.matchCount());
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * text.size()));
}
BENCHMARK(regexSentenceEndsBench)
    ->Name("RegexObject/sentenceEnds/1MiB")
    ->Unit(benchmark::kMillisecond);

// Catastrophic backtracking over 1 MiB: how long until the execution gives up.
void regexBacktrackingBench(benchmark::State& state) {
    const Text text(1 << 20, 'a');
    RegexObject regex;
    for (auto _ : state) {
        benchmark::DoNotOptimize(regex.execute("(a+)+!", text));
    }
}
BENCHMARK(regexBacktrackingBench)
    ->Name("RegexObject/backtracking/1MiB")
    ->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace lumoset
