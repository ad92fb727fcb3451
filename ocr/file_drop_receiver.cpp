#include "ocr/file_drop_receiver.h"

#include <QDropEvent>
#include <QMimeData>
#include <QUrl>
#include <QWidget>

namespace lumoset {

namespace {

QString firstLocalFile(const QMimeData* data) {
    if (data == nullptr) {
        return {};
    }
    for (const QUrl& url : data->urls()) {
        if (url.isLocalFile()) {
            return url.toLocalFile();
        }
    }
    return {};
}

}  // namespace

FileDropReceiver::FileDropReceiver(QObject* parent) : QObject(parent) {}

void FileDropReceiver::registerArea(QWidget* area) {
    area->setAcceptDrops(true);
    area->installEventFilter(this);
    for (QWidget* control : area->findChildren<QWidget*>()) {
        if (control->window() == area) {
            control->installEventFilter(this);
        }
    }
}

bool FileDropReceiver::eventFilter(QObject* watched, QEvent* event) {
    switch (event->type()) {
        case QEvent::DragEnter:
        case QEvent::DragMove: {
            auto* drag = static_cast<QDragMoveEvent*>(event);
            if (firstLocalFile(drag->mimeData()).isEmpty()) {
                return false;
            }
            drag->acceptProposedAction();
            return true;
        }
        case QEvent::Drop: {
            auto* drop = static_cast<QDropEvent*>(event);
            const QString file = firstLocalFile(drop->mimeData());
            if (file.isEmpty()) {
                return false;
            }
            drop->acceptProposedAction();
            emit fileDropped(file);
            return true;
        }
        default:
            return QObject::eventFilter(watched, event);
    }
}

}  // namespace lumoset
