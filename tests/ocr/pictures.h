// Pictures made on the spot for the picture-to-text tests.
#pragma once

#include <QColor>
#include <QImage>
#include <string>

namespace lumoset::test {

// The file bytes of `image` in `format` ("PNG", "JPEG", "BMP", ...).
std::string pictureFile(const QImage& image, const char* format);

// Whether two colours agree within what lossy encoders change.
bool similarColor(QColor actual, QColor expected);

}  // namespace lumoset::test
