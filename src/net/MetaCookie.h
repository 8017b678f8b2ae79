#pragma once

#include <QByteArray>
#include <QUrl>

// A cookie that a page sets with <meta http-equiv="Set-Cookie" content="...">,
// as a line of curl's cookie file for CURLOPT_COOKIELIST. It belongs to the
// page's host alone: a Domain attribute is ignored, so a page cannot hand a
// cookie to its neighbours (Domain=.com.cn). It is given the page's default
// path when it names none, as a Set-Cookie header would be; curl would keep a
// cookie injected without a domain for every host. Returns an empty line for a
// cookie a browser would refuse (no name, "Secure" over plain HTTP). now is the
// current time in seconds since 1970, for Max-Age.
QByteArray metaCookieLine(const QByteArray &setCookie, const QUrl &page, qint64 now);
