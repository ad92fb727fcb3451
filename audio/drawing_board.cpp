#include "audio/drawing_board.h"

#include <QLinearGradient>
#include <QPainter>
#include <cstdlib>

namespace lumoset {

QColor colourFromNumber(std::uint32_t colour) {
    return QColor(colour & 0xFF, (colour >> 8) & 0xFF, (colour >> 16) & 0xFF);
}

DrawingBoard::DrawingBoard(QWidget* parent)
    : QWidget(parent), pixmap_(1, 1), pen_(colourFromNumber(0)) {
    setAttribute(Qt::WA_OpaquePaintEvent);
    clear();
}

void DrawingBoard::setBackgroundColour(std::uint32_t colour) {
    backgroundColour_ = colour;
}

void DrawingBoard::setBackgroundPicture(const QPixmap& picture) {
    backgroundPicture_ = picture;
}

DrawingBoard* DrawingBoard::duplicate() {
    QWidget* owner = parentWidget() != nullptr ? parentWidget() : this;
    auto* copy = new DrawingBoard(owner);
    copy->hide();
    copy->setBackgroundColour(backgroundColour_);
    copy->setBackgroundPicture(backgroundPicture_);
    copy->setGeometry(owner == this ? QRect(QPoint(0, 0), size()) : geometry());
    copy->clear();
    return copy;
}

void DrawingBoard::clear() {
    surface().fill(colourFromNumber(backgroundColour_));
    if (!backgroundPicture_.isNull()) {
        QPainter painter(&surface());
        painter.drawPixmap(0, 0, backgroundPicture_);
    }
    update();
}

void DrawingBoard::setPenColour(std::uint32_t colour) {
    pen_ = colourFromNumber(colour);
}

void DrawingBoard::fillGradient(int x, int y, int width, int height, std::uint32_t from,
                                std::uint32_t to, int style) {
    const QPointF end = style == 1 ? QPointF(x, y + height) : QPointF(x + width, y);
    QLinearGradient gradient(QPointF(x, y), end);
    gradient.setColorAt(0, colourFromNumber(from));
    gradient.setColorAt(1, colourFromNumber(to));
    QPainter painter(&surface());
    painter.fillRect(QRect(x, y, width, height), gradient);
    update();
}

void DrawingBoard::drawLine(int x1, int y1, int x2, int y2) {
    const int dx = x2 - x1;
    const int dy = y2 - y1;
    const int steps = std::max(std::abs(dx), std::abs(dy));
    if (steps == 0) {
        return;
    }
    // The last pixel before the end point, along the longer axis.
    const int lastX = x1 + (dx * (steps - 1) + (dx >= 0 ? steps / 2 : -steps / 2)) / steps;
    const int lastY = y1 + (dy * (steps - 1) + (dy >= 0 ? steps / 2 : -steps / 2)) / steps;
    QPainter painter(&surface());
    painter.setPen(QPen(pen_, 0));
    painter.drawLine(x1, y1, lastX, lastY);
    update();
}

void DrawingBoard::copyRectangle(DrawingBoard& source, int sourceX, int sourceY, int width,
                                 int height, int x, int y) {
    const QPixmap from = source.surface();  // shares the pixels; a copy onto itself stays sound
    QPainter painter(&surface());
    painter.setCompositionMode(QPainter::CompositionMode_Source);
    painter.drawPixmap(x, y, from, sourceX, sourceY, width, height);
    update();
}

void DrawingBoard::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.drawPixmap(0, 0, surface());
}

QPixmap& DrawingBoard::surface() {
    const QSize wanted(std::max(width(), 1), std::max(height(), 1));
    if (pixmap_.size() != wanted) {
        QPixmap resized(wanted);
        resized.fill(colourFromNumber(backgroundColour_));
        QPainter painter(&resized);
        painter.drawPixmap(0, 0, pixmap_);
        painter.end();
        pixmap_ = resized;
    }
    return pixmap_;
}

}  // namespace lumoset
