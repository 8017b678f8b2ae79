#pragma once

#include <QString>

// One cell of a CSV file that a spreadsheet opens: quoted where it holds a
// comma, a quotation mark or a line break, and kept as text where the
// spreadsheet would take it for a formula. Names and remarks are pasted
// from anywhere: a cell that begins with a tab or a carriage return, or
// whose first character after blanks is "=", "+", "-", "@" or their
// full-width forms "＝＋－＠", gets a "'" in front.
QString csvCell(QString text);
