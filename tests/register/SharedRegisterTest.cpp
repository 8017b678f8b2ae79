#include "PrivateCups.h"
#include "PrivatePostgres.h"
#include "RegisterDesk.h"

#include <QElapsedTimer>
#include <gtest/gtest.h>

// Desks that share one register on the private PostgreSQL server.

namespace {

using Refusal = PrintService::Refusal;
using Result = PrintOutcome::Result;

#define REQUIRE_SERVER_AND_PRINTER()                                                               \
    REQUIRE_PRIVATE_POSTGRES();                                                                    \
    SKIP_WITHOUT_PRINTER()

// The server's rows of a number: desk and outcome, oldest first.
QStringList serverRows(const RegisterDatabase &server, const QString &serial)
{
    return server.column(QStringLiteral("SELECT desk || ' ' || outcome || CASE WHEN second_use"
                                        " THEN ' second' ELSE '' END FROM register_receipts"
                                        " WHERE serial_number = '%1' ORDER BY printed_at")
                             .arg(serial));
}

bool waitForRows(const RegisterDatabase &server, const QString &serial, const QStringList &rows,
                 int ms = 20000)
{
    return QTest::qWaitFor([&] { return serverRows(server, serial) == rows; }, ms);
}

// Two desks on a register of their own, both connected.
struct TwoDesks
{
    QString uri = newRegisterDatabase();
    RegisterDatabase server{uri};
    RegisterDesk first{uri, QStringLiteral("柜台A")};
    RegisterDesk second{uri, QStringLiteral("柜台B")};

    bool connected() { return first.waitForServer() && second.waitForServer(); }
};

} // namespace

// Each desk's prints reach the one register; a number one desk printed is
// asked about at the other, with the desk and the time it was printed.
TEST(SharedRegister, TwoDesksPrintIntoOneRegister)
{
    REQUIRE_SERVER_AND_PRINTER();
    TwoDesks desks;
    ASSERT_TRUE(desks.connected());
    RegisterDatabase &server = desks.server;
    RegisterDesk &first = desks.first;
    RegisterDesk &second = desks.second;

    first.setSerialNumber(QStringLiteral("1234500010 5"));
    second.setSerialNumber(QStringLiteral("1234500020 1"));
    ASSERT_TRUE(first.m_service.printDirect());
    ASSERT_TRUE(second.m_service.printDirect());
    ASSERT_TRUE(first.waitForEnds(1));
    ASSERT_TRUE(second.waitForEnds(1));
    EXPECT_EQ(first.ended(0).result, Result::Printed);
    EXPECT_EQ(second.ended(0).result, Result::Printed);
    EXPECT_TRUE(waitForRows(server, QStringLiteral("1234500010 5"), {QStringLiteral("柜台A printed")}));
    EXPECT_TRUE(waitForRows(server, QStringLiteral("1234500020 1"), {QStringLiteral("柜台B printed")}));

    const QString printedAt = first.m_service.journal().row(1).time.toString(
        QStringLiteral("yyyy-MM-dd HH:mm:ss"));
    second.setSerialNumber(QStringLiteral("1234500010 5"));
    ASSERT_TRUE(second.m_service.printDirect()); // the server is asked: under way
    ASSERT_TRUE(QTest::qWaitFor([&] { return !second.m_notSent.isEmpty(); }, 10000));
    EXPECT_EQ(second.m_asked,
              QStringList{QStringLiteral("印刷序列 1234500010 5 已于 %1 在 柜台A 打印。仍要打印吗？")
                              .arg(printedAt)});
    EXPECT_EQ(second.refusals(), QStringList{QString::number(int(Refusal::NumberDeclined))});
    EXPECT_FALSE(second.m_service.busy());
    EXPECT_EQ(second.m_service.journal().rowCount(), 1);
    EXPECT_EQ(second.serialNumber(), QStringLiteral("1234500010 5"));
    EXPECT_EQ(serverRows(server, QStringLiteral("1234500010 5")),
              QStringList{QStringLiteral("柜台A printed")});

    // Printed all the same on the agent's word: both prints are on record,
    // the later one as a second use of the number.
    second.m_printAgain = true;
    ASSERT_TRUE(second.m_service.printDirect());
    ASSERT_TRUE(second.waitForEnds(2));
    EXPECT_EQ(second.ended(1).result, Result::Printed);
    EXPECT_EQ(second.m_asked.size(), 2);
    EXPECT_TRUE(waitForRows(server, QStringLiteral("1234500010 5"),
                            {QStringLiteral("柜台A printed"),
                             QStringLiteral("柜台B printed second")}));
}

