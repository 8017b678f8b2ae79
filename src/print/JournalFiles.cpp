#include "print/JournalFiles.h"

#include "common/KestranoError.h"
#include "common/LateLibrary.h"
#include "common/Messages.h"
#include "common/NoFollowOpen.h"

#include <QFile>
#include <QUrl>
#include <cerrno>
#include <fcntl.h>
#include <sqlite3.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// SQLite's own suffixes of the WAL and of the shared memory beside it.
const char *const companions[] = {"-wal", "-shm"};

const char noFollowVfsName[] = "kestrano-nofollow";

// Why the file opened as fd may not hold the journal; empty when it may. A
// private file of this user's stays so; one open to others is closed to them.
QString refusalOf(int fd)
{
    struct stat status
    {
    };
    if (::fstat(fd, &status) != 0)
        return Messages::systemReason(errno);
    if (!S_ISREG(status.st_mode))
        return Messages::notARegularFile();
    if (status.st_uid != ::geteuid())
        return Messages::ownedByAnotherUser();
    if ((status.st_mode & 0777) != 0600 && ::fchmod(fd, 0600) != 0)
        return Messages::systemReason(errno);
    return {};
}

// Checks the file at path; a companion that is not there is no fault.
void makeFilePrivate(const QString &path, bool create)
{
    const int fd = openNoFollow(path, O_RDWR | (create ? O_CREAT : 0), 0600);
    if (fd < 0) {
        const int error = errno;
        if (!create && error == ENOENT)
            return;
        // A link is refused; anything else (no folder, no access) only
        // keeps the file from being opened.
        if (isLinkRefusal(error))
            throw KestranoError(Messages::journalRefused(path, Messages::isALink()));
        throw KestranoError(Messages::journalUnopenable(path, Messages::systemReason(error)));
    }
    const QString refusal = refusalOf(fd);
    ::close(fd);
    if (!refusal.isEmpty())
        throw KestranoError(Messages::journalRefused(path, refusal));
}

// The default VFS of the process's SQLite, which the one below passes to.
sqlite3_vfs *defaultVfs = nullptr;

// SQLite resolves every link in a database's path before it opens it, and
// names the WAL and the shared memory after what it found; it says so by
// SQLITE_OK_SYMLINK, which the flag SQLITE_OPEN_NOFOLLOW turns into a refusal.
// Qt's driver cannot pass that flag: a VFS that refuses in its stead.
int fullPathnameNoFollow(sqlite3_vfs *, const char *name, int size, char *out)
{
    const int result = defaultVfs->xFullPathname(defaultVfs, name, size, out);
    return result == SQLITE_OK_SYMLINK ? SQLITE_CANTOPEN_SYMLINK : result;
}

// Registers the VFS once in the SQLite that the driver loaded (the same file
// is the same library); SQLite's result, SQLITE_OK once it is registered.
// Raises KestranoError when the library cannot be had.
int registerNoFollowVfs()
{
    static const int result = [] {
        LateLibrary sqlite(QStringLiteral("libsqlite3.so.0"), QStringLiteral("打印记录"));
        decltype(&sqlite3_vfs_find) find = nullptr;
        decltype(&sqlite3_vfs_register) add = nullptr;
        sqlite.resolve(find, "sqlite3_vfs_find");
        sqlite.resolve(add, "sqlite3_vfs_register");
        defaultVfs = find(nullptr);
        if (!defaultVfs)
            return SQLITE_ERROR;
        // Everything else is the default's, pAppData included: its
        // functions find their own data there.
        static sqlite3_vfs noFollow = *defaultVfs;
        noFollow.pNext = nullptr;
        noFollow.zName = noFollowVfsName;
        noFollow.xFullPathname = &fullPathnameNoFollow;
        return add(&noFollow, 0);
    }();
    return result;
}

} // namespace

void JournalFiles::makePrivate(const QString &path)
{
    makeFilePrivate(path, true);
    for (const char *suffix : companions)
        makeFilePrivate(path + QLatin1String(suffix), false);
}

QString JournalFiles::noFollowName(const QString &path)
{
    if (const int result = registerNoFollowVfs(); result != SQLITE_OK)
        throw KestranoError(Messages::journalUnopenable(path, Messages::databaseReason(result)));
    return QStringLiteral("file:") + QString::fromLatin1(QUrl::toPercentEncoding(path, "/")) +
           QStringLiteral("?vfs=") + QLatin1String(noFollowVfsName);
}
