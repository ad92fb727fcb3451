// The fake translation service, started for one test and put in place of the public one.
#pragma once

#include <gtest/gtest.h>

#include "tests/fakes/translation_service/fake_translation_service.h"

namespace lumoset::test {

class WithTranslationService : public ::testing::Test {
  protected:
    void SetUp() override;
    void TearDown() override;
    // Points the program at `endpoint` instead of the fake service.
    static void useEndpoint(const std::string& endpoint);
    // An address on 127.0.0.1 where nothing listens.
    static std::string unreachableEndpoint();
    // The last request the service received; fails the test when there was none.
    TranslationRequest lastRequest() const;

    FakeTranslationService service;
};

}  // namespace lumoset::test
