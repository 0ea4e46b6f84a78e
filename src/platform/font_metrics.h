// The metrics the highlighters' font table needs (pitch and family, character
// set), read for a real font from Qt's font database.
#pragma once

#include <QFont>

#include "rtf_syntax.h"

namespace fontmetrics {

// The font as the highlighters describe it: the family Qt really matched, its
// pitch and family class, and the character set of its first writing system
// (Latin fonts are ANSI).
TFontDesc Describe(const QFont& font);

}  // namespace fontmetrics
