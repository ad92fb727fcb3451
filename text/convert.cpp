#include "text/convert.h"

#include <unicode/uchar.h>
#include <unicode/ucnv.h>
#include <unicode/ucnv_cb.h>
#include <unicode/unorm2.h>
#include <unicode/ustring.h>
#include <unicode/utf16.h>

#include <memory>

namespace lumoset {

namespace {

struct ConverterCloser {
    void operator()(UConverter* converter) const { ucnv_close(converter); }
};
using Converter = std::unique_ptr<UConverter, ConverterCloser>;

// Every character GBK can't hold becomes one "?", default-ignorable ones included (ICU's own
// substitution would drop those silently).
void questionMark(const void*, UConverterFromUnicodeArgs* args, const UChar*, int32_t, UChar32,
                  UConverterCallbackReason reason, UErrorCode* error) {
    if (reason > UCNV_IRREGULAR) {
        return;
    }
    *error = U_ZERO_ERROR;
    ucnv_cbFromUWriteBytes(args, "?", 1, 0, error);
}

// The Windows code page 936 table; it opens with an ambiguous-alias warning, which is fine.
Converter openGbk() {
    UErrorCode error = U_ZERO_ERROR;
    Converter converter(ucnv_open("windows-936", &error));
    if (U_FAILURE(error)) {
        return nullptr;
    }
    error = U_ZERO_ERROR;
    ucnv_setFromUCallBack(converter.get(), questionMark, nullptr, nullptr, nullptr, &error);
    ucnv_setFallback(converter.get(), true);
    return converter;
}

// The part of `text` before its first zero byte.
std::string_view upToZero(std::string_view text) {
    return text.substr(0, text.find('\0'));
}

UChar32 codePointAt(std::u16string_view units, std::size_t i) {
    UChar32 c;
    U16_GET(units.data(), 0, i, units.size(), c);
    return c;
}

std::size_t nextCodePoint(std::u16string_view units, std::size_t i) {
    U16_FWD_1(units.data(), i, units.size());
    return i;
}

// Composes each base character with the combining marks that follow it, leaving everything
// else as it stands (compatibility characters keep their own code).
std::u16string composeMarks(std::u16string_view units) {
    UErrorCode error = U_ZERO_ERROR;
    const UNormalizer2* nfc = unorm2_getNFCInstance(&error);
    if (U_FAILURE(error)) {
        return std::u16string(units);
    }
    std::u16string out;
    out.reserve(units.size());
    std::size_t i = 0;
    while (i < units.size()) {
        std::size_t end = nextCodePoint(units, i);
        while (end < units.size() && u_getCombiningClass(codePointAt(units, end)) != 0) {
            end = nextCodePoint(units, end);
        }
        const std::u16string_view run = units.substr(i, end - i);
        if (end == nextCodePoint(units, i)) {
            out.append(run);
        } else {
            std::u16string composed(run.size() * 3, u'\0');
            error = U_ZERO_ERROR;
            const int32_t length = unorm2_normalize(nfc, reinterpret_cast<const UChar*>(run.data()),
                                                    static_cast<int32_t>(run.size()),
                                                    reinterpret_cast<UChar*>(composed.data()),
                                                    static_cast<int32_t>(composed.size()), &error);
            out.append(U_SUCCESS(error) ? std::u16string_view(composed).substr(0, length) : run);
        }
        i = end;
    }
    return out;
}

}  // namespace

std::u16string decodeGbk(std::string_view gbk, std::vector<std::int32_t>* byteOffsets) {
    std::u16string units;
    if (byteOffsets != nullptr) {
        byteOffsets->clear();
    }
    const Converter converter = openGbk();
    if (converter && !gbk.empty()) {
        // A GBK character hardly ever decodes into more code units than it has bytes; the
        // loop grows the buffer should it happen.
        std::vector<std::int32_t> offsets;
        const char* source = gbk.data();
        UErrorCode error = U_BUFFER_OVERFLOW_ERROR;
        while (error == U_BUFFER_OVERFLOW_ERROR) {
            const std::size_t done = units.size();
            const auto consumed = static_cast<std::int32_t>(source - gbk.data());
            const std::size_t room = gbk.size() - static_cast<std::size_t>(consumed) + 16;
            units.resize(done + room);
            offsets.resize(byteOffsets != nullptr ? done + room : 0);
            UChar* target = reinterpret_cast<UChar*>(units.data() + done);
            UChar* const begin = target;
            error = U_ZERO_ERROR;
            ucnv_toUnicode(converter.get(), &target, begin + room, &source, gbk.data() + gbk.size(),
                           byteOffsets != nullptr ? offsets.data() + done : nullptr, true, &error);
            const auto produced = static_cast<std::size_t>(target - begin);
            units.resize(done + produced);
            if (byteOffsets != nullptr) {
                offsets.resize(done + produced);
                for (std::size_t i = done; i < offsets.size(); ++i) {
                    offsets[i] = offsets[i] < 0 ? -1 : offsets[i] + consumed;
                }
            }
        }
        if (U_FAILURE(error)) {
            units.clear();
            offsets.clear();
        }
        if (byteOffsets != nullptr) {
            *byteOffsets = std::move(offsets);
        }
    }
    if (byteOffsets != nullptr) {
        byteOffsets->resize(units.size());
        for (std::size_t i = 0; i < byteOffsets->size(); ++i) {
            auto& offset = (*byteOffsets)[i];
            if (offset < 0) {
                offset = i == 0 ? 0 : (*byteOffsets)[i - 1];
            }
        }
        byteOffsets->push_back(static_cast<std::int32_t>(gbk.size()));
    }
    return units;
}

Text encodeGbk(std::u16string_view units, bool compose) {
    std::u16string composed;
    if (compose) {
        composed = composeMarks(units);
        units = composed;
    }
    const Converter converter = openGbk();
    if (!converter || units.empty()) {
        return {};
    }
    // At most two bytes per code unit.
    Text out(units.size() * 2, '\0');
    char* target = out.data();
    const UChar* source = reinterpret_cast<const UChar*>(units.data());
    UErrorCode error = U_ZERO_ERROR;
    ucnv_fromUnicode(converter.get(), &target, out.data() + out.size(), &source,
                     source + units.size(), nullptr, true, &error);
    out.resize(U_SUCCESS(error) ? static_cast<std::size_t>(target - out.data()) : 0);
    return out;
}

std::u16string decodeUtf8(std::string_view utf8) {
    // A UTF-8 sequence never decodes into more code units than it has bytes.
    std::u16string units(utf8.size(), u'\0');
    int32_t length = 0;
    UErrorCode error = U_ZERO_ERROR;
    u_strFromUTF8WithSub(reinterpret_cast<UChar*>(units.data()), static_cast<int32_t>(units.size()),
                         &length, utf8.data(), static_cast<int32_t>(utf8.size()), 0xFFFD, nullptr,
                         &error);
    units.resize(U_SUCCESS(error) ? static_cast<std::size_t>(length) : 0);
    return units;
}

std::string encodeUtf8(std::u16string_view units) {
    std::string out(units.size() * 3, '\0');
    int32_t length = 0;
    UErrorCode error = U_ZERO_ERROR;
    u_strToUTF8WithSub(out.data(), static_cast<int32_t>(out.size()), &length,
                       reinterpret_cast<const UChar*>(units.data()),
                       static_cast<int32_t>(units.size()), 0xFFFD, nullptr, &error);
    out.resize(U_SUCCESS(error) ? static_cast<std::size_t>(length) : 0);
    return out;
}

Bytes toUtf16(const Text& text) {
    if (text.empty()) {
        return {};
    }
    const std::u16string units = decodeGbk(text);
    Bytes out;
    out.reserve(units.size() * 2 + 2);
    for (const char16_t unit : units) {
        out.push_back(static_cast<unsigned char>(unit & 0xFF));
        out.push_back(static_cast<unsigned char>(unit >> 8));
    }
    out.push_back(0);
    out.push_back(0);
    return out;
}

Bytes toUtf8(const Text& text) {
    if (text.empty()) {
        return {};
    }
    Bytes out = toBytes(encodeUtf8(decodeGbk(text)));
    out.push_back(0);
    return out;
}

Text fromUtf8(const Bytes& bytes) {
    const std::string_view utf8(reinterpret_cast<const char*>(bytes.data()), bytes.size());
    return Text(upToZero(encodeGbk(decodeUtf8(utf8), true)));
}

Text toGbk(const Text& utf8) {
    return Text(upToZero(encodeGbk(decodeUtf8(upToZero(utf8)))));
}

Text toUtf8Text(const Text& text) {
    return encodeUtf8(decodeGbk(text));
}

}  // namespace lumoset
