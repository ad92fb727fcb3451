// RegexObject on arbitrary patterns, subjects and replacements: every question gets an answer,
// and every match found lies in the subject where its position says.
#include <fuzzer/FuzzedDataProvider.h>

#include "tests/fuzz/fuzz_check.h"
#include "text/regex_object.h"

using lumoset::fuzz::check;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider input(data, size);
    const bool caseSensitive = input.ConsumeBool();
    const bool multiline = input.ConsumeBool();
    const bool global = input.ConsumeBool();
    const bool quotePlaceholder = input.ConsumeBool();
    const std::string pattern = input.ConsumeRandomLengthString(64);
    const std::string replacement = input.ConsumeRandomLengthString(16);
    const std::string subject = input.ConsumeRemainingBytesAsString();

    lumoset::RegexObject regex;
    const bool ran =
        regex.execute(pattern, subject, caseSensitive, multiline, global, quotePlaceholder);
    const int count = regex.matchCount();
    check(count >= 0 && (ran || count == 0) && (global || count <= 1));
    for (int index = 0; index <= count + 1; ++index) {
        int position = 0;
        const std::string text = regex.matchText(index, &position);
        const bool exists = index >= 1 && index <= count;
        check(exists ? position >= 0 && subject.compare(static_cast<std::size_t>(position),
                                                        text.size(), text) == 0
                     : position == -2 && text.empty());
        for (int group = 0; group <= regex.subMatchCount() + 1; ++group) {
            const std::string part = regex.subMatchText(index, group, &position);
            check(position == -2 ? part.empty()
                                 : subject.compare(static_cast<std::size_t>(position), part.size(),
                                                   part) == 0);
        }
    }
    const std::string replaced = regex.replace(replacement);
    check(ran || replaced.empty());
    check(count > 0 || !ran || replaced == subject);
    regex.patternText();
    return 0;
}
