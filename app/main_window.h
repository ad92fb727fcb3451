// The start window: four buttons, each opening one feature window.
#pragma once

#include <QPushButton>
#include <filesystem>
#include <QWidget>

namespace lumoset {

class MainWindow : public QWidget {
    Q_OBJECT

public:
    explicit MainWindow(QWidget* parent = nullptr);

    QPushButton* 按钮1;  // 文字转语音
    QPushButton* 按钮2;  // 语音转文字
    QPushButton* 按钮3;  // 图片转文字
    QPushButton* 按钮4;  // 有道翻译

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    QPushButton* addButton(int number, const QString& text, int x, int y);
    void openFeature(int button);
};

// Removes `folder` depth first; what can't be removed stays and the rest still goes.
void removeFolderTree(const std::filesystem::path& folder);

}  // namespace lumoset
