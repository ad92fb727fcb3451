#include "text/url_md5.h"

#include <gtest/gtest.h>

namespace lumoset {
namespace {

TEST(Md5Hex, DigestForms) {
    EXPECT_EQ(md5Hex("abc"), "900150983cd24fb0d6963f7d28e17f72");
    EXPECT_EQ(md5Hex("abc", false, true), "900150983CD24FB0D6963F7D28E17F72");
    EXPECT_EQ(md5Hex("abc", false, false, true), "3cd24fb0d6963f7d");
    EXPECT_EQ(md5Hex(""), "d41d8cd98f00b204e9800998ecf8427e");
    // 中 as GBK bytes and as UTF-8 bytes.
    EXPECT_EQ(md5Hex("\xD6\xD0", true), md5Hex("\xE4\xB8\xAD"));
    EXPECT_NE(md5Hex("\xD6\xD0"), md5Hex("\xE4\xB8\xAD"));
}

TEST(UrlEncode, Cases) {
    const Text mixed = "a b-c.d/e_f~\xD6\xD0";
    struct Case {
        Text text;
        bool keepPlain;
        bool asUtf8;
        Text expected;
    };
    const Case cases[] = {
        {mixed, true, true, "a%20b-c.d%2Fe%5Ff%7E%E4%B8%AD"},
        {mixed, true, false, "a%20b-c.d%2Fe%5Ff%7E%D6%D0"},
        {"hi", false, false, "%68%69"},
        {"", true, true, ""},
        {"\n*+", true, false, "%0A%2A%2B"},
        {"AZaz09", true, false, "AZaz09"},
        {std::string("a\0b", 3), true, false, "a%00b"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(urlEncode(c.text, c.keepPlain, c.asUtf8), c.expected) << c.text;
    }
}

}  // namespace
}  // namespace lumoset
