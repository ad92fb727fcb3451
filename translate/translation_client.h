// Signed requests to the translation service and reading the translation out of its answers.
#pragma once

#include "text/types.h"

namespace lumoset {

// The application's credentials at the translation service.
inline constexpr char translationAppKey[] = "7d41f09b3e2a6c5b";
inline constexpr char translationAppSecret[] = "Qm8RxLp3VdZs0KfHjN2cWbY7gTeA5uPo";

// The environment variable that replaces the whole service address, for a compatible
// self-hosted service.
inline constexpr char translationEndpointVariable[] = "LUMOSET_TRANSLATE_ENDPOINT";

// The address the requests go to: the service's public address unless the environment
// variable above holds another one.
Text translationEndpoint();

// Asks the service to translate `text` (GBK) from language `from` into language `to`, signed
// with the application's secret and key. Blocks until the exchange is over and returns the whole
// answer in GBK, or the empty text when none came back.
Text translateText(const Text& text, const Text& from, const Text& to, const Text& appSecret,
                   const Text& appKey);

// The first translation in an answer of the service, taken as it stands (JSON escapes are left
// as they are); the empty text when the answer holds none.
Text extractTranslation(const Text& answer);

}  // namespace lumoset
