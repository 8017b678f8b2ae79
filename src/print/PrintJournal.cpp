#include "print/PrintJournal.h"

#include "common/KestranoError.h"
#include "common/Messages.h"
#include "itinerary/SerialNumber.h"
#include "print/JournalFiles.h"
#include "settings/Settings.h"

#include <QAtomicInteger>
#include <QDir>
#include <QFileInfo>
#include <QSqlError>
#include <QSqlQuery>
#include <QUuid>
#include <QVariant>

namespace {

const QString timeFormat = QStringLiteral("yyyy-MM-dd HH:mm:ss");

// SQLite's own description is English: the reason comes from its code.
QString databaseReason(const QSqlError &error)
{
    bool known = false;
    const int code = error.nativeErrorCode().toInt(&known);
    return known ? Messages::databaseReason(code) : Messages::readOrWriteFailed();
}

QString newConnectionName()
{
    static QAtomicInteger<int> count;
    return QStringLiteral("journal-%1").arg(count.fetchAndAddRelaxed(1));
}

const char *const columns =
    "journal.id, printed_at, printer, job_id, outcome, reason, void_reason, serial_number,"
    " check_code, passenger, id_number, ticket_number, pnr, flights, dates, fare, airport_tax,"
    " fuel_surcharge, other_taxes, total, receipt_fields.fields, document_name";
const char *const tables = "journal LEFT JOIN receipt_fields ON receipt_fields.id = journal.id";

PrintJournal::Row rowOf(const QSqlQuery &query)
{
    PrintJournal::Row row;
    const auto text = [&](int column) { return query.value(column).toString(); };
    row.id = query.value(0).toLongLong();
    row.time = QDateTime::fromString(text(1), timeFormat);
    row.printer = text(2);
    row.jobId = query.value(3).toInt();
    row.outcome = PrintJournal::outcomeOf(text(4));
    row.reason = text(5);
    row.voidReason = text(6);
    row.record = ReceiptRecord::fromFieldsJson(text(20));
    row.documentName = text(21);
    ReceiptRecord &r = row.record;
    r.serialNumber = text(7);
    r.checkCode = text(8);
    r.passenger = text(9);
    r.idNumber = text(10);
    r.ticketNumber = text(11);
    r.pnr = text(12);
    r.flights = text(13);
    r.dates = text(14);
    r.fare = text(15);
    r.airportTax = text(16);
    r.fuelSurcharge = text(17);
    r.otherTaxes = text(18);
    r.total = text(19);
    return row;
}

} // namespace

QString PrintJournal::pathFor(const QString &settingsFolder)
{
    return QDir(settingsFolder).filePath(fileName());
}

