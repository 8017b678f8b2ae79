#include "PrivateCups.h"
#include "common/KestranoError.h"
#include "print/CupsPrinter.h"
#include "print/PagePdf.h"
#include "print/PrintLabel.h"
#include "print/ReportPage.h"

#include <QFile>
#include <QUuid>
#include <gtest/gtest.h>

#include <unistd.h>

namespace {

QByteArray onePagePdf()
{
    ReportPage page;
    page.setReportTitle(QStringLiteral("行程单"));
    PrintLabel &label = page.addLabel();
    label.setText(QStringLiteral("5550001110"));
    label.setLeft(100);
    label.setTop(100);
    return renderPagePdf(page);
}

QString uniqueName()
{
    return QStringLiteral("行程单 ") + QUuid::createUuid().toString(QUuid::WithoutBraces);
}

} // namespace

// A page goes to the printer as one job that keeps it at its true size, with
// the document exactly as rendered and a name that finds the job again.
TEST(CupsSubmit, OneJobAtTrueSizeFoundByItsDocumentName)
{
    SKIP_WITHOUT_PRINTER();
    const CupsPrinter printer(QStringLiteral("Held"));
    const QByteArray pdf = onePagePdf();
    const QString name = uniqueName();

    const int jobId = printer.submitPdf(pdf, QStringLiteral("行程单"), name);
    ASSERT_GT(jobId, 0);
    EXPECT_EQ(jobName(jobId), QStringLiteral("行程单"));
    EXPECT_EQ(jobAttribute(jobId, QStringLiteral("document-name-supplied")), name);
    EXPECT_EQ(jobAttribute(jobId, QStringLiteral("document-format-supplied")),
              QStringLiteral("application/pdf"));
    const char *const trueSize[][2] = {{"print-scaling", "none"},
                                       {"fit-to-page", "false"},
                                       {"copies", "1"},
                                       {"sides", "one-sided"}};
    for (const auto &[attribute, value] : trueSize)
        EXPECT_EQ(jobAttribute(jobId, QString::fromLatin1(attribute)), QString::fromLatin1(value))
            << attribute;
    QFile document(documentOf(jobId));
    ASSERT_TRUE(document.open(QIODevice::ReadOnly));
    EXPECT_EQ(document.readAll(), pdf);

    using Match = CupsPrinter::FoundJob::Match;
    const auto found = [](const CupsPrinter &on, const QString &documentName) {
        const CupsPrinter::FoundJob job = on.findJob(documentName);
        return std::pair{job.match, job.jobId};
    };
    EXPECT_EQ(found(printer, name), std::pair(Match::One, jobId));
    EXPECT_EQ(found(printer, uniqueName()), std::pair(Match::None, 0));
    EXPECT_EQ(found(CupsPrinter(QStringLiteral("PDF")), name), std::pair(Match::None, 0));
    EXPECT_EQ(found(CupsPrinter(QStringLiteral("Missing")), name), std::pair(Match::None, 0));

    printer.cancel(jobId);
    EXPECT_EQ(jobState(jobId), QStringLiteral("canceled"));
    // An ended job is still found: the next start learns how it ended.
    EXPECT_EQ(found(printer, name), std::pair(Match::One, jobId));
}

// Any user of the machine may read the names of others' documents and send
// one of the same name: only this user's jobs are taken, and of two of this
// user's bearing the name, neither.
TEST(CupsSubmit, AJobOfTheSameNameIsOursOnlyWhenItAloneIs)
{
    SKIP_WITHOUT_PRINTER();
    ASSERT_EQ(::geteuid(), 0u) << "sending as another user needs root";
    using Match = CupsPrinter::FoundJob::Match;
    const CupsPrinter printer(QStringLiteral("Held"));
    const QString name = uniqueName();

    const int theirs = submitAsAnotherUser(printer.name(), name, onePagePdf());
    ASSERT_GT(theirs, 0);
    ASSERT_EQ(jobAttribute(theirs, QStringLiteral("document-name-supplied")), name);
    ASSERT_EQ(jobAttribute(theirs, QStringLiteral("job-originating-user-name")),
              QStringLiteral("nobody"));
    EXPECT_EQ(printer.findJob(name).match, Match::None);

    const int ours = printer.submitPdf(onePagePdf(), QStringLiteral("行程单"), name);
    const CupsPrinter::FoundJob one = printer.findJob(name);
    EXPECT_EQ(one.match, Match::One);
    EXPECT_EQ(one.jobId, ours);
    // A later job of theirs does not become ours by being newer.
    const int later = submitAsAnotherUser(printer.name(), name, onePagePdf());
    ASSERT_GT(later, ours);
    EXPECT_EQ(printer.findJob(name).jobId, ours);

    const int again = printer.submitPdf(onePagePdf(), QStringLiteral("行程单"), name);
    const CupsPrinter::FoundJob several = printer.findJob(name);
    EXPECT_EQ(several.match, Match::Several);
    EXPECT_EQ(several.jobId, 0);
    for (int job : {theirs, ours, later, again})
        printer.cancel(job);
}

// A printer that cannot take the job says why, and no job is left behind.
TEST(CupsSubmit, RefusedWithTheReason)
{
    SKIP_WITHOUT_PRINTER();
    const struct
    {
        const char *printer;
        const char *reason; // the start of it; empty: the print system's words
    } cases[] = {
        {"Paused", "打印机已暂停"},
        {"Missing", ""},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.printer);
        const CupsPrinter printer(QString::fromLatin1(c.printer));
        const QString name = uniqueName();
        try {
            printer.submitPdf(onePagePdf(), QStringLiteral("行程单"), name);
            ADD_FAILURE() << "the job was taken";
        } catch (const KestranoError &refused) {
            EXPECT_FALSE(refused.message().isEmpty());
            EXPECT_TRUE(refused.message().startsWith(QString::fromUtf8(c.reason)))
                << refused.message().toStdString();
        }
        EXPECT_EQ(printer.findJob(name).match, CupsPrinter::FoundJob::Match::None);
    }
}
