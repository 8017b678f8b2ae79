#pragma once

#include <QByteArray>
#include <QString>

// True when the answer is an HTML page: its Content-Type is text/html or
// application/xhtml+xml, or it has none (browsers take such a page as HTML).
bool isHtmlAnswer(const QByteArray &contentType);

// The character set the answer declares: for an HTML page a meta tag of its
// head (<meta charset=...> or http-equiv Content-Type) before the charset of the
// Content-Type header. Empty when neither declares one.
QByteArray declaredCharset(const QByteArray &body, const QByteArray &contentType);

// The answer as text in its declared character set. GBK and GB2312 are read as
// GB18030, which agrees with them byte for byte and knows more characters; any
// other set Qt knows is used as named. With no declaration, or one naming no
// known set, every byte becomes the character of the same code.
QString decodeAnswerText(const QByteArray &body, const QByteArray &contentType);
