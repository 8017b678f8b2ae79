#pragma once

#include <QByteArray>
#include <QUrl>

// A cookie that a page sets with <meta http-equiv="Set-Cookie" content="...">,
// as a line of curl's cookie file for CURLOPT_COOKIELIST. It is given the page's
// host and default path when it names none, just as a Set-Cookie header of the
// same answer would be: curl keeps a cookie injected without a domain for every
// host. Returns an empty line for a cookie a browser would refuse (no name, a
// domain the page's host is not in, "Secure" over plain HTTP). now is the
// current time in seconds since 1970, for Max-Age.
QByteArray metaCookieLine(const QByteArray &setCookie, const QUrl &page, qint64 now);
