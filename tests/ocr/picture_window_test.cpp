// The picture window used the way a person uses it: choose, drop or open a picture, press
// "识别", read the lines or the message box.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDropEvent>
#include <QImage>
#include <QMessageBox>
#include <QMimeData>
#include <QPainter>
#include <QPointer>
#include <QTest>
#include <QTimer>
#include <QUrl>
#include <cstdlib>
#include <functional>
#include <optional>

#include "app/main_window.h"
#include "ocr/picture_window.h"
#include "tests/fakes/http/raw_server.h"
#include "tests/fakes/recognition_service/fake_recognition_service.h"
#include "tests/ocr/pictures.h"
#include "tests/support/test_support.h"
#include "text/convert.h"

namespace lumoset {
namespace {

namespace fs = std::filesystem;

// Left half red, right half blue, so a picture that arrives can be told from another, with the
// lines the fake service reads out of it written across the middle.
QImage sample(QColor right = QColor(20, 20, 220)) {
    QImage image(240, 160, QImage::Format_RGB32);
    QPainter painter(&image);
    painter.fillRect(0, 0, 120, 160, QColor(220, 20, 20));
    painter.fillRect(120, 0, 120, 160, right);
    painter.fillRect(0, 40, 240, 80, Qt::white);
    painter.setPen(Qt::black);
    painter.drawText(QRect(0, 40, 240, 80), Qt::AlignCenter,
                     QStringLiteral("第一行\nsecond line\n3"));
    return image;
}

std::string pngBytes(const QImage& image) {
    return test::pictureFile(image, "PNG");
}

// Whether the JPEG the service received shows `expected`.
bool showsPicture(const std::string& jpeg, const QImage& expected) {
    const QImage received = QImage::fromData(QByteArray::fromStdString(jpeg), "JPEG");
    return received.size() == expected.size() &&
           test::similarColor(received.pixelColor(10, 10), expected.pixelColor(10, 10)) &&
           test::similarColor(received.pixelColor(230, 150), expected.pixelColor(230, 150));
}

// While it lives, runs `handle` on the first modal dialog of type `Dialog` that shows, from
// inside the dialog's own event loop.
template <typename Dialog>
class WhenShown {
  public:
    explicit WhenShown(std::function<void(Dialog*)> handle) {
        QObject::connect(&timer_, &QTimer::timeout, [this, handle] {
            auto* dialog = qobject_cast<Dialog*>(QApplication::activeModalWidget());
            if (dialog != nullptr && dialog->isVisible()) {
                timer_.stop();
                handle(dialog);
            }
        });
        timer_.start(10);
    }

