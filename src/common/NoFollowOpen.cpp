#include "common/NoFollowOpen.h"

#include <QFile>
#include <cerrno>

int openNoFollow(const QString &path, int flags, mode_t mode, int folderFd)
{
    int fd;
    do {
        fd = ::openat(folderFd, QFile::encodeName(path).constData(),
                      flags | O_NOFOLLOW | O_CLOEXEC | O_NOCTTY | O_NONBLOCK, mode);
    } while (fd < 0 && errno == EINTR);
    return fd;
}

bool isLinkRefusal(int error)
{
    return error == ELOOP || error == EMLINK;
}
