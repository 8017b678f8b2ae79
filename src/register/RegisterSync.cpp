#include "register/RegisterSync.h"

#include "common/KestranoError.h"
#include "common/Messages.h"
#include "print/JournalFiles.h"
#include "print/NumberRegister.h"
#include "print/PrintJournal.h"
#include "register/RegisterStore.h"

#include <QAtomicInteger>
#include <QDateTime>
#include <QFileInfo>
#include <QSqlError>
#include <QSqlQuery>
#include <QTimer>
#include <QVariant>

namespace {

const QString uniqueViolation = QStringLiteral("23505");
constexpr int batchSize = 200;

// A text column as a text, never NULL: the driver sends a null QString as
// NULL, which the server's columns refuse.
QString textOf(const QVariant &value)
{
    const QString text = value.toString();
    return text.isNull() ? QStringLiteral("") : text;
}

QString newConnectionName()
{
    static QAtomicInteger<int> count;
    return QStringLiteral("register-sync-%1").arg(count.fetchAndAddRelaxed(1));
}

} // namespace

RegisterSync::RegisterSync(RegisterAddress address, QString settingsFolder, QString desk)
    : m_address(std::move(address)), m_settingsFolder(std::move(settingsFolder)),
      m_desk(std::move(desk)), m_connection(newConnectionName())
{}

RegisterSync::~RegisterSync()
{
    stop();
}

void RegisterSync::start()
{
    m_timer = new QTimer(this);
    connect(m_timer, &QTimer::timeout, this, &RegisterSync::sendNow);
    sendNow();
}

void RegisterSync::stop()
{
    if (m_timer)
        m_timer->stop();
    m_journal.reset();
    if (QSqlDatabase::contains(m_connection)) {
        QSqlDatabase::database(m_connection, false).close();
        QSqlDatabase::removeDatabase(m_connection);
    }
}

bool RegisterSync::connected()
{
    if (m_available && QSqlDatabase::database(m_connection, false).isOpen())
        return true;
    try {
        QSqlDatabase db = QSqlDatabase::contains(m_connection)
                              ? QSqlDatabase::database(m_connection, false)
                              : m_address.addConnection(m_connection, connectSeconds);
        m_address.open(db);
        store().prepare();
    } catch (const KestranoError &error) {
        dropServer(error.message());
        return false;
    }
    m_available = true;
    m_reason.clear();
    return true;
}

RegisterStore RegisterSync::store() const
{
    return RegisterStore(QSqlDatabase::database(m_connection, false), RegisterStore::Kind::Shared,
                         m_address.shown());
}

void RegisterSync::dropServer(const QSqlError &error)
{
    dropServer(store().failure(error));
}

void RegisterSync::dropServer(const QString &reason)
{
    m_available = false;
    m_reason = reason;
    if (QSqlDatabase::contains(m_connection))
        QSqlDatabase::database(m_connection, false).close();
}

bool RegisterSync::openJournal()
{
    if (m_journal)
        return true;
    // Nothing printed yet: nothing to send, and no journal made for it.
    if (!QFileInfo::exists(PrintJournal::pathFor(m_settingsFolder)))
        return false;
    try {
        m_journal = std::make_unique<PrintJournal>(m_settingsFolder);
        QSqlDatabase db = m_journal->database();
        QSqlQuery query(db);
        // A desk joining a register (the first time, or another one) sends
        // its whole journal there once.
        const QString joined = m_address.user + u'@' + m_address.shown();
        if (!query.exec(QStringLiteral(
                "CREATE TABLE IF NOT EXISTS register_joined (register TEXT NOT NULL)")) ||
            !query.exec(QStringLiteral("SELECT register FROM register_joined")))
            throw KestranoError(Messages::journalUnwritable(m_journal->path(),
                                                            Messages::readOrWriteFailed()));
        if (!query.next() || query.value(0).toString() != joined) {
            db.transaction();
            QSqlQuery reset(db);
            const bool done =
                reset.exec(QStringLiteral("UPDATE journal SET sent_change = 0")) &&
                reset.exec(QStringLiteral("DELETE FROM register_joined")) &&
                reset.prepare(QStringLiteral("INSERT INTO register_joined (register) VALUES (?)"));
            reset.addBindValue(joined);
            if (!done || !reset.exec() || !db.commit()) {
                db.rollback();
                throw KestranoError(Messages::journalUnwritable(m_journal->path(),
                                                                Messages::readOrWriteFailed()));
            }
        }
    } catch (const KestranoError &error) {
        m_journal.reset();
        m_reason = error.message();
        return false;
    }
    return true;
}

qint64 RegisterSync::pendingRows() const
{
    if (!m_journal)
        return 0;
    QSqlQuery query(m_journal->database());
    if (query.exec(QStringLiteral("SELECT COUNT(*) FROM journal WHERE sent_change < change_no")) &&
        query.next())
        return query.value(0).toLongLong();
    return 0;
}

void RegisterSync::sendNow()
{
    // Open also while the server is away: the status line counts its rows.
    const bool journal = openJournal();
    if (connected()) {
        if (journal)
            upload();
        if (m_available)
            readRanges();
    }
    report();
    if (m_timer)
        m_timer->start(m_available ? pollInterval : retryInterval);
}

