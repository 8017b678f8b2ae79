#include "print/PrintJob.h"

#include "common/KestranoError.h"
#include "print/CupsPrinter.h"

#include <QDeadlineTimer>

namespace {

// Often enough that the numbers move on as the sheet comes out, rarely enough
// to cost the scheduler nothing.
constexpr std::chrono::milliseconds pollInterval(250);

} // namespace

PrintJob::PrintJob(QString printer, QByteArray pdf, QString title, QString documentName,
                   std::chrono::milliseconds timeLimit, QObject *parent)
    : QThread(parent), m_printer(std::move(printer)), m_pdf(std::move(pdf)),
      m_title(std::move(title)), m_documentName(std::move(documentName)), m_timeLimit(timeLimit)
{
    qRegisterMetaType<PrintOutcome>();
}

PrintJob::~PrintJob()
{
    requestInterruption();
    wait();
}

QString PrintJob::lateReason(std::chrono::milliseconds timeLimit)
{
    const auto seconds = std::chrono::duration_cast<std::chrono::seconds>(timeLimit).count();
    if (seconds >= 60 && seconds % 60 == 0)
        return QStringLiteral("作业未在 %1 分钟内完成").arg(seconds / 60);
    return QStringLiteral("作业未在 %1 秒内完成").arg(std::max<qint64>(seconds, 1));
}

void PrintJob::run()
{
    const CupsPrinter printer(m_printer);
    int jobId = 0;
    try {
        jobId = printer.submitPdf(m_pdf, m_title, m_documentName);
    } catch (const KestranoError &refused) {
        Q_EMIT ended({PrintOutcome::Result::Failed, m_printer, 0, refused.message()});
        return;
    }
    m_pdf.clear();
    Q_EMIT submitted(jobId);
    const PrintOutcome outcome = follow(jobId);
    if (!isInterruptionRequested())
        Q_EMIT ended(outcome);
}

PrintOutcome PrintJob::follow(int jobId)
{
    using State = JobStatus::State;
    const CupsPrinter printer(m_printer);
    const QDeadlineTimer deadline(m_timeLimit);
    for (;;) {
        const JobStatus status = printer.status(jobId);
        switch (status.state) {
        case State::Printed:
            return {PrintOutcome::Result::Printed, m_printer, jobId, QString()};
        case State::Cancelled:
            return {PrintOutcome::Result::Cancelled, m_printer, jobId, status.reason};
        case State::Failed:
            printer.cancel(jobId);
            return {PrintOutcome::Result::Failed, m_printer, jobId, status.reason};
        case State::Waiting:
        case State::Unreachable:
            break;
        }
        if (deadline.hasExpired()) {
            printer.cancel(jobId);
            // It may have completed in the last moment: then it counts.
            if (printer.status(jobId).state == State::Printed)
                return {PrintOutcome::Result::Printed, m_printer, jobId, QString()};
            return {PrintOutcome::Result::Failed, m_printer, jobId, lateReason(m_timeLimit)};
        }
        if (!pause(std::min(pollInterval, std::chrono::milliseconds(deadline.remainingTime()))))
            return {PrintOutcome::Result::Failed, m_printer, jobId, QString()};
    }
}

bool PrintJob::pause(std::chrono::milliseconds length)
{
    // In short steps, so that leaving the program never waits on a job.
    const QDeadlineTimer over(length);
    while (!over.hasExpired()) {
        if (isInterruptionRequested())
            return false;
        QThread::msleep(std::min<qint64>(20, std::max<qint64>(over.remainingTime(), 1)));
    }
    return !isInterruptionRequested();
}
