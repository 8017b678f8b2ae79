#pragma once

#include <QString>
#include <QStringList>

// The comma-separated form in which the pick-lists are stored.
//
// Writing: entries joined by ","; an entry holding a double quote, a comma or
// a character with code 0 to 32 is enclosed in double quotes, inner quotes
// doubled. A list of one empty entry is written as "".
//
// Reading: blanks (codes 1 to 32) separate entries just as a comma does, two
// commas in a row give an empty entry and so does a comma at the very end.
QString toDelimitedText(const QStringList &entries);
QStringList fromDelimitedText(const QString &text);
