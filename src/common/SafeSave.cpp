#include "common/SafeSave.h"

#include <QSaveFile>

QString saveFileAtomically(const QString &path, const QByteArray &bytes)
{
    QSaveFile file(path);
    // Unbuffered, so a short write (a full disk, a file-size limit) shows in
    // write()'s count: through the buffer, Qt 6.4 drops the rest of a short
    // write at commit() and still reports success, truncating the file.
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        return file.errorString();
    if (file.write(bytes) != bytes.size()) {
        const QString reason = file.errorString();
        file.cancelWriting();
        return reason;
    }
    if (!file.commit())
        return file.errorString();
    return {};
}
