#include "print/PrintService.h"
#include "PrivateCups.h"
#include "TempFolder.h"
#include "itinerary/ItineraryFields.h"
#include "print/PrintJournal.h"

#include <QSignalSpy>
#include <QStringList>
#include <chrono>
#include <gtest/gtest.h>
#include <vector>

namespace {

using namespace std::chrono_literals;
using Outcome = PrintJournal::Outcome;
using Refusal = PrintService::Refusal;
using Result = PrintOutcome::Result;

const QString firstSerial = QStringLiteral("5550004440 2");

// The default printer names these, one per print, and then none.
PrintService::PrinterLookup printers(const QStringList &names)
{
    return [names, next = 0]() mutable { return names.value(next++); };
}

// A receipt and its print service in a folder of their own, with all that
// the service reported.
class ServiceRun
{
public:
    explicit ServiceRun(const QStringList &printerNames = {QStringLiteral("PDF")})
    {
        m_service.setPrinterLookup(printers(printerNames));
        m_fields.setText(QStringLiteral("edtSerNo"), firstSerial);
    }

    // Waits in the event loop until that many jobs have ended.
    bool waitForEnds(qsizetype count)
    {
        while (m_ended.size() < count && m_ended.wait(120000)) {
        }
        return m_ended.size() == count;
    }
    PrintOutcome ended(qsizetype i) const { return m_ended.at(i).at(0).value<PrintOutcome>(); }

    // The chooser's part in "全部打印": each passenger chosen puts their name
    // on the receipt, and is noted with the number of jobs ended by then.
    PrintService::Passengers passengers(const QStringList &names)
    {
        return {[names] { return names; },
                [this, names](int index) {
                    m_fields.setText(QStringLiteral("edtPassenger"), names.at(index));
                    m_chosen.push_back({index, m_ended.size()});
                }};
    }

    QString serialNumber() const { return m_fields.text(QStringLiteral("edtSerNo")); }

    TempFolder m_folder;
    ItineraryFields m_fields;
    PrintService m_service{m_fields, m_folder.path()};
    QSignalSpy m_ended{&m_service, &PrintService::jobEnded};
    QSignalSpy m_failed{&m_service, &PrintService::jobFailed};
    QSignalSpy m_notSent{&m_service, &PrintService::notSent};
    QSignalSpy m_stopped{&m_service, &PrintService::seriesStopped};
    QSignalSpy m_errors{&m_service, &PrintService::errorOccurred};
    std::vector<std::pair<int, qsizetype>> m_chosen; // passenger, jobs ended before
};

} // namespace

// A refused print sends nothing, writes no row and leaves the numbers, and
// says why.
TEST(PrintService, RefusedPrintsSendNothing)
{
    const QStringList two = {QStringLiteral("陈大文"), QStringLiteral("陈小文")};
    const struct
    {
        const char *what;
        QStringList printer;
        bool all; // "全部打印" over the passengers, else "直接打印"
        QStringList passengers;
        Refusal why;
    } cases[] = {
        {"直接打印 without a default printer", {}, false, {}, Refusal::NoPrinter},
        {"全部打印 without passengers", {QStringLiteral("PDF")}, true, {}, Refusal::NoPassengers},
        {"全部打印 without a default printer", {}, true, two, Refusal::NoPrinter},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.what);
        ServiceRun run(c.printer);
        const bool sent = c.all ? run.m_service.printAll(run.passengers(c.passengers))
                                : run.m_service.printDirect();
        EXPECT_FALSE(sent);
        EXPECT_FALSE(run.m_service.busy());
        ASSERT_EQ(run.m_notSent.size(), 1);
        EXPECT_EQ(run.m_notSent.front().front().value<Refusal>(), c.why);
        // Nothing of a series had been sent: nobody is left out of it.
        EXPECT_TRUE(run.m_stopped.isEmpty());
        EXPECT_EQ(run.serialNumber(), firstSerial);
        EXPECT_EQ(run.m_service.journal().rowCount(), 0);
    }
}

