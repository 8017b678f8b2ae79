#pragma once

#include <QString>
#include <QTemporaryDir>

// A copy of the built program with its two lists in a temporary folder of its
// own. The program keeps its lists and its settings file beside its
// executable, so every copy starts and quits on its own settings, and the
// settings of the build folder stay untouched.
class ProgramFolder
{
public:
    // Copies the executable and city.txt and air.txt from dataFolder; throws
    // std::runtime_error when any of them cannot be copied.
    ProgramFolder(const QString &executable, const QString &dataFolder);

    QString path() const { return m_dir.path(); }
    QString executable() const { return m_executable; }
    QString file(const QString &name) const;

private:
    QTemporaryDir m_dir;
    QString m_executable;
};
