#include "settings/SettingsFile.h"

#include "common/Messages.h"
#include "common/NoFollowOpen.h"

#include <QFile>
#include <QFileInfo>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

QString reasonOf(int error)
{
    return Messages::systemReason(error);
}

// The refusals shared by reading and writing, on an open file's status.
QString refusalOf(const struct stat &status, SettingsFile::Owner owner)
{
    if (!S_ISREG(status.st_mode))
        return Messages::notARegularFile();
    if (owner == SettingsFile::Owner::User && status.st_uid != ::geteuid())
        return Messages::ownedByAnotherUser();
    if (owner == SettingsFile::Owner::Administrator) {
        if (status.st_uid != 0)
            return Messages::notRoots();
        if (status.st_mode & (S_IWGRP | S_IWOTH))
            return Messages::writableByOthers();
    }
    if (status.st_size > SettingsFile::maxSize)
        return Messages::largerThan(QStringLiteral("1 MiB"));
    return {};
}

QString openRefusal(int error)
{
    if (isLinkRefusal(error))
        return Messages::isALink();
    return reasonOf(error);
}

// The administrator's file, opened inside its folder once that folder is
// found root's and closed to everybody else: nobody else can have put the
// file there or swap it. folderRefusal says why the folder is not; the file
// is opened all the same, to tell whether there is one.
int openAdministrators(const QString &path, QString &folderRefusal)
{
    const QFileInfo file(path);
    const QString folder = file.absolutePath();
    int folderFd;
    do {
        folderFd =
            ::open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    } while (folderFd < 0 && errno == EINTR);
    if (folderFd < 0)
        return -1;
    struct stat status
    {
    };
    if (::fstat(folderFd, &status) != 0)
        folderRefusal = reasonOf(errno);
    else if (status.st_uid != 0)
        folderRefusal = Messages::folderNotRoots(folder);
    else if (status.st_mode & (S_IWGRP | S_IWOTH))
        folderRefusal = Messages::folderWritableByOthers(folder);
    const int fd = openNoFollow(file.fileName(), O_RDONLY, 0, folderFd);
    const int error = errno;
    ::close(folderFd);
    errno = error;
    return fd;
}

} // namespace

SettingsFile::Content SettingsFile::read(const QString &path, Owner owner)
{
    Content content;
    QString folderRefusal;
    const int fd = owner == Owner::Administrator ? openAdministrators(path, folderRefusal)
                                                 : openNoFollow(path, O_RDONLY);
    if (fd < 0) {
        if (errno != ENOENT) {
            content.exists = true;
            content.refusal = openRefusal(errno);
        }
        return content;
    }
    content.exists = true;
    struct stat status
    {
    };
    if (!folderRefusal.isEmpty())
        content.refusal = folderRefusal;
    else if (::fstat(fd, &status) != 0)
        content.refusal = reasonOf(errno);
    else
        content.refusal = refusalOf(status, owner);

    if (content.refusal.isEmpty()) {
        // Read to the end, whatever the size said: the file may have grown.
        char buffer[65536];
        for (;;) {
            const ssize_t got = ::read(fd, buffer, sizeof buffer);
            if (got < 0 && errno == EINTR)
                continue;
            if (got < 0) {
                content.refusal = reasonOf(errno);
                break;
            }
            if (got == 0)
                break;
            content.bytes.append(buffer, got);
            if (content.bytes.size() > maxSize) {
                content.refusal = Messages::largerThan(QStringLiteral("1 MiB"));
                break;
            }
        }
    }
    ::close(fd);
    if (!content.refusal.isEmpty())
        content.bytes.clear();
    return content;
}

void SettingsFile::createEmpty(const QString &path)
{
    // O_EXCL: never opens what is there already, a dangling link included.
    const int fd = openNoFollow(path, O_WRONLY | O_CREAT | O_EXCL, 0600);
    if (fd >= 0)
        ::close(fd);
}

QString SettingsFile::writeRefusal(const QString &path)
{
    const int fd = openNoFollow(path, O_RDONLY);
    if (fd < 0)
        return errno == ENOENT ? QString() : openRefusal(errno);
    struct stat status
    {
    };
    QString refusal = ::fstat(fd, &status) != 0 ? reasonOf(errno) : refusalOf(status, Owner::User);
    // The owner's write bit, not access(): root may write anything, yet a
    // file made read-only stays so for every user of the program.
    if (refusal.isEmpty() && !(status.st_mode & S_IWUSR))
        refusal = Messages::readOnly();
    ::close(fd);
    return refusal;
}

SettingsFile::Lock::Lock(const QString &path)
{
    m_fd = openNoFollow(lockPathOf(path), O_RDWR | O_CREAT, 0600);
    if (m_fd < 0) {
        m_failure = openRefusal(errno);
        return;
    }
    struct stat status
    {
    };
    if (::fstat(m_fd, &status) != 0 || !S_ISREG(status.st_mode)) {
        m_failure = Messages::lockFileNotRegular();
    } else {
        int locked;
        do {
            locked = ::flock(m_fd, LOCK_EX);
        } while (locked != 0 && errno == EINTR);
        if (locked != 0)
            m_failure = reasonOf(errno);
    }
    if (!m_failure.isEmpty()) {
        ::close(m_fd);
        m_fd = -1;
    }
}

SettingsFile::Lock::~Lock()
{
    if (m_fd >= 0)
        ::close(m_fd); // closing the only descriptor releases the lock
}
