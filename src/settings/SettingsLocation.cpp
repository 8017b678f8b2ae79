#include "settings/SettingsLocation.h"

#include "common/KestranoError.h"
#include "common/Messages.h"
#include "common/SafeSave.h"
#include "settings/PrivateConfig.h"
#include "settings/SettingsFile.h"

#include <QDir>
#include <QFile>
#include <QStandardPaths>
#include <cerrno>
#include <cstring>
#include <sys/stat.h>
#include <unistd.h>

QString SettingsLocation::filePath() const
{
    return QDir(folder).filePath(PrivateConfig::fileName());
}

bool SettingsLocation::isUsersOwnFolder(const QString &folder)
{
    const QByteArray path = QFile::encodeName(folder);
    struct stat status
    {
    };
    if (::stat(path.constData(), &status) != 0 || !S_ISDIR(status.st_mode))
        return false;
    // The owner's write bit rather than access() alone: root may write any
    // folder, yet an installed program's folder stays the administrator's.
    if (status.st_uid != ::geteuid() || !(status.st_mode & S_IWUSR) ||
        (status.st_mode & (S_IWGRP | S_IWOTH)) || ::access(path.constData(), W_OK) != 0)
        return false;
    // An installed program's folder is root's, and open to the users who run
    // the program from it: for root, only a folder that nobody else may even
    // enter is a copy of its own.
    return ::geteuid() != 0 || (status.st_mode & (S_IRWXG | S_IRWXO)) == 0;
}

SettingsLocation SettingsLocation::choose(const QString &programFolder,
                                          const QString &userConfigFolder,
                                          const QString &systemFile)
{
    if (isUsersOwnFolder(programFolder))
        return SettingsLocation(programFolder);
    SettingsLocation location(userConfigFolder);
    location.systemFile = systemFile;
    location.installed = true;
    return location;
}

SettingsLocation SettingsLocation::forProgram(const QString &programFolder)
{
    const QString configFolder =
        QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
    return choose(programFolder, QDir(configFolder).filePath(QStringLiteral("kestrano")),
                  QStringLiteral("/etc/kestrano/vantrel_cof.ini"));
}

namespace {

// The user's own folder, made if need be, and closed to everybody else.
void makePrivateFolder(const QString &folder)
{
    const auto fail = [&folder](const QString &reason) {
        return KestranoError(Messages::settingsFolderUnprepared(folder, reason));
    };
    const QString parent = QDir(folder).absoluteFilePath(QStringLiteral(".."));
    if (!QDir().mkpath(QDir::cleanPath(parent)))
        throw fail(Messages::parentFolderUnmakeable());
    const QByteArray path = QFile::encodeName(folder);
    if (::mkdir(path.constData(), 0700) != 0 && errno != EEXIST)
        throw fail(Messages::systemReason(errno));
    struct stat status
    {
    };
    if (::lstat(path.constData(), &status) != 0)
        throw fail(Messages::systemReason(errno));
    if (!S_ISDIR(status.st_mode))
        throw fail(Messages::notAFolder());
    if (status.st_uid != ::geteuid())
        throw fail(Messages::ownedByAnotherUser());
    if ((status.st_mode & 07777) != 0700 && ::chmod(path.constData(), 0700) != 0)
        throw fail(Messages::systemReason(errno));
}

} // namespace

QString SettingsLocation::prepare() const
{
    if (!installed)
        return {};
    makePrivateFolder(folder);

    // Read at every start, so that a file that may not be trusted is told of
    // whenever it would have been used.
    const SettingsFile::Content defaults =
        SettingsFile::read(systemFile, SettingsFile::Owner::Administrator);
    const QString notice =
        defaults.refusal.isEmpty()
            ? QString()
            : Messages::administratorsSettingsIgnored(systemFile, defaults.refusal);

    const QString path = filePath();
    const SettingsFile::Lock lock(path);
    if (!lock.failure().isEmpty()) {
        throw KestranoError(Messages::settingsUnwritable(path, lock.failure()));
    }
    if (SettingsFile::read(path).exists || !defaults.exists || !defaults.refusal.isEmpty())
        return notice; // seeded before, or the user's own since; or nothing to seed from
    if (const QString failure = saveFileAtomically(path, defaults.bytes); !failure.isEmpty())
        throw KestranoError(Messages::settingsUnwritable(path, failure));
    return notice;
}
