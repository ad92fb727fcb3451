// The common frame of the four feature windows.
#pragma once

#include <QWidget>

namespace lumoset {

// A top-level window owned by the start window. It is deleted when closed, so every opening
// builds it afresh, and its closing shows the start window again as its very last step.
class FeatureWindow : public QWidget {
    Q_OBJECT

public:
    FeatureWindow(QWidget* owner, const QString& caption, int width, int height);

protected:
    // The window's own closing steps, run before the start window comes back.
    virtual void beforeClose() {}

    void closeEvent(QCloseEvent* event) override;
};

}  // namespace lumoset
