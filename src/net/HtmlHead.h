#pragma once

#include <QByteArray>
#include <QHash>
#include <QList>

// The attributes of one meta tag: names in lower case, values as written
// (quotes removed, the common character references resolved).
using HtmlMeta = QHash<QByteArray, QByteArray>;

// The meta tags of a page's head, in document order. The page is read as
// bytes: the markup is ASCII in every encoding a page declares this way, and
// the head is where a browser looks for the charset and cookies. The scan ends
// at "</head" or "<body" and skips comments.
QList<HtmlMeta> headMetaTags(const QByteArray &page);
