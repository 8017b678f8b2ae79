#pragma once

#include <QByteArray>
#include <QString>

// Text files of the program (settings, city and airline lists) are written in
// GB18030, which agrees byte for byte with GBK wherever GBK has the character
// and can hold every other one. Files edited elsewhere may come as UTF-8.

// A UTF-8 byte-order mark, or bytes that are valid UTF-8 as a whole, are read
// as UTF-8; anything else as GB18030.
QString decodeFileText(const QByteArray &bytes);

// GB18030, no byte-order mark.
QByteArray encodeFileText(const QString &text);
