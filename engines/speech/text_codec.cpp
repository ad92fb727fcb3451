#include "engines/speech/text_codec.h"

#include <unicode/ucnv.h>
#include <unicode/ustring.h>

#include <memory>
#include <vector>

#include "engines/speech/parameters.h"

namespace lumoset::msc {

namespace {

struct ConverterCloser {
    void operator()(UConverter* converter) const { ucnv_close(converter); }
};
using Converter = std::unique_ptr<UConverter, ConverterCloser>;

Converter openConverter(const std::string& name) {
    UErrorCode status = U_ZERO_ERROR;
    Converter converter(ucnv_open(name.c_str(), &status));
    return U_FAILURE(status) ? Converter() : std::move(converter);
}

}  // namespace

std::string converterFor(std::string_view encoding) {
    const std::string name = asciiLowerCopy(encoding);
    if (name == "gb2312" || name == "gbk") {
        return "windows-936";
    }
    if (name == "gb18030") {
        return "gb18030";
    }
    if (name == "big5") {
        return "windows-950";
    }
    if (name == "unicode") {
        return "UTF-16LE";
    }
    if (name == "utf8" || name == "utf-8") {
        return "UTF-8";
    }
    return {};
}

bool decodeToUtf8(const std::string& converterName, std::string_view bytes, std::string& utf8) {
    utf8.clear();
    if (bytes.empty()) {
        return true;
    }
    Converter converter = openConverter(converterName);
    if (!converter) {
        return false;
    }
    UErrorCode status = U_ZERO_ERROR;
    ucnv_setToUCallBack(converter.get(), UCNV_TO_U_CALLBACK_STOP, nullptr, nullptr, nullptr,
                        &status);
    // Every byte gives at most two UTF-16 units.
    std::vector<UChar> units(bytes.size() * 2 + 1);
    const int32_t unitCount =
        ucnv_toUChars(converter.get(), units.data(), static_cast<int32_t>(units.size()),
                      bytes.data(), static_cast<int32_t>(bytes.size()), &status);
    if (U_FAILURE(status)) {
        return false;
    }
    const UChar* start = units.data();
    int32_t length = unitCount;
    if (length > 0 && start[0] == 0xFEFF) {
        ++start;
        --length;
    }
    int32_t needed = 0;
    status = U_ZERO_ERROR;
    u_strToUTF8(nullptr, 0, &needed, start, length, &status);
    utf8.resize(static_cast<std::size_t>(needed));
    status = U_ZERO_ERROR;
    u_strToUTF8(utf8.data(), needed, &needed, start, length, &status);
    return U_SUCCESS(status) || status == U_STRING_NOT_TERMINATED_WARNING;
}

std::string encodeFromUtf8(const std::string& converterName, std::string_view utf8) {
    const bool wide = converterName == "UTF-16LE";
    Converter converter = openConverter(converterName);
    if (!converter) {
        return {};
    }
    UErrorCode status = U_ZERO_ERROR;
    std::vector<UChar> units(utf8.size() + 1);
    int32_t unitCount = 0;
    u_strFromUTF8WithSub(units.data(), static_cast<int32_t>(units.size()), &unitCount, utf8.data(),
                         static_cast<int32_t>(utf8.size()), 0xFFFD, nullptr, &status);
    if (U_FAILURE(status)) {
        return {};
    }
    status = U_ZERO_ERROR;
    ucnv_setSubstChars(converter.get(), "?", 1, &status);
    status = U_ZERO_ERROR;
    const int32_t needed =
        ucnv_fromUChars(converter.get(), nullptr, 0, units.data(), unitCount, &status);
    std::string encoded(static_cast<std::size_t>(needed), '\0');
    status = U_ZERO_ERROR;
    ucnv_fromUChars(converter.get(), encoded.data(), needed, units.data(), unitCount, &status);
    if (U_FAILURE(status) && status != U_STRING_NOT_TERMINATED_WARNING) {
        return {};
    }
    if (wide) {
        encoded.push_back('\0');
    }
    return encoded;
}

}  // namespace lumoset::msc