// The sheet out, the row says printed and the numbers move on; a job that
// does not print is recorded as failed, reported with its reason, and leaves
// the numbers for the sheet still in the tray.
TEST(PrintService, DirectPrintEndsInTheJournalAndTheNumbers)
{
    SKIP_WITHOUT_PRINTER();
    const struct
    {
        const char *printer;
        Result result;
        Outcome row;
        const char *serialAfter;
    } cases[] = {
        {"PDF", Result::Printed, Outcome::Printed, "5550004441 3"},
        {"Paused", Result::Failed, Outcome::Failed, "5550004440 2"},
        {"Broken", Result::Failed, Outcome::Failed, "5550004440 2"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.printer);
        const QString printer = QString::fromLatin1(c.printer);
        ServiceRun run({printer});
        ASSERT_TRUE(run.m_service.printDirect());
        EXPECT_TRUE(run.m_service.busy());
        ASSERT_TRUE(run.waitForEnds(1));
        EXPECT_FALSE(run.m_service.busy());

        const PrintOutcome outcome = run.ended(0);
        EXPECT_EQ(outcome.result, c.result) << outcome.reason.toStdString();
        EXPECT_EQ(outcome.printer, printer);
        EXPECT_EQ(run.serialNumber(), QString::fromLatin1(c.serialAfter));
        const PrintJournal::Row row = run.m_service.journal().row(1);
        EXPECT_EQ(run.m_service.journal().rowCount(), 1);
        EXPECT_EQ(row.outcome, c.row);
        EXPECT_EQ(row.printer, printer);
        EXPECT_EQ(row.jobId, outcome.jobId);
        EXPECT_EQ(row.reason, outcome.reason);
        EXPECT_EQ(row.record.serialNumber, firstSerial);
        EXPECT_TRUE(run.m_notSent.isEmpty());
        EXPECT_TRUE(run.m_errors.isEmpty());

        if (c.result == Result::Printed) {
            EXPECT_TRUE(run.m_failed.isEmpty());
            EXPECT_TRUE(textOf(documentOf(outcome.jobId)).contains(QStringLiteral("5550004440")));
        } else {
            EXPECT_FALSE(outcome.reason.isEmpty());
            ASSERT_EQ(run.m_failed.size(), 1);
            EXPECT_EQ(run.m_failed.front().at(0).value<PrintOutcome>().reason, outcome.reason);
            EXPECT_TRUE(run.m_failed.front().at(1).toStringList().isEmpty());
        }
    }
}

// One job at a time: while one waits at the printer, neither print sends
// another; the one given up on leaves the numbers.
TEST(PrintService, AJobRunningRefusesTheNext)
{
    SKIP_WITHOUT_PRINTER();
    ServiceRun run({QStringLiteral("Held"), QStringLiteral("PDF")});
    run.m_service.setTimeLimit(1s);
    ASSERT_TRUE(run.m_service.printDirect());

    EXPECT_FALSE(run.m_service.printDirect());
    EXPECT_FALSE(run.m_service.printAll(run.passengers({QStringLiteral("陈大文")})));
    ASSERT_EQ(run.m_notSent.size(), 2);
    for (const QList<QVariant> &refused : run.m_notSent)
        EXPECT_EQ(refused.front().value<Refusal>(), Refusal::JobRunning);
    EXPECT_TRUE(run.m_chosen.empty());

    ASSERT_TRUE(run.waitForEnds(1));
    EXPECT_EQ(run.ended(0).result, Result::Failed);
    EXPECT_TRUE(run.ended(0).reason.startsWith(PrintJob::lateReason(1s)))
        << run.ended(0).reason.toStdString();
    EXPECT_EQ(run.serialNumber(), firstSerial);
    EXPECT_EQ(run.m_service.journal().rowCount(), 1);
    EXPECT_EQ(run.m_service.journal().row(1).outcome, Outcome::Failed);
}

