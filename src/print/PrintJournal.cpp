#include "print/PrintJournal.h"

#include "common/KestranoError.h"

#include <QAtomicInteger>
#include <QDir>
#include <QFileInfo>
#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>

namespace {

const QString settingsFileName = QStringLiteral("vantrel_cof.ini");
const QString timeFormat = QStringLiteral("yyyy-MM-dd HH:mm:ss");

QString newConnectionName()
{
    static QAtomicInteger<int> count;
    return QStringLiteral("journal-%1").arg(count.fetchAndAddRelaxed(1));
}

const char *const columns = "id, printed_at, printer, job_id, outcome, reason, void_reason, "
                            "serial_number, check_code, passenger, id_number, ticket_number, pnr, "
                            "flights, dates, fare, airport_tax, fuel_surcharge, other_taxes, total, "
                            "fields";

TPrintJournal::Row rowOf(const QSqlQuery &query)
{
    TPrintJournal::Row row;
    const auto text = [&](int column) { return query.value(column).toString(); };
    row.id = query.value(0).toLongLong();
    row.time = QDateTime::fromString(text(1), timeFormat);
    row.printer = text(2);
    row.jobId = query.value(3).toInt();
    row.outcome = TPrintJournal::outcomeOf(text(4));
    row.reason = text(5);
    row.voidReason = text(6);
    row.record = TReceiptRecord::fromFieldsJson(text(20));
    TReceiptRecord &r = row.record;
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

QString TPrintJournal::pathFor(const QString &settingsFolder)
{
    // An installed program's settings file may be a link into a folder its
    // users can write; the journal belongs there too.
    QString settingsFile = QDir(settingsFolder).filePath(settingsFileName);
    for (int hop = 0; hop < 8 && QFileInfo(settingsFile).isSymLink(); ++hop)
        settingsFile = QFileInfo(settingsFile).symLinkTarget();
    return QFileInfo(settingsFile).dir().filePath(fileName());
}

TPrintJournal::TPrintJournal(const QString &settingsFolder)
    : FPath(pathFor(settingsFolder)), FConnection(newConnectionName())
{
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), FConnection);
        db.setDatabaseName(FPath);
        if (!db.open()) {
            const QString reason = db.lastError().text();
            db = QSqlDatabase();
            QSqlDatabase::removeDatabase(FConnection);
            throw KestranoError(QStringLiteral("无法打开打印记录 %1：%2").arg(FPath, reason));
        }
    }
    try {
        // Another copy of the program may be writing: wait for it a while.
        execute(QStringLiteral("PRAGMA busy_timeout = 5000"));
        QSqlQuery mode(database());
        if (!mode.exec(QStringLiteral("PRAGMA journal_mode = WAL")) || !mode.next() ||
            mode.value(0).toString().compare(QLatin1String("wal"), Qt::CaseInsensitive) != 0)
            throw KestranoError(QStringLiteral("无法打开打印记录 %1：%2")
                                    .arg(FPath, mode.lastError().text()));
        execute(QStringLiteral("PRAGMA synchronous = FULL"));
        execute(QStringLiteral(
            "CREATE TABLE IF NOT EXISTS journal ("
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
            " total TEXT DEFAULT '', fields TEXT NOT NULL DEFAULT '{}')"));
        execute(QStringLiteral(
            "CREATE INDEX IF NOT EXISTS journal_unfinished ON journal (outcome) "
            "WHERE outcome = 'printing'"));
    } catch (...) {
        QSqlDatabase::database(FConnection, false).close();
        QSqlDatabase::removeDatabase(FConnection);
        throw;
    }
}

TPrintJournal::~TPrintJournal()
{
    QSqlDatabase::database(FConnection, false).close();
    QSqlDatabase::removeDatabase(FConnection);
}

QSqlDatabase TPrintJournal::database() const
{
    return QSqlDatabase::database(FConnection, false);
}

QString TPrintJournal::outcomeKey(Outcome outcome)
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
    }
    return QString();
}

