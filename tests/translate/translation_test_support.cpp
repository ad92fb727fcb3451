#include "tests/translate/translation_test_support.h"

#include <cstdlib>

#include "tests/fakes/http/raw_server.h"
#include "translate/translation_client.h"

namespace lumoset::test {

void WithTranslationService::SetUp() {
    useEndpoint(service.endpoint());
}

void WithTranslationService::TearDown() {
    ::unsetenv(translationEndpointVariable);
}

void WithTranslationService::useEndpoint(const std::string& endpoint) {
    ::setenv(translationEndpointVariable, endpoint.c_str(), 1);
}

std::string WithTranslationService::unreachableEndpoint() {
    return "http://127.0.0.1:" + std::to_string(fake::unusedPort()) + "/api";
}

TranslationRequest WithTranslationService::lastRequest() const {
    const auto requests = service.requests();
    EXPECT_FALSE(requests.empty());
    return requests.empty() ? TranslationRequest{} : requests.back();
}

}  // namespace lumoset::test
