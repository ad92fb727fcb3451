#include "translate/translation_client.h"

#include <cstdlib>

#include "net/web_fetch.h"
#include "text/convert.h"
#include "text/text_between.h"
#include "text/url_md5.h"
#include "translate/program_random.h"

namespace lumoset {

namespace {

constexpr char publicEndpoint[] = "http://openapi.youdao.com/api";

}  // namespace

Text translationEndpoint() {
    const char* replacement = std::getenv(translationEndpointVariable);
    return replacement && *replacement ? Text(replacement) : Text(publicEndpoint);
}

Text translateText(const Text& text, const Text& from, const Text& to, const Text& appSecret,
                   const Text& appKey) {
    const Text salt(1, static_cast<char>('0' + drawRandom(0, 9)));

    // The signature covers the UTF-8 bytes of the text, without the terminating zero.
    Bytes utf8 = toUtf8(text);
    if (!utf8.empty()) {
        utf8.pop_back();
    }
    const Text sign = md5Hex(appKey + toText(utf8) + salt + appSecret, false, true, false);

    const Text body = "q=" + urlEncode(text, false, true) + "&from=" + from + "&to=" + to +
                      "&appKey=" + appKey + "&salt=" + salt + "&sign=" + sign;
    WebFetchArgs request{.url = translationEndpoint(), .method = 1, .bodyText = body};
    return fromUtf8(WebFetch(request));
}

Text extractTranslation(const Text& answer) {
    return textBetween(answer, "translation\":[\"", "\"");
}

}  // namespace lumoset
