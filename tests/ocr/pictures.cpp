#include "tests/ocr/pictures.h"

#include <QBuffer>
#include <cstdlib>

namespace lumoset::test {

std::string pictureFile(const QImage& image, const char* format) {
    QByteArray data;
    QBuffer buffer(&data);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, format);
    return data.toStdString();
}

bool similarColor(QColor actual, QColor expected) {
    return std::abs(actual.red() - expected.red()) < 40 &&
           std::abs(actual.green() - expected.green()) < 40 &&
           std::abs(actual.blue() - expected.blue()) < 40;
}

}  // namespace lumoset::test
