#include "print/PrintJob.h"

#include "common/KestranoError.h"
#include "print/CupsPrinter.h"

#include <QDeadlineTimer>

namespace {

// Often enough that the numbers move on as the sheet comes out, rarely enough
// to cost the scheduler nothing.
constexpr std::chrono::milliseconds pollInterval(250);

} // namespace

TPrintJob::TPrintJob(QString printer, QByteArray pdf, QString title, QString documentName,
                     std::chrono::milliseconds timeLimit, QObject *parent)
    : QThread(parent), FPrinter(std::move(printer)), FPdf(std::move(pdf)), FTitle(std::move(title)),
      FDocumentName(std::move(documentName)), FTimeLimit(timeLimit)
{
    qRegisterMetaType<TPrintOutcome>();
}

TPrintJob::~TPrintJob()
{
    requestInterruption();
    wait();
}

QString TPrintJob::lateReason(std::chrono::milliseconds timeLimit)
{
    const auto seconds = std::chrono::duration_cast<std::chrono::seconds>(timeLimit).count();
    if (seconds >= 60 && seconds % 60 == 0)
        return QStringLiteral("作业未在 %1 分钟内完成").arg(seconds / 60);
    return QStringLiteral("作业未在 %1 秒内完成").arg(std::max<qint64>(seconds, 1));
}

void TPrintJob::run()
{
    const TCupsPrinter printer(FPrinter);
    int jobId = 0;
    try {
        jobId = printer.submitPdf(FPdf, FTitle, FDocumentName);
    } catch (const KestranoError &refused) {
        Q_EMIT ended({TPrintOutcome::Result::Failed, FPrinter, 0, refused.message()});
        return;
    }
    FPdf.clear();
    Q_EMIT submitted(jobId);
    const TPrintOutcome outcome = follow(jobId);
    if (!isInterruptionRequested())
        Q_EMIT ended(outcome);
}

TPrintOutcome TPrintJob::follow(int jobId)
{
    using State = TJobStatus::State;
    const TCupsPrinter printer(FPrinter);
    const QDeadlineTimer deadline(FTimeLimit);
    for (;;) {
        const TJobStatus status = printer.status(jobId);
        switch (status.state) {
        case State::Printed:
            return {TPrintOutcome::Result::Printed, FPrinter, jobId, QString()};
        case State::Cancelled:
            return {TPrintOutcome::Result::Cancelled, FPrinter, jobId, status.reason};
        case State::Failed:
            printer.cancel(jobId);
            return {TPrintOutcome::Result::Failed, FPrinter, jobId, status.reason};
        case State::Waiting:
        case State::Unreachable:
            break;
        }
        if (deadline.hasExpired()) {
            printer.cancel(jobId);
            // It may have completed in the last moment: then it counts.
            if (printer.status(jobId).state == State::Printed)
                return {TPrintOutcome::Result::Printed, FPrinter, jobId, QString()};
            return {TPrintOutcome::Result::Failed, FPrinter, jobId, lateReason(FTimeLimit)};
        }
        if (!pause(std::min(pollInterval, std::chrono::milliseconds(deadline.remainingTime()))))
            return {TPrintOutcome::Result::Failed, FPrinter, jobId, QString()};
    }
}

bool TPrintJob::pause(std::chrono::milliseconds length)
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
