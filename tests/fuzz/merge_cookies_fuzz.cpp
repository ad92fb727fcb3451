// mergeCookies on arbitrary cookie texts: the result is what the caller's cookie text holds,
// carries no spaces, no "=deleted" item and no item twice, and every item came from one of the
// two inputs.
#include <fuzzer/FuzzedDataProvider.h>

#include <set>
#include <string>

#include "net/cookies.h"
#include "tests/fuzz/fuzz_check.h"

using lumoset::fuzz::check;

namespace {

std::string withoutSpaces(const std::string& text) {
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto byte = static_cast<unsigned char>(text[i]);
        if (byte == ' ') {
            continue;
        }
        if (byte == 0xA1 && i + 1 < text.size() &&
            static_cast<unsigned char>(text[i + 1]) == 0xA1) {
            ++i;
            continue;
        }
        out += text[i];
        if (byte >= 0x80 && i + 1 < text.size() && text[i + 1] != ' ') {
            out += text[++i];
        }
    }
    return out;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider input(data, size);
    std::string cookieText = input.ConsumeRandomLengthString(200);
    std::string newCookies = input.ConsumeRemainingBytesAsString();
    const std::string sources =
        ";" + withoutSpaces(cookieText) + ";" + withoutSpaces(newCookies) + ";";

    const std::string result = lumoset::mergeCookies(cookieText, newCookies);

    check(result == cookieText);
    check(newCookies.find(' ') == std::string::npos);
    std::set<std::string> seen;
    std::size_t begin = 0;
    while (!result.empty() && begin <= result.size()) {
        std::size_t end = result.find("; ", begin);
        if (end == std::string::npos) {
            end = result.size();
        }
        const std::string item = result.substr(begin, end - begin);
        check(item.find(' ') == std::string::npos);
        check(item.size() < 8 || item.compare(item.size() - 8, 8, "=deleted") != 0);
        check(seen.insert(item).second);
        check(sources.find(";" + item + ";") != std::string::npos);
        begin = end + 2;
    }
    return 0;
}
