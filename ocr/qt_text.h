// Text at the toolkit's edge: the program's GBK text and the toolkit's UTF-16 strings.
#pragma once

#include <QString>

#include "text/types.h"

namespace lumoset {

// GBK text of `text`; characters GBK can't hold become "?".
Text fromQString(const QString& text);

QString toQString(const Text& text);

}  // namespace lumoset
