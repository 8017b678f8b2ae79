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

ProgramFolder::ProgramFolder(const QString &executable, const QString &dataFolder)
{
    if (!m_dir.isValid())
        throw std::runtime_error("no temporary folder for the program");
    m_executable = file(QFileInfo(executable).fileName());
    // QFile::copy keeps the permissions, so the copy can be run.
    copyInto(executable, m_executable);
    for (const QString &list : {QStringLiteral("city.txt"), QStringLiteral("air.txt")})
        copyInto(QDir(dataFolder).filePath(list), file(list));
}

QString ProgramFolder::file(const QString &name) const
{
    return QDir(m_dir.path()).filePath(name);
}
