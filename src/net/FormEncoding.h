#pragma once

#include <QByteArray>
#include <QList>
#include <QPair>
#include <QString>

// Fields of a posted form, in the order they go out.
using HttpForm = QList<QPair<QString, QString>>;

// A–Z, a–z, 0–9 and "*-._" stay, a space becomes "+", every other character
// goes out as its UTF-8 bytes, each written "%XX" with upper-case digits. The
// service reads names this way; curl_easy_escape would encode "*" and spaces
// differently.
QByteArray encodeFormValue(const QString &text);

// name=value pairs joined with "&", nothing before the first or after the last.
QByteArray encodeForm(const HttpForm &form);
