#include "PrivatePostgres.h"
#include "TempFolder.h"
#include "common/KestranoError.h"
#include "itinerary/SerialNumber.h"
#include "print/PrintJournal.h"
#include "register/RegisterStore.h"

#include <QSqlQuery>
#include <gtest/gtest.h>
#include <memory>

namespace {

using Kind = RegisterStore::Kind;

// A register and the uses put into it: the desk's journal (written as the
// print sequence writes it) or a database of its own on the private server
// (rows as the desks' uploads leave them).
class Store
{
public:
    explicit Store(Kind kind) : m_kind(kind)
    {
        if (kind == Kind::Local) {
            m_journal = std::make_unique<PrintJournal>(m_folder.path());
            m_store = std::make_unique<RegisterStore>(m_journal->database(), kind, m_journal->path());
        } else {
            m_server = std::make_unique<RegisterDatabase>(newRegisterDatabase());
            m_store = std::make_unique<RegisterStore>(m_server->db(), kind,
                                                      QStringLiteral("test server"));
        }
        m_store->prepare();
    }

    RegisterStore &operator*() { return *m_store; }
    RegisterStore *operator->() { return m_store.get(); }

    // outcome: "printed", "voided" (printed, then voided) or "failed".
    void use(qint64 number, const QString &outcome, const QString &time,
             const QString &desk = QStringLiteral("柜台A"))
    {
        const QString serialNumber = serialDigits(number) + QStringLiteral(" 5");
        const QString passenger = QStringLiteral("旅客%1").arg(number % 1000);
        if (m_kind == Kind::Shared) {
            QSqlQuery insert(m_server->db());
            insert.prepare(QStringLiteral(
                "INSERT INTO register_receipts (entry_key, serial, serial_number, printed_at, desk,"
                " passenger, outcome, void_reason, second_use) VALUES (?, ?, ?, ?, ?, ?, ?, ?,"
                " EXISTS (SELECT 1 FROM register_receipts WHERE serial = ? AND outcome <> 'failed'))"));
            for (const QVariant &value :
                 {QVariant(QStringLiteral("key-%1").arg(++m_keys)), QVariant(number),
                  QVariant(serialNumber), QVariant(time), QVariant(desk), QVariant(passenger),
                  QVariant(outcome),
                  QVariant(outcome == QLatin1String("voided") ? QStringLiteral("卡纸") : QStringLiteral("")),
                  QVariant(number)})
                insert.addBindValue(value);
            ASSERT_TRUE(insert.exec()) << insert.lastError().text().toStdString();
            return;
        }
        ReceiptRecord record;
        record.serialNumber = serialNumber;
        record.passenger = passenger;
        m_journal->setDesk(desk);
        const qint64 row = m_journal->begin(record, QStringLiteral("PDF"));
        const bool printed = outcome != QLatin1String("failed");
        m_journal->finish(row, printed ? PrintJournal::Outcome::Printed
                                       : PrintJournal::Outcome::Failed);
        if (outcome == QLatin1String("voided"))
            m_journal->voidRow(row, QStringLiteral("卡纸"));
        QSqlQuery at(m_journal->database());
        at.prepare(QStringLiteral("UPDATE journal SET printed_at = ? WHERE id = ?"));
        at.addBindValue(time);
        at.addBindValue(row);
        ASSERT_TRUE(at.exec());
    }

private:
    Kind m_kind;
    TempFolder m_folder;
    std::unique_ptr<PrintJournal> m_journal;
    std::unique_ptr<RegisterDatabase> m_server;
    std::unique_ptr<RegisterStore> m_store;
    int m_keys = 0;
};

constexpr qint64 base = 1234500000;

std::vector<qint64> numbersOf(const std::vector<qint64> &used)
{
    std::vector<qint64> numbers;
    for (qint64 number : used)
        numbers.push_back(number - base);
    return numbers;
}

class RegisterStoreTest : public ::testing::TestWithParam<Kind>
{
protected:
    void SetUp() override
    {
        if (GetParam() == Kind::Shared)
            REQUIRE_PRIVATE_POSTGRES();
    }
};

} // namespace

