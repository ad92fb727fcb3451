// Placing a window by its outer size, frame included, as its form gives it.
#pragma once

class QWidget;

namespace lumoset {

// Moves `window` to `x`, `y` and gives it the outer size `width` × `height`. Where the window
// system adds a frame, the inner size shrinks by the frame once the window is shown.
void setOuterGeometry(QWidget& window, int x, int y, int width, int height);

}  // namespace lumoset
