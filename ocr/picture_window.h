// The picture-to-text window: a picture from a file, a drop or the web, and its text lines.
#pragma once

#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStatusBar>

#include "app/feature_window.h"
#include "ocr/file_drop_receiver.h"
#include "ocr/picture_box.h"
#include "text/types.h"

namespace lumoset {

// The picture to recognise, chosen last: a path or a web address (GBK). Both keep their values
// from one opening of the window to the next until the program ends.
extern Text pictureSource;
extern bool pictureIsUrl;

class PictureTextWindow : public FeatureWindow {
    Q_OBJECT

  public:
    explicit PictureTextWindow(QWidget* owner);

    QLabel* 标签1;                // 本地图片地址：
    QLineEdit* 编辑框1;           // path of the local picture
    QPushButton* 按钮1;           // 打开: a local picture through the dialog
    QLabel* 标签2;                // 网络图片地址：
    QLineEdit* 编辑框2;           // web address typed by the user
    QPushButton* 按钮2;           // 打开: the web picture
    QPlainTextEdit* 编辑框3;      // recognised lines
    QPushButton* 按钮3;           // 识别
    PictureBox* 图片框1;          // the chosen picture
    QStatusBar* 状态条1;          // progress and the chosen source
    QFileDialog* 通用对话框1;     // asks for a local file
    FileDropReceiver* 拖放对象1;  // files dropped anywhere on the window

  protected:
    void resizeEvent(QResizeEvent* event) override;

  private:
    void openLocalPicture();
    void takeDroppedFile(const QString& file);
    void openWebPicture();
    void recognise();
    void showLocalPicture(const QString& file);
    void setStatus(const QString& text);
};

}  // namespace lumoset
