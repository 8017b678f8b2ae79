#pragma once

#include <QByteArray>
#include <QString>

// Replaces the file at path with bytes in one step: the bytes go to a new
// private temporary file beside it (mode 0600), which is flushed to disk and
// then renamed over the path; the folder is flushed after the rename. A crash
// or a full disk leaves either the old file or the new one, never a part of
// either. The rename replaces whatever stands at path itself: a link there is
// replaced, never followed, so the file it names is left untouched.
// Returns an empty text on success, else the reason of the failure.
QString saveFileAtomically(const QString &path, const QByteArray &bytes);
