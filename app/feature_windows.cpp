#include "app/feature_windows.h"

#include "app/feature_window.h"
#include "translate/translation_window.h"

namespace lumoset {

QWidget* createFeatureWindow(int button, QWidget* owner) {
    switch (button) {
        case 1:
            return new FeatureWindow(owner, QStringLiteral("文本转语音"), 500, 430);
        case 2:
            return new FeatureWindow(owner, QStringLiteral("语音转文字"), 388, 230);
        case 3:
            return new FeatureWindow(owner, QStringLiteral("图片转文字"), 507, 315);
        case 4:
            return new TranslationWindow(owner);
        default:
            return nullptr;
    }
}

}  // namespace lumoset
