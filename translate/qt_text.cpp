#include "translate/qt_text.h"

#include "text/convert.h"

namespace lumoset {

Text fromQString(const QString& text) {
    return encodeGbk(
        std::u16string_view(reinterpret_cast<const char16_t*>(text.utf16()), text.size()));
}

QString toQString(const Text& text) {
    const std::u16string units = decodeGbk(text);
    return QString::fromUtf16(units.data(), static_cast<qsizetype>(units.size()));
}

}  // namespace lumoset
