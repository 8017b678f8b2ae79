#include "app/ReportPrinting.h"

#include "app/MessageBox.h"
#include "app/PreviewWindow.h"
#include "common/KestranoError.h"
#include "itinerary/ItineraryFields.h"
#include "pnr/PassengerChooser.h"
#include "print/CupsPrinter.h"
#include "print/NumberAdvance.h"
#include "print/PagePdf.h"
#include "print/PrintJournal.h"
#include "print/ReceiptReport.h"
#include "print/ReportFiller.h"
#include "print/UnfinishedJobs.h"

#include <QFileInfo>
#include <QStringList>
#include <QToolButton>
#include <QWidget>

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

// A preview and the page it shows; printing from it fills a new page.
struct ReportPrinting::PreviewSlot
{
    std::unique_ptr<ReceiptReport> rep;
    QPointer<PreviewWindow> window;
};

ReportPrinting::ReportPrinting(ItineraryFields &fields, PassengerChooser &passengers,
                               const QString &settingsFolder, QWidget *boxParent)
    : m_fields(fields), m_passengers(passengers), m_settingsFolder(settingsFolder),
      m_boxParent(boxParent), m_lookup(&CupsPrinter::defaultPrinter)
{}

ReportPrinting::~ReportPrinting()
{
    // The windows show pages held here: they go first.
    for (const std::shared_ptr<PreviewSlot> &slot : m_previews)
        delete slot->window.data();
    // A job still running stays "printing" in the journal; the next start
    // looks it up.
    delete m_job;
    delete m_unfinished;
}

void ReportPrinting::setPrinterLookup(PrinterLookup lookup)
{
    m_lookup = std::move(lookup);
}

PrintJournal &ReportPrinting::journal()
{
    if (!m_journal) {
        m_journal = std::make_unique<PrintJournal>(m_settingsFolder);
        // Before this run writes anything: a row begun now must never pass
        // for one that an earlier run left unfinished.
        followUnfinishedJobs();
    }
    return *m_journal;
}

ReportPrinting::Receipt ReportPrinting::newReceipt() const
{
    Receipt receipt{std::make_unique<ReceiptReport>(), ReceiptRecord::of(m_fields)};
    receipt.rep->reportPage().setReportTitle(reportTitle);
    fillReport(*receipt.rep, m_fields, m_settingsFolder);
    return receipt;
}

PreviewWindow *ReportPrinting::preview(QWidget *owner)
{
    auto slot = std::make_shared<PreviewSlot>();
    slot->rep = newReceipt().rep;
    std::weak_ptr<PreviewSlot> weakSlot = slot;
    auto *window = new PreviewWindow(slot->rep->reportPage(), [this, weakSlot] {
        const std::shared_ptr<PreviewSlot> shown = weakSlot.lock();
        if (!shown || busy())
            return;
        // What goes to paper is the receipt as it is now, with the serial
        // number that the last print has moved on: never a sheet twice.
        Receipt receipt = newReceipt();
        if (shown->window)
            shown->window->setPage(receipt.rep->reportPage());
        shown->rep = std::move(receipt.rep);
        printReceipt(shown->rep->reportPage(), receipt.record);
    });
    slot->window = window;
    if (owner)
        window->setScreen(owner->screen());
    window->showMaximized();
    if (QToolButton *print = window->findChild<QToolButton *>(QStringLiteral("Print")))
        print->setEnabled(!busy());

    // Closed windows delete themselves; only the open ones are kept.
    std::erase_if(m_previews, [](const auto &open) { return open->window.isNull(); });
    m_previews.push_back(std::move(slot));
    return window;
}

bool ReportPrinting::printDirect()
{
    const Receipt receipt = newReceipt();
    return printReceipt(receipt.rep->reportPage(), receipt.record);
}

bool ReportPrinting::printAll()
{
    if (m_passengers.entries().isEmpty()) {
        MessageBox::showMessage(m_boxParent, QStringLiteral("没有可以打印的旅客。"));
        return false;
    }
    if (busy()) {
        MessageBox::showMessage(m_boxParent, QStringLiteral("正在打印…"));
        return false;
    }
    printPassenger(0);
    return true;
}

