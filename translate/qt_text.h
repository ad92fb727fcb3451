// Texts crossing into and out of the window toolkit, which holds them as Unicode.
#pragma once

#include <QString>

#include "text/types.h"

namespace lumoset {

// A control's text as the program's GBK text; characters GBK lacks become "?".
Text fromQString(const QString& text);

// A GBK text as the control shows it.
QString toQString(const Text& text);

}  // namespace lumoset
