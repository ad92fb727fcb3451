#include "ocr/picture_window.h"

#include <QMessageBox>
#include <vector>

#include "ocr/local_file.h"
#include "ocr/picture_download.h"
#include "app/shell/qt_text.h"
#include "ocr/recognition_client.h"
#include "text/text_between.h"

namespace lumoset {

Text pictureSource;
bool pictureIsUrl = false;

namespace {

constexpr int statusHeight = 20;

template <typename Control>
Control* place(Control* control, const char* name, int x, int y, int width, int height) {
    control->setObjectName(QString::fromUtf8(name));
    control->setGeometry(x, y, width, height);
    return control;
}

}  // namespace

PictureTextWindow::PictureTextWindow(QWidget* owner)
    : FeatureWindow(owner, QStringLiteral("图片转文字"), 507, 315) {
    setObjectName(QStringLiteral("PictureTextWindow"));
    标签1 = place(new QLabel(QStringLiteral("本地图片地址："), this), "标签1", 232, 8, 88, 32);
    编辑框1 = place(new QLineEdit(this), "编辑框1", 232, 40, 208, 32);
    按钮1 = place(new QPushButton(QStringLiteral("打开"), this), "按钮1", 448, 40, 48, 32);
    标签2 = place(new QLabel(QStringLiteral("网络图片地址："), this), "标签2", 232, 72, 88, 32);
    编辑框2 = place(new QLineEdit(this), "编辑框2", 232, 104, 208, 32);
    按钮2 = place(new QPushButton(QStringLiteral("打开"), this), "按钮2", 448, 104, 48, 32);
    编辑框3 = place(new QPlainTextEdit(this), "编辑框3", 232, 144, 176, 120);
    编辑框3->setLineWrapMode(QPlainTextEdit::NoWrap);
    编辑框3->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    编辑框3->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    按钮3 = place(new QPushButton(QStringLiteral("识别"), this), "按钮3", 416, 169, 80, 72);
    图片框1 = place(new PictureBox(this), "图片框1", 8, 8, 216, 256);
    状态条1 =
        place(new QStatusBar(this), "状态条1", 0, height() - statusHeight, width(), statusHeight);
    状态条1->setSizeGripEnabled(false);
    状态条1->showMessage(QStringLiteral("图片识别1.00"));

    通用对话框1 = new QFileDialog(this);
    通用对话框1->setObjectName(QStringLiteral("通用对话框1"));
    通用对话框1->setOption(QFileDialog::DontUseNativeDialog);
    通用对话框1->setFileMode(QFileDialog::ExistingFile);
    通用对话框1->setAcceptMode(QFileDialog::AcceptOpen);

    connect(按钮1, &QPushButton::clicked, this, &PictureTextWindow::openLocalPicture);
    connect(按钮2, &QPushButton::clicked, this, &PictureTextWindow::openWebPicture);
    connect(按钮3, &QPushButton::clicked, this, &PictureTextWindow::recognise);

    // Created: the whole window becomes the drop area.
    拖放对象1 = new FileDropReceiver(this);
    拖放对象1->setObjectName(QStringLiteral("拖放对象1"));
    connect(拖放对象1, &FileDropReceiver::fileDropped, this, &PictureTextWindow::takeDroppedFile);
    拖放对象1->registerArea(this);
}

// The status bar stays docked at the bottom edge, whatever frame the window system adds.
void PictureTextWindow::resizeEvent(QResizeEvent* event) {
    FeatureWindow::resizeEvent(event);
    状态条1->setGeometry(0, height() - statusHeight, width(), statusHeight);
}

// The source counts as a file from the moment the button is pressed, even when the dialog is
// then cancelled.
void PictureTextWindow::openLocalPicture() {
    pictureIsUrl = false;
    通用对话框1->setNameFilter(QStringLiteral("图片文件 (*)"));
    if (通用对话框1->exec() != QDialog::Accepted || 通用对话框1->selectedFiles().isEmpty()) {
        return;
    }
    showLocalPicture(通用对话框1->selectedFiles().constFirst());
}

void PictureTextWindow::takeDroppedFile(const QString& file) {
    showLocalPicture(file);
    pictureIsUrl = false;
}

void PictureTextWindow::showLocalPicture(const QString& file) {
    编辑框1->setText(file);
    pictureSource = fromQString(编辑框1->text());
    图片框1->showFile(readLocalFile(pictureSource));
    setStatus(toQString(pictureSource));
}

// The download only shows the picture; recognition sends the address and the service fetches
// the picture itself.
void PictureTextWindow::openWebPicture() {
    pictureIsUrl = true;
    pictureSource = fromQString(编辑框2->text());
    图片框1->showFile(downloadDisplayPicture(pictureSource));
    setStatus(toQString(pictureSource));
}

// Blocks the window until the service answers; every failure ends in the same message box.
void PictureTextWindow::recognise() {
    setStatus(QStringLiteral("正在识别图片......"));
    编辑框3->clear();
    状态条1->repaint();
    const Text answer = recognizePicture(pictureSource, pictureIsUrl);
    if (textBetween(answer, "msg\":\"", "\"") != "success") {
        QMessageBox box(QMessageBox::NoIcon, QStringLiteral("提示"), QStringLiteral("信息错误！"),
                        QMessageBox::Ok, this);
        box.exec();
        return;
    }
    std::vector<Text> lines;
    allTextsBetween(answer, "words\":\"", "\"", lines);
    Text shown;
    for (const Text& line : lines) {
        shown = shown.empty() ? line : shown + "\r\n" + line;
    }
    编辑框3->setPlainText(toQString(shown));
    setStatus(QStringLiteral("识别图片完成！"));
}

void PictureTextWindow::setStatus(const QString& text) {
    状态条1->showMessage(text);
}

}  // namespace lumoset
