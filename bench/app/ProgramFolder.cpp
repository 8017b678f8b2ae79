#include "ProgramFolder.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <stdexcept>

namespace {

void copyInto(const QString &source, const QString &target)
{
    if (!QFile::copy(source, target))
        throw std::runtime_error("cannot copy " + source.toStdString() + " to " +
                                 target.toStdString());
}

} // namespace

TProgramFolder::TProgramFolder(const QString &executable, const QString &dataFolder)
{
    if (!FDir.isValid())
        throw std::runtime_error("no temporary folder for the program");
    FExecutable = file(QFileInfo(executable).fileName());
    // QFile::copy keeps the permissions, so the copy can be run.
    copyInto(executable, FExecutable);
    for (const QString &list : {QStringLiteral("city.txt"), QStringLiteral("air.txt")})
        copyInto(QDir(dataFolder).filePath(list), file(list));
}

QString TProgramFolder::file(const QString &name) const
{
    return QDir(FDir.path()).filePath(name);
}
