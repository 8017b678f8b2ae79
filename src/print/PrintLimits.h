#pragma once

#include <QString>
#include <QStringList>
#include <vector>

// How far each value of the receipt may run: its right limit is where the
// next column of its line of the stock begins (that label's Left less 2
// pixels), and for the last column of a line the sheet's right margin, 10 mm
// from its edge. Positions are print-layout pixels as designed, before the
// print offsets.
struct ValueColumn
{
    QString label;     // the layout label the value is printed at
    QString field;     // the field it comes from, for its caption
    QString nextLabel; // the next column on its line of the stock; empty: the margin
};

// How far a value's box stops short of the next column.
constexpr qreal columnClearance = 2;

// One entry per layout label, in the order of the layout table.
const std::vector<ValueColumn> &valueColumnTable();

// The column of that label, or nullptr.
const ValueColumn *findValueColumn(const QString &label);

// The right limit of the value printed at label, as designed.
qreal designRightLimit(const QString &label);

// The labels whose column ends where label's begins: the values printed to
// its left on its line of the stock.
QStringList leftNeighbours(const QString &label);

// The short caption of the field a label prints: its Chinese words
// ("航班号" for "航班号\nFLIGHT").
QString valueCaption(const QString &label);
