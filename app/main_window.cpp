#include "app/main_window.h"

#include <QApplication>
#include <QCloseEvent>
#include <QStyleFactory>
#include <system_error>

#include "app/feature_windows.h"
#include "app/form_geometry.h"
#include "app/shell/run_directory.h"

namespace lumoset {

namespace fs = std::filesystem;

void removeFolderTree(const fs::path& folder) {
    std::error_code error;
    for (fs::directory_iterator it(folder, error), end; !error && it != end; it.increment(error)) {
        const fs::path entry = it->path();
        if (it->is_directory(error) && !it->is_symlink(error)) {
            removeFolderTree(entry);
        } else {
            fs::remove(entry, error);
        }
        error.clear();
    }
    fs::remove(folder, error);
}

MainWindow::MainWindow(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("MainWindow"));
    setWindowTitle(QStringLiteral("Lumoset"));
    setOuterGeometry(*this, 50, 50, 361, 207);
    按钮1 = addButton(1, QStringLiteral("文字转语音"), 34, 16);
    按钮2 = addButton(2, QStringLiteral("语音转文字"), 202, 16);
    按钮3 = addButton(3, QStringLiteral("图片转文字"), 34, 112);
    按钮4 = addButton(4, QStringLiteral("有道翻译"), 202, 112);

    // Creation: themed drawing for every window of the UI thread, then the cache root.
    QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
    std::error_code ignored;
    if (!fs::is_directory(cacheFolder(), ignored)) {
        fs::create_directory(cacheFolder(), ignored);
    }
}

QPushButton* MainWindow::addButton(int number, const QString& text, int x, int y) {
    auto* button = new QPushButton(text, this);
    button->setObjectName(QStringLiteral("按钮%1").arg(number));
    button->setGeometry(x, y, 112, 56);
    connect(button, &QPushButton::clicked, this, [this, number] { openFeature(number); });
    return button;
}

void MainWindow::openFeature(int button) {
    hide();
    if (QWidget* window = createFeatureWindow(button, this)) {
        window->show();
    }
}

void MainWindow::closeEvent(QCloseEvent* event) {
    removeFolderTree(cacheFolder());
    event->accept();
}

}  // namespace lumoset
