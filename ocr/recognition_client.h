// The picture recognition request and the reading of its answer.
#pragma once

#include <vector>

#include "text/types.h"

namespace lumoset {

// The environment variable that, when set and not empty, replaces the whole endpoint URL.
inline constexpr char recognitionEndpointVariable[] = "LUMOSET_OCR_ENDPOINT";

// The recognition service's URL: plain HTTP, path "/aidemo".
Text recognitionEndpoint();

// The cookie every request carries, drawn afresh: "BAIDUID=" and the sum of two numbers drawn
// from 0 to 99,999.
Text freshRecognitionCookie();

// Sends the picture at `source` (a local path in GBK, or with `isUrl` a web address the service
// fetches itself) to the service and waits for its answer. Returns the whole answer in GBK
// when its status word is "success", otherwise "没有识别到文本  " followed by the status word.
Text recognizePicture(const Text& source, bool isUrl);

// Fills `values` with every text found between `startMarker` and the next `endMarker`, in
// order, trimmed of spaces. Markers are found ignoring ASCII case, stepping over GBK
// characters. The list ends at the first value that is empty after trimming.
void allTextsBetween(const Text& text, const Text& startMarker, const Text& endMarker,
                     std::vector<Text>& values);

}  // namespace lumoset