// A range of twenty: printed, voided, a failed print (no use), a number
// printed again after a void, and gaps below the highest number used.
TEST_P(RegisterStoreTest, ARangeIsAccountedNumberByNumber)
{
    Store store(GetParam());
    const QString day = QStringLiteral("2026-12-01 09:%1:00");
    for (int n : {0, 1, 2, 3, 5, 9})
        store.use(base + n, QStringLiteral("printed"), day.arg(10 + n));
    store.use(base + 4, QStringLiteral("voided"), day.arg(20));
    store.use(base + 6, QStringLiteral("failed"), day.arg(21));
    store.use(base + 7, QStringLiteral("voided"), day.arg(22));
    store.use(base + 7, QStringLiteral("printed"), day.arg(23), QStringLiteral("柜台B"));
    store.use(base + 30, QStringLiteral("printed"), day.arg(24)); // another range's

    const Reconciliation account = store->reconcileRange(base, base + 19);
    EXPECT_EQ(account.scope, QStringLiteral("号段 1234500000–1234500019"));
    EXPECT_EQ(numbersOf(account.printed), (std::vector<qint64>{0, 1, 2, 3, 5, 7, 9}));
    EXPECT_EQ(numbersOf(account.voided), (std::vector<qint64>{4}));
    EXPECT_EQ(account.missing,
              (std::vector<Reconciliation::Run>{{base + 6, base + 6}, {base + 8, base + 8}}));
    EXPECT_EQ(account.unused, 10);
    // The print that counts is the later one, with its desk.
    const std::vector<UsedNumber> uses = store->usesOf(account);
    ASSERT_EQ(uses.size(), 8u);
    EXPECT_EQ(uses[7].number, base + 9);
    EXPECT_EQ(Reconciliation::find(uses, base + 7)->desk, QStringLiteral("柜台B"));
    EXPECT_FALSE(Reconciliation::find(uses, base + 7)->voided);
    EXPECT_EQ(Reconciliation::find(uses, base + 4)->voidReason, QStringLiteral("卡纸"));
    EXPECT_FALSE(Reconciliation::find(uses, base + 6));

    StockRange range;
    range.first = base;
    range.last = base + 19;
    range.receivedOn = QStringLiteral("2026-11-30");
    range.receivedBy = QStringLiteral("王芳");
    store->addRange(range, QStringLiteral("柜台A"));
    const std::vector<StockRange> ranges = store->ranges();
    ASSERT_EQ(ranges.size(), 1u);
    EXPECT_EQ(ranges[0].printed, 7);
    EXPECT_EQ(ranges[0].voided, 1);
    EXPECT_EQ(ranges[0].missing, 2);
    EXPECT_EQ(ranges[0].unused, 10);
    EXPECT_EQ(ranges[0].receivedBy, QStringLiteral("王芳"));

    EXPECT_TRUE(account.csv(uses).startsWith("\xEF\xBB\xBF"));
    const QString csv = QString::fromUtf8(account.csv(uses));
    EXPECT_TRUE(csv.contains(QStringLiteral("缺号,2\r\n")));
    EXPECT_TRUE(csv.contains(QStringLiteral("1234500008,缺号\r\n")));
    EXPECT_TRUE(csv.contains(QStringLiteral("1234500004,已作废,2026-12-01 09:20:00,柜台A,旅客4,,,卡纸")));
}

// The widest range the stock can number, only its last number used: the
// ten billion numbers below it are one run of missing numbers, held,
// written and counted as such (one at a time they would take 80 GB).
TEST_P(RegisterStoreTest, ARangeOfTenBillionNumbersIsAccountedInRuns)
{
    Store store(GetParam());
    constexpr qint64 top = 9999999999;
    store.use(top, QStringLiteral("printed"), QStringLiteral("2026-12-01 09:00:00"));
    const Reconciliation account = store->reconcileRange(0, top);
    EXPECT_EQ(account.missing, (std::vector<Reconciliation::Run>{{0, top - 1}}));
    EXPECT_EQ(account.missingCount(), top);
    EXPECT_EQ(account.unused, 0);
    const QString csv = QString::fromUtf8(account.csv(store->usesOf(account)));
    EXPECT_TRUE(csv.contains(QStringLiteral("缺号,9999999999\r\n")));
    EXPECT_TRUE(csv.contains(QStringLiteral("0000000000–9999999998,缺号（9999999999 张）\r\n")))
        << csv.toStdString();
    EXPECT_LT(csv.size(), 2000);
}

