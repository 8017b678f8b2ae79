#pragma once

#include "common/Pattern.h"
#include "ToolOutput.h"

#include <QRegularExpression>
#include <QString>
#include <algorithm>
#include <gtest/gtest.h>
#include <vector>

// Printing for real needs a printer: scripts/with-private-cups runs the tests
// with a private CUPS scheduler whose default printer is a PDF printer that
// holds every job it receives.

inline bool havePrinter()
{
    return !qEnvironmentVariableIsEmpty("CUPS_SERVER") &&
           !qEnvironmentVariableIsEmpty("KESTRANO_CUPS_SPOOL");
}

#define SKIP_WITHOUT_PRINTER()                                                                     \
    if (!havePrinter())                                                                            \
    GTEST_SKIP() << "no private CUPS scheduler: run through scripts/with-private-cups"

struct Job
{
    int id;
    QString name;
};

// The jobs waiting in the queue of the private scheduler's printer, oldest
// first (the scheduler holds every job it receives).
inline std::vector<Job> queuedJobs()
{
    const QString answer = toolOutput(
        QStringLiteral("ipptool"),
        {QStringLiteral("-tv"),
         QStringLiteral("ipp://%1/printers/PDF").arg(qEnvironmentVariable("CUPS_SERVER")),
         QStringLiteral("get-jobs.test")});
    static const QRegularExpression attribute =
        makePattern(QStringLiteral("^ +job-(id|name) \\([a-zA-Z]+\\) = (.*)$"),
                    QRegularExpression::MultilineOption);
    std::vector<Job> jobs;
    std::vector<QString> names;
    for (const QRegularExpressionMatch &m : attribute.globalMatch(answer)) {
        if (m.captured(1) == QLatin1String("id"))
            jobs.push_back({m.captured(2).toInt(), QString()});
        else
            names.push_back(m.captured(2));
    }
    EXPECT_EQ(jobs.size(), names.size()) << answer.toStdString();
    for (size_t i = 0; i < jobs.size() && i < names.size(); ++i)
        jobs[i].name = names[i];
    return jobs;
}

inline QString documentOf(const Job &job)
{
    return QStringLiteral("%1/d%2-001")
        .arg(qEnvironmentVariable("KESTRANO_CUPS_SPOOL"))
        .arg(job.id, 5, 10, QLatin1Char('0'));
}

// The jobs queued since before whose document shows text. Other tests may
// print at the same time, so every test prints a serial number of its own.
inline std::vector<Job> jobsShowing(const QString &text, const std::vector<Job> &before)
{
    std::vector<Job> found;
    for (const Job &job : queuedJobs()) {
        const bool old = std::any_of(before.begin(), before.end(),
                                     [&](const Job &seen) { return seen.id == job.id; });
        if (!old && toolOutput(QStringLiteral("pdftotext"), {documentOf(job), QStringLiteral("-")})
                        .contains(text))
            found.push_back(job);
    }
    return found;
}

inline int pagesOf(const Job &job)
{
    static const QRegularExpression pages =
        makePattern(QStringLiteral("^Pages: +(\\d+)$"), QRegularExpression::MultilineOption);
    return pages.match(toolOutput(QStringLiteral("pdfinfo"), {documentOf(job)}))
        .captured(1)
        .toInt();
}
