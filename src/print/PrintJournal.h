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
class PrintJournal
{
public:
    // Unconfirmed: the print system could not tell how the job ended; the
    // agent looks at the stock and settles the row.
    enum class Outcome { Printing, Printed, Failed, Cancelled, Voided, Unconfirmed };

    struct Row
    {
        qint64 id = 0;
        QDateTime time;
        QString printer;
        int jobId = 0;
        Outcome outcome = Outcome::Printing;
        QString reason;
        QString voidReason;
        QString documentName;
        ReceiptRecord record;
    };

    static QString fileName() { return QStringLiteral("vantrel_print.db"); }
    // The journal's path beside the settings file in settingsFolder. The
    // file is never a link, and its user's alone (JournalFiles).
    static QString pathFor(const QString &settingsFolder);

    // Opens the journal, creating it when there is none; raises KestranoError
    // when it cannot be opened or written.
    explicit PrintJournal(const QString &settingsFolder);
    ~PrintJournal();

    PrintJournal(const PrintJournal &) = delete;
    PrintJournal &operator=(const PrintJournal &) = delete;

    const QString &path() const { return m_path; }
    // The desk that rows begun from now on name: user@host unless set.
    const QString &desk() const { return m_desk; }
    void setDesk(const QString &desk) { m_desk = desk; }
    QSqlDatabase database() const;

    static QString outcomeKey(Outcome outcome);
    // A text as the search column holds it, and as it is looked for there.
    static QString searchText(const QString &text);
    static Outcome outcomeOf(const QString &key);

    // A name for the document of a job that no other job has. The row keeps
    // it, so that a job handed over by a program that did not live to
    // record the job's id is still found in the print system by this name.
    static QString newDocumentName(const QString &title);

    // Each write is one transaction and raises KestranoError when the
    // database refuses it. All but setJobId are synced before they return.
    qint64 begin(const ReceiptRecord &record, const QString &printer,
                 const QString &documentName = QString());
    // Not synced on its own: it reaches the disk with the row's end, the
    // next synced write. A crash of the program loses nothing (the write is
    // the system's once it returns); after a power cut the row is still
    // found by its document name.
    void setJobId(qint64 rowId, int jobId);
    void finish(qint64 rowId, Outcome outcome, const QString &reason = QString());
    // Only a printed row becomes void (a spoiled sheet); false otherwise.
    bool voidRow(qint64 rowId, const QString &reason);
    // Only an unconfirmed row is settled, as printed or failed, with the
    // agent's word as its reason; false otherwise.
    bool settle(qint64 rowId, Outcome outcome, const QString &reason);

    Row row(qint64 rowId) const;
    // Rows still "printing", oldest first.
    std::vector<Row> unfinished() const;
    qint64 rowCount() const;

private:
    void execute(const QString &statement);
    // True when the column was added.
    bool addColumnIfMissing(const QString &table, const QString &column, const QString &type);
    // Moves the row from one outcome to another, writing reasonColumn; false
    // when the row was not in the outcome from.
    bool moveRow(qint64 rowId, Outcome from, Outcome to, const char *reasonColumn,
                 const QString &reason);

    QString m_path;
    QString m_connection;
    QString m_desk;
};
