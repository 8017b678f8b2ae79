#include "print/UnfinishedJobs.h"

#include "common/KestranoError.h"
#include "print/CupsPrinter.h"

namespace {

// A job of an earlier run has no one waiting for it: asking now and then is enough.
constexpr int pollMilliseconds = 1000;

} // namespace

UnfinishedJobs::UnfinishedJobs(std::vector<Job> jobs, QObject *parent)
    : QThread(parent), m_jobs(std::move(jobs))
{
    qRegisterMetaType<PrintOutcome>();
}

UnfinishedJobs::~UnfinishedJobs()
{
    requestInterruption();
    wait();
}

void UnfinishedJobs::run()
{
    try {
        followJobs();
    } catch (const KestranoError &) {
        // The print system cannot be reached at all (its library is
        // missing): the rows stay "printing" for a later start to look up.
    }
}

void UnfinishedJobs::followJobs()
{
    using State = JobStatus::State;
    std::vector<Job> open = m_jobs;
    while (!open.empty() && !isInterruptionRequested()) {
        // A job whose id was not recorded: the printer may have taken it in
        // the moment before the program ended. Only a job of this user's
        // that alone bears its document's name is taken for it: of several,
        // any might be the one, and the agent must look at the stock.
        std::erase_if(open, [this](Job &job) {
            if (job.jobId != 0)
                return false;
            using Match = CupsPrinter::FoundJob::Match;
            // A row without a document name was never handed over.
            const CupsPrinter::FoundJob found =
                job.documentName.isEmpty() ? CupsPrinter::FoundJob{Match::None, 0}
                                           : CupsPrinter(job.printer).findJob(job.documentName);
            switch (found.match) {
            case Match::One:
                job.jobId = found.jobId;
                job.documentName.clear();
                return false;
            case Match::None:
                Q_EMIT jobEnded(job.rowId, {PrintOutcome::Result::Failed, job.printer, 0,
                                            QStringLiteral("程序在交出作业前结束")});
                return true;
            case Match::Several:
                Q_EMIT jobEnded(job.rowId,
                                {PrintOutcome::Result::Unconfirmed, job.printer, 0,
                                 QStringLiteral("打印系统中有多个同名作业，无法确认是否已打印")});
                return true;
            case Match::NoAnswer:
                break;
            }
            return false;
        });
        std::erase_if(open, [this](const Job &job) {
            if (job.jobId == 0)
                return false; // looked for again next time
            const JobStatus status = CupsPrinter(job.printer).status(job.jobId);
            switch (status.state) {
            case State::Printed:
                Q_EMIT jobEnded(job.rowId,
                                {PrintOutcome::Result::Printed, job.printer, job.jobId, {}});
                return true;
            case State::Cancelled:
                Q_EMIT jobEnded(job.rowId, {PrintOutcome::Result::Cancelled, job.printer, job.jobId,
                                            status.reason});
                return true;
            case State::Failed:
                // Given up on, as a job of this run would be: it must not
                // come out later under a number printed again since.
                CupsPrinter(job.printer).cancel(job.jobId);
                Q_EMIT jobEnded(job.rowId, {PrintOutcome::Result::Failed, job.printer, job.jobId,
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