PrintJournal::PrintJournal(const QString &settingsFolder)
    : m_path(pathFor(settingsFolder)), m_connection(newConnectionName()),
      m_desk(Settings::defaultDesk())
{
    JournalFiles::makePrivate(m_path);
    {
        // SQLite refuses a link anywhere in the path it is given: the
        // folder's own path, links resolved, leaves only the file to refuse.
        const QString folder = QFileInfo(settingsFolder).canonicalFilePath();
        if (folder.isEmpty())
            throw KestranoError(Messages::journalUnopenable(m_path, Messages::fileNotFound()));
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), m_connection);
        const auto dropConnection = [&] {
            db = QSqlDatabase();
            QSqlDatabase::removeDatabase(m_connection);
        };
        try {
            db.setDatabaseName(JournalFiles::noFollowName(QDir(folder).filePath(fileName())));
        } catch (const KestranoError &) {
            dropConnection();
            throw;
        }
        db.setConnectOptions(QStringLiteral("QSQLITE_OPEN_URI"));
        if (!db.open()) {
            const QString reason = databaseReason(db.lastError());
            dropConnection();
            throw KestranoError(Messages::journalUnopenable(m_path, reason));
        }
    }
    try {
        // Another copy of the program may be writing: wait for it a while.
        execute(QStringLiteral("PRAGMA busy_timeout = 5000"));
        QSqlQuery mode(database());
        if (!mode.exec(QStringLiteral("PRAGMA journal_mode = WAL")) || !mode.next() ||
            mode.value(0).toString().compare(QLatin1String("wal"), Qt::CaseInsensitive) != 0)
            throw KestranoError(
                Messages::journalUnopenable(m_path, databaseReason(mode.lastError())));
        execute(QStringLiteral("PRAGMA synchronous = FULL"));
        execute(QStringLiteral("CREATE TABLE IF NOT EXISTS journal ("
                               " id INTEGER PRIMARY KEY AUTOINCREMENT,"
                               " printed_at TEXT NOT NULL, printer TEXT NOT NULL, job_id INTEGER,"
                               " outcome TEXT NOT NULL, reason TEXT DEFAULT '',"
                               " void_reason TEXT DEFAULT '',"
                               " serial_number TEXT DEFAULT '', check_code TEXT DEFAULT '',"
                               " passenger TEXT DEFAULT '', id_number TEXT DEFAULT '',"
                               " ticket_number TEXT DEFAULT '', pnr TEXT DEFAULT '',"
                               " flights TEXT DEFAULT '', dates TEXT DEFAULT '',"
                               " fare TEXT DEFAULT '', airport_tax TEXT DEFAULT '',"
                               " fuel_surcharge TEXT DEFAULT '', other_taxes TEXT DEFAULT '',"
                               " total TEXT DEFAULT '', document_name TEXT DEFAULT '')"));
        addColumnIfMissing(QStringLiteral("journal"), QStringLiteral("document_name"),
                           QStringLiteral("TEXT DEFAULT ''"));
        // The register's part of a row: the desk that printed it, the number
        // it used as a number, and which of its changes the shared register
        // has (a row changes on its end, a void and a settlement).
        addColumnIfMissing(QStringLiteral("journal"), QStringLiteral("desk"),
                           QStringLiteral("TEXT DEFAULT ''"));
        if (addColumnIfMissing(QStringLiteral("journal"), QStringLiteral("serial_value"),
                               QStringLiteral("INTEGER")))
            execute(QStringLiteral(
                "UPDATE journal SET serial_value = CAST(substr(trim(serial_number), 1, 10) AS "
                "INTEGER) WHERE trim(serial_number) GLOB "
                "'[0-9][0-9][0-9][0-9][0-9][0-9][0-9][0-9][0-9][0-9] [0-9]'"));
        addColumnIfMissing(QStringLiteral("journal"), QStringLiteral("change_no"),
                           QStringLiteral("INTEGER NOT NULL DEFAULT 1"));
        addColumnIfMissing(QStringLiteral("journal"), QStringLiteral("sent_change"),
                           QStringLiteral("INTEGER NOT NULL DEFAULT 0"));
        // What a search looks through, one short text per row in a table of
        // its own: a search reads little more than these texts.
        execute(QStringLiteral("CREATE TABLE IF NOT EXISTS journal_search ("
                               " id INTEGER PRIMARY KEY REFERENCES journal (id),"
                               " search TEXT NOT NULL)"));
        // Every field's text sits apart, so that listing and searching the
        // rows never reads it.
        execute(QStringLiteral("CREATE TABLE IF NOT EXISTS receipt_fields ("
                               " id INTEGER PRIMARY KEY REFERENCES journal (id),"
                               " fields TEXT NOT NULL)"));
        execute(QStringLiteral("CREATE INDEX IF NOT EXISTS journal_unfinished ON journal (outcome) "
                               "WHERE outcome = 'printing'"));
        execute(QStringLiteral(
            "CREATE INDEX IF NOT EXISTS journal_serial_value ON journal (serial_value)"));
        execute(QStringLiteral("CREATE INDEX IF NOT EXISTS journal_unsent ON journal (id) "
                               "WHERE sent_change < change_no"));
    } catch (...) {
        QSqlDatabase::database(m_connection, false).close();
        QSqlDatabase::removeDatabase(m_connection);
        throw;
    }
}

