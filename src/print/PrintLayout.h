#pragma once

#include "print/PrintLabel.h"

#include <QString>
#include <vector>

// One label of the receipt's print layout, as designed. Positions and sizes
// are print-layout pixels from the sheet's top-left corner; the sample text
// only gives the label its design width and never reaches paper.
struct LayoutLabelSpec
{
    QString name;        // "qlbl" + the field's name without its kind prefix
    SizeClass sizeClass; // which print size the filling gives it
    int left;
    int top;
    int width;
    int height;
    QString sample;
    int designPointSize; // in the design font "TEC"
    Qt::Alignment alignment;
};

// The 74 labels of the receipt in reading order of the sheet; each sits at
// the spot of its box on the pre-printed stock.
const std::vector<LayoutLabelSpec> &printLayoutTable();

// The design font of every layout label.
inline QString layoutFontFamily()
{
    return QStringLiteral("TEC");
}
