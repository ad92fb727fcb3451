// The translation window: text on the left, nine target languages in the middle, the
// translation on the right.
#pragma once

#include <QPlainTextEdit>
#include <QPushButton>

#include "app/feature_window.h"
#include "text/types.h"

namespace lumoset {

// The raw answer of the latest translation request, kept from one opening of the window to the
// next until the program ends.
extern Text lastTranslationAnswer;

class TranslationWindow : public FeatureWindow {
    Q_OBJECT

  public:
    explicit TranslationWindow(QWidget* owner);

    QPlainTextEdit* 编辑框1;  // text to translate
    QPlainTextEdit* 编辑框2;  // translation

    QPushButton* 超级按钮1;  // 转中文>>>
    QPushButton* 超级按钮2;  // 转日文>>>
    QPushButton* 超级按钮3;  // 转英文>>>
    QPushButton* 超级按钮4;  // 转韩文>>>
    QPushButton* 超级按钮5;  // 转法文>>>
    QPushButton* 超级按钮6;  // 转俄文>>>
    QPushButton* 超级按钮7;  // 转葡萄牙文>
    QPushButton* 超级按钮8;  // 转西班牙文>
    QPushButton* 超级按钮9;  // 转越南文>>>

  private:
    QPlainTextEdit* addEditBox(int number, int x);
    QPushButton* addLanguageButton(int number, const QString& text, const char* languageCode);
    void translateInto(const char* languageCode);
};

}  // namespace lumoset
