#pragma once

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

// A program folder of its own for one test: settings file and lists live here.
class TempFolder
{
public:
    QString path() const { return FDir.path(); }
    QString file(const QString &name) const { return QDir(FDir.path()).filePath(name); }

    void write(const QString &name, const QByteArray &bytes) const
    {
        QFile out(file(name));
        if (out.open(QIODevice::WriteOnly))
            out.write(bytes);
    }

    QByteArray read(const QString &name) const
    {
        QFile in(file(name));
        return in.open(QIODevice::ReadOnly) ? in.readAll() : QByteArray();
    }

    bool exists(const QString &name) const { return QFile::exists(file(name)); }

private:
    QTemporaryDir FDir;
};
