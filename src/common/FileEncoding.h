#pragma once

#include <QByteArray>
#include <QString>

// Text files of the program (settings, city and airline lists) are written in
// GB18030, which agrees byte for byte with GBK wherever GBK has the character
// and can hold every other one. Files edited elsewhere may come as UTF-8.

// Bytes that are valid UTF-8 as a whole, after a UTF-8 byte-order mark if
// there is one, are read as UTF-8; anything else (the mark included) as
// GB18030.
QString decodeFileText(const QByteArray &bytes);

// GB18030, no byte-order mark; but UTF-8 with a byte-order mark for the rare
// text whose GB18030 bytes would read back as other UTF-8 text, so that
// whatever is written reads back the same.
QByteArray encodeFileText(const QString &text);