void ReportPrinting::printPassenger(int index)
{
    const QList<PassengerChooser::Entry> &entries = m_passengers.entries();
    if (index >= entries.size())
        return;
    QStringList notPrinted;
    for (qsizetype i = index; i < entries.size(); ++i)
        notPrinted.append(entries.at(i).name);
    const QString note = QStringLiteral("未打印的旅客：") + notPrinted.join(QStringLiteral("、"));

    m_passengers.choosePassenger(index);
    const Receipt receipt = newReceipt();
    const auto next = [this, index, note](const PrintOutcome &outcome) {
        if (outcome.result != PrintOutcome::Result::Printed)
            return;
        // Runs from the event loop: an error ends the series here, in its box.
        try {
            printPassenger(index + 1);
        } catch (const KestranoError &error) {
            MessageBox::showError(m_boxParent, error.message());
        }
    };
    if (!send(receipt.rep->reportPage(), receipt.record, true, next, note) && index > 0)
        MessageBox::showMessage(m_boxParent, note);
}

bool ReportPrinting::printReceipt(const ReportPage &page, const ReceiptRecord &record)
{
    return send(page, record, true, {}, QString());
}

bool ReportPrinting::printPage(const ReportPage &page, const std::optional<ReceiptRecord> &record,
                               Done done)
{
    return send(page, record, false, std::move(done), QString());
}

bool ReportPrinting::send(const ReportPage &page, const std::optional<ReceiptRecord> &record,
                          bool advance, Done done, const QString &failureNote)
{
    if (busy()) {
        MessageBox::showMessage(m_boxParent, QStringLiteral("正在打印…"));
        return false;
    }
    // Asking the print system can take a moment: only now that a page goes.
    const QString printer = m_lookup ? m_lookup() : QString();
    if (printer.isEmpty()) {
        MessageBox::showMessage(m_boxParent, QStringLiteral("没有默认打印机，无法打印。"));
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
            MessageBox::showError(m_boxParent, error.message());
        }
    });
    connect(
        m_job, &PrintJob::ended, this,
        [this, rowId, advance, done = std::move(done), failureNote](const PrintOutcome &outcome) {
            finishJob(outcome, rowId, advance, failureNote, done);
        });
    setBusy(true);
    m_job->start();
    return true;
}

void ReportPrinting::finishJob(const PrintOutcome &outcome, qint64 rowId, bool advance,
                               const QString &failureNote, const Done &done)
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
    setBusy(false);
    Q_EMIT journalChanged();
    Q_EMIT jobEnded(outcome);

    if (!journalError.isEmpty())
        MessageBox::showError(m_boxParent, journalError);
    if (!printed) {
        QString text = failureText(outcome);
        if (!failureNote.isEmpty())
            text += u'\n' + failureNote;
        MessageBox::showError(m_boxParent, text);
    }
    if (done)
        done(outcome);
}

void ReportPrinting::setBusy(bool busy)
{
    for (const std::shared_ptr<PreviewSlot> &slot : m_previews) {
        if (!slot->window)
            continue;
        if (QToolButton *print = slot->window->findChild<QToolButton *>(QStringLiteral("Print")))
            print->setEnabled(!busy);
    }
    Q_EMIT busyChanged(busy);
}

QString ReportPrinting::failureText(const PrintOutcome &outcome)
{
    return QStringLiteral("打印失败：%1：%2").arg(outcome.printer, outcome.reason);
}

void ReportPrinting::completeUnfinishedJobs()
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

void ReportPrinting::followUnfinishedJobs()
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
                    MessageBox::showError(m_boxParent, error.message());
                }
                Q_EMIT journalChanged();
                if (outcome.result == PrintOutcome::Result::Unconfirmed)
                    MessageBox::showMessage(
                        m_boxParent,
                        QStringLiteral("无法确认印刷序列 %1 的行程单是否已打印（%2）。"
                                       "请查看票证，在“打印记录”中确认结果。")
                            .arg(journal().row(rowId).record.serialNumber, outcome.reason));
            });
    connect(m_unfinished, &QThread::finished, this, [this] {
        if (!m_unfinished->isInterruptionRequested())
            Q_EMIT unfinishedJobsDone();
    });
    m_unfinished->start();
}
