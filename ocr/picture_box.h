// A box that shows a picture given as the bytes of its file.
#pragma once

#include <QLabel>

#include "text/types.h"

namespace lumoset {

class PictureBox : public QLabel {
    Q_OBJECT

  public:
    explicit PictureBox(QWidget* parent = nullptr);

    // Shows the picture held in `file` (the bytes of a picture file), shrunk to fit the box
    // with its proportions kept; a smaller picture keeps its size, centred. Bytes that are no
    // picture leave the box empty.
    void showFile(const Bytes& file);

    bool hasPicture() const;
};

}  // namespace lumoset
