#pragma once

#include <QFile>
#include <QString>

#include <sys/stat.h>

// The permission bits of what stands at path, not following a link; 0 when
// nothing does.
inline mode_t modeOf(const QString &path)
{
    struct stat status
    {
    };
    return ::lstat(QFile::encodeName(path).constData(), &status) == 0 ? status.st_mode & 07777 : 0;
}