PrintJournal::~PrintJournal()
{
    QSqlDatabase::database(m_connection, false).close();
    QSqlDatabase::removeDatabase(m_connection);
}

QSqlDatabase PrintJournal::database() const
{
    return QSqlDatabase::database(m_connection, false);
}

QString PrintJournal::outcomeKey(Outcome outcome)
{
    switch (outcome) {
    case Outcome::Printing:
        return QStringLiteral("printing");
    case Outcome::Printed:
        return QStringLiteral("printed");
    case Outcome::Failed:
        return QStringLiteral("failed");
    case Outcome::Cancelled:
        return QStringLiteral("cancelled");
    case Outcome::Voided:
        return QStringLiteral("voided");
    case Outcome::Unconfirmed:
        return QStringLiteral("unconfirmed");
    }
    return QString();
}

PrintJournal::Outcome PrintJournal::outcomeOf(const QString &key)
{
    for (Outcome outcome : {Outcome::Printed, Outcome::Failed, Outcome::Cancelled, Outcome::Voided,
                            Outcome::Unconfirmed}) {
        if (key == outcomeKey(outcome))
            return outcome;
    }
    return Outcome::Printing;
}

void PrintJournal::execute(const QString &statement)
{
    QSqlQuery query(database());
    if (!query.exec(statement))
        throw KestranoError(Messages::journalUnwritable(m_path, databaseReason(query.lastError())));
}

bool PrintJournal::addColumnIfMissing(const QString &table, const QString &column,
                                      const QString &type)
{
    // Journals written before the column was known get it, empty.
    QSqlQuery query(database());
    query.prepare(QStringLiteral("SELECT COUNT(*) FROM pragma_table_info(?) WHERE name = ?"));
    query.addBindValue(table);
    query.addBindValue(column);
    if (!query.exec() || !query.next() || query.value(0).toInt() != 0)
        return false;
    execute(QStringLiteral("ALTER TABLE %1 ADD COLUMN %2 %3").arg(table, column, type));
    return true;
}

QString PrintJournal::newDocumentName(const QString &title)
{
    return title + u' ' + QUuid::createUuid().toString(QUuid::WithoutBraces);
}

QString PrintJournal::searchText(const QString &text)
{
    return text.toUpper();
}

qint64 PrintJournal::begin(const ReceiptRecord &record, const QString &printer,
                           const QString &documentName)
{
    QSqlDatabase db = database();
    const auto failed = [&](const QSqlQuery &query) {
        const QString reason = databaseReason(query.lastError());
        db.rollback();
        return KestranoError(Messages::journalUnwritable(m_path, reason));
    };
    db.transaction();
    QSqlQuery query(db);
    query.prepare(QStringLiteral(
        "INSERT INTO journal (printed_at, printer, outcome, serial_number, check_code, passenger,"
        " id_number, ticket_number, pnr, flights, dates, fare, airport_tax, fuel_surcharge,"
        " other_taxes, total, document_name, desk, serial_value)"
        " VALUES (?, ?, 'printing', ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)"));
    // One text per row that a search looks through, in the case it is looked
    // for in: serial number, ticket number, passenger.
    const QString search =
        searchText(record.serialNumber + u'\t' + record.ticketNumber + u'\t' + record.passenger);
    for (const QString &value :
         {QDateTime::currentDateTime().toString(timeFormat), printer, record.serialNumber,
          record.checkCode, record.passenger, record.idNumber, record.ticketNumber, record.pnr,
          record.flights, record.dates, record.fare, record.airportTax, record.fuelSurcharge,
          record.otherTaxes, record.total, documentName, m_desk})
        query.addBindValue(value);
    const std::optional<qint64> serialValue = serialNumberValue(record.serialNumber);
    query.addBindValue(serialValue ? QVariant(*serialValue) : QVariant(QMetaType::fromType<qint64>()));
    if (!query.exec())
        throw failed(query);
    const qint64 rowId = query.lastInsertId().toLongLong();
    QSqlQuery fields(db);
    fields.prepare(QStringLiteral("INSERT INTO receipt_fields (id, fields) VALUES (?, ?)"));
    fields.addBindValue(rowId);
    fields.addBindValue(record.fieldsJson());
    if (!fields.exec())
        throw failed(fields);
    QSqlQuery searched(db);
    searched.prepare(QStringLiteral("INSERT INTO journal_search (id, search) VALUES (?, ?)"));
    searched.addBindValue(rowId);
    searched.addBindValue(search);
    if (!searched.exec())
        throw failed(searched);
    if (!db.commit())
        throw KestranoError(Messages::journalUnwritable(m_path, databaseReason(db.lastError())));
    return rowId;
}

