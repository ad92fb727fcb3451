#include "ocr/picture_box.h"

#include <QBuffer>
#include <QImageReader>
#include <QPixmap>

#include "ocr/picture_convert.h"

namespace lumoset {

namespace {

QImage decode(const Bytes& file) {
    QByteArray data = QByteArray::fromRawData(reinterpret_cast<const char*>(file.data()),
                                              static_cast<qsizetype>(file.size()));
    QBuffer buffer(&data);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer);
    if (reader.canRead()) {
        return reader.read();
    }
    // Formats the toolkit can't read (TIFF) go through the picture library first.
    Bytes png;
    if (!convertPicture(file, picturePng, "", png)) {
        return {};
    }
    return QImage::fromData(png.data(), static_cast<int>(png.size()));
}

}  // namespace

PictureBox::PictureBox(QWidget* parent) : QLabel(parent) {
    setAlignment(Qt::AlignCenter);
    setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
}

void PictureBox::showFile(const Bytes& file) {
    const QImage image = decode(file);
    if (image.isNull()) {
        clear();
        return;
    }
    const QSize room = contentsRect().size();
    QPixmap picture = QPixmap::fromImage(image);
    if (picture.width() > room.width() || picture.height() > room.height()) {
        picture = picture.scaled(room, Qt::KeepAspectRatio, Qt::SmoothTransformation);
    }
    setPixmap(picture);
}

bool PictureBox::hasPicture() const {
    return !pixmap().isNull();
}

}  // namespace lumoset
