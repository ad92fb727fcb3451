// Collecting every value between two markers from a recognition answer.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "ocr/recognition_client.h"

namespace lumoset {
namespace {

using ::testing::ElementsAreArray;

const Text words = "words\":\"";

TEST(AllTextsBetween, CollectsValuesUntilTheFirstEmptyOne) {
    const struct {
        const char* what;
        Text answer;
        std::vector<Text> expected;
    } cases[] = {
        {"three lines in order, duplicates kept",
         R"({"words":"A","x":1},{"words":"B"},{"words":"A"})",
         {"A", "B", "A"}},
        {"an empty second value ends the list", R"("words":"A","words":"","words":"C")", {"A"}},
        {"a value of only spaces ends it too",
         "\"words\":\"A\",\"words\":\" \xA1\xA1 \",\"words\":\"C\"",
         {"A"}},
        {"outer spaces trimmed, inner kept, tabs kept",
         "\"words\":\" \xA1\xA1"
         "a b\xA1\xA1\",\"words\":\"\tc \"",
         {"a b", "\tc"}},
        {"an escaped quote ends the value, the scan goes on from it",
         R"("words":"a\"b","words":"c")",
         {"a\\", "c"}},
        {"the marker in capitals", R"("WORDS":"x","Words":"y")", {"x", "y"}},
        {"no end marker after the last start", R"("words":"A","words":"B)", {"A"}},
        {"no marker at all", R"({"msg":"success","data":{}})", {}},
        {"no match at the second byte of a GBK character",
         "\x81w"
         "ords\":\"no\",\"words\":\"yes\"",
         {"yes"}},
        {"GBK text inside values",
         "\"words\":\"\xD6\xD0\xCE\xC4\",\"words\":\"\xB2\xE2\"",
         {"\xD6\xD0\xCE\xC4", "\xB2\xE2"}},
    };
    for (const auto& c : cases) {
        std::vector<Text> values{"left over"};
        allTextsBetween(c.answer, words, "\"", values);
        EXPECT_THAT(values, ElementsAreArray(c.expected)) << c.what;
    }
}

}  // namespace
}  // namespace lumoset
