#include "translate/translation_window.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QPointer>
#include <QScrollBar>
#include <QTest>

#include "app/main_window.h"
#include "tests/support/test_support.h"
#include "tests/translate/translation_test_support.h"

namespace lumoset {
namespace {

using test::FakeTranslationService;

void paste(QWidget* box, const QString& text) {
    QApplication::clipboard()->setText(text);
    box->setFocus();
    QTest::keyClick(box, Qt::Key_V, Qt::ControlModifier);
}

class TranslationWindowTest : public test::WithTranslationService {
  protected:
    void SetUp() override {
        WithTranslationService::SetUp();
        window = new TranslationWindow(&owner);
        window->show();
    }
    void TearDown() override {
        delete window.data();
        WithTranslationService::TearDown();
    }

    QWidget owner;
    QPointer<TranslationWindow> window;
};

struct LanguageButton {
    const char* name;
    const char* text;
    int y;
    const char* code;
};

const LanguageButton languageButtons[] = {
    {"超级按钮1", "转中文>>>", 12, "zh-CHS"}, {"超级按钮2", "转日文>>>", 44, "ja"},
    {"超级按钮3", "转英文>>>", 76, "EN"},     {"超级按钮4", "转韩文>>>", 108, "ko"},
    {"超级按钮5", "转法文>>>", 140, "fr"},    {"超级按钮6", "转俄文>>>", 172, "ru"},
    {"超级按钮7", "转葡萄牙文>", 204, "pt"},  {"超级按钮8", "转西班牙文>", 236, "es"},
    {"超级按钮9", "转越南文>>>", 268, "vi"},
};

QPushButton* button(QWidget* window, const char* name) {
    return window->findChild<QPushButton*>(QString::fromUtf8(name));
}

TEST_F(TranslationWindowTest, ShowsItsFormWithTwoEmptyBoxesThatNeverWrap) {
    EXPECT_EQ(window->windowTitle(), QStringLiteral("有道翻译"));
    EXPECT_EQ(window->pos(), QPoint(50, 50));
    EXPECT_EQ(window->size(), QSize(457, 337));
    for (auto [box, x] : {std::pair{window->编辑框1, 8}, std::pair{window->编辑框2, 272}}) {
        EXPECT_EQ(box->geometry(), QRect(x, 8, 168, 296));
        EXPECT_TRUE(box->toPlainText().isEmpty());
        EXPECT_FALSE(box->isReadOnly());
        EXPECT_EQ(box->lineWrapMode(), QPlainTextEdit::NoWrap);
        EXPECT_EQ(box->horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
        EXPECT_EQ(box->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
    }
    EXPECT_EQ(window->findChild<QPlainTextEdit*>(QStringLiteral("编辑框1")), window->编辑框1);
    EXPECT_EQ(window->findChild<QPlainTextEdit*>(QStringLiteral("编辑框2")), window->编辑框2);
    const QPushButton* members[] = {window->超级按钮1, window->超级按钮2, window->超级按钮3,
                                    window->超级按钮4, window->超级按钮5, window->超级按钮6,
                                    window->超级按钮7, window->超级按钮8, window->超级按钮9};
    for (int i = 0; i < 9; ++i) {
        const LanguageButton& expected = languageButtons[i];
        QPushButton* found = button(window, expected.name);
        ASSERT_NE(found, nullptr) << expected.name;
        EXPECT_EQ(found, members[i]);
        EXPECT_EQ(found->text(), QString::fromUtf8(expected.text));
        EXPECT_EQ(found->geometry(), QRect(177, expected.y, 88, 32));
    }
}

TEST_F(TranslationWindowTest, EachButtonSendsTheTypedTextWithItsLanguageAndShowsTheTranslation) {
    test::typeText(window->编辑框1, QStringLiteral("你好，\n世界 & a=b"));
    const std::string typed = "你好，\n世界 & a=b";
    for (const LanguageButton& language : languageButtons) {
        SCOPED_TRACE(language.name);
        QTest::mouseClick(button(window, language.name), Qt::LeftButton);
        const auto request = lastRequest();
        EXPECT_THAT(request.problems, ::testing::IsEmpty());
        EXPECT_EQ(request.text, typed);
        EXPECT_EQ(request.from, "auto");
        EXPECT_EQ(request.to, language.code);
        // The line break comes back as the two characters of its JSON escape, on one line.
        EXPECT_EQ(window->编辑框2->toPlainText(),
                  QString::fromUtf8("[" + std::string(language.code) + "] 你好，\\n世界 & a=b"));
        EXPECT_EQ(window->编辑框1->toPlainText(), QString::fromStdString(typed));
    }
    EXPECT_EQ(service.requests().size(), 9u);
}

TEST_F(TranslationWindowTest, PastedTextIsSentAsItStandsAndReplacesWhatTheRightBoxHeld) {
    service.addTranslation("  今天天气很好  ", "EN", {"The weather is nice today"});
    paste(window->编辑框1, QStringLiteral("  今天天气很好  "));
    test::typeText(window->编辑框2, QStringLiteral("旧的内容"));
    QTest::mouseClick(window->超级按钮3, Qt::LeftButton);
    EXPECT_EQ(lastRequest().text, "  今天天气很好  ");
    EXPECT_EQ(window->编辑框2->toPlainText(), QStringLiteral("The weather is nice today"));
}

TEST_F(TranslationWindowTest, AnEmptyTextIsStillSent) {
    service.addTranslation("", "ja", {"空"});
    QTest::mouseClick(window->超级按钮2, Qt::LeftButton);
    const auto request = lastRequest();
    EXPECT_THAT(request.problems, ::testing::IsEmpty());
    EXPECT_EQ(request.text, "");
    EXPECT_EQ(window->编辑框2->toPlainText(), QStringLiteral("空"));
}

TEST_F(TranslationWindowTest, EveryFailureEmptiesTheRightBoxAndLeavesTheLeftOne) {
    const std::function<void()> failures[] = {
        [&] { service.replyWith(FakeTranslationService::Reply::ErrorCode); },
        [&] { service.replyWith(FakeTranslationService::Reply::EmptyBody); },
        [&] { service.replyWith(FakeTranslationService::Reply::HttpError); },
        [] { useEndpoint(unreachableEndpoint()); },
    };
    test::typeText(window->编辑框1, QStringLiteral("你好"));
    for (const auto& fail : failures) {
        service.replyWith(FakeTranslationService::Reply::Translation);
        useEndpoint(service.endpoint());
        QTest::mouseClick(window->超级按钮1, Qt::LeftButton);
        ASSERT_FALSE(window->编辑框2->toPlainText().isEmpty());
        fail();
        QTest::mouseClick(window->超级按钮1, Qt::LeftButton);
        EXPECT_EQ(window->编辑框2->toPlainText(), QString());
        EXPECT_EQ(window->编辑框1->toPlainText(), QStringLiteral("你好"));
    }
}

TEST_F(TranslationWindowTest, KeepsTheLastRawAnswerAcrossOpenings) {
    test::typeText(window->编辑框1, QStringLiteral("abc"));
    QTest::mouseClick(window->超级按钮5, Qt::LeftButton);
    EXPECT_THAT(lastTranslationAnswer, ::testing::HasSubstr("\"translation\":[\"[fr] abc\"]"));
    window->close();
    EXPECT_TRUE(test::waitUntil([&] { return window.isNull(); }));  // closing deletes it

    window = new TranslationWindow(&owner);
    EXPECT_TRUE(window->编辑框1->toPlainText().isEmpty());
    EXPECT_THAT(lastTranslationAnswer, ::testing::HasSubstr("[fr] abc"));
    service.replyWith(FakeTranslationService::Reply::EmptyBody);
    QTest::mouseClick(window->超级按钮5, Qt::LeftButton);
    EXPECT_EQ(lastTranslationAnswer, "");
}

TEST_F(TranslationWindowTest, ShowsAChineseTextWithItsEnglishTranslation) {
    service.addTranslation("你好，世界！", "EN", {"Hello, world!"});
    test::typeText(window->编辑框1, QStringLiteral("你好，世界！"));
    QTest::mouseClick(window->超级按钮3, Qt::LeftButton);
    EXPECT_EQ(window->编辑框2->toPlainText(), QStringLiteral("Hello, world!"));
    test::saveScreenshot(*window, "translation_window");
}

TEST(TranslationWindowShell, TheFourthStartButtonOpensItAndClosingItBringsTheStartWindowBack) {
    MainWindow start;
    start.show();
    QTest::mouseClick(start.按钮4, Qt::LeftButton);
    EXPECT_FALSE(start.isVisible());
    QPointer<TranslationWindow> window = start.findChild<TranslationWindow*>();
    ASSERT_FALSE(window.isNull());
    EXPECT_TRUE(window->isVisible());
    window->close();
    EXPECT_TRUE(start.isVisible());
    EXPECT_TRUE(test::waitUntil([&] { return window.isNull(); }));
}

}  // namespace
}  // namespace lumoset
