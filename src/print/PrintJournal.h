#pragma once

#include "print/ReceiptRecord.h"

#include <QDateTime>
#include <QSqlDatabase>
#include <QString>
#include <vector>

// The record of every receipt sent to a printer: an SQLite database beside
// the settings file, one row per print, never a row deleted. Written in WAL
// mode with full sync, so that a completed row survives a crash or a power
// cut. A row is written before its job is handed over ("printing") and
// completed when the job has ended; a row left "printing" by a program that
// did not live to see the end is completed at the next start.
class TPrintJournal
{
public:
    enum class Outcome { Printing, Printed, Failed, Cancelled, Voided };

    struct Row
    {
        qint64 id = 0;
        QDateTime time;
        QString printer;
        int jobId = 0;
        Outcome outcome = Outcome::Printing;
        QString reason;
        QString voidReason;
        TReceiptRecord record;
    };

    static QString fileName() { return QStringLiteral("vantrel_print.db"); }
    // The journal's path beside the settings file in settingsFolder. Links
    // are never followed: the settings folder is the user's own.
    static QString pathFor(const QString &settingsFolder);

    // Opens the journal, creating it when there is none; raises KestranoError
    // when it cannot be opened or written.
    explicit TPrintJournal(const QString &settingsFolder);
    ~TPrintJournal();

    TPrintJournal(const TPrintJournal &) = delete;
    TPrintJournal &operator=(const TPrintJournal &) = delete;

    const QString &path() const { return FPath; }
    QSqlDatabase database() const;

    static QString outcomeKey(Outcome outcome);
    // A text as the search column holds it, and as it is looked for there.
    static QString searchText(const QString &text);
    static Outcome outcomeOf(const QString &key);

    // Each write is one transaction, synced before it returns; each raises
    // KestranoError when the database refuses it.
    qint64 begin(const TReceiptRecord &record, const QString &printer);
    void setJobId(qint64 rowId, int jobId);
    void finish(qint64 rowId, Outcome outcome, const QString &reason = QString());
    // Only a printed row becomes void (a spoiled sheet); false otherwise.
    bool voidRow(qint64 rowId, const QString &reason);

    Row row(qint64 rowId) const;
    // Rows still "printing", oldest first.
    std::vector<Row> unfinished() const;
    qint64 rowCount() const;

private:
    void execute(const QString &statement);

    QString FPath;
    QString FConnection;
};
