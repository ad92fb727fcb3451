// Re-encoding pictures between the five formats, checked by signature and by decoding again.
#include <gtest/gtest.h>

#include <Magick++.h>
#include <QColor>
#include <QImage>
#include <QPainter>
#include <cstring>
#include <filesystem>
#include <string>

#include "ocr/picture_convert.h"
#include "tests/ocr/pictures.h"
#include "tests/support/test_support.h"
#include "text/convert.h"

namespace lumoset {
namespace {

namespace fs = std::filesystem;

constexpr int width = 40;
constexpr int height = 30;

class PictureLibrary : public ::testing::Environment {
    void SetUp() override { initializePictureLibrary(); }
};
const auto* const pictureLibrary = ::testing::AddGlobalTestEnvironment(new PictureLibrary);

// Left half red, right half blue: survives every encoder, lossy or not.
QImage sample() {
    QImage image(width, height, QImage::Format_RGB32);
    QPainter painter(&image);
    painter.fillRect(0, 0, width / 2, height, QColor(220, 20, 20));
    painter.fillRect(width / 2, 0, width / 2, height, QColor(20, 20, 220));
    return image;
}

Bytes encodeWithQt(const QImage& image, const char* format) {
    const std::string file = test::pictureFile(image, format);
    return Bytes(file.begin(), file.end());
}

// GIF and TIFF fixtures come from the picture library, the others from Qt.
Bytes fixture(const std::string& format) {
    const QImage image = sample();
    if (format == "BMP" || format == "JPEG" || format == "PNG") {
        return encodeWithQt(image, format.c_str());
    }
    const QImage rgb = image.convertToFormat(QImage::Format_RGB888);
    Magick::Image picture;
    picture.read(width, height, "RGB", Magick::CharPixel, rgb.constBits());
    Magick::Blob blob;
    picture.write(&blob, format);
    const auto* data = static_cast<const unsigned char*>(blob.data());
    return Bytes(data, data + blob.length());
}

// Decodes with Qt where Qt reads the format, otherwise with the picture library.
QImage decodeAgain(const Bytes& bytes, int format) {
    if (format != pictureTiff) {
        return QImage::fromData(bytes.data(), static_cast<int>(bytes.size()));
    }
    Magick::Image picture;
    picture.read(Magick::Blob(bytes.data(), bytes.size()));
    QImage image(static_cast<int>(picture.columns()), static_cast<int>(picture.rows()),
                 QImage::Format_RGB888);
    picture.write(0, 0, picture.columns(), picture.rows(), "RGB", Magick::CharPixel, image.bits());
    return image;
}

bool startsWith(const Bytes& bytes, std::string_view signature) {
    return bytes.size() >= signature.size() &&
           std::memcmp(bytes.data(), signature.data(), signature.size()) == 0;
}

using namespace std::string_view_literals;

// Each target's leading bytes; a TIFF may be written in either byte order.
const struct Target {
    int format;
    std::string_view signature;
    std::string_view otherSignature;
} targets[] = {
    {pictureBmp, "BM"sv, "BM"sv},
    {pictureJpeg, "\xFF\xD8"sv, "\xFF\xD8"sv},
    {pictureGif, "GIF8"sv, "GIF8"sv},
    {pictureTiff, "II*\0"sv, "MM\0*"sv},
    {picturePng, "\x89PNG\r\n\x1A\n"sv, "\x89PNG\r\n\x1A\n"sv},
};

TEST(ConvertPicture, EveryInputFormatToEveryTarget) {
    for (const std::string input : {"BMP", "GIF", "JPEG", "PNG", "TIFF"}) {
        const Bytes source = fixture(input);
        for (const Target& target : targets) {
            SCOPED_TRACE(input + " to format " + std::to_string(target.format));
            Bytes output;
            ASSERT_TRUE(convertPicture(source, target.format, "", output));
            EXPECT_TRUE(startsWith(output, target.signature) ||
                        startsWith(output, target.otherSignature));
            const QImage decoded = decodeAgain(output, target.format);
            ASSERT_EQ(decoded.size(), QSize(width, height));
            EXPECT_TRUE(test::similarColor(decoded.pixelColor(5, 15), QColor(220, 20, 20)));
            EXPECT_TRUE(test::similarColor(decoded.pixelColor(34, 15), QColor(20, 20, 220)));
        }
    }
}

TEST(ConvertPicture, RefusesWhatIsNoPictureAndLeavesOutputAlone) {
    const struct {
        const char* what;
        std::string bytes;
    } cases[] = {
        {"empty", ""},
        {"plain text", "just some words, no picture\n"},
        {"PostScript", "%!PS-Adobe-3.0\n0 0 moveto showpage\n"},
        {"vector drawing", "viewbox 0 0 10 10\nimage over 0,0 0,0 '/etc/hostname'\n"},
        {"a picture format outside the five", "P6\n1 1\n255\n\x10\x20\x30"},
        {"signature only", "\x89PNG\r\n\x1A\n"},
        {"garbage after a JPEG signature", std::string("\xFF\xD8\xFF") + std::string(64, 'x')},
    };
    test::TempDir dir;
    const fs::path file = dir.path() / "out.jpg";
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        Bytes output{1, 2, 3};
        EXPECT_FALSE(convertPicture(Bytes(c.bytes.begin(), c.bytes.end()), pictureJpeg,
                                    file.string(), output));
        EXPECT_EQ(output, (Bytes{1, 2, 3}));
        EXPECT_FALSE(fs::exists(file));
    }
}

TEST(ConvertPicture, RefusesUnknownFormatNumbers) {
    const Bytes png = fixture("PNG");
    for (const int format : {0, 6, -1}) {
        Bytes output{9};
        EXPECT_FALSE(convertPicture(png, format, "", output)) << format;
        EXPECT_EQ(output, Bytes{9});
    }
}

TEST(ConvertPicture, TruncatedJpegStillConverts) {
    QImage big(200, 150, QImage::Format_RGB32);
    big.fill(QColor(20, 20, 220));
    Bytes jpeg = encodeWithQt(big, "JPEG");
    jpeg.resize(jpeg.size() * 2 / 3);
    Bytes output;
    ASSERT_TRUE(convertPicture(jpeg, picturePng, "", output));
    const QImage decoded = decodeAgain(output, picturePng);
    EXPECT_EQ(decoded.size(), QSize(200, 150));
    EXPECT_TRUE(test::similarColor(decoded.pixelColor(10, 10), QColor(20, 20, 220)));
}

TEST(ConvertPicture, WritesTheOutputFileOnlyForARealPath) {
    test::TempDir dir;
    const fs::path file = dir.path() / "out.png";
    test::writeFile(file, std::string(100000, 'z'));  // replaced whole, not overwritten in part
    Bytes output;
    ASSERT_TRUE(convertPicture(fixture("BMP"), picturePng, "  " + file.string() + " ", output));
    EXPECT_TRUE(test::readFile(file) == std::string(output.begin(), output.end()));

    const fs::path before = fs::current_path();
    fs::current_path(dir.path());
    fs::remove(file);
    Bytes again;
    EXPECT_TRUE(convertPicture(fixture("BMP"), picturePng, "   ", again));
    EXPECT_TRUE(fs::is_empty(dir.path()));
    fs::current_path(before);
    EXPECT_TRUE(again == output);

    // The path is GBK text; the file gets its name in the file system's UTF-8.
    const Text chinese = dir.path().string() + "/" + toGbk("图片.png");
    ASSERT_TRUE(convertPicture(fixture("BMP"), picturePng, chinese, again));
    EXPECT_TRUE(test::readFile(dir.path() / u8"图片.png") ==
                std::string(output.begin(), output.end()));
}

TEST(ConvertPicture, JpegLaysTransparencyOnWhite) {
    QImage clear(20, 20, QImage::Format_ARGB32);
    clear.fill(Qt::transparent);  // transparent black
    QPainter(&clear).fillRect(0, 0, 5, 5, Qt::black);
    Bytes output;
    ASSERT_TRUE(convertPicture(encodeWithQt(clear, "PNG"), pictureJpeg, "", output));
    const QImage decoded = decodeAgain(output, pictureJpeg);
    EXPECT_TRUE(test::similarColor(decoded.pixelColor(15, 15), Qt::white));
    EXPECT_TRUE(test::similarColor(decoded.pixelColor(1, 1), Qt::black));
}

TEST(ConvertPicture, TakesTheFirstFrameOfAnAnimation) {
    std::vector<Magick::Image> frames;
    frames.emplace_back(Magick::Geometry(16, 16), Magick::Color("red"));
    frames.emplace_back(Magick::Geometry(16, 16), Magick::Color("blue"));
    for (Magick::Image& frame : frames) {
        frame.magick("GIF");
    }
    Magick::Blob blob;
    Magick::writeImages(frames.begin(), frames.end(), &blob, true);
    std::vector<Magick::Image> back;
    Magick::readImages(&back, blob);
    ASSERT_EQ(back.size(), 2u);
    const auto* data = static_cast<const unsigned char*>(blob.data());
    Bytes output;
    ASSERT_TRUE(convertPicture(Bytes(data, data + blob.length()), picturePng, "", output));
    const QImage decoded = decodeAgain(output, picturePng);
    EXPECT_TRUE(test::similarColor(decoded.pixelColor(8, 8), Qt::red));
}

}  // namespace
}  // namespace lumoset
