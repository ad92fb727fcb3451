#include "net/cookies.h"

#include <gtest/gtest.h>

namespace lumoset {
namespace {

struct MergeCase {
    Text cookieText;
    Text newCookies;
    Text merged;
    Text newAfter;  // the new cookies as the call leaves them
};

class MergeCookies : public testing::TestWithParam<MergeCase> {};

TEST_P(MergeCookies, FoldsTheResponseIntoTheCookieText) {
    const MergeCase& c = GetParam();
    Text cookieText = c.cookieText;
    Text newCookies = c.newCookies;
    EXPECT_EQ(mergeCookies(cookieText, newCookies), c.merged);
    EXPECT_EQ(cookieText, c.merged);
    EXPECT_EQ(newCookies, c.newAfter);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, MergeCookies,
    testing::Values(
        // New items first, then the old ones whose names the response did not set.
        MergeCase{"a=1; b=2", "b=3; c=4", "b=3; c=4; a=1", "b=3;c=4"},
        // A value the server set to "deleted" takes the older cookie with it.
        MergeCase{"a=1; b=2", "b=deleted", "a=1", "b=deleted"}, MergeCase{"a=1", "", "a=1", ""},
        MergeCase{"", "", "", ""}, MergeCase{"", "a=1", "a=1", "a=1"},
        // Spaces go everywhere, full-width ones (A1 A1) too.
        MergeCase{"", "x = 1; y=2", "x=1; y=2", "x=1;y=2"},
        MergeCase{"\xA1\xA1k=v\xA1\xA1", "", "k=v", ""},
        // A1 A1 straddling two double-byte characters is no space.
        MergeCase{"k=\xB0\xA1\xA1\xC0", "", "k=\xB0\xA1\xA1\xC0", ""},
        // Only exactly equal items fold together.
        MergeCase{"", "a=1;a=1", "a=1", "a=1;a=1"}, MergeCase{"", "a=1;a=2", "a=1; a=2", "a=1;a=2"},
        // Of several old items with one name only the first is kept.
        MergeCase{"a=1; a=2; b=1", "", "a=1; b=1", ""},
        MergeCase{"", "s=x=deleted", "", "s=x=deleted"},
        MergeCase{"", "a=DELETED", "a=DELETED", "a=DELETED"},
        MergeCase{"a=1;;b=2", "", "a=1; ; b=2", ""},
        // An old item without "=" is named by its whole text.
        MergeCase{"flag", "flag=1", "flag=1", "flag=1"},
        // A separator at the very end gives no empty item.
        MergeCase{"a=1;", "", "a=1", ""}));

}  // namespace
}  // namespace lumoset