// "全部打印": each passenger on the next serial number, each chosen and sent
// only once the sheet before is out.
TEST(PrintService, PrintAllGivesEachPassengerTheNextSheet)
{
    SKIP_WITHOUT_PRINTER();
    const QStringList names = {QStringLiteral("陈大文"), QStringLiteral("陈小文"),
                               QStringLiteral("PETERSEN/ANNA MS")};
    ServiceRun run(QStringList(3, QStringLiteral("PDF")));
    ASSERT_TRUE(run.m_service.printAll(run.passengers(names)));
    ASSERT_TRUE(run.waitForEnds(3));

    EXPECT_EQ(run.m_chosen, (std::vector<std::pair<int, qsizetype>>{{0, 0}, {1, 1}, {2, 2}}));
    const char *const serials[] = {"5550004440 2", "5550004441 3", "5550004442 4"};
    for (int i = 0; i < 3; ++i) {
        SCOPED_TRACE(i);
        const PrintOutcome outcome = run.ended(i);
        EXPECT_EQ(outcome.result, Result::Printed) << outcome.reason.toStdString();
        const PrintJournal::Row row = run.m_service.journal().row(i + 1);
        EXPECT_EQ(row.outcome, Outcome::Printed);
        EXPECT_EQ(row.jobId, outcome.jobId);
        EXPECT_EQ(row.record.passenger, names.at(i));
        EXPECT_EQ(row.record.serialNumber, QString::fromLatin1(serials[i]));
        EXPECT_TRUE(textOf(documentOf(outcome.jobId)).contains(QString::fromLatin1(serials[i])));
    }
    EXPECT_EQ(run.serialNumber(), QStringLiteral("5550004443 5"));
    EXPECT_TRUE(run.m_failed.isEmpty());
    EXPECT_TRUE(run.m_notSent.isEmpty());
    EXPECT_TRUE(run.m_stopped.isEmpty());
    EXPECT_FALSE(run.m_service.busy());
}

// The series stops at the first sheet that does not print, or cannot be
// sent, and names the passengers left without a receipt.
TEST(PrintService, PrintAllStopsAtTheFirstFailure)
{
    SKIP_WITHOUT_PRINTER();
    const QStringList names = {QStringLiteral("陈大文"), QStringLiteral("陈小文"),
                               QStringLiteral("PETERSEN/ANNA MS")};
    const QStringList leftOut = names.mid(1);
    const struct
    {
        const char *second; // the default printer for the second sheet
        qsizetype jobs;     // handed over
    } cases[] = {
        {"Broken", 2}, // the job fails
        {"", 1},       // no default printer any more: nothing sent
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.second);
        ServiceRun run({QStringLiteral("PDF"), QString::fromLatin1(c.second)});
        ASSERT_TRUE(run.m_service.printAll(run.passengers(names)));
        ASSERT_TRUE(run.waitForEnds(c.jobs));
        // The end of the series is handled in full before the wait returns:
        // nobody else is chosen, nothing else sent.
        EXPECT_FALSE(run.m_service.busy());

        EXPECT_EQ(run.m_chosen, (std::vector<std::pair<int, qsizetype>>{{0, 0}, {1, 1}}));
        EXPECT_EQ(run.ended(0).result, Result::Printed) << run.ended(0).reason.toStdString();
        EXPECT_EQ(run.serialNumber(), QStringLiteral("5550004441 3"));
        EXPECT_EQ(run.m_service.journal().rowCount(), c.jobs);
        EXPECT_EQ(run.m_service.journal().row(1).outcome, Outcome::Printed);
        if (c.jobs == 2) {
            EXPECT_EQ(run.ended(1).result, Result::Failed);
            EXPECT_EQ(run.m_service.journal().row(2).outcome, Outcome::Failed);
            ASSERT_EQ(run.m_failed.size(), 1);
            EXPECT_EQ(run.m_failed.front().at(1).toStringList(), leftOut);
            EXPECT_TRUE(run.m_notSent.isEmpty());
            EXPECT_TRUE(run.m_stopped.isEmpty());
        } else {
            EXPECT_TRUE(run.m_failed.isEmpty());
            ASSERT_EQ(run.m_notSent.size(), 1);
            EXPECT_EQ(run.m_notSent.front().front().value<Refusal>(), Refusal::NoPrinter);
            ASSERT_EQ(run.m_stopped.size(), 1);
            EXPECT_EQ(run.m_stopped.front().front().toStringList(), leftOut);
        }
    }
}
