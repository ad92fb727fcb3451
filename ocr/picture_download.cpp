#include "ocr/picture_download.h"

#include "net/transport.h"
#include "text/convert.h"

namespace lumoset {

namespace {

// The status code in the status line that starts `headerBlock`, or 0.
int statusCode(const Text& headerBlock) {
    const std::size_t space = headerBlock.find(' ');
    if (space == Text::npos || headerBlock.size() < space + 4) {
        return 0;
    }
    int code = 0;
    for (std::size_t i = space + 1; i < space + 4; ++i) {
        if (headerBlock[i] < '0' || headerBlock[i] > '9') {
            return 0;
        }
        code = code * 10 + (headerBlock[i] - '0');
    }
    return code;
}

}  // namespace

Bytes downloadDisplayPicture(const Text& url) {
    TransportRequest request;
    // Spaces and characters beyond ASCII go out percent-encoded over UTF-8, as browsers send.
    request.url = escapeForRequestLine(toUtf8Text(url));
    request.verb = "GET";
    request.timeouts = Timeouts{0, 15000, 15000, 15000};
    TransportResponse response = exchange(request);
    const int status = statusCode(response.headerBlock);
    if (!response.completed || status < 200 || status > 299) {
        return {};
    }
    return std::move(response.body);
}

}  // namespace lumoset
