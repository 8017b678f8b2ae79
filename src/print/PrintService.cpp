#include "print/PrintService.h"

#include "common/KestranoError.h"
#include "common/TextRules.h"
#include "itinerary/ItineraryFields.h"
#include "print/CupsPrinter.h"
#include "print/NumberAdvance.h"
#include "print/PagePdf.h"
#include "print/PrintJournal.h"
#include "print/ReportFiller.h"
#include "print/UnfinishedJobs.h"
#include "itinerary/SerialNumber.h"

#include <QFileInfo>
#include <QPointer>
#include <algorithm>
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

void PrintService::setDesk(const QString &desk)
{
    m_desk = desk;
    if (m_journal)
        m_journal->setDesk(desk);
}

PrintJournal &PrintService::journal()
{
    if (!m_journal) {
        m_journal = std::make_unique<PrintJournal>(m_settingsFolder);
        if (!m_desk.isEmpty())
            m_journal->setDesk(m_desk);
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
    const bool sent =
        send(receipt.report->reportPage(), receipt.record, true, next, notPrinted, index > 0);
    if (!sent && index > 0)
        Q_EMIT seriesStopped(notPrinted);
    return sent;
}

bool PrintService::printPage(const ReportPage &page, const std::optional<ReceiptRecord> &record,
                             Done done)
{
    return send(page, record, false, std::move(done), {});
}

bool PrintService::printDocument(const QByteArray &pdf, const QString &title, Done done)
{
    Outgoing out;
    out.pdf = pdf;
    out.title = title;
    out.done = std::move(done);
    return send(std::move(out));
}

bool PrintService::send(const ReportPage &page, const std::optional<ReceiptRecord> &record,
                        bool advance, Done done, const QStringList &notPrinted, bool laterInSeries)
{
    if (busy()) {
        Q_EMIT notSent(Refusal::JobRunning);
        return false;
    }
    Outgoing out;
    out.pdf = renderPagePdf(page);
    out.title = page.reportTitle();
    out.record = record;
    out.advance = advance;
    out.done = std::move(done);
    out.notPrinted = notPrinted;
    out.laterInSeries = laterInSeries;
    return send(std::move(out));
}

bool PrintService::send(Outgoing out)
{
    if (busy()) {
        Q_EMIT notSent(Refusal::JobRunning);
        return false;
    }
    // Asking the print system can take a moment: only now that a page goes.
    out.printer = m_lookup ? m_lookup() : QString();
    if (out.printer.isEmpty()) {
        Q_EMIT notSent(Refusal::NoPrinter);
        return false;
    }
    // The document's name finds the job should the program end before the
    // job's id is recorded; the shared register knows the print by it too.
    if (out.record)
        out.documentName = PrintJournal::newDocumentName(out.title);

    // A receipt without a serial number is a sheet of the stock that no
    // reconciliation will find; asked once for a whole "全部打印".
    if (out.record && out.advance && m_register && !out.laterInSeries &&
        trimmed(out.record->serialNumber).isEmpty() && m_register->stockRecorded() &&
        (!m_questions.printWithoutNumber || !m_questions.printWithoutNumber())) {
        Q_EMIT notSent(Refusal::NumberDeclined);
        return false;
    }

    const std::optional<qint64> number =
        out.record && out.advance && m_register ? serialNumberValue(out.record->serialNumber)
                                                : std::nullopt;
    if (!number) {
        handOver(out);
        return true;
    }
    bool knownUsed = false;
    if (!numberAccepted(*out.record, *number, knownUsed)) {
        Q_EMIT notSent(Refusal::NumberDeclined);
        return false;
    }
    // The agent has said to print on a number this desk knows as used: no
    // claim, the register records a second use.
    if (knownUsed) {
        handOver(out);
        return true;
    }

    // Answered at once without a shared register; else from the event loop.
    struct Claiming
    {
        bool later = false;
        bool sent = false;
    };
    const auto claiming = std::make_shared<Claiming>();
    m_claiming = true;
    m_register->claim(*number, out.record->serialNumber, out.documentName,
                      [this, guard = QPointer<PrintService>(this), out,
                       claiming](NumberRegister::Claim claim, const std::optional<NumberUse> &use) {
                          if (guard)
                              claiming->sent = claimAnswered(out, claim, use, claiming->later);
                      });
    if (!m_claiming)
        return claiming->sent;
    claiming->later = true;
    Q_EMIT busyChanged(true);
    return true;
}

bool PrintService::numberAccepted(const ReceiptRecord &record, qint64 number, bool &knownUsed)
{
    if (const std::optional<NumberUse> use = m_register->knownUse(number)) {
        if (!m_questions.printAgain || !m_questions.printAgain(*use))
            return false;
        knownUsed = true;
    }
    if (const std::optional<StockGap> gap = m_register->outsideStock(number)) {
        if (std::find(m_acceptedGaps.begin(), m_acceptedGaps.end(), *gap) ==
            m_acceptedGaps.end()) {
            if (!m_questions.printOutsideStock ||
                !m_questions.printOutsideStock(record.serialNumber, *gap))
                return false;
            m_acceptedGaps.push_back(*gap);
        }
    }
    return true;
}

bool PrintService::claimAnswered(const Outgoing &out, NumberRegister::Claim claim,
                                 const std::optional<NumberUse> &use, bool later)
{
    m_claiming = false;
    const bool declined = claim == NumberRegister::Claim::Taken && use &&
                          (!m_questions.printAgain || !m_questions.printAgain(*use));
    if (declined) {
        if (later) {
            Q_EMIT busyChanged(false);
            Q_EMIT notSent(Refusal::NumberDeclined);
            if (out.laterInSeries)
                Q_EMIT seriesStopped(out.notPrinted);
        } else {
            Q_EMIT notSent(Refusal::NumberDeclined);
        }
        return false;
    }
    if (!later) {
        handOver(out);
        return true;
    }
    // From the event loop: nobody is there to take an error.
    try {
        handOver(out);
    } catch (const KestranoError &error) {
        Q_EMIT busyChanged(false);
        Q_EMIT errorOccurred(error.message());
        if (out.laterInSeries)
            Q_EMIT seriesStopped(out.notPrinted);
        return false;
    }
    return true;
}

void PrintService::handOver(const Outgoing &out)
{
    // The row exists before the printer has the job: a number never goes to
    // paper without a trace.
    const qint64 rowId =
        out.record ? journal().begin(*out.record, out.printer, out.documentName) : 0;
    if (rowId != 0) {
        Q_EMIT journalChanged();
        if (m_register)
            m_register->journalChanged();
    }

    m_job = new PrintJob(out.printer, out.pdf, out.title, out.documentName, m_timeLimit, this);
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
    connect(m_job, &PrintJob::ended, this,
            [this, rowId, advance = out.advance, done = out.done,
             notPrinted = out.notPrinted](const PrintOutcome &outcome) {
                finishJob(outcome, rowId, advance, notPrinted, done);
            });
    Q_EMIT busyChanged(true);
    m_job->start();
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
        if (m_register)
            m_register->journalChanged();
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
                if (m_register)
                    m_register->journalChanged();
                if (outcome.result == PrintOutcome::Result::Unconfirmed)
                    Q_EMIT unconfirmedJob(journal().row(rowId).record.serialNumber, outcome.reason);
            });
    connect(m_unfinished, &QThread::finished, this, [this] {
        if (!m_unfinished->isInterruptionRequested())
            Q_EMIT unfinishedJobsDone();
    });
    m_unfinished->start();
}
