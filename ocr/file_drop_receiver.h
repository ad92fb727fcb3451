// Receives files dropped anywhere on a window.
#pragma once

#include <QObject>
#include <QString>

class QWidget;

namespace lumoset {

class FileDropReceiver : public QObject {
    Q_OBJECT

  public:
    explicit FileDropReceiver(QObject* parent = nullptr);

    // Makes `area` and every control on it a drop target for local files. Drags that carry no
    // local file (a piece of text, say) keep their ordinary meaning for the control below.
    void registerArea(QWidget* area);

  signals:
    // A drop of local files: the first of them.
    void fileDropped(const QString& file);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
};

}  // namespace lumoset
