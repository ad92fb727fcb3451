#include "app/form_geometry.h"

#include <QEvent>
#include <QTimer>
#include <QWidget>

namespace lumoset {

namespace {

// On the first show, takes the frame that the window system added off the inner size.
class FrameFitter : public QObject {
public:
    FrameFitter(QWidget& window, QSize outer) : QObject(&window), window_(window), outer_(outer) {}

    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched == &window_ && event->type() == QEvent::Show) {
            QTimer::singleShot(0, this, [this] { fit(); });
        }
        return false;
    }

private:
    void fit() {
        const QSize frame = window_.frameGeometry().size() - window_.geometry().size();
        if (frame.width() > 0 || frame.height() > 0) {
            window_.setFixedSize(outer_ - frame);
        }
        window_.removeEventFilter(this);
        deleteLater();
    }

    QWidget& window_;
    QSize outer_;
};

}  // namespace

void setOuterGeometry(QWidget& window, int x, int y, int width, int height) {
    window.setFixedSize(width, height);
    window.move(x, y);
    window.installEventFilter(new FrameFitter(window, QSize(width, height)));
}

}  // namespace lumoset