TPrintJournal::Outcome TPrintJournal::outcomeOf(const QString &key)
{
    for (Outcome outcome : {Outcome::Printed, Outcome::Failed, Outcome::Cancelled, Outcome::Voided}) {
        if (key == outcomeKey(outcome))
            return outcome;
    }
    return Outcome::Printing;
}

void TPrintJournal::execute(const QString &statement)
{
    QSqlQuery query(database());
    if (!query.exec(statement))
        throw KestranoError(
            QStringLiteral("无法写入打印记录 %1：%2").arg(FPath, query.lastError().text()));
}

qint64 TPrintJournal::begin(const TReceiptRecord &record, const QString &printer)
{
    QSqlQuery query(database());
    query.prepare(QStringLiteral(
        "INSERT INTO journal (printed_at, printer, outcome, serial_number, check_code, passenger,"
        " id_number, ticket_number, pnr, flights, dates, fare, airport_tax, fuel_surcharge,"
        " other_taxes, total, fields) VALUES (?, ?, 'printing', ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?,"
        " ?, ?, ?)"));
    for (const QString &value :
         {QDateTime::currentDateTime().toString(timeFormat), printer, record.serialNumber,
          record.checkCode, record.passenger, record.idNumber, record.ticketNumber, record.pnr,
          record.flights, record.dates, record.fare, record.airportTax, record.fuelSurcharge,
          record.otherTaxes, record.total, record.fieldsJson()})
        query.addBindValue(value);
    if (!query.exec())
        throw KestranoError(
            QStringLiteral("无法写入打印记录 %1：%2").arg(FPath, query.lastError().text()));
    return query.lastInsertId().toLongLong();
}

void TPrintJournal::setJobId(qint64 rowId, int jobId)
{
    QSqlQuery query(database());
    query.prepare(QStringLiteral("UPDATE journal SET job_id = ? WHERE id = ?"));
    query.addBindValue(jobId);
    query.addBindValue(rowId);
    if (!query.exec())
        throw KestranoError(
            QStringLiteral("无法写入打印记录 %1：%2").arg(FPath, query.lastError().text()));
}

void TPrintJournal::finish(qint64 rowId, Outcome outcome, const QString &reason)
{
    QSqlQuery query(database());
    query.prepare(QStringLiteral(
        "UPDATE journal SET outcome = ?, reason = ? WHERE id = ? AND outcome = 'printing'"));
    query.addBindValue(outcomeKey(outcome));
    query.addBindValue(reason);
    query.addBindValue(rowId);
    if (!query.exec())
        throw KestranoError(
            QStringLiteral("无法写入打印记录 %1：%2").arg(FPath, query.lastError().text()));
}

bool TPrintJournal::voidRow(qint64 rowId, const QString &reason)
{
    QSqlQuery query(database());
    query.prepare(QStringLiteral("UPDATE journal SET outcome = 'voided', void_reason = ? "
                                 "WHERE id = ? AND outcome = 'printed'"));
    query.addBindValue(reason);
    query.addBindValue(rowId);
    if (!query.exec())
        throw KestranoError(
            QStringLiteral("无法写入打印记录 %1：%2").arg(FPath, query.lastError().text()));
    return query.numRowsAffected() == 1;
}

TPrintJournal::Row TPrintJournal::row(qint64 rowId) const
{
    QSqlQuery query(database());
    query.prepare(QStringLiteral("SELECT %1 FROM journal WHERE id = ?").arg(QLatin1String(columns)));
    query.addBindValue(rowId);
    if (!query.exec() || !query.next())
        return Row();
    return rowOf(query);
}

std::vector<TPrintJournal::Row> TPrintJournal::unfinished() const
{
    QSqlQuery query(database());
    std::vector<Row> rows;
    if (!query.exec(QStringLiteral("SELECT %1 FROM journal WHERE outcome = 'printing' ORDER BY id")
                        .arg(QLatin1String(columns))))
        return rows;
    while (query.next())
        rows.push_back(rowOf(query));
    return rows;
}

qint64 TPrintJournal::rowCount() const
{
    QSqlQuery query(database());
    if (query.exec(QStringLiteral("SELECT COUNT(*) FROM journal")) && query.next())
        return query.value(0).toLongLong();
    return 0;
}
