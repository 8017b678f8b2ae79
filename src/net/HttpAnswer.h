#pragma once

#include "net/AnswerText.h"

#include <QByteArray>
#include <QString>

// A successful answer: status 2xx, body decoded from gzip or deflate when the
// server compressed it.
struct HttpAnswer
{
    int status = 0;
    QByteArray contentType; // the Content-Type header as received, empty when none
    QString url;            // where the answer came from, after redirects
    QByteArray body;

    // The body as text in the character set it declares.
    QString text() const { return decodeAnswerText(body, contentType); }
};
