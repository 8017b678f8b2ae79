#include "itinerary/SerialNumber.h"
#include "print/PrintJournal.h"
#include "register/Register.h"
#include "register/RegisterAddress.h"
#include "register/RegisterStore.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QSqlError>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QThread>
#include <benchmark/benchmark.h>
#include <memory>

// The register's part of a print on the window's thread, and the
// reconciliation of a range of 100,000 numbers, on the desk's journal and on
// the private PostgreSQL server of scripts/with-private-postgres.

namespace {

constexpr qint64 first = 1234500000;
constexpr qint64 rangeSize = 100000;

// Of the range: every 100th number missing, every 50th voided, the rest
// printed; a little over 98,000 uses.
enum class Use { Printed, Voided, Missing };
Use useOf(qint64 offset)
{
    if (offset % 100 == 37)
        return Use::Missing;
    return offset % 50 == 11 ? Use::Voided : Use::Printed;
}

// A journal of 100,000 prints of the range, written once in one transaction
// as the print sequence would leave them, with ten ranges received.
class Journal
{
public:
    Journal() : m_journal(m_folder.path())
    {
        QSqlDatabase db = m_journal.database();
        RegisterStore(db, RegisterStore::Kind::Local, m_journal.path()).prepare();
        db.transaction();
        QSqlQuery insert(db);
        insert.prepare(QStringLiteral(
            "INSERT INTO journal (printed_at, printer, outcome, serial_number, passenger,"
            " ticket_number, total, void_reason, desk, serial_value, document_name)"
            " VALUES (?, 'PDF', ?, ?, ?, ?, '1250.00', ?, 'desk-1', ?, ?)"));
        for (qint64 offset = 0; offset < rangeSize; ++offset) {
            const Use use = useOf(offset);
            if (use == Use::Missing)
                continue;
            const qint64 number = first + offset;
            insert.addBindValue(QStringLiteral("2026-12-%1 09:00:00").arg(1 + offset % 28, 2, 10,
                                                                         QLatin1Char('0')));
            insert.addBindValue(use == Use::Voided ? QStringLiteral("voided")
                                                   : QStringLiteral("printed"));
            insert.addBindValue(serialDigits(number) + QStringLiteral(" 3"));
            insert.addBindValue(QStringLiteral("旅客%1").arg(offset));
            insert.addBindValue(QStringLiteral("781-%1").arg(number));
            insert.addBindValue(use == Use::Voided ? QStringLiteral("卡纸") : QStringLiteral(""));
            insert.addBindValue(number);
            insert.addBindValue(QStringLiteral("行程单 %1").arg(number));
            insert.exec();
        }
        QSqlQuery ranges(db);
        for (int r = 0; r < 10; ++r)
            ranges.exec(QStringLiteral("INSERT INTO stock_ranges (first_number, last_number,"
                                       " received_on, received_by, entered_at) VALUES"
                                       " (%1, %2, '2026-11-01', '', '2026-11-01 09:00:00')")
                            .arg(first + r * rangeSize / 10)
                            .arg(first + (r + 1) * rangeSize / 10 - 1));
        db.commit();
    }

