// Re-encoding the pictures people send for recognition: a screen capture full of small text and
// a camera-sized photo.
#include <benchmark/benchmark.h>

#include <QBuffer>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QRandomGenerator>

#include "ocr/picture_convert.h"

namespace lumoset {
namespace {

QGuiApplication& application() {
    static int argc = 1;
    static char name[] = "ocr_picture_bench";
    static char* argv[] = {name, nullptr};
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static QGuiApplication app(argc, argv);
    return app;
}

Bytes encode(const QImage& image, const char* format) {
    QByteArray data;
    QBuffer buffer(&data);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, format, format == std::string_view("JPEG") ? 92 : -1);
    return Bytes(data.begin(), data.end());
}

// 1280 × 720, lines of 13-pixel text on white, as PNG.
const Bytes& screenCapture() {
    static const Bytes png = [] {
        application();
        QImage image(1280, 720, QImage::Format_RGB32);
        image.fill(Qt::white);
        QPainter painter(&image);
        QFont font = painter.font();
        font.setPixelSize(13);
        painter.setFont(font);
        for (int y = 20; y < 700; y += 18) {
            painter.drawText(10, y,
                             QStringLiteral("识别图片 Picture to text 第%1行 0123456789").arg(y));
        }
        return encode(image, "PNG");
    }();
    return png;
}

// 4000 × 3000, a gradient with noise, as JPEG.
const Bytes& photo() {
    static const Bytes jpeg = [] {
        QImage image(4000, 3000, QImage::Format_RGB32);
        QRandomGenerator random(7);
        for (int y = 0; y < image.height(); ++y) {
            auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
            for (int x = 0; x < image.width(); ++x) {
                const int noise = static_cast<int>(random.bounded(24));
                line[x] = qRgb((x / 16 + noise) & 255, (y / 12 + noise) & 255, (x + y) / 28 & 255);
            }
        }
        return encode(image, "JPEG");
    }();
    return jpeg;
}

void convertToJpeg(benchmark::State& state, const Bytes& input) {
    initializePictureLibrary();
    Bytes output;
    for (auto _ : state) {
        convertPicture(input, pictureJpeg, "", output);
        benchmark::DoNotOptimize(output.data());
    }
    state.counters["input_bytes"] = static_cast<double>(input.size());
    state.counters["jpeg_bytes"] = static_cast<double>(output.size());
}

void BM_ScreenCaptureToJpeg(benchmark::State& state) {
    convertToJpeg(state, screenCapture());
}
void BM_PhotoToJpeg(benchmark::State& state) {
    convertToJpeg(state, photo());
}

BENCHMARK(BM_ScreenCaptureToJpeg)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PhotoToJpeg)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace lumoset