  private:
    QTimer timer_;
};

// Drags a local file over `target` and lets go; returns whether the drag was taken.
bool dropFile(QWidget* target, const QString& file) {
    QMimeData data;
    data.setUrls({QUrl::fromLocalFile(file)});
    const QPoint point(5, 5);
    QDragEnterEvent enter(point, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(target, &enter);
    if (!enter.isAccepted()) {
        return false;
    }
    QDropEvent drop(point, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(target, &drop);
    return drop.isAccepted();
}

// Closes `window` the way its close box does and waits until it is gone.
void closeWindow(QWidget* window) {
    QPointer<QWidget> watched = window;
    window->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(watched.isNull());
}

struct SeenMessage {
    QString title;
    QString text;
    QWidget* owner = nullptr;
    int buttons = 0;
};

class PictureWindowTest : public ::testing::Test {
  protected:
    void SetUp() override {
        pictureSource.clear();
        pictureIsUrl = false;
        ::setenv("LUMOSET_OCR_ENDPOINT", service.endpoint().c_str(), 1);
        picture = sample();
        pictureFile = dir.path() / "picture.png";
        test::writeFile(pictureFile, pngBytes(picture));
        service.answerWords({"第一行", "second line", "3"});
    }

    void TearDown() override { ::unsetenv("LUMOSET_OCR_ENDPOINT"); }

    PictureTextWindow* openWindow() {
        auto* window = new PictureTextWindow(&owner);
        window->show();
        return window;
    }

    // Chooses `file` in the open dialog by typing its name and pressing Enter.
    void chooseInDialog(PictureTextWindow* window, const QString& file) {
        const WhenShown<QFileDialog> chooser([file](QFileDialog* dialog) {
            auto* name = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
            if (name != nullptr) {
                name->setText(file);
                QTest::keyClick(name, Qt::Key_Return);
            }
            if (dialog->isVisible()) {  // never leave the test hanging in the dialog
                ADD_FAILURE() << "the dialog did not take " << file.toStdString();
                dialog->reject();
            }
        });
        QTest::mouseClick(window->按钮1, Qt::LeftButton);
    }

    // Presses "识别"; returns the message box it ended in, if any, after pressing its OK.
    std::optional<SeenMessage> recognise(PictureTextWindow* window) {
        std::optional<SeenMessage> seen;
        const WhenShown<QMessageBox> reader([&seen](QMessageBox* box) {
            seen = SeenMessage{box->windowTitle(), box->text(), box->parentWidget(),
                               static_cast<int>(box->buttons().size())};
            box->button(QMessageBox::Ok)->click();
        });
        QTest::mouseClick(window->按钮3, Qt::LeftButton);
        return seen;
    }

    static QString status(PictureTextWindow* window) { return window->状态条1->currentMessage(); }

    test::TempDir dir;
    fake::FakeRecognitionService service;
    QWidget owner;
    QImage picture;
    fs::path pictureFile;
};

TEST_F(PictureWindowTest, ControlsStandWhereTheFormPutsThem) {
    QPointer<PictureTextWindow> window = openWindow();
    EXPECT_EQ(window->windowTitle(), QStringLiteral("图片转文字"));
    EXPECT_EQ(window->size(), QSize(507, 315));
    const struct {
        QWidget* control;
        const char* name;
        QRect place;
        QString text;
    } controls[] = {
        {window->标签1, "标签1", {232, 8, 88, 32}, "本地图片地址："},
        {window->编辑框1, "编辑框1", {232, 40, 208, 32}, ""},
        {window->按钮1, "按钮1", {448, 40, 48, 32}, "打开"},
        {window->标签2, "标签2", {232, 72, 88, 32}, "网络图片地址："},
        {window->编辑框2, "编辑框2", {232, 104, 208, 32}, ""},
        {window->按钮2, "按钮2", {448, 104, 48, 32}, "打开"},
        {window->编辑框3, "编辑框3", {232, 144, 176, 120}, ""},
        {window->按钮3, "按钮3", {416, 169, 80, 72}, "识别"},
        {window->图片框1, "图片框1", {8, 8, 216, 256}, ""},
    };
    for (const auto& c : controls) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(window->findChild<QWidget*>(QString::fromUtf8(c.name)), c.control);
        EXPECT_EQ(c.control->geometry(), c.place);
        EXPECT_EQ(c.control->property("text").toString(), c.text);
    }
    EXPECT_EQ(window->编辑框3->toPlainText(), "");
    EXPECT_EQ(window->编辑框3->horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
    EXPECT_EQ(window->编辑框3->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
    EXPECT_FALSE(window->图片框1->hasPicture());
    EXPECT_EQ(status(window), QStringLiteral("图片识别1.00"));
    EXPECT_EQ(window->状态条1->geometry(), QRect(0, 295, 507, 20));
    EXPECT_EQ(window->findChild<QObject*>(QStringLiteral("通用对话框1")), window->通用对话框1);
    EXPECT_EQ(window->findChild<QObject*>(QStringLiteral("拖放对象1")), window->拖放对象1);
    closeWindow(window);  // deleted on close
}

TEST_F(PictureWindowTest, AFileChosenInTheDialogIsShownAndRecognised) {
    PictureTextWindow* window = openWindow();
    QStringList filters;
    {
        const WhenShown<QFileDialog> cancel([&filters](QFileDialog* dialog) {
            filters = dialog->nameFilters();
            dialog->reject();
        });
        QTest::mouseClick(window->按钮1, Qt::LeftButton);
    }
    EXPECT_EQ(filters, QStringList{QStringLiteral("图片文件 (*)")});
    EXPECT_EQ(status(window), QStringLiteral("图片识别1.00"));  // cancelled: nothing changed

    const QString file = QString::fromStdString(pictureFile.string());
    chooseInDialog(window, file);
    EXPECT_EQ(window->编辑框1->text(), file);
    EXPECT_TRUE(window->图片框1->hasPicture());
    EXPECT_EQ(status(window), file);

    EXPECT_FALSE(recognise(window));
    ASSERT_EQ(service.requests().size(), 1u);
    const fake::RecognitionRequest request = service.requests()[0];
    EXPECT_TRUE(request.problems.empty()) << ::testing::PrintToString(request.problems);
    EXPECT_TRUE(request.inlinePicture);
    EXPECT_TRUE(showsPicture(request.picture, picture));
    EXPECT_EQ(window->编辑框3->toPlainText(), QStringLiteral("第一行\nsecond line\n3"));
    EXPECT_EQ(window->编辑框3->document()->blockCount(), 3);
    EXPECT_EQ(status(window), QStringLiteral("识别图片完成！"));
    test::saveScreenshot(*window, "picture_window");

    // The file is read again at each recognition; the new result replaces the old one.
    const QImage changed = sample(QColor(20, 200, 20));
    test::writeFile(pictureFile, pngBytes(changed));
    service.answerWords({"only line"});
    EXPECT_FALSE(recognise(window));
    ASSERT_EQ(service.requests().size(), 2u);
    EXPECT_TRUE(showsPicture(service.requests()[1].picture, changed));
    EXPECT_NE(service.requests()[1].cookie, "");
    EXPECT_EQ(window->编辑框3->toPlainText(), QStringLiteral("only line"));
    closeWindow(window);
}

TEST_F(PictureWindowTest, AFileDroppedAnywhereIsTaken) {
    PictureTextWindow* window = openWindow();
    const fs::path second = dir.path() / "second.png";
    test::writeFile(second, pngBytes(sample(Qt::green)));
    // Onto the window itself, then onto a box that takes dropped text on its own.
    for (const fs::path& file : {pictureFile, second}) {
        const QString name = QString::fromStdString(file.string());
        QWidget* target =
            file == pictureFile ? static_cast<QWidget*>(window) : window->编辑框3->viewport();
        ASSERT_TRUE(dropFile(target, name));
        EXPECT_EQ(window->编辑框1->text(), name);
        EXPECT_TRUE(window->图片框1->hasPicture());
        EXPECT_EQ(status(window), name);
        EXPECT_EQ(window->编辑框3->toPlainText(), "");
    }
    EXPECT_FALSE(recognise(window));
    EXPECT_TRUE(showsPicture(service.requests().at(0).picture, sample(Qt::green)));

    // A file that is no picture still becomes the source, with an empty picture box.
    const fs::path notes = dir.path() / "notes.txt";
    test::writeFile(notes, "no picture here");
    ASSERT_TRUE(dropFile(window->图片框1, QString::fromStdString(notes.string())));
    EXPECT_FALSE(window->图片框1->hasPicture());
    EXPECT_EQ(status(window), QString::fromStdString(notes.string()));
    closeWindow(window);
}

TEST_F(PictureWindowTest, AWebPictureIsShownAndItsAddressSent) {
    fake::RawServer web(
        fake::httpResponse(200, {{"Content-Type", "image/png"}}, pngBytes(picture)));
    PictureTextWindow* window = openWindow();
    const QString address = QString::fromStdString(web.url("/pic.png?a=1&b=中文"));
    test::typeText(window->编辑框2, address);
    EXPECT_EQ(window->编辑框2->text(), address);
    QTest::mouseClick(window->按钮2, Qt::LeftButton);
    EXPECT_TRUE(window->图片框1->hasPicture());
    EXPECT_EQ(status(window), address);
    ASSERT_EQ(web.requests().size(), 1u);
    const fake::ReceivedRequest get = web.requests()[0];
    EXPECT_EQ(get.method, "GET");
    EXPECT_EQ(get.target, "/pic.png?a=1&b=%E4%B8%AD%E6%96%87");
    EXPECT_EQ(get.headerNames(), std::vector<std::string>{"Host"});  // nothing of our own

    EXPECT_FALSE(recognise(window));
    ASSERT_EQ(service.requests().size(), 1u);
    const fake::RecognitionRequest request = service.requests()[0];
    EXPECT_TRUE(request.problems.empty()) << ::testing::PrintToString(request.problems);
    EXPECT_FALSE(request.inlinePicture);
    EXPECT_EQ(request.pictureUrl, toGbk(address.toStdString()));  // unencoded, "&" and all
    EXPECT_EQ(window->编辑框3->toPlainText(), QStringLiteral("第一行\nsecond line\n3"));
    EXPECT_EQ(web.requests().size(), 1u);  // the service fetches the picture, not the window
    closeWindow(window);
}

TEST_F(PictureWindowTest, AnAddressThatCantBeFetchedStillBecomesTheSource) {
    PictureTextWindow* window = openWindow();
    const QString address = QStringLiteral("http://127.0.0.1:%1/gone.png").arg(fake::unusedPort());
    test::typeText(window->编辑框2, address);
    QTest::mouseClick(window->按钮2, Qt::LeftButton);
    EXPECT_FALSE(window->图片框1->hasPicture());
    EXPECT_EQ(status(window), address);
    EXPECT_FALSE(recognise(window));
    EXPECT_EQ(service.requests().at(0).pictureUrl, address.toStdString());
    closeWindow(window);
}

TEST_F(PictureWindowTest, EveryFailureEndsInTheSameMessageBox) {
    const struct {
        const char* what;
        std::function<void(fake::FakeRecognitionService&)> serviceSays;
        bool chooseFile;
    } cases[] = {
        {"refusal", [](auto& s) { s.answerStatus("image size error"); }, true},
        {"empty answer", [](auto& s) { s.answer(fake::FakeRecognitionService::Answer::emptyBody); },
         true},
        {"no answer", [](auto& s) { s.answer(fake::FakeRecognitionService::Answer::nothing); },
         true},
        {"no picture chosen", [](auto&) {}, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        pictureSource.clear();
        pictureIsUrl = false;
        service.answerWords({"left from before"});
        c.serviceSays(service);
        PictureTextWindow* window = openWindow();
        if (c.chooseFile) {
            chooseInDialog(window, QString::fromStdString(pictureFile.string()));
        }
        window->编辑框3->setPlainText(QStringLiteral("earlier result"));
        const std::optional<SeenMessage> seen = recognise(window);
        ASSERT_TRUE(seen);
        EXPECT_EQ(seen->title, QStringLiteral("提示"));
        EXPECT_EQ(seen->text, QStringLiteral("信息错误！"));
        EXPECT_EQ(seen->owner, window);
        EXPECT_EQ(seen->buttons, 1);
        EXPECT_EQ(status(window), QStringLiteral("正在识别图片......"));
        EXPECT_EQ(window->编辑框3->toPlainText(), "");
        closeWindow(window);
    }
    // The missing picture went out as an empty image field, which the service refused.
    const auto requests = service.requests();
    ASSERT_EQ(requests.size(), 4u);
    EXPECT_TRUE(requests[3].inlinePicture);
    EXPECT_FALSE(requests[3].problems.empty());
}

TEST_F(PictureWindowTest, ASuccessWithoutWordsLeavesTheBoxEmpty) {
    service.answerWords({});
    PictureTextWindow* window = openWindow();
    chooseInDialog(window, QString::fromStdString(pictureFile.string()));
    EXPECT_FALSE(recognise(window));
    EXPECT_EQ(window->编辑框3->toPlainText(), "");
    EXPECT_EQ(status(window), QStringLiteral("识别图片完成！"));
    closeWindow(window);
}

// After a web picture, pressing the file button and cancelling keeps the address as the source
// but marks it as a file, so it is read as a path and the recognition fails.
TEST_F(PictureWindowTest, CancellingTheDialogAfterAWebPictureMakesTheAddressAPath) {
    PictureTextWindow* window = openWindow();
    test::typeText(window->编辑框2, QStringLiteral("http://127.0.0.1:1/x.png"));
    QTest::mouseClick(window->按钮2, Qt::LeftButton);
    {
        const WhenShown<QFileDialog> cancel([](QFileDialog* dialog) { dialog->reject(); });
        QTest::mouseClick(window->按钮1, Qt::LeftButton);
    }
    EXPECT_EQ(pictureSource, "http://127.0.0.1:1/x.png");
    EXPECT_FALSE(pictureIsUrl);
    EXPECT_TRUE(recognise(window));
    EXPECT_TRUE(service.requests().at(0).inlinePicture);
    closeWindow(window);
}

TEST_F(PictureWindowTest, AWindowOpenedAgainRecognisesTheEarlierPicture) {
    MainWindow start;
    start.show();
    QTest::mouseClick(start.按钮3, Qt::LeftButton);
    EXPECT_FALSE(start.isVisible());
    QPointer<PictureTextWindow> first = start.findChild<PictureTextWindow*>();
    ASSERT_TRUE(first);
    EXPECT_TRUE(first->isVisible());
    chooseInDialog(first, QString::fromStdString(pictureFile.string()));
    closeWindow(first);
    EXPECT_TRUE(start.isVisible());

    QTest::mouseClick(start.按钮3, Qt::LeftButton);
    PictureTextWindow* second = start.findChild<PictureTextWindow*>();
    ASSERT_NE(second, nullptr);
    EXPECT_EQ(second->编辑框1->text(), "");
    EXPECT_FALSE(second->图片框1->hasPicture());
    EXPECT_FALSE(recognise(second));
    EXPECT_TRUE(showsPicture(service.requests().at(0).picture, picture));
    EXPECT_EQ(second->编辑框3->toPlainText(), QStringLiteral("第一行\nsecond line\n3"));
    closeWindow(second);
}

}  // namespace
}  // namespace lumoset
