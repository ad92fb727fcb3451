#include "ocr/recognition_client.h"
#include "text/gbk.h"

namespace lumoset {

void allTextsBetween(const Text& text, const Text& startMarker, const Text& endMarker,
                     std::vector<Text>& values) {
    values.clear();
    std::size_t from = 0;
    for (;;) {
        const std::size_t start = findGbk(text, startMarker, from, true);
        if (start == notFound) {
            return;
        }
        const std::size_t content = start + startMarker.size();
        const std::size_t end = findGbk(text, endMarker, content, true);
        if (end == notFound) {
            return;
        }
        Text value = trimGbkSpaces(std::string_view(text).substr(content, end - content));
        if (value.empty()) {
            return;
        }
        values.push_back(std::move(value));
        from = end;
    }
}

}  // namespace lumoset