bool RegisterSync::upload()
{
    QSqlDatabase server = QSqlDatabase::database(m_connection, false);
    QSqlDatabase local = m_journal->database();
    for (;;) {
        QSqlQuery rows(local);
        rows.setForwardOnly(true);
        rows.prepare(QStringLiteral(
            "SELECT id, change_no, document_name, serial_value, serial_number, printed_at, desk,"
            " passenger, ticket_number, total, outcome, void_reason FROM journal"
            " WHERE sent_change < change_no AND outcome <> 'printing' ORDER BY id LIMIT ?"));
        rows.addBindValue(batchSize);
        if (!rows.exec())
            return true; // the journal is busy: the next round
        std::vector<std::pair<qint64, qint64>> sent; // row id, change
        while (rows.next()) {
            const qint64 id = rows.value(0).toLongLong();
            const QString documentName = rows.value(2).toString();
            QString desk = rows.value(6).toString();
            if (desk.isEmpty())
                desk = m_desk;
            const QString key = documentName.isEmpty()
                                    ? QStringLiteral("%1#row-%2").arg(desk).arg(id)
                                    : documentName;
            // A number another print holds is this print's second use.
            for (const bool secondUse : {false, true}) {
                QSqlQuery insert(server);
                insert.prepare(QStringLiteral(
                    "INSERT INTO register_receipts (entry_key, serial, serial_number, printed_at,"
                    " desk, passenger, ticket_number, total, outcome, void_reason, second_use)"
                    " VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?) ON CONFLICT (entry_key) DO UPDATE"
                    " SET serial = EXCLUDED.serial, serial_number = EXCLUDED.serial_number,"
                    " printed_at = EXCLUDED.printed_at, desk = EXCLUDED.desk,"
                    " passenger = EXCLUDED.passenger, ticket_number = EXCLUDED.ticket_number,"
                    " total = EXCLUDED.total, outcome = EXCLUDED.outcome,"
                    " void_reason = EXCLUDED.void_reason,"
                    " second_use = register_receipts.second_use OR EXCLUDED.second_use"));
                insert.addBindValue(key);
                insert.addBindValue(rows.value(3).isNull() ? QVariant(QMetaType::fromType<qint64>())
                                                           : QVariant(rows.value(3).toLongLong()));
                for (int column : {4, 5})
                    insert.addBindValue(textOf(rows.value(column)));
                insert.addBindValue(desk);
                for (int column : {7, 8, 9, 10, 11})
                    insert.addBindValue(textOf(rows.value(column)));
                insert.addBindValue(secondUse);
                if (insert.exec())
                    break;
                const QSqlError error = insert.lastError();
                if (!secondUse && error.nativeErrorCode() == uniqueViolation)
                    continue;
                dropServer(error);
                break;
            }
            if (!m_available)
                break;
            sent.push_back({id, rows.value(1).toLongLong()});
        }
        rows.finish();
        // What the server has is marked, also when it failed half-way.
        if (!sent.empty()) {
            local.transaction();
            QSqlQuery mark(local);
            mark.prepare(QStringLiteral("UPDATE journal SET sent_change = ? WHERE id = ?"));
            for (const auto &[id, change] : sent) {
                mark.addBindValue(change);
                mark.addBindValue(id);
                mark.exec();
            }
            local.commit();
        }
        if (!m_available)
            return false;
        if (sent.size() < size_t(batchSize))
            return true;
    }
}

void RegisterSync::readRanges()
{
    try {
        const RegisterStore::Bounds bounds = store().rangeBounds();
        if (!m_rangesKnown || bounds != m_ranges) {
            m_rangesKnown = true;
            m_ranges = bounds;
            Q_EMIT rangesRead(bounds);
        }
    } catch (const KestranoError &error) {
        dropServer(error.message());
    }
}

void RegisterSync::report()
{
    Q_EMIT stateChanged(m_available, pendingRows(), m_reason);
}

void RegisterSync::claim(quint64 ticket, qint64 number, const QString &serialNumber,
                         const QString &documentName)
{
    using Claim = NumberRegister::Claim;
    const auto answer = [&](Claim claim, const NumberUse &use = {}) {
        Q_EMIT claimAnswered(ticket, int(claim), use.serialNumber, use.time, use.desk, use.voided);
    };
    // The server is not waited for here: the print goes, and is sent later.
    if (!m_available) {
        answer(Claim::Unavailable);
        return;
    }
    QSqlDatabase server = QSqlDatabase::database(m_connection, false);
    QSqlQuery insert(server);
    insert.prepare(QStringLiteral(
        "INSERT INTO register_receipts (entry_key, serial, serial_number, printed_at, desk,"
        " outcome) VALUES (?, ?, ?, ?, ?, 'printing') ON CONFLICT (entry_key) DO NOTHING"));
    insert.addBindValue(documentName);
    insert.addBindValue(number);
    insert.addBindValue(textOf(serialNumber));
    insert.addBindValue(QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")));
    insert.addBindValue(textOf(m_desk));
    if (insert.exec()) {
        answer(Claim::Granted);
        return;
    }
    const QSqlError error = insert.lastError();
    if (error.nativeErrorCode() == uniqueViolation) {
        try {
            const std::optional<NumberUse> use = store().lastUse(number);
            answer(Claim::Taken, use.value_or(NumberUse{serialNumber, QString(), QString(), false}));
            return;
        } catch (const KestranoError &failure) {
            dropServer(failure.message());
        }
    } else {
        dropServer(error);
    }
    answer(Claim::Unavailable);
    report();
}
