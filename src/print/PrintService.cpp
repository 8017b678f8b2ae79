#include "print/PrintService.h"

#include "common/KestranoError.h"
#include "itinerary/ItineraryFields.h"
#include "print/CupsPrinter.h"
#include "print/NumberAdvance.h"
#include "print/PagePdf.h"
#include "print/PrintJournal.h"
#include "print/ReportFiller.h"
#include "print/UnfinishedJobs.h"

#include <QFileInfo>
#include <vector>

namespace {

const QString reportTitle = QStringLiteral("行程单");

PrintJournal::Outcome journalOutcome(PrintOutcome::Result result)
{
    switch (result) {
    case PrintOutcome::Result::Printed:
        return PrintJournal::Outcome::Printed;
    case PrintOutcome::Result::Cancelled:
        return PrintJournal::Outcome::Cancelled;
    case PrintOutcome::Result::Unconfirmed:
        return PrintJournal::Outcome::Unconfirmed;
    case PrintOutcome::Result::Failed:
        break;
    }
    return PrintJournal::Outcome::Failed;
}

} // namespace

PrintService::PrintService(ItineraryFields &fields, const QString &settingsFolder, QObject *parent)
    : QObject(parent), m_fields(fields), m_settingsFolder(settingsFolder),
      m_lookup(&CupsPrinter::defaultPrinter)
{}

PrintService::~PrintService()
{
    // A job still running stays "printing" in the journal; the next start
    // looks it up.
    delete m_job;
    delete m_unfinished;
}

void PrintService::setPrinterLookup(PrinterLookup lookup)
{
    m_lookup = std::move(lookup);
}

PrintJournal &PrintService::journal()
{
    if (!m_journal) {
        m_journal = std::make_unique<PrintJournal>(m_settingsFolder);
        // Before this run writes anything: a row begun now must never pass
        // for one that an earlier run left unfinished.
        followUnfinishedJobs();
    }
    return *m_journal;
}

PrintService::Receipt PrintService::newReceipt() const
{
    Receipt receipt{std::make_unique<ReceiptReport>(), ReceiptRecord::of(m_fields)};
    receipt.report->reportPage().setReportTitle(reportTitle);
    fillReport(*receipt.report, m_fields, m_settingsFolder);
    return receipt;
}

bool PrintService::printDirect()
{
    const Receipt receipt = newReceipt();
    return printReceipt(receipt.report->reportPage(), receipt.record);
}

bool PrintService::printReceipt(const ReportPage &page, const ReceiptRecord &record)
{
    return send(page, record, true, {}, {});
}

bool PrintService::printAll(Passengers passengers)
{
    if (passengers.names().isEmpty()) {
        Q_EMIT notSent(Refusal::NoPassengers);
        return false;
    }
    if (busy()) {
        Q_EMIT notSent(Refusal::JobRunning);
        return false;
    }
    return printPassenger(passengers, 0);
}

bool PrintService::printPassenger(const Passengers &passengers, int index)
{
    // Read anew for every sheet: the series follows the chooser as it is.
    const QStringList names = passengers.names();
    if (index >= names.size())
        return false;
    const QStringList notPrinted = names.mid(index);

    passengers.choose(index);
    const Receipt receipt = newReceipt();
    const auto next = [this, passengers, index](const PrintOutcome &outcome) {
        if (outcome.result != PrintOutcome::Result::Printed)
            return;
        // Runs from the event loop: an error ends the series here.
        try {
            printPassenger(passengers, index + 1);
        } catch (const KestranoError &error) {
            Q_EMIT errorOccurred(error.message());
        }
    };
    const bool sent = send(receipt.report->reportPage(), receipt.record, true, next, notPrinted);
    if (!sent && index > 0)
        Q_EMIT seriesStopped(notPrinted);
    return sent;
}

bool PrintService::printPage(const ReportPage &page, const std::optional<ReceiptRecord> &record,
                             Done done)
{
    return send(page, record, false, std::move(done), {});
}

