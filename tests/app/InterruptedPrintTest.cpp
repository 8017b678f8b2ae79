#include "AnsweredBoxes.h"
#include "PrivateCups.h"
#include "TempFolder.h"
#include "app/MainWindow.h"
#include "itinerary/ItineraryFields.h"
#include "print/CupsPrinter.h"
#include "print/PagePdf.h"
#include "print/PrintJournal.h"
#include "print/ReportPage.h"

#include <QProcess>
#include <QSignalSpy>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <gtest/gtest.h>

#include <unistd.h>

namespace {

// The program dies (SIGKILL) while its job waits in a queue that holds it;
// the journal must come through whole, and the next start must learn from
// the print system how the job ended.
struct Interruption
{
    const char *name;
    void (*settle)(int jobId); // what becomes of the job while no program runs
    const char *finalState;
    PrintJournal::Outcome outcome;
};

void release(int jobId)
{
    releaseJob(jobId);
}

void cancel(int jobId)
{
    toolOutput(QStringLiteral("cancel"), {QString::number(jobId)});
}

class InterruptedPrintTest : public ::testing::TestWithParam<Interruption>
{
};

// The journal file read by a connection of its own, as another program would.
QStringList journalCheck(const QString &path)
{
    QStringList found;
    {
        QSqlDatabase db =
            QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("check"));
        db.setDatabaseName(path);
        EXPECT_TRUE(db.open());
        QSqlQuery query(db);
        EXPECT_TRUE(query.exec(QStringLiteral("PRAGMA integrity_check")));
        while (query.next())
            found.append(query.value(0).toString());
        EXPECT_TRUE(
            query.exec(QStringLiteral("SELECT outcome, job_id, serial_number FROM journal")));
        while (query.next())
            found.append(query.value(0).toString() + u' ' + query.value(1).toString() + u' ' +
                         query.value(2).toString());
    }
    QSqlDatabase::removeDatabase(QStringLiteral("check"));
    return found;
}

TEST_P(InterruptedPrintTest, TheNextStartCompletesTheRowFromTheJobsEnd)
{
    SKIP_WITHOUT_PRINTER();
    const Interruption &c = GetParam();
    TempFolder folder;
    folder.copyDeliveredLists();

    QProcess program;
    program.start(QStringLiteral(KESTRANO_PRINT_AND_WAIT),
                  {folder.path(), QStringLiteral("Held"), QStringLiteral("6660000100 3")});
    QString said;
    while (!said.contains(u'\n') && program.waitForReadyRead(60000))
        said += QString::fromUtf8(program.readAllStandardOutput());
    ASSERT_TRUE(said.startsWith(QStringLiteral("queued ")))
        << said.toStdString() << program.readAllStandardError().toStdString();
    const int jobId = said.mid(7).trimmed().toInt();
    ASSERT_GT(jobId, 0);
    program.kill();
    ASSERT_TRUE(program.waitForFinished(60000));
    EXPECT_EQ(program.exitStatus(), QProcess::CrashExit);

    const QString path = PrintJournal::pathFor(folder.path());
    EXPECT_EQ(
        journalCheck(path),
        QStringList({QStringLiteral("ok"), QStringLiteral("printing %1 6660000100 3").arg(jobId)}));

    c.settle(jobId);
    const AnsweredBoxes boxes;
    MainWindow next(folder.path());
    QSignalSpy done(&next.printing(), &PrintService::unfinishedJobsDone);
    // The look-up follows the window's first paint.
    next.show();
    ASSERT_TRUE(done.wait(120000));
    EXPECT_EQ(jobState(jobId), QString::fromLatin1(c.finalState));
    const PrintJournal::Row row = next.printing().journal().row(1);
    EXPECT_EQ(row.outcome, c.outcome);
    EXPECT_EQ(row.jobId, jobId);
    EXPECT_EQ(row.record.serialNumber, QStringLiteral("6660000100 3"));
    EXPECT_EQ(next.printing().journal().unfinished().size(), 0u);
    EXPECT_TRUE(boxes.shown().isEmpty());
}

INSTANTIATE_TEST_SUITE_P(Jobs, InterruptedPrintTest,
                         ::testing::Values(Interruption{"Released", &release, "completed",
                                                        PrintJournal::Outcome::Printed},
                                           Interruption{"Cancelled", &cancel, "canceled",
                                                        PrintJournal::Outcome::Cancelled}),
                         [](const ::testing::TestParamInfo<Interruption> &info) {
                             return std::string(info.param.name);
                         });

// A receipt of nothing but its serial number.
ReceiptRecord receipt(const char *serial)
{
    ItineraryFields fields;
    fields.setText(Field::SerialNumber, QString::fromLatin1(serial));
    return ReceiptRecord::of(fields);
}

