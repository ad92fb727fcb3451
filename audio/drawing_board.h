// DrawingBoard: a control that keeps its picture in an off-screen pixmap. It is drawn on with a
// pen colour, gradient fills and lines, rectangles are copied between boards, and `clear`
// restores its background colour and background picture.
#pragma once

#include <QPixmap>
#include <QWidget>
#include <cstdint>

namespace lumoset {

// Colours are numbers: blue * 65536 + green * 256 + red.
QColor colourFromNumber(std::uint32_t colour);

class DrawingBoard : public QWidget {
    Q_OBJECT

  public:
    explicit DrawingBoard(QWidget* parent = nullptr);

    void setBackgroundColour(std::uint32_t colour);
    std::uint32_t backgroundColour() const { return backgroundColour_; }
    void setBackgroundPicture(const QPixmap& picture);
    const QPixmap& backgroundPicture() const { return backgroundPicture_; }

    // A hidden board beside this one (sharing its parent, or inside it when it has none) of
    // the same size, background colour and background picture.
    DrawingBoard* duplicate();

    // Fills the board with its background colour and puts the background picture at 0, 0.
    void clear();
    void setPenColour(std::uint32_t colour);

    // Fills a rectangle with a gradient from `from` to `to`: style 0 runs left to right,
    // style 1 top to bottom.
    void fillGradient(int x, int y, int width, int height, std::uint32_t from, std::uint32_t to,
                      int style);

    // A one-pixel line in the pen colour from (x1, y1) up to, not including, (x2, y2).
    void drawLine(int x1, int y1, int x2, int y2);

    // Copies the rectangle at (sourceX, sourceY) of `source` onto this board at (x, y).
    void copyRectangle(DrawingBoard& source, int sourceX, int sourceY, int width, int height, int x,
                       int y);

    // The board's picture.
    QImage picture() { return surface().toImage(); }

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    // The pixmap, brought to the board's size first (a hidden board gets no resize events).
    QPixmap& surface();

    QPixmap pixmap_;
    std::uint32_t backgroundColour_ = 0;
    QPixmap backgroundPicture_;
    QColor pen_;
};

}  // namespace lumoset
