#include "register/RegisterStore.h"

#include "common/KestranoError.h"
#include "common/Messages.h"
#include "itinerary/SerialNumber.h"
#include "print/JournalModel.h"

#include <QDateTime>
#include <QSqlQuery>
#include <QVariant>
#include <algorithm>

namespace {

// The shared register, version 1. A number is held by one print at a time:
// the unique index lets only one row that is neither failed nor a second
// use (a number printed again on the agent's word, or by two desks while the
// server was away) carry it.
const char *const serverTables[] = {
    "CREATE TABLE IF NOT EXISTS register_version (version INTEGER NOT NULL)",
    "CREATE TABLE IF NOT EXISTS register_receipts ("
    " entry_key TEXT PRIMARY KEY, serial BIGINT, serial_number TEXT NOT NULL DEFAULT '',"
    " printed_at TEXT NOT NULL, desk TEXT NOT NULL, passenger TEXT NOT NULL DEFAULT '',"
    " ticket_number TEXT NOT NULL DEFAULT '', total TEXT NOT NULL DEFAULT '',"
    " outcome TEXT NOT NULL, void_reason TEXT NOT NULL DEFAULT '',"
    " second_use BOOLEAN NOT NULL DEFAULT FALSE)",
    "CREATE UNIQUE INDEX IF NOT EXISTS register_one_use ON register_receipts (serial)"
    " WHERE NOT second_use AND outcome IN ('printing', 'printed', 'voided', 'unconfirmed')",
    "CREATE INDEX IF NOT EXISTS register_serial ON register_receipts (serial)",
    "CREATE INDEX IF NOT EXISTS register_time ON register_receipts (printed_at)",
    "CREATE TABLE IF NOT EXISTS stock_ranges ("
    " id BIGSERIAL PRIMARY KEY, first_number BIGINT NOT NULL, last_number BIGINT NOT NULL,"
    " received_on TEXT NOT NULL, received_by TEXT NOT NULL DEFAULT '',"
    " entered_at TEXT NOT NULL, desk TEXT NOT NULL DEFAULT '',"
    " CHECK (first_number <= last_number))",
};

// The desk's own register: its journal's rows seen as the shared table is
// laid out, and its ranges beside them.
const char *const localTables[] = {
    "CREATE TABLE IF NOT EXISTS stock_ranges ("
    " id INTEGER PRIMARY KEY AUTOINCREMENT, first_number INTEGER NOT NULL,"
    " last_number INTEGER NOT NULL, received_on TEXT NOT NULL,"
    " received_by TEXT NOT NULL DEFAULT '', entered_at TEXT NOT NULL,"
    " desk TEXT NOT NULL DEFAULT '', CHECK (first_number <= last_number))",
    "CREATE VIEW IF NOT EXISTS register_receipts AS SELECT"
    " COALESCE(NULLIF(document_name, ''), 'row-' || id) AS entry_key, id AS row_id,"
    " serial_value AS serial, serial_number, printed_at, desk, passenger, ticket_number, total,"
    " outcome, void_reason, 0 AS second_use FROM journal",
};

const QString timeFormat = QStringLiteral("yyyy-MM-dd HH:mm:ss");

// Used: printed or voided. Of several rows of one number, a print wins over a
// void, and a later row over an earlier one.
const char *const usesOrder = " ORDER BY serial, (outcome = 'printed'), printed_at";

} // namespace

RegisterStore::RegisterStore(QSqlDatabase db, Kind kind, QString name)
    : m_db(std::move(db)), m_kind(kind), m_name(std::move(name))
{}

QString RegisterStore::failure(const QSqlError &error) const
{
    if (m_kind == Kind::Shared)
        return Messages::registerRefused(
            m_name, Messages::postgresReason(error.nativeErrorCode(), error.text()));
    bool known = false;
    const int code = error.nativeErrorCode().toInt(&known);
    return Messages::journalUnwritable(
        m_name, known ? Messages::databaseReason(code) : Messages::readOrWriteFailed());
}

void RegisterStore::execute(const QString &statement) const
{
    QSqlQuery query(m_db);
    if (!query.exec(statement))
        throw KestranoError(failure(query.lastError()));
}

