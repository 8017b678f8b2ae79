#pragma once

#include <QString>
#include <QStringList>

// The receipt and the windows name the fonts of the Chinese Windows desktop.
// Here each of them is served by an installed font of the same kind:
//   "宋体" and "SimSun"    -> "AR PL UMing CN" (a Song/Ming typeface)
//   "Arial Narrow"         -> "Liberation Sans Narrow" (metric-compatible)
//   "TEC"                  -> "Liberation Sans" (the layout's widths are Arial's)
//   "Segoe MDL2 Assets"    -> "Liberation Sans" (only its digits are printed)
// Registered once at start, before any window or page is made.
void registerFontStandIns();

// The font names served by a stand-in, spelled as the program uses them.
QStringList fontStandInNames();

// The installed family that draws `named`: the font itself where it is
// installed, else the first installed font registered to serve it. A window
// names its font this way because Qt looks for a family it cannot find by
// asking fontconfig for a sorted list of every font that could replace it,
// which costs more than laying out the whole main window. Names are compared
// with the installed families as listed, ignoring case; a localized second
// name of a font is not among them.
QString installedFamily(const QString &named);
