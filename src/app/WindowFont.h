#pragma once

#include "common/FontStandIns.h"

#include <QFont>

// The font of the main window's captions and entries: the Song face "宋体"
// at 9 points, as on the Chinese Windows desktop, named by the family that
// serves it here. Drawn without hinting: at this size the hinted and the
// unhinted glyphs of the Song face differ by a shade of grey, but hinting
// each glyph as it is first drawn took a fifth of the program's start.
inline QFont windowFont()
{
    QFont font(installedFamily(QStringLiteral("宋体")), 9);
    font.setHintingPreference(QFont::PreferNoHinting);
    return font;
}
