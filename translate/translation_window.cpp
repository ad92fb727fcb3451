#include "translate/translation_window.h"

#include "translate/qt_text.h"
#include "translate/translation_client.h"

namespace lumoset {

Text lastTranslationAnswer;

TranslationWindow::TranslationWindow(QWidget* owner)
    : FeatureWindow(owner, QStringLiteral("有道翻译"), 457, 337) {
    编辑框1 = addEditBox(1, 8);
    编辑框2 = addEditBox(2, 272);
    超级按钮1 = addLanguageButton(1, QStringLiteral("转中文>>>"), "zh-CHS");
    超级按钮2 = addLanguageButton(2, QStringLiteral("转日文>>>"), "ja");
    超级按钮3 = addLanguageButton(3, QStringLiteral("转英文>>>"), "EN");
    超级按钮4 = addLanguageButton(4, QStringLiteral("转韩文>>>"), "ko");
    超级按钮5 = addLanguageButton(5, QStringLiteral("转法文>>>"), "fr");
    超级按钮6 = addLanguageButton(6, QStringLiteral("转俄文>>>"), "ru");
    超级按钮7 = addLanguageButton(7, QStringLiteral("转葡萄牙文>"), "pt");
    超级按钮8 = addLanguageButton(8, QStringLiteral("转西班牙文>"), "es");
    超级按钮9 = addLanguageButton(9, QStringLiteral("转越南文>>>"), "vi");
}

// A multi-line box on a white ground; Enter starts a new line, long lines scroll sideways.
QPlainTextEdit* TranslationWindow::addEditBox(int number, int x) {
    auto* box = new QPlainTextEdit(this);
    box->setObjectName(QStringLiteral("编辑框%1").arg(number));
    box->setGeometry(x, 8, 168, 296);
    box->setLineWrapMode(QPlainTextEdit::NoWrap);
    box->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    box->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    QPalette palette = box->palette();
    palette.setColor(QPalette::Base, Qt::white);
    box->setPalette(palette);
    return box;
}

// The buttons stand in one column between the edit boxes, top to bottom.
QPushButton* TranslationWindow::addLanguageButton(int number, const QString& text,
                                                  const char* languageCode) {
    auto* button = new QPushButton(text, this);
    button->setObjectName(QStringLiteral("超级按钮%1").arg(number));
    button->setGeometry(177, 12 + 32 * (number - 1), 88, 32);
    connect(button, &QPushButton::clicked, this,
            [this, languageCode] { translateInto(languageCode); });
    return button;
}

// The text goes out as it stands, empty or not; whatever comes back replaces the right box,
// an empty translation included.
void TranslationWindow::translateInto(const char* languageCode) {
    const Text text = fromQString(编辑框1->toPlainText());
    lastTranslationAnswer =
        translateText(text, "auto", languageCode, translationAppSecret, translationAppKey);
    编辑框2->setPlainText(toQString(extractTranslation(lastTranslationAnswer)));
}

}  // namespace lumoset
