// textBetween and the marker search on arbitrary bytes: the fast search must agree with the
// plain rule and a result must be a piece of the source.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstdlib>

#include "tests/text/find_by_walking.h"
#include "text/gbk.h"
#include "text/text_between.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider input(data, size);
    const int startPosition = input.ConsumeIntegralInRange<int>(-2, 80);
    const bool ignoreCase = input.ConsumeBool();
    const std::string start = input.ConsumeRandomLengthString(12);
    const std::string end = input.ConsumeRandomLengthString(12);
    const std::string source = input.ConsumeRemainingBytesAsString();

    const std::size_t from = startPosition > 1 ? static_cast<std::size_t>(startPosition) - 1 : 0;
    if (lumoset::findGbk(source, start, from, ignoreCase) !=
        lumoset::test::findByWalking(source, start, from, ignoreCase)) {
        std::abort();
    }
    const std::string value = lumoset::textBetween(source, start, end, startPosition, ignoreCase);
    if (!value.empty() && source.find(value) == std::string::npos) {
        std::abort();
    }
    return 0;
}