void PrintJournal::setJobId(qint64 rowId, int jobId)
{
    // In WAL mode a commit without a sync is written to the log all the
    // same; the sync of the next commit makes it durable along with that
    // commit. The job is in the print system already: waiting for the disk
    // here would only hold the window up.
    execute(QStringLiteral("PRAGMA synchronous = NORMAL"));
    QSqlQuery query(database());
    query.prepare(QStringLiteral("UPDATE journal SET job_id = ? WHERE id = ?"));
    query.addBindValue(jobId);
    query.addBindValue(rowId);
    const bool written = query.exec();
    execute(QStringLiteral("PRAGMA synchronous = FULL"));
    if (!written)
        throw KestranoError(Messages::journalUnwritable(m_path, databaseReason(query.lastError())));
}

bool PrintJournal::moveRow(qint64 rowId, Outcome from, Outcome to, const char *reasonColumn,
                           const QString &reason)
{
    QSqlQuery query(database());
    query.prepare(
        QStringLiteral("UPDATE journal SET outcome = ?, %1 = ?, change_no = change_no + 1"
                       " WHERE id = ? AND outcome = ?")
            .arg(QLatin1String(reasonColumn)));
    query.addBindValue(outcomeKey(to));
    query.addBindValue(reason);
    query.addBindValue(rowId);
    query.addBindValue(outcomeKey(from));
    if (!query.exec())
        throw KestranoError(Messages::journalUnwritable(m_path, databaseReason(query.lastError())));
    return query.numRowsAffected() == 1;
}

void PrintJournal::finish(qint64 rowId, Outcome outcome, const QString &reason)
{
    moveRow(rowId, Outcome::Printing, outcome, "reason", reason);
}

bool PrintJournal::voidRow(qint64 rowId, const QString &reason)
{
    return moveRow(rowId, Outcome::Printed, Outcome::Voided, "void_reason", reason);
}

bool PrintJournal::settle(qint64 rowId, Outcome outcome, const QString &reason)
{
    return moveRow(rowId, Outcome::Unconfirmed, outcome, "reason", reason);
}

PrintJournal::Row PrintJournal::row(qint64 rowId) const
{
    QSqlQuery query(database());
    query.prepare(QStringLiteral("SELECT %1 FROM %2 WHERE journal.id = ?")
                      .arg(QLatin1String(columns), QLatin1String(tables)));
    query.addBindValue(rowId);
    if (!query.exec() || !query.next())
        return Row();
    return rowOf(query);
}

std::vector<PrintJournal::Row> PrintJournal::unfinished() const
{
    QSqlQuery query(database());
    std::vector<Row> rows;
    if (!query.exec(
            QStringLiteral("SELECT %1 FROM %2 WHERE outcome = 'printing' ORDER BY journal.id")
                .arg(QLatin1String(columns), QLatin1String(tables))))
        return rows;
    while (query.next())
        rows.push_back(rowOf(query));
    return rows;
}

qint64 PrintJournal::rowCount() const
{
    QSqlQuery query(database());
    if (query.exec(QStringLiteral("SELECT COUNT(*) FROM journal")) && query.next())
        return query.value(0).toLongLong();
    return 0;
}
