// The conversions on arbitrary bytes: any input gives a result of the promised shape.
#include "tests/fuzz/fuzz_check.h"
#include "text/convert.h"

using lumoset::fuzz::check;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace lumoset;
    const Text text(reinterpret_cast<const char*>(data), size);
    const Bytes bytes(data, data + size);

    const Bytes utf16 = toUtf16(text);
    check(utf16.empty() == text.empty() && utf16.size() % 2 == 0 && utf16.size() <= 2 * size + 2);
    check(utf16.empty() || (utf16[utf16.size() - 1] == 0 && utf16[utf16.size() - 2] == 0));

    const Bytes utf8 = toUtf8(text);
    check(utf8.empty() == text.empty() && (utf8.empty() || utf8.back() == 0));

    const Text gbk = fromUtf8(bytes);
    check(gbk.find('\0') == Text::npos);
    check(toGbk(text).find('\0') == Text::npos);

    // Whatever GBK text comes out of a conversion survives the way to UTF-8 and back.
    const Text utf8Text = toUtf8Text(gbk);
    check(fromUtf8(toBytes(utf8Text)) == gbk || gbk.find('?') != Text::npos);

    std::vector<std::int32_t> offsets;
    const std::u16string units = decodeGbk(text, &offsets);
    check(offsets.size() == units.size() + 1 && offsets.back() == static_cast<std::int32_t>(size));
    for (std::size_t i = 1; i < offsets.size(); ++i) {
        check(offsets[i - 1] <= offsets[i]);
    }
    return 0;
}