void RegisterStore::prepare()
{
    if (m_kind == Kind::Local) {
        for (const char *statement : localTables)
            execute(QString::fromLatin1(statement));
        return;
    }
    if (!m_db.transaction())
        throw KestranoError(failure(m_db.lastError()));
    try {
        // One desk at a time creates or upgrades the tables.
        execute(QStringLiteral("SELECT pg_advisory_xact_lock(7125361)"));
        for (const char *statement : serverTables)
            execute(QString::fromLatin1(statement));
        QSqlQuery version(m_db);
        if (!version.exec(QStringLiteral("SELECT MAX(version) FROM register_version")) ||
            !version.next())
            throw KestranoError(failure(version.lastError()));
        if (version.value(0).isNull()) {
            execute(QStringLiteral("INSERT INTO register_version (version) VALUES (%1)")
                        .arg(schemaVersion));
        } else if (version.value(0).toInt() > schemaVersion) {
            throw KestranoError(
                Messages::registerRefused(m_name, Messages::registerTooNew(version.value(0).toInt())));
        }
        if (!m_db.commit())
            throw KestranoError(failure(m_db.lastError()));
    } catch (...) {
        m_db.rollback();
        throw;
    }
}

std::optional<NumberUse> RegisterStore::lastUse(qint64 number) const
{
    QSqlQuery query(m_db);
    query.prepare(QStringLiteral("SELECT serial_number, printed_at, desk, outcome FROM "
                                 "register_receipts WHERE serial = ? AND outcome IN ('printed',"
                                 " 'voided', 'printing') ORDER BY printed_at DESC"));
    query.addBindValue(number);
    if (!query.exec())
        throw KestranoError(failure(query.lastError()));
    std::optional<NumberUse> latest;
    while (query.next()) {
        NumberUse use{query.value(0).toString(), query.value(1).toString(),
                      query.value(2).toString(),
                      query.value(3).toString() == QLatin1String("voided")};
        // A print wins over a void of the same number.
        if (!latest || (latest->voided && !use.voided))
            latest = use;
        if (!latest->voided)
            break;
    }
    return latest;
}

RegisterStore::Bounds RegisterStore::rangeBounds() const
{
    QSqlQuery query(m_db);
    query.setForwardOnly(true);
    if (!query.exec(QStringLiteral(
            "SELECT first_number, last_number FROM stock_ranges ORDER BY first_number")))
        throw KestranoError(failure(query.lastError()));
    Bounds bounds;
    while (query.next())
        bounds.push_back({query.value(0).toLongLong(), query.value(1).toLongLong()});
    return bounds;
}

std::vector<StockRange> RegisterStore::ranges() const
{
    // The counts of each range in one statement: printed numbers, voided
    // ones never printed, and the highest used.
    QSqlQuery query(m_db);
    query.setForwardOnly(true);
    if (!query.exec(QStringLiteral(
            "SELECT r.first_number, r.last_number, r.received_on, r.received_by,"
            " (SELECT COUNT(DISTINCT u.serial) FROM register_receipts u WHERE u.serial BETWEEN"
            "  r.first_number AND r.last_number AND u.outcome = 'printed'),"
            " (SELECT COUNT(DISTINCT u.serial) FROM register_receipts u WHERE u.serial BETWEEN"
            "  r.first_number AND r.last_number AND u.outcome = 'voided' AND NOT EXISTS"
            "  (SELECT 1 FROM register_receipts p WHERE p.serial = u.serial"
            "   AND p.outcome = 'printed')),"
            " (SELECT MAX(u.serial) FROM register_receipts u WHERE u.serial BETWEEN"
            "  r.first_number AND r.last_number AND u.outcome IN ('printed', 'voided'))"
            " FROM stock_ranges r ORDER BY r.first_number")))
        throw KestranoError(failure(query.lastError()));
    std::vector<StockRange> found;
    while (query.next()) {
        StockRange range;
        range.first = query.value(0).toLongLong();
        range.last = query.value(1).toLongLong();
        range.receivedOn = query.value(2).toString();
        range.receivedBy = query.value(3).toString();
        range.printed = query.value(4).toLongLong();
        range.voided = query.value(5).toLongLong();
        const qint64 highest = query.value(6).isNull() ? range.first - 1 : query.value(6).toLongLong();
        range.missing = highest - range.first + 1 - range.printed - range.voided;
        range.unused = range.last - highest;
        found.push_back(range);
    }
    return found;
}

