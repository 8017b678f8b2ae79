#pragma once

#include <QByteArray>
#include <QString>

// Replaces the file at path with bytes in one step: the bytes go to a
// temporary file beside it, which then takes the file's place. A crash or a
// full disk leaves either the old file or the new one, never a part of either.
// Returns an empty text on success, else the reason of the failure.
QString saveFileAtomically(const QString &path, const QByteArray &bytes);