// Two desks send the same number at the same moment: the server gives it to
// one; the other gets the question, and, declining, prints nothing.
TEST(SharedRegister, TheSameNumberAtOnceGoesToOneDesk)
{
    REQUIRE_SERVER_AND_PRINTER();
    TwoDesks desks;
    ASSERT_TRUE(desks.connected());
    RegisterDatabase &server = desks.server;
    RegisterDesk &first = desks.first;
    RegisterDesk &second = desks.second;
    const QString serial = QStringLiteral("1234500030 2");
    first.setSerialNumber(serial);
    second.setSerialNumber(serial);

    ASSERT_TRUE(first.m_service.printDirect());
    ASSERT_TRUE(second.m_service.printDirect());
    ASSERT_TRUE(QTest::qWaitFor(
        [&] {
            return first.m_ended.size() + first.m_notSent.size() == 1 &&
                   second.m_ended.size() + second.m_notSent.size() == 1;
        },
        60000));
    RegisterDesk &printer = first.m_ended.isEmpty() ? second : first;
    RegisterDesk &asked = first.m_ended.isEmpty() ? first : second;
    EXPECT_EQ(printer.ended(0).result, Result::Printed);
    EXPECT_TRUE(printer.m_asked.isEmpty());
    ASSERT_EQ(asked.m_asked.size(), 1);
    EXPECT_TRUE(asked.m_asked.front().startsWith(QStringLiteral("印刷序列 1234500030 2 已于 ")));
    EXPECT_TRUE(asked.m_asked.front().contains(
        QStringLiteral(" 在 %1 打印。").arg(printer.m_register->desk())));
    EXPECT_EQ(asked.refusals(), QStringList{QString::number(int(Refusal::NumberDeclined))});
    EXPECT_EQ(asked.m_service.journal().rowCount(), 0);
    EXPECT_TRUE(waitForRows(server, serial,
                            {printer.m_register->desk() + QStringLiteral(" printed")}));
}

// The server goes away mid-session: the print goes all the same, recorded in
// the journal, the status line counts it, and it reaches the server within a
// minute of the server's return.
TEST(SharedRegister, APrintWhileTheServerIsAwayIsSentWhenItReturns)
{
    REQUIRE_SERVER_AND_PRINTER();
    const QString uri = newRegisterDatabase();
    RegisterDatabase *server = new RegisterDatabase(uri);
    RegisterDesk desk(uri, QStringLiteral("柜台A"));
    ASSERT_TRUE(desk.waitForServer());
    desk.setSerialNumber(QStringLiteral("1234500040 6"));
    delete server; // the test's own connection, before the server stops

    ASSERT_TRUE(controlRegisterServer(QStringLiteral("stop")));
    // The server is started again whatever the test finds.
    struct Restart
    {
        bool done = false;
        ~Restart()
        {
            if (!done)
                controlRegisterServer(QStringLiteral("start"));
        }
    } restart;

    QElapsedTimer took;
    took.start();
    ASSERT_TRUE(desk.m_service.printDirect());
    ASSERT_TRUE(desk.waitForEnds(1));
    EXPECT_EQ(desk.ended(0).result, Result::Printed);
    EXPECT_EQ(desk.serialNumber(), QStringLiteral("1234500041 0"));
    EXPECT_TRUE(desk.m_errors.isEmpty());
    EXPECT_TRUE(QTest::qWaitFor(
        [&] { return desk.m_register->statusText() == QStringLiteral("登记服务器不可用，1 条待上传"); },
        20000))
        << desk.m_register->statusText().toStdString();
    EXPECT_FALSE(desk.m_register->unavailableReason().isEmpty());

    restart.done = true;
    ASSERT_TRUE(controlRegisterServer(QStringLiteral("start")));
    took.restart();
    RegisterDatabase back(uri);
    EXPECT_TRUE(waitForRows(back, QStringLiteral("1234500040 6"), {QStringLiteral("柜台A printed")},
                            60000));
    EXPECT_LT(took.elapsed(), 60000);
    EXPECT_TRUE(QTest::qWaitFor([&] { return desk.m_register->statusText().isEmpty(); }, 10000));
}

