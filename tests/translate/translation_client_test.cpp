#include "translate/translation_client.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <set>

#include "tests/translate/translation_test_support.h"
#include "translate/program_random.h"

namespace lumoset {
namespace {

using test::FakeTranslationService;
using ::testing::HasSubstr;
using ::testing::MatchesRegex;

class TranslationClient : public test::WithTranslationService {
  protected:
    Text translate(const Text& text, const Text& to = "EN") {
        return translateText(text, "auto", to, translationAppSecret, translationAppKey);
    }
};

TEST_F(TranslationClient, SendsEveryByteOfTheTextEncodedInASignedFormThatTheServiceAccepts) {
    struct Case {
        Text gbk;
        std::string encoded;
        std::string utf8;
    };
    const Case cases[] = {
        {"ab1", "%61%62%31", "ab1"},
        {"\xD6\xD0", "%E4%B8%AD", "中"},
        {"a b", "%61%20%62", "a b"},
        {"x&y=z", "%78%26%79%3D%7A", "x&y=z"},
        {"", "", ""},  // signed over key, salt and secret alone
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.utf8);
        const Text answer = translate(c.gbk);
        const auto request = lastRequest();
        EXPECT_THAT(request.problems, ::testing::IsEmpty());
        EXPECT_EQ(request.text, c.utf8);
        EXPECT_THAT(request.sign, MatchesRegex("[0-9A-F]{32}"));
        EXPECT_EQ(request.body, "q=" + c.encoded +
                                    "&from=auto&to=EN&appKey=7d41f09b3e2a6c5b&salt=" +
                                    request.salt + "&sign=" + request.sign);
        EXPECT_EQ(request.referer, service.endpoint());
        EXPECT_EQ(extractTranslation(answer), "[EN] " + c.gbk);
    }
}

TEST_F(TranslationClient, DrawsAOneDigitSaltAnewForEachRequest) {
    std::set<std::string> salts;
    for (int i = 0; i < 30; ++i) {
        translate("salt");
        const auto request = lastRequest();
        EXPECT_THAT(request.salt, MatchesRegex("[0-9]"));
        salts.insert(request.salt);
    }
    EXPECT_GT(salts.size(), 1u);
}

TEST_F(TranslationClient, ASignatureWithAnotherSecretIsRefused) {
    const Text answer = translateText("ab1", "auto", "EN", "wrong secret", translationAppKey);
    EXPECT_THAT(lastRequest().problems, ::testing::Not(::testing::IsEmpty()));
    EXPECT_THAT(answer, HasSubstr("\"errorCode\":\"202\""));
    EXPECT_EQ(extractTranslation(answer), "");
}

TEST_F(TranslationClient, TurnsTheAnswerIntoGbkAndCutsOutTheFirstTranslationAsItStands) {
    struct Case {
        std::vector<std::string> translations;
        Text expected;
    };
    const Case cases[] = {
        {{"你好"}, "\xC4\xE3\xBA\xC3"},
        {{"Việt Nam"}, "Vi?t Nam"},   // a character GBK lacks
        {{"a\"b"}, "a\\"},            // ends at the escaped quote
        {{"one\ntwo"}, "one\\ntwo"},  // escapes stay undecoded
        {{"first", "second"}, "first"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.translations.front());
        service.addTranslation("hello", "vi", c.translations);
        EXPECT_EQ(extractTranslation(translate("hello", "vi")), c.expected);
    }
}

TEST_F(TranslationClient, AFailedExchangeGivesNoTranslation) {
    service.replyWith(FakeTranslationService::Reply::ErrorCode);
    const Text refused = translate("hello");
    EXPECT_THAT(refused, HasSubstr("\"errorCode\":\"411\""));
    EXPECT_EQ(extractTranslation(refused), "");

    service.replyWith(FakeTranslationService::Reply::HttpError);
    const Text broken = translate("hello");
    EXPECT_THAT(broken, HasSubstr("500 Internal Server Error"));
    EXPECT_EQ(extractTranslation(broken), "");

    service.replyWith(FakeTranslationService::Reply::EmptyBody);
    EXPECT_EQ(translate("hello"), "");

    useEndpoint(unreachableEndpoint());
    EXPECT_EQ(translate("hello"), "");
}

TEST_F(TranslationClient, WaitsForASlowAnswer) {
    service.setDelay(std::chrono::milliseconds(1500));
    EXPECT_EQ(extractTranslation(translate("slow")), "[EN] slow");
}

TEST(TranslationEndpoint, IsThePublicPlainHttpAddressUnlessTheEnvironmentNamesAnother) {
    ::unsetenv(translationEndpointVariable);
    EXPECT_THAT(translationEndpoint(), MatchesRegex("http://[a-z.]+/api"));
    ::setenv(translationEndpointVariable, "http://translate.example:8080/api", 1);
    EXPECT_EQ(translationEndpoint(), "http://translate.example:8080/api");
    ::unsetenv(translationEndpointVariable);
}

TEST(TranslationAnswer, WithoutTheTranslationArrayGivesTheEmptyText) {
    for (const Text& answer : {Text(""), Text("{\"errorCode\":\"108\"}"),
                               Text("{\"translation\":[]}"), Text("{\"Translation\":[\"x\"]}")}) {
        EXPECT_EQ(extractTranslation(answer), "") << answer;
    }
}

TEST(ProgramRandom, DrawsEveryWholeNumberOfTheRangeAndNothingElse) {
    std::set<int> seen;
    for (int i = 0; i < 2000; ++i) {
        const int value = drawRandom(0, 9);
        ASSERT_GE(value, 0);
        ASSERT_LE(value, 9);
        seen.insert(value);
    }
    EXPECT_EQ(seen.size(), 10u);
}

}  // namespace
}  // namespace lumoset
