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
#include "print/RepFrm.h"
#include "print/ReportFiller.h"
#include "print/UnfinishedJobs.h"

#include <QFileInfo>
#include <QStringList>
#include <QToolButton>
#include <QWidget>

namespace {

const QString reportTitle = QStringLiteral("行程单");

TPrintJournal::Outcome journalOutcome(TPrintOutcome::Result result)
{
    switch (result) {
    case TPrintOutcome::Result::Printed:
        return TPrintJournal::Outcome::Printed;
    case TPrintOutcome::Result::Cancelled:
        return TPrintJournal::Outcome::Cancelled;
    case TPrintOutcome::Result::Unconfirmed:
        return TPrintJournal::Outcome::Unconfirmed;
    case TPrintOutcome::Result::Failed:
        break;
    }
    return TPrintJournal::Outcome::Failed;
}

} // namespace

// A preview and the page it shows; printing from it fills a new page.
struct TReportPrinting::PreviewSlot
{
    std::unique_ptr<TfrmRep> rep;
    QPointer<TPreviewWindow> window;
};

TReportPrinting::TReportPrinting(TItineraryFields &fields, TPassengerChooser &passengers,
                                 const QString &settingsFolder, QWidget *boxParent)
    : FFields(fields), FPassengers(passengers), FSettingsFolder(settingsFolder),
      FBoxParent(boxParent), FLookup(&TCupsPrinter::defaultPrinter)
{}

TReportPrinting::~TReportPrinting()
{
    // The windows show pages held here: they go first.
    for (const std::shared_ptr<PreviewSlot> &slot : FPreviews)
        delete slot->window.data();
    // A job still running stays "printing" in the journal; the next start
    // looks it up.
    delete FJob;
    delete FUnfinished;
}

void TReportPrinting::setPrinterLookup(PrinterLookup lookup)
{
    FLookup = std::move(lookup);
}

TPrintJournal &TReportPrinting::journal()
{
    if (!FJournal) {
        FJournal = std::make_unique<TPrintJournal>(FSettingsFolder);
        // Before this run writes anything: a row begun now must never pass
        // for one that an earlier run left unfinished.
        followUnfinishedJobs();
    }
    return *FJournal;
}

TReportPrinting::Receipt TReportPrinting::newReceipt() const
{
    Receipt receipt{std::make_unique<TfrmRep>(), TReceiptRecord::of(FFields)};
    receipt.rep->ReportPage().setReportTitle(reportTitle);
    FillReport(*receipt.rep, FFields, FSettingsFolder);
    return receipt;
}

TPreviewWindow *TReportPrinting::preview(QWidget *owner)
{
    auto slot = std::make_shared<PreviewSlot>();
    slot->rep = newReceipt().rep;
    std::weak_ptr<PreviewSlot> weakSlot = slot;
    auto *window = new TPreviewWindow(slot->rep->ReportPage(), [this, weakSlot] {
        const std::shared_ptr<PreviewSlot> shown = weakSlot.lock();
        if (!shown || busy())
            return;
        // What goes to paper is the receipt as it is now, with the serial
        // number that the last print has moved on: never a sheet twice.
        Receipt receipt = newReceipt();
        if (shown->window)
            shown->window->setPage(receipt.rep->ReportPage());
        shown->rep = std::move(receipt.rep);
        printReceipt(shown->rep->ReportPage(), receipt.record);
    });
    slot->window = window;
    if (owner)
        window->setScreen(owner->screen());
    window->showMaximized();
    if (QToolButton *print = window->findChild<QToolButton *>(QStringLiteral("Print")))
        print->setEnabled(!busy());

    // Closed windows delete themselves; only the open ones are kept.
    std::erase_if(FPreviews, [](const auto &open) { return open->window.isNull(); });
    FPreviews.push_back(std::move(slot));
    return window;
}

bool TReportPrinting::printDirect()
{
    const Receipt receipt = newReceipt();
    return printReceipt(receipt.rep->ReportPage(), receipt.record);
}

bool TReportPrinting::printAll()
{
    if (FPassengers.entries().isEmpty()) {
        MessageBox::showMessage(FBoxParent, QStringLiteral("没有可以打印的旅客。"));
        return false;
    }
    if (busy()) {
        MessageBox::showMessage(FBoxParent, QStringLiteral("正在打印…"));
        return false;
    }
    printPassenger(0);
    return true;
}

void TReportPrinting::printPassenger(int index)
{
    const QList<TPassengerChooser::Entry> &entries = FPassengers.entries();
    if (index >= entries.size())
        return;
    QStringList notPrinted;
    for (qsizetype i = index; i < entries.size(); ++i)
        notPrinted.append(entries.at(i).FName);
    const QString note = QStringLiteral("未打印的旅客：") + notPrinted.join(QStringLiteral("、"));

    FPassengers.cboPassengerChange(index);
    const Receipt receipt = newReceipt();
    const auto next = [this, index, note](const TPrintOutcome &outcome) {
        if (outcome.result != TPrintOutcome::Result::Printed)
            return;
        // Runs from the event loop: an error ends the series here, in its box.
        try {
            printPassenger(index + 1);
        } catch (const KestranoError &error) {
            MessageBox::showError(FBoxParent, error.message());
        }
    };
    if (!send(receipt.rep->ReportPage(), receipt.record, true, next, note) && index > 0)
        MessageBox::showMessage(FBoxParent, note);
}

