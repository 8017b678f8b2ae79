#pragma once

#include "common/FontStandIns.h"

#include <QFont>

// The font of the PNR box and the sample display: a terminal display lines
// up only when every Latin character takes one column and every Chinese
// character exactly two. The Song face "宋体" is drawn that way (SimSun on
// Windows, its stand-in "AR PL UMing CN" here: half an em and one em). At an
// even pixel size both widths are whole pixels, so the columns hold on
// screen too. ("WenQuanYi Micro Hei Mono" is monospaced for Latin only: its
// Latin characters are 0.6 em, so Chinese names push the columns apart.)
inline QString terminalFontFamily()
{
    return QStringLiteral("宋体");
}

constexpr int terminalFontPixelSize = 12;

inline QFont terminalFont()
{
    QFont font(installedFamily(terminalFontFamily()));
    font.setPixelSize(terminalFontPixelSize);
    font.setStyleHint(QFont::TypeWriter);
    font.setFixedPitch(true);
    return font;
}
