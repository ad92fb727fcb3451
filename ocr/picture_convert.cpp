#include "ocr/picture_convert.h"

#include <Magick++.h>

#include <cstring>
#include <mutex>
#include <string>
#include <string_view>

#include "ocr/local_file.h"
#include "text/gbk.h"

namespace lumoset {

void initializePictureLibrary() {
    static std::once_flag once;
    std::call_once(once, [] { Magick::InitializeMagick(nullptr); });
}

namespace {

// The decoder for `input`, told by its leading bytes; empty for anything but the five formats.
// Only these decoders ever see the bytes, so a file that merely claims to be a picture (a
// PostScript or vector-drawing text, say) never reaches a coder that runs outside programs
// or reads further files.
std::string decoderFor(const Bytes& input) {
    const auto startsWith = [&input](std::string_view signature) {
        return input.size() >= signature.size() &&
               std::memcmp(input.data(), signature.data(), signature.size()) == 0;
    };
    using namespace std::string_view_literals;
    if (startsWith("\xFF\xD8\xFF"sv)) {
        return "JPEG";
    }
    if (startsWith("\x89PNG\r\n\x1A\n"sv)) {
        return "PNG";
    }
    if (startsWith("GIF87a"sv) || startsWith("GIF89a"sv)) {
        return "GIF";
    }
    if (startsWith("II*\0"sv) || startsWith("MM\0*"sv)) {
        return "TIFF";
    }
    if (startsWith("BM"sv)) {
        return "BMP";
    }
    return {};
}

std::string encoderFor(int format) {
    switch (format) {
        case pictureBmp:
            return "BMP";
        case pictureJpeg:
            return "JPEG";
        case pictureGif:
            return "GIF";
        case pictureTiff:
            return "TIFF";
        case picturePng:
            return "PNG";
        default:
            return {};
    }
}

// Reads the first frame. A warning (a truncated file, say) still leaves a usable picture.
bool decode(const Bytes& input, const std::string& decoder, Magick::Image& image) {
    try {
        image.subImage(0);
        image.subRange(1);
        image.magick(decoder);
        image.read(Magick::Blob(input.data(), input.size()));
    } catch (const Magick::Warning&) {
    } catch (const Magick::Exception&) {
        return false;
    }
    return image.isValid() && image.columns() > 0 && image.rows() > 0;
}

// JPEG and BMP keep no transparency here: transparent parts are laid on white, so dark
// strokes on a transparent ground stay readable instead of sinking into black.
void flattenOntoWhite(Magick::Image& image) {
    Magick::Image ground(Magick::Geometry(image.columns(), image.rows()), Magick::Color("white"));
    ground.composite(image, 0, 0, Magick::OverCompositeOp);
    image = ground;
}

bool encode(Magick::Image& image, int format, Bytes& encoded) {
    const std::string encoder = encoderFor(format);
    if (encoder.empty()) {
        return false;
    }
    try {
        if (image.matte() && (format == pictureJpeg || format == pictureBmp)) {
            flattenOntoWhite(image);
        }
        if (format == pictureJpeg) {
            image.quality(jpegQuality);
        }
        Magick::Blob blob;
        image.magick(encoder);
        image.write(&blob, encoder);
        const auto* data = static_cast<const unsigned char*>(blob.data());
        encoded.assign(data, data + blob.length());
    } catch (const Magick::Exception&) {
        return false;
    }
    return !encoded.empty();
}

}  // namespace

bool convertPicture(const Bytes& input, int format, const Text& outputPath, Bytes& output) {
    const std::string decoder = decoderFor(input);
    if (decoder.empty() || encoderFor(format).empty()) {
        return false;
    }
    initializePictureLibrary();
    Magick::Image image;
    Bytes encoded;
    if (!decode(input, decoder, image) || !encode(image, format, encoded)) {
        return false;
    }
    if (const Text path = trimGbkSpaces(outputPath); !path.empty()) {
        writeLocalFile(path, encoded);
    }
    output = std::move(encoded);
    return true;
}

}  // namespace lumoset
