#pragma once

#include "ToolOutput.h"
#include "common/Pattern.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QString>
#include <QTemporaryDir>
#include <gtest/gtest.h>

// Printing for real needs a printer: scripts/with-private-cups runs the tests
// with a private CUPS scheduler whose default printer "PDF" prints every job
// it receives, and the printers "Broken" (its device cannot be written),
// "Paused" (stopped) and "Held" (holds every job). The scheduler keeps the
// document of every job.

inline bool havePrinter()
{
    return !qEnvironmentVariableIsEmpty("CUPS_SERVER") &&
           !qEnvironmentVariableIsEmpty("KESTRANO_CUPS_SPOOL");
}

#define SKIP_WITHOUT_PRINTER()                                                                     \
    if (!havePrinter())                                                                            \
    GTEST_SKIP() << "no private CUPS scheduler: run through scripts/with-private-cups"

// The document of a job as the printer received it.
inline QString documentOf(int jobId)
{
    return QStringLiteral("%1/d%2-001")
        .arg(qEnvironmentVariable("KESTRANO_CUPS_SPOOL"))
        .arg(jobId, 5, 10, QLatin1Char('0'));
}

inline int pagesOf(const QString &pdf)
{
    static const QRegularExpression pages =
        makePattern(QStringLiteral("^Pages: +(\\d+)$"), QRegularExpression::MultilineOption);
    return pages.match(toolOutput(QStringLiteral("pdfinfo"), {pdf})).captured(1).toInt();
}

inline QString textOf(const QString &pdf)
{
    return toolOutput(QStringLiteral("pdftotext"), {pdf, QStringLiteral("-")});
}

// One attribute of a job as the scheduler reports it.
inline QString jobAttribute(int jobId, const QString &name)
{
    const QString answer = toolOutput(
        QStringLiteral("ipptool"),
        {QStringLiteral("-tv"),
         QStringLiteral("ipp://%1/jobs/%2").arg(qEnvironmentVariable("CUPS_SERVER")).arg(jobId),
         QStringLiteral("get-job-attributes.test")});
    const QRegularExpression value =
        makePattern(QStringLiteral("^ +%1 \\([a-zA-Z]+\\) = (.*)$").arg(name),
                    QRegularExpression::MultilineOption);
    return value.match(answer).captured(1);
}

// The job's state as the scheduler names it: "completed", "canceled", ...
inline QString jobState(int jobId)
{
    return jobAttribute(jobId, QStringLiteral("job-state"));
}

// The job's name, the page's title.
inline QString jobName(int jobId)
{
    return jobAttribute(jobId, QStringLiteral("job-name"));
}

// Lets a held job go on to print.
inline void releaseJob(int jobId)
{
    toolOutput(QStringLiteral("lp"), {QStringLiteral("-i"), QString::number(jobId),
                                      QStringLiteral("-H"), QStringLiteral("resume")});
}

// A job sent by another local user ("nobody"), as any user of the machine may:
// its document bears documentName. Returns the job's id.
inline int submitAsAnotherUser(const QString &printer, const QString &documentName,
                               const QByteArray &document)
{
    QTemporaryDir folder;
    QFile::setPermissions(folder.path(), QFile::permissions(folder.path()) |
                                             QFileDevice::ReadOther | QFileDevice::ExeOther);
    // lp names the document after its file.
    QFile file(QDir(folder.path()).filePath(documentName));
    EXPECT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(document);
    file.close();
    file.setPermissions(file.permissions() | QFileDevice::ReadOther);
    const QString answer = toolOutput(
        QStringLiteral("setpriv"),
        {QStringLiteral("--reuid=65534"), QStringLiteral("--regid=65534"),
         QStringLiteral("--clear-groups"), QStringLiteral("lp"), QStringLiteral("-d"), printer,
         file.fileName()});
    static const QRegularExpression id = makePattern(QStringLiteral("request id is .*-(\\d+) "));
    return id.match(answer).captured(1).toInt();
}
