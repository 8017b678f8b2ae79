#pragma once

#include <QByteArray>
#include <QString>

// The settings file on disk, handled so that nobody else can bend what the
// program reads or writes: it is opened without following a link and without
// waiting (a FIFO or a device never blocks the program), and only a regular
// file of its rightful owner, at most 1 MiB, is used. Anything else is
// refused with the reason, so that the caller can say why.
class SettingsFile
{
public:
    static constexpr qint64 maxSize = 1024 * 1024;

    // Whose file it may be: the user's own settings, or the administrator's
    // read-only defaults of an installed program (root's, in a folder of
    // root's, and neither writable by anybody else).
    enum class Owner { User, Administrator };

    struct Content
    {
        bool exists = false; // false: no file there, the bytes are empty
        QByteArray bytes;
        QString refusal; // why the file is not used; empty when it is
    };

    // The whole file in one read.
    static Content read(const QString &path, Owner owner = Owner::User);

    // Creates an empty private file (0600) when nothing stands at path yet.
    // A folder without write access is no error: reads then see no file.
    static void createEmpty(const QString &path);

    // Why a write must not replace the file at path (a link, a FIFO, another
    // user's or a read-only file...); empty when it may.
    static QString writeRefusal(const QString &path);

    // Held around every read-modify-write of the file: an advisory lock on a
    // lock file beside it, so that two programs writing at once both keep
    // every key the other wrote. Released when it goes, or when the process
    // dies. The lock file is never removed: removing it would let two
    // writers lock two different files.
    class Lock
    {
    public:
        explicit Lock(const QString &path);
        ~Lock();
        Lock(const Lock &) = delete;
        Lock &operator=(const Lock &) = delete;

        // Empty when the lock is held, else the reason.
        const QString &failure() const { return m_failure; }

    private:
        int m_fd = -1;
        QString m_failure;
    };
    static QString lockPathOf(const QString &path) { return path + QStringLiteral(".lock"); }
};
