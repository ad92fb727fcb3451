// Re-encoding a picture held in memory into one of five file formats.
#pragma once

#include "text/types.h"

namespace lumoset {

// The target formats of convertPicture, by number.
enum PictureFormat : int {
    pictureBmp = 1,
    pictureJpeg = 2,
    pictureGif = 3,
    pictureTiff = 4,
    picturePng = 5,
};

// The quality the JPEG encoder writes with (1 to 100).
inline constexpr unsigned jpegQuality = 90;

// Prepares the picture library once per process, from any thread. convertPicture calls it
// itself; other code that uses the library directly calls it first.
void initializePictureLibrary();

// Decodes `input` (a whole BMP, GIF, JPEG, PNG or TIFF file; of several frames the first) and
// encodes it as the format numbered `format`. On success the encoded file replaces `output`
// and, when `outputPath` (GBK) holds more than spaces, is also written to that file; the
// outcome of that write does not change the result. Returns false, leaving `output` as it
// was and writing nothing, for input that is no picture of those formats, for empty input and
// for an unknown format number. A truncated picture converts as far as it decodes.
bool convertPicture(const Bytes& input, int format, const Text& outputPath, Bytes& output);

}  // namespace lumoset
