#include "text/base64.h"

#include <gtest/gtest.h>
#include <openssl/evp.h>

#include <random>

namespace lumoset {
namespace {

Text reference(const Bytes& bytes) {
    Text out(4 * ((bytes.size() + 2) / 3) + 1, '\0');
    const int length = EVP_EncodeBlock(reinterpret_cast<unsigned char*>(out.data()), bytes.data(),
                                       static_cast<int>(bytes.size()));
    out.resize(static_cast<std::size_t>(length));
    return out;
}

TEST(Base64, KnownValues) {
    struct Case {
        Text input;
        Text expected;
    };
    const Case cases[] = {
        {"", ""},
        {"f", "Zg=="},
        {"fo", "Zm8="},
        {"foo", "Zm9v"},
        {"foob", "Zm9vYg=="},
        {"fooba", "Zm9vYmE="},
        {"foobar", "Zm9vYmFy"},
        {std::string("\0", 1), "AA=="},
        {std::string("\0\0", 2), "AAA="},
        {std::string("a\0\0\0", 4), "YQAAAA=="},
        {"\xFB\xFF\xBF", "+/+/"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(base64Encode(Bytes(c.input.begin(), c.input.end())), c.expected) << c.input;
    }
}

TEST(Base64, MatchesStandardEncodingForEveryLengthAndPadding) {
    std::mt19937 random(7);
    for (std::size_t n = 0; n < 200; ++n) {
        Bytes bytes(n);
        for (auto& b : bytes) {
            b = static_cast<unsigned char>(random() % 4 == 0 ? 0 : random());
        }
        const Text encoded = base64Encode(bytes);
        ASSERT_EQ(encoded.size(), 4 * ((n + 2) / 3)) << n;
        ASSERT_EQ(encoded, reference(bytes)) << n;
        const std::size_t padding = encoded.size() - encoded.find_last_not_of('=') - 1;
        EXPECT_EQ(n == 0 ? 0 : padding, (3 - n % 3) % 3) << n;
    }
}

}  // namespace
}  // namespace lumoset
