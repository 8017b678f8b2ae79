#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <vector>

// One cell of a CSV file that a spreadsheet opens: quoted where it holds a
// comma, a quotation mark or a line break, and kept as text where the
// spreadsheet would take it for a formula. Names and remarks are pasted
// from anywhere: a cell that begins with a tab or a carriage return, or
// whose first character after blanks is "=", "+", "-", "@" or their
// full-width forms "＝＋－＠", gets a "'" in front.
QString csvCell(QString text);

// Lines of cells as a CSV file that a spreadsheet reads right: UTF-8 with a
// byte order mark, every cell through csvCell, lines ended by CR LF.
QByteArray csvFile(const std::vector<QStringList> &lines);