    PrintJournal &journal() { return m_journal; }
    QString folder() const { return m_folder.path(); }

private:
    QTemporaryDir m_folder;
    PrintJournal m_journal;
};

Journal &journal()
{
    static Journal shared;
    return shared;
}

QString serverUri()
{
    return qEnvironmentVariable("KESTRANO_TEST_REGISTER");
}

// The same uses on the private server, in a database of their own.
QSqlDatabase &server(benchmark::State &state)
{
    static QSqlDatabase db;
    if (db.isOpen())
        return db;
    const std::optional<RegisterAddress> address = RegisterAddress::parse(serverUri());
    if (!address) {
        state.SkipWithError("no private PostgreSQL server: run through "
                            "scripts/with-private-postgres");
        return db;
    }
    db = address->addConnection(QStringLiteral("bench"), 10);
    if (!db.open()) {
        state.SkipWithError(db.lastError().text().toStdString().c_str());
        return db;
    }
    QSqlQuery(db).exec(QStringLiteral("DROP TABLE IF EXISTS register_receipts, stock_ranges,"
                                      " register_version"));
    RegisterStore(db, RegisterStore::Kind::Shared, address->shown()).prepare();
    QSqlQuery fill(db);
    if (!fill.exec(QStringLiteral(
            "INSERT INTO register_receipts (entry_key, serial, serial_number, printed_at, desk,"
            " passenger, ticket_number, total, outcome, void_reason)"
            " SELECT 'bench-' || n, %1 + n, (%1 + n)::text || ' 3',"
            " '2026-12-' || lpad((1 + n % 28)::text, 2, '0') || ' 09:00:00', 'desk-1',"
            " '旅客' || n, '781-' || (%1 + n), '1250.00',"
            " CASE WHEN n % 50 = 11 THEN 'voided' ELSE 'printed' END,"
            " CASE WHEN n % 50 = 11 THEN '卡纸' ELSE '' END"
            " FROM generate_series(0, %2) AS n WHERE n % 100 <> 37")
                       .arg(first)
                       .arg(rangeSize - 1)))
        state.SkipWithError(fill.lastError().text().toStdString().c_str());
    QSqlQuery(db).exec(QStringLiteral("ANALYZE register_receipts"));
    return db;
}

void reconcileRangeOnJournal(benchmark::State &state)
{
    RegisterStore store(journal().journal().database(), RegisterStore::Kind::Local,
                        journal().journal().path());
    for (auto _ : state) {
        const Reconciliation account = store.reconcileRange(first, first + rangeSize - 1);
        if (account.missing.size() != size_t(rangeSize / 100))
            state.SkipWithError("wrong count of missing numbers");
        benchmark::DoNotOptimize(account);
    }
}
BENCHMARK(reconcileRangeOnJournal)->Unit(benchmark::kMillisecond);

void reconcileRangeOnServer(benchmark::State &state)
{
    QSqlDatabase db = server(state);
    if (!db.isOpen())
        return;
    RegisterStore store(db, RegisterStore::Kind::Shared, QStringLiteral("bench"));
    for (auto _ : state) {
        const Reconciliation account = store.reconcileRange(first, first + rangeSize - 1);
        if (account.missing.size() != size_t(rangeSize / 100))
            state.SkipWithError("wrong count of missing numbers");
        benchmark::DoNotOptimize(account);
    }
}
BENCHMARK(reconcileRangeOnServer)->Unit(benchmark::kMillisecond);

// What a print asks of the register before the page goes, on the window's
// thread, with the journal above on record: this desk's uses of the number,
// the received ranges and, with a shared register, the claim handed to the
// register's thread (its answer comes later, from the event loop).
void checkNumberOnWindowThread(benchmark::State &state)
{
    const bool shared = state.range(0) == 1;
    if (shared && serverUri().isEmpty()) {
        state.SkipWithError("no private PostgreSQL server: run through "
                            "scripts/with-private-postgres");
        return;
    }
    Journal &desk = journal();
    Register numbers([&]() -> PrintJournal & { return desk.journal(); }, desk.folder(),
                     QStringLiteral("desk-1"), shared ? serverUri() : QString());
    numbers.rangesChanged();
    QElapsedTimer waited;
    waited.start();
    while (shared && !numbers.serverAvailable() && waited.elapsed() < 20000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
    qint64 number = first + rangeSize + 500; // outside every range, never used
    int answers = 0;
    for (auto _ : state) {
        ++number;
        benchmark::DoNotOptimize(numbers.knownUse(number));
        benchmark::DoNotOptimize(numbers.outsideStock(number));
        numbers.claim(number, serialDigits(number) + QStringLiteral(" 3"),
                      QStringLiteral("bench %1").arg(number),
                      [&](NumberRegister::Claim, const std::optional<NumberUse> &) { ++answers; });
        // The answers are the event loop's business, outside the measured time.
        state.PauseTiming();
        QCoreApplication::processEvents();
        state.ResumeTiming();
    }
    state.counters["answered"] = answers;
}
BENCHMARK(checkNumberOnWindowThread)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