void RegisterStore::addRange(const StockRange &range, const QString &desk)
{
    if (range.first <= 0 || range.last < range.first || range.last > 9999999999LL)
        throw KestranoError(Messages::stockRangeInvalid());
    if (!m_db.transaction())
        throw KestranoError(failure(m_db.lastError()));
    try {
        if (m_kind == Kind::Shared)
            execute(QStringLiteral("LOCK TABLE stock_ranges IN EXCLUSIVE MODE"));
        QSqlQuery overlap(m_db);
        overlap.prepare(QStringLiteral("SELECT first_number, last_number FROM stock_ranges"
                                       " WHERE first_number <= ? AND last_number >= ?"));
        overlap.addBindValue(range.last);
        overlap.addBindValue(range.first);
        if (!overlap.exec())
            throw KestranoError(failure(overlap.lastError()));
        if (overlap.next())
            throw KestranoError(
                Messages::stockRangeOverlaps(serialDigits(overlap.value(0).toLongLong()),
                                             serialDigits(overlap.value(1).toLongLong())));
        QSqlQuery insert(m_db);
        insert.prepare(QStringLiteral(
            "INSERT INTO stock_ranges (first_number, last_number, received_on, received_by,"
            " entered_at, desk) VALUES (?, ?, ?, ?, ?, ?)"));
        insert.addBindValue(range.first);
        insert.addBindValue(range.last);
        // Never NULL: the driver sends a null QString as NULL.
        for (const QString &text : {range.receivedOn, range.receivedBy,
                                    QDateTime::currentDateTime().toString(timeFormat), desk})
            insert.addBindValue(text.isNull() ? QStringLiteral("") : text);
        if (!insert.exec())
            throw KestranoError(failure(insert.lastError()));
        if (!m_db.commit())
            throw KestranoError(failure(m_db.lastError()));
    } catch (...) {
        m_db.rollback();
        throw;
    }
}

std::vector<Reconciliation::Use> RegisterStore::numbersUsed(qint64 first, qint64 last,
                                                           std::vector<QString> *times) const
{
    // Two small columns a row: a range of 100,000 numbers is read in a few
    // tens of milliseconds.
    QSqlQuery query(m_db);
    query.setForwardOnly(true);
    query.prepare(QStringLiteral("SELECT serial, CASE WHEN outcome = 'voided' THEN 1 ELSE 0 END%1"
                                 " FROM register_receipts WHERE serial BETWEEN ? AND ?"
                                 " AND outcome IN ('printed', 'voided')")
                      .arg(times ? QStringLiteral(", printed_at") : QString()) +
                  // Without times, the number's order alone, which the index
                  // gives without a sort: a print wins over a void below.
                  (times ? QLatin1String(usesOrder) : QLatin1String(" ORDER BY serial")));
    query.addBindValue(first);
    query.addBindValue(last);
    if (!query.exec())
        throw KestranoError(failure(query.lastError()));
    std::vector<Reconciliation::Use> uses;
    while (query.next()) {
        const qint64 number = query.value(0).toLongLong();
        // Rows come in number order, the one that counts last.
        const bool voided = query.value(1).toInt() == 1;
        if (uses.empty() || uses.back().number != number) {
            uses.push_back({number, voided});
            if (times)
                times->emplace_back();
        }
        uses.back().voided = times ? voided : uses.back().voided && voided;
        if (times)
            times->back() = query.value(2).toString();
    }
    return uses;
}

Reconciliation RegisterStore::reconcileRange(qint64 first, qint64 last) const
{
    return Reconciliation::ofRange(first, last, numbersUsed(first, last));
}