bool PrintService::send(const ReportPage &page, const std::optional<ReceiptRecord> &record,
                        bool advance, Done done, const QStringList &notPrinted)
{
    if (busy()) {
        Q_EMIT notSent(Refusal::JobRunning);
        return false;
    }
    // Asking the print system can take a moment: only now that a page goes.
    const QString printer = m_lookup ? m_lookup() : QString();
    if (printer.isEmpty()) {
        Q_EMIT notSent(Refusal::NoPrinter);
        return false;
    }

    // The row exists before the printer has the job: a number never goes to
    // paper without a trace. The document's name finds the job should the
    // program end before the job's id is recorded.
    const QString documentName =
        record ? PrintJournal::newDocumentName(page.reportTitle()) : QString();
    const qint64 rowId = record ? journal().begin(*record, printer, documentName) : 0;
    if (rowId != 0)
        Q_EMIT journalChanged();

    m_job = new PrintJob(printer, renderPagePdf(page), page.reportTitle(), documentName,
                         m_timeLimit, this);
    connect(m_job, &PrintJob::submitted, this, [this, rowId](int jobId) {
        if (rowId == 0)
            return;
        try {
            journal().setJobId(rowId, jobId);
            Q_EMIT journalChanged();
        } catch (const KestranoError &error) {
            Q_EMIT errorOccurred(error.message());
        }
    });
    connect(
        m_job, &PrintJob::ended, this,
        [this, rowId, advance, done = std::move(done), notPrinted](const PrintOutcome &outcome) {
            finishJob(outcome, rowId, advance, notPrinted, done);
        });
    Q_EMIT busyChanged(true);
    m_job->start();
    return true;
}

void PrintService::finishJob(const PrintOutcome &outcome, qint64 rowId, bool advance,
                             const QStringList &notPrinted, const Done &done)
{
    m_job->deleteLater();
    m_job = nullptr;
    const bool printed = outcome.result == PrintOutcome::Result::Printed;
    QString journalError;
    if (rowId != 0) {
        try {
            journal().finish(rowId, journalOutcome(outcome.result), outcome.reason);
        } catch (const KestranoError &error) {
            journalError = error.message();
        }
    }
    // The sheet is out: the receipt, as it is now, gets the next number.
    if (printed && advance)
        reportPageAfterPrint(m_fields);
    Q_EMIT busyChanged(false);
    Q_EMIT journalChanged();
    Q_EMIT jobEnded(outcome);

    if (!journalError.isEmpty())
        Q_EMIT errorOccurred(journalError);
    if (!printed)
        Q_EMIT jobFailed(outcome, notPrinted);
    if (done)
        done(outcome);
}

void PrintService::completeUnfinishedRows()
{
    if (m_unfinishedLookedUp)
        return;
    // No journal: no earlier run printed anything, and nothing is opened
    // (no database driver loaded) before the first print needs it.
    if (!QFileInfo::exists(PrintJournal::pathFor(m_settingsFolder))) {
        m_unfinishedLookedUp = true;
        Q_EMIT unfinishedJobsDone();
        return;
    }
    journal();
}

void PrintService::followUnfinishedJobs()
{
    if (m_unfinishedLookedUp)
        return;
    m_unfinishedLookedUp = true;
    std::vector<UnfinishedJobs::Job> jobs;
    for (const PrintJournal::Row &row : m_journal->unfinished())
        jobs.push_back({row.id, row.printer, row.jobId, row.documentName});
    if (jobs.empty()) {
        Q_EMIT unfinishedJobsDone();
        return;
    }
    m_unfinished = new UnfinishedJobs(std::move(jobs), this);
    connect(m_unfinished, &UnfinishedJobs::jobEnded, this,
            [this](qint64 rowId, const PrintOutcome &outcome) {
                try {
                    // A job found by its document's name gets its id on record.
                    if (outcome.jobId != 0)
                        journal().setJobId(rowId, outcome.jobId);
                    journal().finish(rowId, journalOutcome(outcome.result), outcome.reason);
                } catch (const KestranoError &error) {
                    Q_EMIT errorOccurred(error.message());
                }
                Q_EMIT journalChanged();
                if (outcome.result == PrintOutcome::Result::Unconfirmed)
                    Q_EMIT unconfirmedJob(journal().row(rowId).record.serialNumber, outcome.reason);
            });
    connect(m_unfinished, &QThread::finished, this, [this] {
        if (!m_unfinished->isInterruptionRequested())
            Q_EMIT unfinishedJobsDone();
    });
    m_unfinished->start();
}