bool TReportPrinting::printReceipt(const TReportPage &page, const TReceiptRecord &record)
{
    return send(page, record, true, {}, QString());
}

bool TReportPrinting::printPage(const TReportPage &page,
                                const std::optional<TReceiptRecord> &record, Done done)
{
    return send(page, record, false, std::move(done), QString());
}

bool TReportPrinting::send(const TReportPage &page, const std::optional<TReceiptRecord> &record,
                           bool advance, Done done, const QString &failureNote)
{
    if (busy()) {
        MessageBox::showMessage(FBoxParent, QStringLiteral("正在打印…"));
        return false;
    }
    // Asking the print system can take a moment: only now that a page goes.
    const QString printer = FLookup ? FLookup() : QString();
    if (printer.isEmpty()) {
        MessageBox::showMessage(FBoxParent, QStringLiteral("没有默认打印机，无法打印。"));
        return false;
    }

    // The row exists before the printer has the job: a number never goes to
    // paper without a trace. The document's name finds the job should the
    // program end before the job's id is recorded.
    const QString documentName =
        record ? TPrintJournal::newDocumentName(page.reportTitle()) : QString();
    const qint64 rowId = record ? journal().begin(*record, printer, documentName) : 0;
    if (rowId != 0)
        Q_EMIT journalChanged();

    FJob = new TPrintJob(printer, renderPagePdf(page), page.reportTitle(), documentName, FTimeLimit,
                         this);
    connect(FJob, &TPrintJob::submitted, this, [this, rowId](int jobId) {
        if (rowId == 0)
            return;
        try {
            journal().setJobId(rowId, jobId);
            Q_EMIT journalChanged();
        } catch (const KestranoError &error) {
            MessageBox::showError(FBoxParent, error.message());
        }
    });
    connect(
        FJob, &TPrintJob::ended, this,
        [this, rowId, advance, done = std::move(done), failureNote](const TPrintOutcome &outcome) {
            finishJob(outcome, rowId, advance, failureNote, done);
        });
    setBusy(true);
    FJob->start();
    return true;
}

void TReportPrinting::finishJob(const TPrintOutcome &outcome, qint64 rowId, bool advance,
                                const QString &failureNote, const Done &done)
{
    FJob->deleteLater();
    FJob = nullptr;
    const bool printed = outcome.result == TPrintOutcome::Result::Printed;
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
        ReportPageAfterPrint(FFields);
    setBusy(false);
    Q_EMIT journalChanged();
    Q_EMIT jobEnded(outcome);

    if (!journalError.isEmpty())
        MessageBox::showError(FBoxParent, journalError);
    if (!printed) {
        QString text = failureText(outcome);
        if (!failureNote.isEmpty())
            text += u'\n' + failureNote;
        MessageBox::showError(FBoxParent, text);
    }
    if (done)
        done(outcome);
}

void TReportPrinting::setBusy(bool busy)
{
    for (const std::shared_ptr<PreviewSlot> &slot : FPreviews) {
        if (!slot->window)
            continue;
        if (QToolButton *print = slot->window->findChild<QToolButton *>(QStringLiteral("Print")))
            print->setEnabled(!busy);
    }
    Q_EMIT busyChanged(busy);
}

QString TReportPrinting::failureText(const TPrintOutcome &outcome)
{
    return QStringLiteral("打印失败：%1：%2").arg(outcome.printer, outcome.reason);
}

void TReportPrinting::completeUnfinishedJobs()
{
    if (FUnfinishedLookedUp)
        return;
    // No journal: no earlier run printed anything, and nothing is opened
    // (no database driver loaded) before the first print needs it.
    if (!QFileInfo::exists(TPrintJournal::pathFor(FSettingsFolder))) {
        FUnfinishedLookedUp = true;
        Q_EMIT unfinishedJobsDone();
        return;
    }
    journal();
}

void TReportPrinting::followUnfinishedJobs()
{
    if (FUnfinishedLookedUp)
        return;
    FUnfinishedLookedUp = true;
    std::vector<TUnfinishedJobs::Job> jobs;
    for (const TPrintJournal::Row &row : FJournal->unfinished())
        jobs.push_back({row.id, row.printer, row.jobId, row.documentName});
    if (jobs.empty()) {
        Q_EMIT unfinishedJobsDone();
        return;
    }
    FUnfinished = new TUnfinishedJobs(std::move(jobs), this);
    connect(FUnfinished, &TUnfinishedJobs::jobEnded, this,
            [this](qint64 rowId, const TPrintOutcome &outcome) {
                try {
                    // A job found by its document's name gets its id on record.
                    if (outcome.jobId != 0)
                        journal().setJobId(rowId, outcome.jobId);
                    journal().finish(rowId, journalOutcome(outcome.result), outcome.reason);
                } catch (const KestranoError &error) {
                    MessageBox::showError(FBoxParent, error.message());
                }
                Q_EMIT journalChanged();
                if (outcome.result == TPrintOutcome::Result::Unconfirmed)
                    MessageBox::showMessage(
                        FBoxParent,
                        QStringLiteral("无法确认印刷序列 %1 的行程单是否已打印（%2）。"
                                       "请查看票证，在“打印记录”中确认结果。")
                            .arg(journal().row(rowId).record.serialNumber, outcome.reason));
            });
    connect(FUnfinished, &QThread::finished, this, [this] {
        if (!FUnfinished->isInterruptionRequested())
            Q_EMIT unfinishedJobsDone();
    });
    FUnfinished->start();
}
