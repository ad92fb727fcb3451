#include "text/text_between.h"

#include <string_view>

#include "text/gbk.h"

namespace lumoset {

Text replaceQuotePlaceholder(const Text& text) {
    constexpr std::string_view placeholder = quotePlaceholder;
    std::size_t at = text.find(placeholder);
    if (at == Text::npos) {
        return text;
    }
    Text out;
    out.reserve(text.size());
    std::size_t from = 0;
    while (at != Text::npos) {
        out.append(text, from, at - from);
        out.push_back('"');
        from = at + placeholder.size();
        at = text.find(placeholder, from);
    }
    out.append(text, from);
    return out;
}

Text textBetween(const Text& source, const Text& startMarker, const Text& endMarker,
                 int startPosition, bool ignoreCase) {
    const Text start = replaceQuotePlaceholder(startMarker);
    const Text end = replaceQuotePlaceholder(endMarker);
    const std::size_t from = startPosition > 1 ? static_cast<std::size_t>(startPosition) - 1 : 0;
    const std::size_t found = findGbk(source, start, from, ignoreCase);
    if (found == notFound) {
        return {};
    }
    const std::size_t content = found + start.size();
    const std::size_t stop = findGbk(source, end, content, ignoreCase);
    if (stop == notFound) {
        return {};
    }
    return source.substr(content, stop - content);
}

}  // namespace lumoset
