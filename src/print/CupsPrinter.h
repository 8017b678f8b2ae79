#pragma once

#include <QByteArray>
#include <QString>
#include <optional>

// Where a job stands, as the print system reports it.
struct JobStatus
{
    enum class State {
        Waiting,     // queued, held or printing
        Printed,     // completed: the sheet is out
        Failed,      // aborted or stopped, or its printer stopped
        Cancelled,   // cancelled by someone
        Unreachable, // the print system gave no answer this time
    };
    State state = State::Waiting;
    QString reason; // why it failed or was cancelled, or why no answer came
};

// A printer of the CUPS print system, addressed through the scheduler that
// the process uses (CUPS_SERVER, client.conf or the local one). Every call
// asks the scheduler and waits for its answer, so none of them belongs on a
// thread that paints windows. Each thread has its own connection. The CUPS
// library is loaded at the first call; when it cannot be, every call raises
// KestranoError saying so.
class CupsPrinter
{
public:
    // The print system's default destination; empty when there is none.
    static QString defaultPrinter();

    explicit CupsPrinter(QString name) : m_name(std::move(name)) {}
    const QString &name() const { return m_name; }

    // Hands a PDF over as one job: one copy, one side, never scaled or
    // fitted, so every value stays at its spot on the stock. A printer that
    // is stopped or does not accept jobs gets nothing. Returns the job's id;
    // raises KestranoError with the reason when the printer refuses. The
    // document is named documentName, or after the title when that is empty.
    int submitPdf(const QByteArray &pdf, const QString &title,
                  const QString &documentName = QString()) const;

    // What became of a job looked for by its document's name.
    struct FoundJob
    {
        enum class Match {
            One,      // jobId is the job
            None,     // no job of this user's bears the name
            Several,  // more than one does: none of them can be taken for it
            NoAnswer, // the print system gave no answer this time
        };
        Match match = Match::NoAnswer;
        int jobId = 0;
    };

    // This printer's job whose document bears documentName, among the jobs
    // of this user alone, ended ones included: any user may see the names
    // of others' documents and send one of the same name.
    FoundJob findJob(const QString &documentName) const;

    // The job's state; a waiting job whose printer has stopped counts as
    // failed, since nothing will come out while it stays so.
    JobStatus status(int jobId) const;

    // Withdraws a job that must not print any more (one given up on); a job
    // that has ended stays as it is.
    void cancel(int jobId) const;

private:
    QString m_name;
};
