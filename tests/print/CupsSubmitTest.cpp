#include "PrivateCups.h"
#include "common/KestranoError.h"
#include "print/CupsPrinter.h"
#include "print/PagePdf.h"
#include "print/PrintLabel.h"
#include "print/ReportPage.h"

#include <QFile>
#include <QUuid>
#include <gtest/gtest.h>

namespace {

QByteArray onePagePdf()
{
    TReportPage page;
    page.setReportTitle(QStringLiteral("行程单"));
    TPrintLabel &label = page.addLabel();
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
    const TCupsPrinter printer(QStringLiteral("Held"));
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

    EXPECT_EQ(printer.findJob(name), jobId);
    EXPECT_EQ(printer.findJob(uniqueName()), 0);
    EXPECT_EQ(TCupsPrinter(QStringLiteral("PDF")).findJob(name), 0);
    EXPECT_EQ(TCupsPrinter(QStringLiteral("Missing")).findJob(name), 0);

    printer.cancel(jobId);
    EXPECT_EQ(jobState(jobId), QStringLiteral("canceled"));
    // An ended job is still found: the next start learns how it ended.
    EXPECT_EQ(printer.findJob(name), jobId);
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
        const TCupsPrinter printer(QString::fromLatin1(c.printer));
        const QString name = uniqueName();
        try {
            printer.submitPdf(onePagePdf(), QStringLiteral("行程单"), name);
            ADD_FAILURE() << "the job was taken";
        } catch (const KestranoError &refused) {
            EXPECT_FALSE(refused.message().isEmpty());
            EXPECT_TRUE(refused.message().startsWith(QString::fromUtf8(c.reason)))
                << refused.message().toStdString();
        }
        EXPECT_EQ(printer.findJob(name), 0);
    }
}