// A desk that has printed on its own joins: its whole journal goes to the
// register once, voids and failures as they are.
TEST(SharedRegister, AJoiningDeskSendsItsJournalOnce)
{
    REQUIRE_PRIVATE_POSTGRES();
    const QString uri = newRegisterDatabase();
    TempFolder folder;
    {
        PrintJournal journal(folder.path());
        journal.setDesk(QStringLiteral("柜台C"));
        const struct
        {
            const char *serial;
            PrintJournal::Outcome outcome;
        } rows[] = {{"1234500060 1", PrintJournal::Outcome::Printed},
                    {"1234500061 2", PrintJournal::Outcome::Printed},
                    {"1234500062 3", PrintJournal::Outcome::Failed},
                    {"1234500063 4", PrintJournal::Outcome::Printed}};
        for (const auto &row : rows) {
            ReceiptRecord record;
            record.serialNumber = QString::fromLatin1(row.serial);
            record.passenger = QStringLiteral("张三");
            const qint64 id = journal.begin(record, QStringLiteral("PDF"));
            journal.finish(id, row.outcome);
        }
        ASSERT_TRUE(journal.voidRow(2, QStringLiteral("打错")));
    }

    RegisterDatabase server(uri);
    RegisterStore(server.db(), RegisterStore::Kind::Shared, uri).prepare();
    const auto all = [&] {
        return server.column(QStringLiteral("SELECT serial_number || ' ' || desk || ' ' || outcome"
                                            " || ' ' || void_reason FROM register_receipts"
                                            " ORDER BY serial_number"));
    };
    const QStringList expected = {QStringLiteral("1234500060 1 柜台C printed "),
                                  QStringLiteral("1234500061 2 柜台C voided 打错"),
                                  QStringLiteral("1234500062 3 柜台C failed "),
                                  QStringLiteral("1234500063 4 柜台C printed ")};
    {
        PrintJournal journal(folder.path());
        Register joined([&]() -> PrintJournal & { return journal; }, folder.path(),
                        QStringLiteral("柜台C"), uri);
        ASSERT_TRUE(QTest::qWaitFor([&] { return all() == expected; }, 20000)) << all().join(
            u'|').toStdString();
    }
    // Once: another start sends nothing again (a row deleted there stays away).
    server.column(QStringLiteral("DELETE FROM register_receipts WHERE serial_number = '1234500060 1'"
                                 " RETURNING 1"));
    {
        PrintJournal journal(folder.path());
        Register again([&]() -> PrintJournal & { return journal; }, folder.path(),
                       QStringLiteral("柜台C"), uri);
        ASSERT_TRUE(QTest::qWaitFor([&] { return again.serverAvailable(); }, 20000));
        QTest::qWait(500);
    }
    EXPECT_EQ(all(), expected.mid(1));
}

// A range received at one desk is known at the other within a poll: a
// number outside it is asked about there.
TEST(SharedRegister, RangesReceivedAtOneDeskAreKnownAtTheOthers)
{
    REQUIRE_SERVER_AND_PRINTER();
    TwoDesks desks;
    ASSERT_TRUE(desks.connected());
    desks.first.m_register->store().addRange(
        {1234500000, 1234500099, QStringLiteral("2026-12-01"), QStringLiteral("王芳")},
        QStringLiteral("柜台A"));
    desks.first.m_register->rangesChanged();
    ASSERT_TRUE(QTest::qWaitFor(
        [&] { return desks.second.m_register->outsideStock(1234500200).has_value(); }, 20000));
    EXPECT_FALSE(desks.second.m_register->outsideStock(1234500050));

    desks.second.setSerialNumber(QStringLiteral("1234500200 3"));
    EXPECT_FALSE(desks.second.m_service.printDirect());
    ASSERT_EQ(desks.second.m_asked.size(), 1);
    EXPECT_TRUE(desks.second.m_asked.front().startsWith(
        QStringLiteral("印刷序列 1234500200 3 不在任何已领用的号段内（它在最后一个号段 …1234500099 之后）")))
        << desks.second.m_asked.front().toStdString();
    EXPECT_EQ(desks.second.refusals(), QStringList{QString::number(int(Refusal::NumberDeclined))});
}
