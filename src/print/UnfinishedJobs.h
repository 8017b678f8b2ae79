#pragma once

#include "print/PrintJob.h"

#include <QThread>
#include <vector>

// Jobs that an earlier run of the program handed over and did not see end
// (it was killed, or the machine went down): looks each one up by its id, or
// by its document's name when the id was not recorded, on a thread of its own, and keeps asking
// until every one has ended or the program leaves. What it finds completes the journal's row.
class UnfinishedJobs : public QThread
{
    Q_OBJECT

public:
    struct Job
    {
        qint64 rowId = 0;
        QString printer;
        int jobId = 0; // 0: not recorded; the job is looked for by its document's name
        QString documentName;
    };

    explicit UnfinishedJobs(std::vector<Job> jobs, QObject *parent = nullptr);
    ~UnfinishedJobs() override;

Q_SIGNALS:
    // Once per job, as soon as its end is known.
    void jobEnded(qint64 rowId, const PrintOutcome &outcome);

protected:
    void run() override;

private:
    void followJobs();

    std::vector<Job> m_jobs;
};
