#pragma once

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

// A program folder of its own for one test: settings file and lists live here.
class TempFolder
{
public:
    QString path() const { return m_dir.path(); }
    QString file(const QString &name) const { return QDir(m_dir.path()).filePath(name); }

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

#ifdef KESTRANO_DATA
    // The delivered city and airline lists, as beside the installed program.
    void copyDeliveredLists() const
    {
        copyDeliveredList("city.txt");
        copyDeliveredList("air.txt");
    }

    // One delivered list ("city.txt" or "air.txt").
    void copyDeliveredList(const char *name) const
    {
        const QString list = QString::fromLatin1(name);
        QFile::copy(QStringLiteral(KESTRANO_DATA "/") + list, file(list));
    }
#endif

private:
    QTemporaryDir m_dir;
};
