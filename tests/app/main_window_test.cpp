// The start window as a person meets it: its form, the cache root, and the feature windows.
#include "app/main_window.h"

#include <QApplication>
#include <QPushButton>
#include <QStyle>
#include <QTest>
#include <gtest/gtest.h>

#include "app/shell/run_directory.h"
#include "tests/support/test_support.h"

namespace fs = std::filesystem;
using namespace lumoset;
using lumoset::test::readFile;
using lumoset::test::TempDir;
using lumoset::test::waitUntil;
using lumoset::test::writeFile;

namespace {

class MainWindowTest : public ::testing::Test {
protected:
    void SetUp() override { setRunDirectory(run_.path()); }
    TempDir run_;
};

QWidget* openFeatureWindow() {
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        if (widget->isVisible() && widget->objectName() != QLatin1String("MainWindow")) {
            return widget;
        }
    }
    return nullptr;
}

}  // namespace

TEST_F(MainWindowTest, FormHasItsCaptionPlaceAndButtons) {
    MainWindow window;
    window.show();
    EXPECT_EQ(window.windowTitle(), QStringLiteral("Lumoset"));
    // The outer size counts the frame that the window system puts around the window.
    EXPECT_TRUE(waitUntil([&] { return window.frameGeometry() == QRect(50, 50, 361, 207); }))
        << window.frameGeometry().width() << "x" << window.frameGeometry().height();
    EXPECT_EQ(QApplication::style()->name(), QStringLiteral("fusion"));

    struct Expected {
        const char* name;
        const char* text;
        QRect geometry;
    };
    const Expected buttons[] = {
        {"按钮1", "文字转语音", QRect(34, 16, 112, 56)},
        {"按钮2", "语音转文字", QRect(202, 16, 112, 56)},
        {"按钮3", "图片转文字", QRect(34, 112, 112, 56)},
        {"按钮4", "有道翻译", QRect(202, 112, 112, 56)},
    };
    for (const Expected& expected : buttons) {
        auto* button = window.findChild<QPushButton*>(QString::fromUtf8(expected.name));
        ASSERT_NE(button, nullptr) << expected.name;
        EXPECT_EQ(button->text(), QString::fromUtf8(expected.text));
        EXPECT_EQ(button->geometry(), expected.geometry) << expected.name;
    }
    EXPECT_EQ(window.按钮1, window.findChild<QPushButton*>(QStringLiteral("按钮1")));
    test::saveScreenshot(window, "start_window");
}

TEST_F(MainWindowTest, CacheRootLivesFromCreationToClosingWhileSavedSpeechStays) {
    const fs::path cache = run_.path() / u8"缓存";
    const fs::path saved = run_.path() / u8"音频";
    EXPECT_FALSE(fs::exists(cache));
    {
        MainWindow window;
        window.show();
        ASSERT_TRUE(fs::is_directory(cache));
        EXPECT_EQ(cacheFolder(), cache);

        fs::create_directories(cache / u8"上传");
        fs::create_directories(cache / u8"下载" / "deeper");
        writeFile(cache / u8"上传" / "1", "recording");
        writeFile(cache / u8"下载" / "1", "sentence");
        writeFile(cache / u8"下载" / "deeper" / "x", "x");
        fs::create_directories(saved);
        writeFile(saved / "speech.wav", "RIFF");

        window.close();
    }
    EXPECT_FALSE(fs::exists(cache));
    EXPECT_EQ(readFile(saved / "speech.wav"), "RIFF");
}

TEST_F(MainWindowTest, PresentCacheRootKeepsItsContentsUntilClosing) {
    const fs::path cache = run_.path() / u8"缓存";
    fs::create_directories(cache / u8"下载");
    writeFile(cache / u8"下载" / "1", "old sentence");

    MainWindow window;
    window.show();
    EXPECT_EQ(readFile(cache / u8"下载" / "1"), "old sentence");
    window.close();
    EXPECT_FALSE(fs::exists(cache));
}

TEST_F(MainWindowTest, EachButtonHidesTheStartWindowUntilItsWindowCloses) {
    MainWindow window;
    window.show();
    const struct {
        QPushButton* button;
        const char* caption;
    } cases[] = {
        {window.按钮1, "文本转语音"},
        {window.按钮2, "语音转文字"},
        {window.按钮3, "图片转文字"},
        {window.按钮4, "有道翻译"},
    };
    for (const auto& c : cases) {
        QTest::mouseClick(c.button, Qt::LeftButton);
        EXPECT_FALSE(window.isVisible()) << c.caption;
        QWidget* feature = openFeatureWindow();
        ASSERT_NE(feature, nullptr) << c.caption;
        EXPECT_EQ(feature->windowTitle(), QString::fromUtf8(c.caption));
        EXPECT_EQ(feature->parentWidget(), &window);
        EXPECT_TRUE(feature->isWindow());
        EXPECT_FALSE(feature->isModal());

        QPointer<QWidget> closing(feature);
        feature->close();
        EXPECT_TRUE(window.isVisible()) << c.caption;
        // Each opening builds the window afresh: the closed one goes away.
        EXPECT_TRUE(waitUntil([&] {
            QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
            return closing.isNull();
        }));
    }
}
