#include "ocr/recognition_client.h"

#include <chrono>
#include <cstdlib>
#include <string>

#include "app/shell/program_random.h"
#include "net/com_web_fetch.h"
#include "ocr/local_file.h"
#include "ocr/picture_convert.h"
#include "text/base64.h"
#include "text/convert.h"
#include "text/text_between.h"
#include "text/url_md5.h"

namespace lumoset {

namespace {

constexpr char publicEndpoint[] = "http://ai.baidu.com/aidemo";

// The body of the request: the picture inline as a JPEG data URI, or its web address as the
// user typed it, for the service to fetch. The data URI says "image/png" although it carries
// JPEG; the service goes by the bytes. A file that can't be read or decoded leaves the field
// empty and the service refuses it.
Text requestBody(const Text& source, bool isUrl) {
    if (isUrl) {
        return "type=webimage&image_url=" + source;
    }
    Bytes jpeg;
    convertPicture(readLocalFile(source), pictureJpeg, "", jpeg);
    return "type=webimage&image=data:image/png;base64," +
           urlEncode(base64Encode(jpeg), true, true) + "&image_url=";
}

}  // namespace

Text recognitionEndpoint() {
    const char* replacement = std::getenv(recognitionEndpointVariable);
    return replacement != nullptr && *replacement != '\0' ? Text(replacement) : publicEndpoint;
}

// The program's generator is seeded from the clock, in nanoseconds, before every request, so
// two requests within one second still draw different values.
Text freshRecognitionCookie() {
    seedRandomFromClock();
    const int first = drawRandom(0, 99999);
    const int second = drawRandom(0, 99999);
    return "BAIDUID=" + std::to_string(first + second);
}

Text recognizePicture(const Text& source, bool isUrl) {
    // The service's own cookies, and everything else the exchange hands back, are dropped.
    ComWebFetchArgs request;
    request.url = recognitionEndpoint();
    request.method = 1;
    request.bodyText = requestBody(source, isUrl);
    request.cookieText = freshRecognitionCookie();
    const Bytes reply = ComWebFetch(request);
    const Text answer = toGbk(Text(reply.begin(), reply.end()));  // up to the first zero byte
    const Text status = textBetween(answer, "msg\":\"", "\"");
    if (status == "success") {
        return answer;
    }
    static const Text failure = toGbk("没有识别到文本  ");
    return failure + status;
}

}  // namespace lumoset