// A period counts what was used in it; its missing numbers are those below
// the highest it used, in the same range, never used at all.
TEST_P(RegisterStoreTest, APeriodCountsWhatItUsed)
{
    Store store(GetParam());
    store.use(base + 0, QStringLiteral("printed"), QStringLiteral("2026-11-30 17:00:00"));
    store.use(base + 1, QStringLiteral("printed"), QStringLiteral("2026-12-01 08:00:00"));
    store.use(base + 3, QStringLiteral("voided"), QStringLiteral("2026-12-02 23:59:59"));
    store.use(base + 4, QStringLiteral("printed"), QStringLiteral("2026-12-03 00:00:00"));
    store.use(base + 900, QStringLiteral("printed"), QStringLiteral("2026-12-02 10:00:00"));
    StockRange first{base, base + 99, QStringLiteral("2026-11-01"), QString()};
    StockRange second{base + 900, base + 999, QStringLiteral("2026-11-01"), QString()};
    store->addRange(first, QStringLiteral("柜台A"));
    store->addRange(second, QStringLiteral("柜台A"));

    const Reconciliation account =
        store->reconcilePeriod(QDate(2026, 12, 1), QDate(2026, 12, 2));
    EXPECT_EQ(account.scope, QStringLiteral("期间 2026-12-01 至 2026-12-02"));
    EXPECT_EQ(numbersOf(account.printed), (std::vector<qint64>{1, 900}));
    EXPECT_EQ(numbersOf(account.voided), (std::vector<qint64>{3}));
    // Not the 800 numbers between the two ranges.
    EXPECT_EQ(account.missing, (std::vector<Reconciliation::Run>{{base + 2, base + 2}}));

    EXPECT_TRUE(store->reconcilePeriod(QDate(2026, 10, 1), QDate(2026, 10, 31)).printed.empty());
}

// A range that overlaps one received, or that is no range, is refused and
// nothing is added.
TEST_P(RegisterStoreTest, OverlappingOrBackwardRangesAreRefused)
{
    Store store(GetParam());
    store->addRange({base + 100, base + 199, QStringLiteral("2026-11-01"), QString()},
                    QStringLiteral("柜台A"));
    const struct
    {
        qint64 first, last;
        const char *message;
    } refused[] = {
        {base + 150, base + 250, "这个号段与已领用的号段 1234500100–1234500199 重叠"},
        {base + 0, base + 100, "这个号段与已领用的号段 1234500100–1234500199 重叠"},
        {base + 120, base + 130, "这个号段与已领用的号段 1234500100–1234500199 重叠"},
        {base + 300, base + 299, "号段不对"},
        {0, 5, "号段不对"},
    };
    for (const auto &c : refused) {
        SCOPED_TRACE(c.first);
        try {
            store->addRange({c.first, c.last, QStringLiteral("2026-11-01"), QString()},
                            QStringLiteral("柜台A"));
            ADD_FAILURE() << "added";
        } catch (const KestranoError &error) {
            EXPECT_TRUE(error.message().startsWith(QString::fromUtf8(c.message)))
                << error.message().toStdString();
        }
    }
    store->addRange({base + 200, base + 299, QStringLiteral("2026-11-02"), QString()},
                    QStringLiteral("柜台A"));
    EXPECT_EQ(store->ranges().size(), 2u);
}

// The latest use of a number, a print before a void; a failed print is none.
TEST_P(RegisterStoreTest, TheLastUseOfANumber)
{
    Store store(GetParam());
    store.use(base + 1, QStringLiteral("printed"), QStringLiteral("2026-12-01 09:00:00"));
    store.use(base + 2, QStringLiteral("voided"), QStringLiteral("2026-12-01 09:01:00"),
              QStringLiteral("柜台B"));
    store.use(base + 3, QStringLiteral("failed"), QStringLiteral("2026-12-01 09:02:00"));

    const std::optional<NumberUse> printed = store->lastUse(base + 1);
    ASSERT_TRUE(printed);
    EXPECT_FALSE(printed->voided);
    EXPECT_EQ(printed->time, QStringLiteral("2026-12-01 09:00:00"));
    EXPECT_EQ(printed->serialNumber, QStringLiteral("1234500001 5"));
    const std::optional<NumberUse> voided = store->lastUse(base + 2);
    ASSERT_TRUE(voided);
    EXPECT_TRUE(voided->voided);
    EXPECT_EQ(voided->desk, QStringLiteral("柜台B"));
    EXPECT_FALSE(store->lastUse(base + 3));
    EXPECT_FALSE(store->lastUse(base + 4));
}

INSTANTIATE_TEST_SUITE_P(BothRegisters, RegisterStoreTest,
                         ::testing::Values(Kind::Local, Kind::Shared),
                         [](const ::testing::TestParamInfo<Kind> &info) {
                             return info.param == Kind::Local ? "Journal" : "Server";
                         });
