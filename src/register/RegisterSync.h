#pragma once

#include "register/RegisterAddress.h"
#include "register/RegisterStore.h"

#include <QObject>
#include <QSqlDatabase>
#include <QString>
#include <chrono>
#include <memory>

class PrintJournal;
class QSqlError;
class QTimer;

// The desk's side of the shared register, on a thread of its own: sends the
// journal's rows to the server as they are written and change, answers the
// claims on numbers, and reads the received ranges. A server that is slow or
// away holds up only this thread: the rows wait in the journal (which marks
// each change sent or not) and go as soon as the server answers again.
class RegisterSync : public QObject
{
    Q_OBJECT

public:
    static constexpr std::chrono::seconds pollInterval{5};
    static constexpr std::chrono::seconds retryInterval{10};
    static constexpr int connectSeconds = 5;

    RegisterSync(RegisterAddress address, QString settingsFolder, QString desk);
    ~RegisterSync() override;

public Q_SLOTS:
    // On the thread: connects, sends what waits, and keeps at it.
    void start();
    // Sends what waits now, connecting first when the server was away.
    void sendNow();
    // Answers with claimAnswered, at once when the server is away.
    void claim(quint64 ticket, qint64 number, const QString &serialNumber,
               const QString &documentName);
    // Closes the connections, on the thread, before it ends.
    void stop();

Q_SIGNALS:
    // available: the server took the last request. pending: rows of the
    // journal the server does not have as they are.
    void stateChanged(bool available, qint64 pending, const QString &reason);
    // claim: a NumberRegister::Claim; the use when Taken.
    void claimAnswered(quint64 ticket, int claim, const QString &serialNumber,
                       const QString &time, const QString &desk, bool voided);
    void rangesRead(const RegisterStore::Bounds &bounds);

private:
    bool connected();
    void dropServer(const QString &reason);
    // The server refused a statement.
    void dropServer(const QSqlError &error);
    RegisterStore store() const;
    bool openJournal();
    // False when the server failed on the way.
    bool upload();
    void readRanges();
    qint64 pendingRows() const;
    void report();

    RegisterAddress m_address;
    QString m_settingsFolder;
    QString m_desk;
    QString m_connection;
    std::unique_ptr<PrintJournal> m_journal;
    QTimer *m_timer = nullptr;
    bool m_available = false;
    QString m_reason;
    RegisterStore::Bounds m_ranges;
    bool m_rangesKnown = false;
};
