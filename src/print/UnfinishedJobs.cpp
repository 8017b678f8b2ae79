#include "print/UnfinishedJobs.h"

#include "common/KestranoError.h"
#include "print/CupsPrinter.h"

namespace {

// A job of an earlier run has no one waiting for it: asking now and then is enough.
constexpr int pollMilliseconds = 1000;

} // namespace

TUnfinishedJobs::TUnfinishedJobs(std::vector<Job> jobs, QObject *parent)
    : QThread(parent), FJobs(std::move(jobs))
{
    qRegisterMetaType<TPrintOutcome>();
}

TUnfinishedJobs::~TUnfinishedJobs()
{
    requestInterruption();
    wait();
}

void TUnfinishedJobs::run()
{
    try {
        followJobs();
    } catch (const KestranoError &) {
        // The print system cannot be reached at all (its library is
        // missing): the rows stay "printing" for a later start to look up.
    }
}

void TUnfinishedJobs::followJobs()
{
    using State = TJobStatus::State;
    std::vector<Job> open = FJobs;
    while (!open.empty() && !isInterruptionRequested()) {
        // A job whose id was not recorded: the printer may have taken it in
        // the moment before the program ended.
        for (Job &job : open) {
            if (job.jobId == 0 && !job.documentName.isEmpty()) {
                const std::optional<int> found =
                    TCupsPrinter(job.printer).findJob(job.documentName);
                if (!found)
                    continue; // no answer this time
                job.jobId = *found;
                job.documentName.clear();
            }
        }
        std::erase_if(open, [this](const Job &job) {
            if (job.jobId == 0) {
                if (!job.documentName.isEmpty())
                    return false;
                Q_EMIT jobEnded(job.rowId, {TPrintOutcome::Result::Failed, job.printer, 0,
                                            QStringLiteral("程序在交出作业前结束")});
                return true;
            }
            const TJobStatus status = TCupsPrinter(job.printer).status(job.jobId);
            switch (status.state) {
            case State::Printed:
                Q_EMIT jobEnded(job.rowId,
                                {TPrintOutcome::Result::Printed, job.printer, job.jobId, {}});
                return true;
            case State::Cancelled:
                Q_EMIT jobEnded(job.rowId, {TPrintOutcome::Result::Cancelled, job.printer,
                                            job.jobId, status.reason});
                return true;
            case State::Failed:
                // Given up on, as a job of this run would be: it must not
                // come out later under a number printed again since.
                TCupsPrinter(job.printer).cancel(job.jobId);
                Q_EMIT jobEnded(job.rowId, {TPrintOutcome::Result::Failed, job.printer, job.jobId,
                                            status.reason});
                return true;
            case State::Waiting:
            case State::Unreachable:
                return false;
            }
            return false;
        });
        for (int waited = 0;
             !open.empty() && waited < pollMilliseconds && !isInterruptionRequested(); waited += 20)
            QThread::msleep(20);
    }
}
