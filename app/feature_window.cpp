#include "app/feature_window.h"

#include <QCloseEvent>

#include "app/form_geometry.h"

namespace lumoset {

FeatureWindow::FeatureWindow(QWidget* owner, const QString& caption, int width, int height)
    : QWidget(owner, Qt::Window) {
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(caption);
    setOuterGeometry(*this, 50, 50, width, height);
}

void FeatureWindow::closeEvent(QCloseEvent* event) {
    beforeClose();
    if (QWidget* owner = parentWidget()) {
        owner->show();
    }
    event->accept();
}

}  // namespace lumoset