Reconciliation RegisterStore::reconcilePeriod(const QDate &from, const QDate &to) const
{
    Reconciliation account;
    account.scope = QStringLiteral("期间 %1 至 %2")
                        .arg(from.toString(Qt::ISODate), to.toString(Qt::ISODate));
    const QString firstTime = from.toString(Qt::ISODate) + QStringLiteral(" 00:00:00");
    const QString lastTime = to.toString(Qt::ISODate) + QStringLiteral(" 23:59:59");
    QSqlQuery query(m_db);
    query.setForwardOnly(true);
    query.prepare(QStringLiteral("SELECT MIN(serial), MAX(serial) FROM register_receipts"
                                 " WHERE printed_at BETWEEN ? AND ?"
                                 " AND outcome IN ('printed', 'voided')"));
    query.addBindValue(firstTime);
    query.addBindValue(lastTime);
    if (!query.exec() || !query.next())
        throw KestranoError(failure(query.lastError()));
    if (query.value(0).isNull())
        return account;
    const qint64 lowest = query.value(0).toLongLong();
    const qint64 highest = query.value(1).toLongLong();

    // Each stretch of the span that lies in one received range is accounted
    // as a range of its own, up to the highest number the period used there;
    // without any range, the whole span is one.
    std::vector<std::pair<qint64, qint64>> stretches;
    const std::vector<StockRange> received = ranges();
    for (const StockRange &range : received) {
        const qint64 first = std::max(range.first, lowest);
        const qint64 last = std::min(range.last, highest);
        if (first <= last)
            stretches.push_back({first, last});
    }
    if (received.empty())
        stretches.push_back({lowest, highest});
    for (const auto &[first, last] : stretches) {
        std::vector<QString> times;
        const std::vector<Reconciliation::Use> uses = numbersUsed(first, last, &times);
        // Missing: never used at any time. Counted: used in the period.
        const auto inPeriod = [&](size_t i) {
            return times[i] >= firstTime && times[i] <= lastTime;
        };
        qint64 top = first - 1;
        for (size_t i = 0; i < uses.size(); ++i) {
            if (inPeriod(i))
                top = std::max(top, uses[i].number);
        }
        const Reconciliation part = Reconciliation::ofRange(first, top, uses);
        account.missing.insert(account.missing.end(), part.missing.begin(), part.missing.end());
        for (size_t i = 0; i < uses.size(); ++i) {
            if (inPeriod(i))
                (uses[i].voided ? account.voided : account.printed).push_back(uses[i].number);
        }
    }
    return account;
}

std::vector<UsedNumber> RegisterStore::usesBetween(qint64 first, qint64 last) const
{
    QSqlQuery query(m_db);
    query.setForwardOnly(true);
    query.prepare(QStringLiteral("SELECT serial, outcome, serial_number, printed_at, desk,"
                                 " passenger, ticket_number, total, void_reason"
                                 " FROM register_receipts WHERE serial BETWEEN ? AND ?"
                                 " AND outcome IN ('printed', 'voided')") +
                  QLatin1String(usesOrder));
    query.addBindValue(first);
    query.addBindValue(last);
    if (!query.exec())
        throw KestranoError(failure(query.lastError()));
    std::vector<UsedNumber> uses;
    while (query.next()) {
        const qint64 number = query.value(0).toLongLong();
        // Rows come in number order, the one that counts last.
        if (uses.empty() || uses.back().number != number)
            uses.emplace_back();
        UsedNumber &use = uses.back();
        use.number = number;
        use.voided = query.value(1).toString() == QLatin1String("voided");
        use.serialNumber = query.value(2).toString();
        use.time = query.value(3).toString();
        use.desk = query.value(4).toString();
        use.passenger = query.value(5).toString();
        use.ticketNumber = query.value(6).toString();
        use.total = query.value(7).toString();
        use.voidReason = query.value(8).toString();
    }
    return uses;
}

std::vector<UsedNumber> RegisterStore::usesOf(const Reconciliation &account) const
{
    std::vector<qint64> numbers = account.printed;
    numbers.insert(numbers.end(), account.voided.begin(), account.voided.end());
    if (numbers.empty())
        return {};
    std::sort(numbers.begin(), numbers.end());
    std::vector<UsedNumber> uses = usesBetween(numbers.front(), numbers.back());
    std::erase_if(uses, [&](const UsedNumber &use) {
        return !std::binary_search(numbers.begin(), numbers.end(), use.number);
    });
    return uses;
}

QStringList RegisterStore::exportHeader()
{
    return {QStringLiteral("印刷序列"), QStringLiteral("时间"),   QStringLiteral("柜台"),
            QStringLiteral("旅客"),     QStringLiteral("票号"),   QStringLiteral("合计"),
            QStringLiteral("结果"),     QStringLiteral("作废原因")};
}

std::vector<QStringList> RegisterStore::exportRows() const
{
    QSqlQuery query(m_db);
    query.setForwardOnly(true);
    if (!query.exec(QStringLiteral("SELECT serial_number, printed_at, desk, passenger,"
                                   " ticket_number, total, outcome, void_reason"
                                   " FROM register_receipts ORDER BY printed_at, serial")))
        throw KestranoError(failure(query.lastError()));
    std::vector<QStringList> rows;
    while (query.next()) {
        QStringList row;
        for (int column = 0; column < 8; ++column)
            row.append(query.value(column).toString());
        row[6] = JournalModel::outcomeCaption(row[6]);
        rows.push_back(row);
    }
    return rows;
}