// The program can end in the moment between the printer taking a job and the
// job's id reaching the journal, or before the printer took it at all: the
// next start finds the first by its document's name and follows it, and knows
// the second never reached the printer.
TEST(InterruptedPrint, AJobWhoseIdWasNotRecordedIsFoundByItsDocument)
{
    SKIP_WITHOUT_PRINTER();
    TempFolder folder;
    folder.copyDeliveredLists();
    const QString printer = QStringLiteral("Held");
    int jobId = 0;
    qint64 handedOver = 0;
    qint64 notHandedOver = 0;
    {
        PrintJournal journal(folder.path());
        const QString documentName = PrintJournal::newDocumentName(QStringLiteral("行程单"));
        handedOver = journal.begin(receipt("6660000200 5"), printer, documentName);
        ReportPage page;
        page.setReportTitle(QStringLiteral("行程单"));
        jobId =
            CupsPrinter(printer).submitPdf(renderPagePdf(page), page.reportTitle(), documentName);
        ASSERT_GT(jobId, 0);
        notHandedOver = journal.begin(receipt("6660000201 6"), printer,
                                      PrintJournal::newDocumentName(QStringLiteral("行程单")));
    }
    releaseJob(jobId);

    const AnsweredBoxes boxes;
    MainWindow next(folder.path());
    QSignalSpy done(&next.printing(), &PrintService::unfinishedJobsDone);
    next.show(); // the journal is looked at after the first paint
    ASSERT_TRUE(done.wait(120000));
    const PrintJournal::Row found = next.printing().journal().row(handedOver);
    EXPECT_EQ(found.outcome, PrintJournal::Outcome::Printed);
    EXPECT_EQ(found.jobId, jobId);
    EXPECT_EQ(jobState(jobId), QStringLiteral("completed"));
    const PrintJournal::Row lost = next.printing().journal().row(notHandedOver);
    EXPECT_EQ(lost.outcome, PrintJournal::Outcome::Failed);
    EXPECT_EQ(lost.jobId, 0);
    EXPECT_EQ(lost.reason, QStringLiteral("程序在交出作业前结束"));
    EXPECT_TRUE(boxes.shown().isEmpty());
}

// Any user may send a job whose document bears the name of ours: the next
// start never takes it for ours. A name that two jobs of this user's bear
// leaves the row unconfirmed, for the agent to settle in 打印记录.
TEST(InterruptedPrint, ADocumentNameOfAnotherUsersOrTwiceIsNotTakenForTheJob)
{
    SKIP_WITHOUT_PRINTER();
    ASSERT_EQ(::geteuid(), 0u) << "sending as another user needs root";
    TempFolder folder;
    folder.copyDeliveredLists();
    const QString printer = QStringLiteral("Held");
    ReportPage page;
    page.setReportTitle(QStringLiteral("行程单"));
    const QByteArray pdf = renderPagePdf(page);
    qint64 theirsOnly = 0;
    qint64 twice = 0;
    std::vector<int> jobs;
    {
        PrintJournal journal(folder.path());
        const QString stolen = PrintJournal::newDocumentName(QStringLiteral("行程单"));
        theirsOnly = journal.begin(receipt("6660000300 1"), printer, stolen);
        jobs.push_back(submitAsAnotherUser(printer, stolen, pdf));
        const QString shared = PrintJournal::newDocumentName(QStringLiteral("行程单"));
        twice = journal.begin(receipt("6660000301 2"), printer, shared);
        for (int copy = 0; copy < 2; ++copy)
            jobs.push_back(CupsPrinter(printer).submitPdf(pdf, page.reportTitle(), shared));
    }
    for (int job : jobs)
        ASSERT_GT(job, 0);
    releaseJob(jobs[0]); // theirs comes out; it says nothing of ours

    const AnsweredBoxes boxes;
    MainWindow next(folder.path());
    QSignalSpy done(&next.printing(), &PrintService::unfinishedJobsDone);
    next.show();
    ASSERT_TRUE(done.wait(120000));
    const PrintJournal::Row never = next.printing().journal().row(theirsOnly);
    EXPECT_EQ(never.outcome, PrintJournal::Outcome::Failed);
    EXPECT_EQ(never.jobId, 0);
    EXPECT_EQ(never.reason, QStringLiteral("程序在交出作业前结束"));
    const PrintJournal::Row unknown = next.printing().journal().row(twice);
    EXPECT_EQ(unknown.outcome, PrintJournal::Outcome::Unconfirmed);
    EXPECT_EQ(unknown.jobId, 0);
    EXPECT_EQ(unknown.reason, QStringLiteral("打印系统中有多个同名作业，无法确认是否已打印"));
    EXPECT_EQ(next.printing().journal().unfinished().size(), 0u);
    ASSERT_EQ(boxes.shown().size(), 1);
    EXPECT_TRUE(boxes.shown().front().text.startsWith(
        QStringLiteral("无法确认印刷序列 6660000301 2 的行程单是否已打印")))
        << boxes.shown().front().text.toStdString();
    for (int job : jobs)
        CupsPrinter(printer).cancel(job);
}

} // namespace
